// A private D-Bus message bus (dbus-daemon) in a test's folder, and on it an
// optional stand-in for the desktop portal's FileChooser served from a thread
// of the test process. The stand-in records each call and answers it with the
// scripted Response signal on the request object, as the portal does.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct _GDBusConnection;
struct _GDBusMethodInvocation;
struct _GMainLoop;
struct _GVariant;

namespace testsupport {

class FakePortalBus {
public:
    struct Call {
        std::string method;  // "OpenFile" or "SaveFile"
        std::string parameters;  // printed with their types
        std::string sender;
        std::string handle;  // the request object it answered on
    };

    explicit FakePortalBus(const std::string& folder);
    ~FakePortalBus();

    // False when dbus-daemon is missing or the bus does not come up.
    bool Running() const { return !address_.empty(); }
    const std::string& Address() const { return address_; }

    // Serves the FileChooser; every call is answered with `response` and,
    // for 0, the uris. `answer` false: calls are taken but never answered.
    bool StartPortal(unsigned response, std::vector<std::string> uris, bool answer = true);
    // The answer to the calls from now on.
    void SetAnswer(unsigned response, std::vector<std::string> uris, bool answer = true);
    // Calls from now on get no reply at all, as from a portal that hangs.
    void HoldCalls();
    std::vector<Call> Calls();

private:
    void Serve();
    static void HandleMethod(_GDBusConnection* bus, const char* sender, const char* path, const char* interface,
                             const char* method, _GVariant* parameters, _GDBusMethodInvocation* invocation,
                             void* self);
    void OnCall(_GDBusConnection* bus, const char* sender, const char* method, _GVariant* parameters,
                _GDBusMethodInvocation* invocation);
    bool ServeOn(_GDBusConnection* bus);

    pid_t daemon_ = -1;
    std::string address_;
    unsigned response_ = 0;
    std::vector<std::string> uris_;
    bool answer_ = true;
    bool hold_ = false;
    std::vector<_GDBusMethodInvocation*> held_;  // server thread only
    std::thread server_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int ready_ = 0;  // 1 serving, -1 failed
    _GMainLoop* loop_ = nullptr;
    std::vector<Call> calls_;
};

}  // namespace testsupport
