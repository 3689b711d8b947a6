// Locks through flock on a lock file. The lock file stays after use; the
// lock belongs to the open file, so it ends with the holder's process.
#pragma once

#include "platform/clock.h"
#include "platform/file_lock.h"

namespace platform {

class FlockLockService final : public LockService {
public:
    explicit FlockLockService(Clock& clock) : clock_(clock) {}

    LockResult Acquire(const std::string& lockPath, unsigned timeoutMs, std::unique_ptr<FileLock>& lock) override;
    FileError LastError() const override { return lastError_; }

private:
    // True when taken, false when busy; errors set lastError_.
    LockResult TryLock(int fd);

    Clock& clock_;
    FileError lastError_ = FileError::None;
};

}  // namespace platform
