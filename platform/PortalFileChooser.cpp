#include "platform/PortalFileChooser.h"

#include <gio/gio.h>

#include <utility>

namespace platform {
namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kChooserInterface = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
constexpr const char* kRequestPathStart = "/org/freedesktop/portal/desktop/request/";
constexpr guint32 kGlobPattern = 0;
constexpr guint32 kResponseSuccess = 0;
constexpr guint32 kResponseCancelled = 1;
constexpr int kCloseTimeoutMs = 1000;
// How long GDBus may take to let go of a closed connection.
constexpr int kReleaseTries = 200;
constexpr gulong kReleasePauseUs = 5000;

struct ResponseState {
    bool arrived = false;
    FileDialogAnswer answer;
};

// D-Bus strings must be UTF-8: other bytes (a name taken from a file, say)
// become replacement characters instead of failing the whole request.
GVariant* TextVariant(const std::string& text)
{
    gchar* valid = g_utf8_make_valid(text.c_str(), -1);
    GVariant* variant = g_variant_new_string(valid);
    g_free(valid);
    return variant;
}

GVariant* FilterVariant(const FileFilter& filter)
{
    GVariantBuilder patterns;
    g_variant_builder_init(&patterns, G_VARIANT_TYPE("a(us)"));
    for (const std::string& pattern : filter.patterns)
        g_variant_builder_add(&patterns, "(u@s)", kGlobPattern, TextVariant(pattern));
    return g_variant_new("(@s@a(us))", TextVariant(filter.name), g_variant_builder_end(&patterns));
}

void AddFilters(GVariantBuilder& options, const std::vector<FileFilter>& filters)
{
    if (filters.empty())
        return;
    GVariantBuilder list;
    g_variant_builder_init(&list, G_VARIANT_TYPE("a(sa(us))"));
    for (const FileFilter& filter : filters)
        g_variant_builder_add_value(&list, FilterVariant(filter));
    g_variant_builder_add(&options, "{sv}", "filters", g_variant_builder_end(&list));
    g_variant_builder_add(&options, "{sv}", "current_filter", FilterVariant(filters.front()));
}

GVariant* Options(const FileDialogRequest& request, const std::string& token)
{
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(TRUE));
    AddFilters(options, request.filters);
    // The folder goes as bytes with their terminating zero.
    if (!request.folder.empty())
        g_variant_builder_add(&options, "{sv}", "current_folder", g_variant_new_bytestring(request.folder.c_str()));
    if (request.mode == FileDialogMode::Save && !request.fileName.empty())
        g_variant_builder_add(&options, "{sv}", "current_name", TextVariant(request.fileName));
    return g_variant_builder_end(&options);
}

// The request object the portal makes for our token: the unique bus name
// without ':' and with '_' for '.', then the token.
std::string ExpectedHandle(GDBusConnection* bus, const std::string& token)
{
    std::string sender;
    for (const char* c = g_dbus_connection_get_unique_name(bus); c != nullptr && *c != '\0'; ++c) {
        if (*c != ':')
            sender += *c == '.' ? '_' : *c;
    }
    return kRequestPathStart + sender + "/" + token;
}

FileDialogAnswer AnswerFrom(guint32 code, GVariant* results)
{
    if (code == kResponseCancelled)
        return {FileDialogStatus::Cancelled, {}};
    FileDialogAnswer answer{FileDialogStatus::Failed, {}};
    const gchar** uris = nullptr;
    if (code != kResponseSuccess || !g_variant_lookup(results, "uris", "^a&s", &uris))
        return answer;
    if (uris[0] != nullptr) {
        std::string path = PortalFileChooser::PathFromUri(uris[0]);
        if (!path.empty())
            answer = {FileDialogStatus::Chosen, std::move(path)};
    }
    g_free(uris);
    return answer;
}

void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                gpointer data)
{
    auto& state = *static_cast<ResponseState*>(data);
    if (state.arrived || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ua{sv})")))
        return;
    guint32 code = 0;
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &code, &results);
    state.answer = AnswerFrom(code, results);
    state.arrived = true;
    g_variant_unref(results);
}

// The portal left the bus while its dialog was open: no answer will come.
void OnOwnerChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                    gpointer data)
{
    auto& state = *static_cast<ResponseState*>(data);
    if (state.arrived || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sss)")))
        return;
    const gchar* newOwner = nullptr;
    g_variant_get(parameters, "(&s&s&s)", nullptr, nullptr, &newOwner);
    if (newOwner[0] == '\0') {
        state.answer = {FileDialogStatus::Failed, {}};
        state.arrived = true;
    }
}

guint WatchPortalOwner(GDBusConnection* bus, ResponseState& state)
{
    return g_dbus_connection_signal_subscribe(bus, "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
                                              "/org/freedesktop/DBus", kPortalName, G_DBUS_SIGNAL_FLAGS_NONE,
                                              OnOwnerChanged, &state, nullptr);
}

guint Subscribe(GDBusConnection* bus, const std::string& handle, ResponseState& state)
{
    return g_dbus_connection_signal_subscribe(bus, kPortalName, kRequestInterface, "Response", handle.c_str(),
                                              nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, &state, nullptr);
}

GDBusConnection* Connect(const std::string& busAddress, GCancellable* cancellable)
{
    gchar* address = busAddress.empty() ? g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, cancellable, nullptr)
                                        : g_strdup(busAddress.c_str());
    if (address == nullptr)
        return nullptr;
    const auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                         G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(address, flags, nullptr, cancellable, nullptr);
    g_free(address);
    return bus;
}

