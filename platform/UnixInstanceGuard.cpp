#include "platform/UnixInstanceGuard.h"

#include "platform/UnixSingleInstance.h"

#include <cerrno>
#include <utility>

#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

UnixInstanceGuard::UnixInstanceGuard(int lockFd, int listenFd, int epollFd, std::string socketPath, dev_t device,
                                     ino_t inode)
    : lockFd_(lockFd), listenFd_(listenFd), epollFd_(epollFd), socketPath_(std::move(socketPath)), device_(device),
      inode_(inode)
{
}

UnixInstanceGuard::~UnixInstanceGuard()
{
    while (!callers_.empty())
        Drop(0);
    ::close(epollFd_);
    ::close(listenFd_);
    // The file goes before the lock, so that a start which takes the lock
    // next never finds its own new socket removed by us.
    if (OwnsSocketFile())
        ::unlink(socketPath_.c_str());
    ::close(lockFd_);
}

bool UnixInstanceGuard::OwnsSocketFile() const
{
    struct stat info {};
    return ::lstat(socketPath_.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_dev == device_ &&
           info.st_ino == inode_;
}

bool UnixInstanceGuard::TakeRaiseRequests()
{
    AcceptCallers();
    bool raise = false;
    for (size_t i = 0; i < callers_.size();) {
        const Request request = ReadRequest(callers_[i]);
        if (request == Request::Incomplete) {
            ++i;
            continue;
        }
        if (request == Request::Raise) {
            Answer(callers_[i]);
            raise = true;
        }
        Drop(i);
    }
    return raise;
}

void UnixInstanceGuard::AcceptCallers()
{
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;  // none left (or the system is out of descriptors: they stay queued)
        }
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        if (::epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &event) != 0) {
            ::close(fd);
            continue;
        }
        if (callers_.size() >= kMaxPending)
            Drop(0);
        callers_.push_back({fd, {}});
    }
}

UnixInstanceGuard::Request UnixInstanceGuard::ReadRequest(Caller& caller)
{
    const std::string_view expected = UnixSingleInstance::kRaiseRequest;
    char buffer[64];
    for (;;) {
        const ssize_t got = ::recv(caller.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            caller.received.append(buffer, static_cast<size_t>(got));
            if (caller.received.size() > expected.size() || expected.substr(0, caller.received.size()) != caller.received)
                return Request::Bad;
            if (caller.received.size() == expected.size())
                return Request::Raise;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return Request::Incomplete;
        return Request::Bad;  // closed before the whole request, or failed
    }
}

void UnixInstanceGuard::Answer(const Caller& caller)
{
    // The answer is tiny and the caller's buffer empty, so it goes at once;
    // a caller that has gone away meanwhile is no error of ours.
    const std::string_view answer = UnixSingleInstance::kRaiseAnswer;
    while (::send(caller.fd, answer.data(), answer.size(), MSG_DONTWAIT | MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
}

void UnixInstanceGuard::Drop(size_t index)
{
    const int fd = callers_[index].fd;
    ::epoll_ctl(epollFd_, EPOLL_CTL_DEL, fd, nullptr);
    ::close(fd);
    callers_.erase(callers_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace platform
