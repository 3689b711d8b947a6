#include "platform/FakeLockService.h"

#include <algorithm>

namespace platform {
namespace {

class FakeFileLock final : public FileLock {
public:
    FakeFileLock(std::shared_ptr<std::set<std::string>> held, std::string path)
        : held_(std::move(held)), path_(std::move(path))
    {
        held_->insert(path_);
    }
    ~FakeFileLock() override { held_->erase(path_); }

private:
    std::shared_ptr<std::set<std::string>> held_;
    std::string path_;
};

}  // namespace

LockResult FakeLockService::Acquire(const std::string& lockPath, unsigned timeoutMs, std::unique_ptr<FileLock>& lock)
{
    lastError_ = failure_;
    if (failure_ != FileError::None)
        return LockResult::Error;
    if (IsHeld(lockPath)) {
        // Nothing else runs while this process waits, so the wait ends busy.
        for (unsigned waited = 0; waited < timeoutMs; waited += kRetryMs)
            clock_.SleepMs(std::min(kRetryMs, timeoutMs - waited));
        return LockResult::Busy;
    }
    lock = std::make_unique<FakeFileLock>(held_, lockPath);
    return LockResult::Acquired;
}

}  // namespace platform