// Asks the portal; the request object's path, or empty when no portal took
// the call.
std::string Ask(GDBusConnection* bus, const FileDialogRequest& request, const std::string& token, int timeoutMs,
                GCancellable* cancellable)
{
    const char* method = request.mode == FileDialogMode::Save ? "SaveFile" : "OpenFile";
    GVariant* parameters = g_variant_new("(s@s@a{sv})", "", TextVariant(request.title), Options(request, token));
    GVariant* reply = g_dbus_connection_call_sync(bus, kPortalName, kPortalPath, kChooserInterface, method, parameters,
                                                  G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, timeoutMs,
                                                  cancellable, nullptr);
    if (reply == nullptr)
        return {};
    const gchar* handle = nullptr;
    g_variant_get(reply, "(&o)", &handle);
    std::string result = handle;
    g_variant_unref(reply);
    return result;
}

void CloseRequest(GDBusConnection* bus, const std::string& handle)
{
    GVariant* reply = g_dbus_connection_call_sync(bus, kPortalName, handle.c_str(), kRequestInterface, "Close",
                                                  nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, kCloseTimeoutMs, nullptr,
                                                  nullptr);
    if (reply != nullptr)
        g_variant_unref(reply);
}

gboolean OnCancelled(GCancellable*, gpointer) { return G_SOURCE_REMOVE; }

// A closed connection refers to the context it was made on until GDBus,
// from a thread of its own, has let go of it. Waits for that (a second at
// most), iterating the context meanwhile, so that the connection is not
// finalized after this thread and its context have gone.
void Release(GDBusConnection* bus, GMainContext* context)
{
    GWeakRef weak;
    g_weak_ref_init(&weak, bus);
    g_object_unref(bus);
    for (int i = 0; i < kReleaseTries; ++i) {
        auto* alive = static_cast<GObject*>(g_weak_ref_get(&weak));
        if (alive == nullptr)
            break;
        g_object_unref(alive);
        while (g_main_context_iteration(context, FALSE)) {
        }
        g_usleep(kReleasePauseUs);
    }
    g_weak_ref_clear(&weak);
}

}  // namespace

PortalFileChooser::PortalFileChooser(std::string busAddress, int callTimeoutMs)
    : busAddress_(std::move(busAddress)), callTimeoutMs_(callTimeoutMs), cancellable_(g_cancellable_new())
{
}

PortalFileChooser::~PortalFileChooser() { g_object_unref(cancellable_); }

void PortalFileChooser::Cancel() { g_cancellable_cancel(cancellable_); }

// The context is made, iterated and freed here only; the cancellable wakes it.
PortalFileChooser::Outcome PortalFileChooser::Run(const FileDialogRequest& request, unsigned token)
{
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    GSource* wake = g_cancellable_source_new(cancellable_);
    g_source_set_callback(wake, G_SOURCE_FUNC(OnCancelled), nullptr, nullptr);
    g_source_attach(wake, context);
    Outcome outcome = RunOnContext(request, token, context);
    g_source_destroy(wake);
    g_source_unref(wake);
    while (g_main_context_iteration(context, FALSE)) {
    }
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
    return outcome;
}

PortalFileChooser::Outcome PortalFileChooser::RunOnContext(const FileDialogRequest& request, unsigned token,
                                                           GMainContext* context)
{
    if (g_cancellable_is_cancelled(cancellable_))
        return {true, {FileDialogStatus::Cancelled, {}}};
    GDBusConnection* bus = Connect(busAddress_, cancellable_);
    if (bus == nullptr)
        return {};
    const std::string tokenText = "neritmice" + std::to_string(token);
    const std::string expected = ExpectedHandle(bus, tokenText);
    ResponseState state;
    const guint expectedSubscription = Subscribe(bus, expected, state);
    const guint ownerSubscription = WatchPortalOwner(bus, state);
    const std::string handle = Ask(bus, request, tokenText, callTimeoutMs_, cancellable_);
    // An older portal may choose another object path.
    const guint otherSubscription = !handle.empty() && handle != expected ? Subscribe(bus, handle, state) : 0;
    while (!handle.empty() && !state.arrived && !g_cancellable_is_cancelled(cancellable_))
        g_main_context_iteration(context, TRUE);
    Outcome outcome{state.arrived, state.answer};
    if (!state.arrived && g_cancellable_is_cancelled(cancellable_)) {
        if (!handle.empty())
            CloseRequest(bus, handle);
        outcome = {true, {FileDialogStatus::Cancelled, {}}};
    }
    g_dbus_connection_signal_unsubscribe(bus, expectedSubscription);
    g_dbus_connection_signal_unsubscribe(bus, ownerSubscription);
    if (otherSubscription != 0)
        g_dbus_connection_signal_unsubscribe(bus, otherSubscription);
    g_dbus_connection_close_sync(bus, nullptr, nullptr);
    Release(bus, context);
    return outcome;
}

std::string PortalFileChooser::PathFromUri(const char* uri)
{
    gchar* hostname = nullptr;
    gchar* path = g_filename_from_uri(uri, &hostname, nullptr);
    const bool local = hostname == nullptr || g_strcmp0(hostname, "localhost") == 0;
    std::string result = path != nullptr && local ? path : "";
    g_free(path);
    g_free(hostname);
    return result;
}

}  // namespace platform
