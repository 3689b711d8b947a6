// Locks in memory, for tests: a lock is busy while a FileLock of this
// service holds it; waiting passes on the given clock.
#pragma once

#include "platform/clock.h"
#include "platform/file_lock.h"

#include <memory>
#include <set>

namespace platform {

class FakeLockService final : public LockService {
public:
    explicit FakeLockService(Clock& clock) : clock_(clock) {}

    LockResult Acquire(const std::string& lockPath, unsigned timeoutMs, std::unique_ptr<FileLock>& lock) override;
    FileError LastError() const override { return lastError_; }

    bool IsHeld(const std::string& lockPath) const { return held_->count(lockPath) != 0; }
    // While set, every Acquire fails with `error`.
    void SetFailure(FileError error) { failure_ = error; }

private:
    Clock& clock_;
    // Shared with the held locks, which may outlive the service.
    std::shared_ptr<std::set<std::string>> held_ = std::make_shared<std::set<std::string>>();
    FileError failure_ = FileError::None;
    FileError lastError_ = FileError::None;
};

}  // namespace platform
