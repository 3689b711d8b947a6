#include "FakePortalBus.h"

#include <gio/gio.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {
namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kChooserXml =
    "<node><interface name='org.freedesktop.portal.FileChooser'>"
    "<method name='OpenFile'><arg type='s' direction='in'/><arg type='s' direction='in'/>"
    "<arg type='a{sv}' direction='in'/><arg type='o' direction='out'/></method>"
    "<method name='SaveFile'><arg type='s' direction='in'/><arg type='s' direction='in'/>"
    "<arg type='a{sv}' direction='in'/><arg type='o' direction='out'/></method>"
    "</interface></node>";
// Enough for a loaded machine; the bus usually comes up in milliseconds.
constexpr auto kStartWait = std::chrono::seconds(20);
constexpr int kExecFailed = 127;

// A session bus listening on a socket in the folder, with no services to
// start on demand (so a missing portal stays missing).
std::string WriteConfig(const std::string& folder)
{
    const std::string config = folder + "/bus.conf";
    std::ofstream(config) << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                             " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                             "<busconfig><type>session</type><listen>unix:path="
                          << folder << "/bus</listen><auth>EXTERNAL</auth>"
                          << "<policy context='default'><allow send_destination='*' eavesdrop='true'/>"
                             "<allow eavesdrop='true'/><allow own='*'/></policy></busconfig>\n";
    return config;
}

GDBusConnection* ConnectOnce(const std::string& address)
{
    const auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                         G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    return g_dbus_connection_new_for_address_sync(address.c_str(), flags, nullptr, nullptr, nullptr);
}

// Tries until the daemon listens.
GDBusConnection* Connect(const std::string& address)
{
    const auto until = std::chrono::steady_clock::now() + kStartWait;
    while (std::chrono::steady_clock::now() < until) {
        if (GDBusConnection* bus = ConnectOnce(address))
            return bus;
        g_usleep(20000);
    }
    return nullptr;
}

bool OwnPortalName(GDBusConnection* bus)
{
    constexpr guint32 kDoNotQueue = 4;
    constexpr guint32 kPrimaryOwner = 1;
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "RequestName",
                                                  g_variant_new("(su)", kPortalName, kDoNotQueue),
                                                  G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    if (reply == nullptr)
        return false;
    guint32 result = 0;
    g_variant_get(reply, "(u)", &result);
    g_variant_unref(reply);
    return result == kPrimaryOwner;
}

std::string HandleFor(const char* sender, GVariant* options)
{
    std::string path = "/org/freedesktop/portal/desktop/request/";
    for (const char* c = sender; *c != '\0'; ++c) {
        if (*c != ':')
            path += *c == '.' ? '_' : *c;
    }
    const gchar* token = "t";
    g_variant_lookup(options, "handle_token", "&s", &token);
    return path + "/" + token;
}

// The daemon ends with the test process, also when a test crashes. -1 when
// it cannot be started.
pid_t StartDaemon(const std::string& configArgument)
{
    char* argv[] = {const_cast<char*>("dbus-daemon"), const_cast<char*>(configArgument.c_str()),
                    const_cast<char*>("--nofork"), nullptr};
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != parent)
        ::_exit(kExecFailed);
    ::execvp(argv[0], argv);
    ::_exit(kExecFailed);
}

}  // namespace

FakePortalBus::FakePortalBus(const std::string& folder)
{
    const std::string config = WriteConfig(folder);
    const std::string configArgument = "--config-file=" + config;
    daemon_ = StartDaemon(configArgument);
    if (daemon_ < 0)
        return;
    const std::string address = "unix:path=" + folder + "/bus";
    const auto until = std::chrono::steady_clock::now() + kStartWait;
    while (std::chrono::steady_clock::now() < until) {
        if (GDBusConnection* probe = ConnectOnce(address)) {
            g_dbus_connection_close_sync(probe, nullptr, nullptr);
            g_object_unref(probe);
            address_ = address;
            return;
        }
        int status;
        if (::waitpid(daemon_, &status, WNOHANG) == daemon_) {
            daemon_ = -1;  // not installed, or it refused the configuration
            return;
        }
        g_usleep(20000);
    }
}

