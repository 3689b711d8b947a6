// One running program per user. The first start holds a lock named for the
// program and listens for later starts; a later start finds the lock taken,
// asks the running one to raise its window and waits up to a second for its
// answer. The lock and the listening end are released when the holder's
// InstanceGuard is destroyed, and a process that dies loses the lock.
#pragma once

#include "platform/file_system.h"

#include <memory>
#include <string>

namespace platform {

enum class InstanceResult {
    Primary,      // we hold the lock; `guard` is set
    RaisedOther,  // the running one answered and raises itself: exit 0
    NoAnswer,     // the lock is held, but nobody answered within the wait
    PathTooLong,  // the socket's path does not fit an address; nothing was made
    Error,        // the lock or socket cannot be used; LastError() tells why
};

// Held by the first start for as long as it runs.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // A descriptor that becomes readable when a later start asks something,
    // for the message loop to watch; -1 when there is none (call
    // TakeRaiseRequests on every pass then).
    virtual int WaitHandle() const = 0;
    // Accepts and answers the requests that have arrived, without blocking;
    // true when at least one asked to raise the window.
    virtual bool TakeRaiseRequests() = 0;
};

class SingleInstance {
public:
    // How long a later start waits for the running one's answer.
    static constexpr unsigned kAnswerWaitMs = 1000;

    virtual ~SingleInstance() = default;
    // Takes "<name>.lock" in `folder`, or asks its holder over "<name>.sock"
    // there. `guard` is set only on Primary.
    virtual InstanceResult Start(const std::string& folder, const std::string& name,
                                 std::unique_ptr<InstanceGuard>& guard) = 0;
    virtual FileError LastError() const = 0;
};

// The folder for the lock and socket: `runtimeDir` ($XDG_RUNTIME_DIR, null
// when unset) when it is absolute, else `fallback`.
std::string InstanceFolderFrom(const char* runtimeDir, const std::string& fallback);

// InstanceFolderFrom with this process's $XDG_RUNTIME_DIR.
std::string InstanceFolder(const std::string& fallback);

// Lock and socket of the real system, waiting on the system clock.
SingleInstance& RealSingleInstance();

}  // namespace platform
