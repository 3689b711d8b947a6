#include "platform/FlockLockService.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {
namespace {

class FlockFileLock final : public FileLock {
public:
    explicit FlockFileLock(int fd) : fd_(fd) {}
    ~FlockFileLock() override { ::close(fd_); }  // closing releases the lock
    FlockFileLock(const FlockFileLock&) = delete;
    FlockFileLock& operator=(const FlockFileLock&) = delete;

private:
    int fd_;
};

}  // namespace

LockResult FlockLockService::TryLock(int fd)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return LockResult::Busy;
        if (errno != EINTR) {
            lastError_ = FileErrorOf(errno);
            return LockResult::Error;
        }
    }
    return LockResult::Acquired;
}

LockResult FlockLockService::Acquire(const std::string& lockPath, unsigned timeoutMs, std::unique_ptr<FileLock>& lock)
{
    // Read access is enough for flock, so other users who may read the file
    // can take the lock too; a planted symbolic link is not followed.
    const int fd = OpenRegular(lockPath, O_RDONLY | O_CREAT | O_NOFOLLOW, 0644, lastError_);
    if (fd < 0)
        return LockResult::Error;
    const uint64_t start = clock_.NowMicros();
    LockResult result = TryLock(fd);
    while (result == LockResult::Busy) {
        const uint64_t waitedMs = (clock_.NowMicros() - start) / 1000;
        if (waitedMs >= timeoutMs)
            break;
        clock_.SleepMs(static_cast<unsigned>(std::min<uint64_t>(kRetryMs, timeoutMs - waitedMs)));
        result = TryLock(fd);
    }
    if (result != LockResult::Acquired) {
        ::close(fd);
        return result;
    }
    lastError_ = FileError::None;
    lock = std::make_unique<FlockFileLock>(fd);
    return result;
}

LockService& RealLockService()
{
    static FlockLockService service(SystemClock());
    return service;
}

}  // namespace platform
