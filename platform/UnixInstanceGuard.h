// The first start's side of UnixSingleInstance: the held lock, the listening
// socket and the callers that have connected but not yet sent their whole
// request. One epoll descriptor covers them all, so the message loop watches
// a single descriptor and is woken for a new caller as for a late request.
#pragma once

#include "platform/single_instance.h"

#include <string>
#include <vector>

#include <sys/types.h>

namespace platform {

class UnixInstanceGuard final : public InstanceGuard {
public:
    // The most callers kept waiting for their request; the oldest is dropped
    // beyond it (it then tries again).
    static constexpr size_t kMaxPending = 16;

    // Takes over the descriptors. The socket file is removed on destruction
    // while it is still the one this guard made (same device and inode).
    UnixInstanceGuard(int lockFd, int listenFd, int epollFd, std::string socketPath, dev_t device, ino_t inode);
    ~UnixInstanceGuard() override;
    UnixInstanceGuard(const UnixInstanceGuard&) = delete;
    UnixInstanceGuard& operator=(const UnixInstanceGuard&) = delete;

    int WaitHandle() const override { return epollFd_; }
    bool TakeRaiseRequests() override;

private:
    struct Caller {
        int fd;
        std::string received;
    };
    enum class Request { Incomplete, Raise, Bad };

    void AcceptCallers();
    Request ReadRequest(Caller& caller);
    void Answer(const Caller& caller);
    void Drop(size_t index);
    bool OwnsSocketFile() const;

    int lockFd_;
    int listenFd_;
    int epollFd_;
    std::string socketPath_;
    dev_t device_;
    ino_t inode_;
    std::vector<Caller> callers_;
};

}  // namespace platform