FakePortalBus::~FakePortalBus()
{
    if (server_.joinable()) {
        g_main_loop_quit(loop_);
        server_.join();
        g_main_loop_unref(loop_);
    }
    if (daemon_ > 0) {
        ::kill(daemon_, SIGTERM);
        int status;
        ::waitpid(daemon_, &status, 0);
    }
}

bool FakePortalBus::StartPortal(unsigned response, std::vector<std::string> uris, bool answer)
{
    if (!Running())
        return false;
    SetAnswer(response, std::move(uris), answer);
    server_ = std::thread([this] { Serve(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_ != 0; });
    return ready_ > 0;
}

void FakePortalBus::SetAnswer(unsigned response, std::vector<std::string> uris, bool answer)
{
    std::lock_guard lock(mutex_);
    response_ = response;
    uris_ = std::move(uris);
    answer_ = answer;
}

void FakePortalBus::HoldCalls()
{
    std::lock_guard lock(mutex_);
    hold_ = true;
}

std::vector<FakePortalBus::Call> FakePortalBus::Calls()
{
    std::lock_guard lock(mutex_);
    return calls_;
}

void FakePortalBus::Serve()
{
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    loop_ = g_main_loop_new(context, FALSE);
    GDBusConnection* bus = Connect(address_);
    const bool serving = bus != nullptr && ServeOn(bus);
    {
        std::lock_guard lock(mutex_);
        ready_ = serving ? 1 : -1;
    }
    changed_.notify_all();
    if (serving)
        g_main_loop_run(loop_);
    for (GDBusMethodInvocation* invocation : held_)
        g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.Failed", "ended");
    if (bus != nullptr) {
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
        g_object_unref(bus);
    }
    while (g_main_context_iteration(context, FALSE)) {
    }
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
}

bool FakePortalBus::ServeOn(GDBusConnection* bus)
{
    static const GDBusInterfaceVTable vtable = {&FakePortalBus::HandleMethod, nullptr, nullptr, {}};
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kChooserXml, nullptr);
    const guint registration = g_dbus_connection_register_object(bus, "/org/freedesktop/portal/desktop",
                                                                 node->interfaces[0], &vtable, this, nullptr, nullptr);
    g_dbus_node_info_unref(node);
    return registration != 0 && OwnPortalName(bus);
}

void FakePortalBus::HandleMethod(GDBusConnection* bus, const char* sender, const char*, const char*,
                                 const char* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                                 void* self)
{
    static_cast<FakePortalBus*>(self)->OnCall(bus, sender, method, parameters, invocation);
}

void FakePortalBus::OnCall(GDBusConnection* bus, const char* sender, const char* method, GVariant* parameters,
                           GDBusMethodInvocation* invocation)
{
    GVariant* options = g_variant_get_child_value(parameters, 2);
    const std::string handle = HandleFor(sender, options);
    g_variant_unref(options);
    gchar* printed = g_variant_print(parameters, TRUE);
    unsigned response;
    std::vector<std::string> uris;
    bool answer;
    bool hold;
    {
        std::lock_guard lock(mutex_);
        calls_.push_back({method, printed, sender, handle});
        response = response_;
        uris = uris_;
        answer = answer_;
        hold = hold_;
    }
    g_free(printed);
    if (hold) {
        held_.push_back(invocation);
        return;
    }
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", handle.c_str()));
    if (!answer)
        return;
    GVariantBuilder results;
    g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
    if (!uris.empty()) {
        GVariantBuilder list;
        g_variant_builder_init(&list, G_VARIANT_TYPE("as"));
        for (const std::string& uri : uris)
            g_variant_builder_add(&list, "s", uri.c_str());
        g_variant_builder_add(&results, "{sv}", "uris", g_variant_builder_end(&list));
    }
    g_dbus_connection_emit_signal(bus, sender, handle.c_str(), "org.freedesktop.portal.Request", "Response",
                                  g_variant_new("(u@a{sv})", response, g_variant_builder_end(&results)), nullptr);
}

}  // namespace testsupport
