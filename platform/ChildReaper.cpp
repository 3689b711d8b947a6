#include "platform/ChildReaper.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

// Collects the child if it has ended; true when it is gone.
bool CollectIfEnded(pid_t pid)
{
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    return got != 0;
}

// A descriptor that becomes readable when the child ends (Linux 5.3 on);
// -1 when the system has none.
int PidDescriptor(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

}  // namespace

ChildReaper::~ChildReaper()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    const uint64_t one = 1;
    (void)!::write(wake_, &one, sizeof one);
    thread_.join();
    for (const Child& child : children_)
        ::close(child.pidfd);
    ::close(wake_);
}

bool ChildReaper::Start()
{
    if (thread_.joinable())
        return true;
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        return false;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        ::close(wake_);
        wake_ = -1;
        return false;
    }
    return true;
}

bool ChildReaper::Add(pid_t pid)
{
    const int pidfd = PidDescriptor(pid);
    if (pidfd < 0 || !Start()) {
        if (pidfd >= 0)
            ::close(pidfd);
        CollectIfEnded(pid);
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        children_.push_back({pid, pidfd});
    }
    const uint64_t one = 1;
    (void)!::write(wake_, &one, sizeof one);
    return true;
}

size_t ChildReaper::Watched()
{
    std::lock_guard lock(mutex_);
    return children_.size();
}

void ChildReaper::Run()
{
    for (;;) {
        std::vector<Child> watched;
        {
            std::lock_guard lock(mutex_);
            watched = children_;
        }
        std::vector<pollfd> fds{{wake_, POLLIN, 0}};
        for (const Child& child : watched)
            fds.push_back({child.pidfd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return;
        uint64_t count;
        (void)!::read(wake_, &count, sizeof count);
        std::vector<Child> ready;
        for (size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents != 0)
                ready.push_back(watched[i - 1]);
        }
        if (!CollectEnded(ready))
            return;
    }
}

bool ChildReaper::CollectEnded(const std::vector<Child>& ready)
{
    std::lock_guard lock(mutex_);
    for (const Child& child : ready) {
        if (!CollectIfEnded(child.pid))
            continue;
        ::close(child.pidfd);
        std::erase_if(children_, [&](const Child& c) { return c.pid == child.pid; });
    }
    return !stopping_;
}

}  // namespace platform
