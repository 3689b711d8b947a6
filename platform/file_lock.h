// Exclusive locks between processes, each named by a lock file. A lock is
// held for as long as its FileLock object lives, and a process that dies
// loses its locks. neritctl holds the data folder's lock for each changing
// command, NeritMice for as long as it runs, and the simulated mouse its
// state file's lock for a whole command.
#pragma once

#include "platform/file_system.h"

#include <memory>
#include <string>

namespace platform {

enum class LockResult {
    Acquired,
    Busy,   // another holder kept it for the whole wait
    Error,  // the lock file cannot be used; LastError() tells why
};

// A held lock, released when destroyed.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class LockService {
public:
    // How often a busy lock is tried again while waiting.
    static constexpr unsigned kRetryMs = 50;

    virtual ~LockService() = default;
    // Takes the lock of lockPath (the file is created when missing; only a
    // regular file is used). Waits up to timeoutMs for another holder to let
    // go; `lock` is set only on Acquired.
    virtual LockResult Acquire(const std::string& lockPath, unsigned timeoutMs, std::unique_ptr<FileLock>& lock) = 0;
    virtual FileError LastError() const = 0;
};

// Locks of the real system (flock), waiting on the system clock.
LockService& RealLockService();

}  // namespace platform
