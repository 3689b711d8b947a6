#include "platform/UnixSingleInstance.h"

#include "platform/PosixFile.h"
#include "platform/UnixInstanceGuard.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kBacklog = 16;

// False when the path does not fit with its terminating zero; it is never
// cut short, which would name another file.
bool FillAddress(const std::string& path, sockaddr_un& address)
{
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

int NewSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

bool Connect(int fd, const sockaddr_un& address)
{
    while (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// One later start's conversation with the running one, taken up again from
// the start whenever the other end goes away.
struct Asking {
    int fd = -1;
    size_t sent = 0;
    std::string answer;

    ~Asking() { Reset(); }
    void Reset()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        sent = 0;
        answer.clear();
    }
};

enum class Progress { Done, Later, Lost };

Progress Failed() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? Progress::Later : Progress::Lost; }

// Sends what is left of the request.
Progress SendRequest(Asking& asking)
{
    const std::string_view request = UnixSingleInstance::kRaiseRequest;
    while (asking.sent < request.size()) {
        const ssize_t put = ::send(asking.fd, request.data() + asking.sent, request.size() - asking.sent,
                                   MSG_DONTWAIT | MSG_NOSIGNAL);
        if (put < 0)
            return Failed();
        asking.sent += static_cast<size_t>(put);
    }
    return Progress::Done;
}

// Done once the whole answer is in; it may come in pieces.
Progress ReadAnswer(Asking& asking)
{
    const std::string_view expected = UnixSingleInstance::kRaiseAnswer;
    char buffer[16];
    for (;;) {
        const ssize_t got = ::recv(asking.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0)
            return Progress::Lost;  // closed without an answer
        if (got < 0)
            return Failed();
        asking.answer.append(buffer, static_cast<size_t>(got));
        if (asking.answer.size() > expected.size() || expected.substr(0, asking.answer.size()) != asking.answer)
            return Progress::Lost;
        if (asking.answer.size() == expected.size())
            return Progress::Done;
    }
}

// One try without waiting: connects when not yet connected (the running one
// may not listen yet), sends the request, reads what has come of the answer.
// True once answered.
bool TryAsk(const sockaddr_un& address, Asking& asking)
{
    if (asking.fd < 0) {
        asking.fd = NewSocket();
        if (asking.fd < 0 || !Connect(asking.fd, address)) {
            asking.Reset();
            return false;
        }
    }
    Progress progress = SendRequest(asking);
    if (progress == Progress::Done)
        progress = ReadAnswer(asking);
    if (progress == Progress::Lost)
        asking.Reset();
    return progress == Progress::Done;
}

}  // namespace

std::string InstanceFolderFrom(const char* runtimeDir, const std::string& fallback)
{
    if (runtimeDir != nullptr && runtimeDir[0] == '/')
        return runtimeDir;
    return fallback;
}

std::string InstanceFolder(const std::string& fallback)
{
    return InstanceFolderFrom(std::getenv("XDG_RUNTIME_DIR"), fallback);
}

InstanceResult UnixSingleInstance::Start(const std::string& folder, const std::string& name,
                                         std::unique_ptr<InstanceGuard>& guard)
{
    lastError_ = FileError::None;
    const std::string socketPath = folder + "/" + name + ".sock";
    sockaddr_un address;
    if (!FillAddress(socketPath, address))
        return InstanceResult::PathTooLong;
    // A planted symbolic link is not followed; only the owner reads the file.
    const int lockFd = OpenRegular(folder + "/" + name + ".lock", O_RDONLY | O_CREAT | O_NOFOLLOW, 0600, lastError_);
    if (lockFd < 0)
        return InstanceResult::Error;
    bool busy = false;
    if (TryLock(lockFd, busy))
        return BecomePrimary(lockFd, socketPath, guard);
    ::close(lockFd);
    return busy ? AskRunning(socketPath) : InstanceResult::Error;
}

bool UnixSingleInstance::TryLock(int fd, bool& busy)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            busy = true;
            return false;
        }
        if (errno != EINTR) {
            lastError_ = FileErrorOf(errno);
            return false;
        }
    }
    return true;
}

bool UnixSingleInstance::RemoveStaleSocket(const std::string& socketPath)
{
    struct stat info {};
    if (::lstat(socketPath.c_str(), &info) != 0) {
        lastError_ = errno == ENOENT ? FileError::None : FileErrorOf(errno);
        return errno == ENOENT;
    }
    if (!S_ISSOCK(info.st_mode)) {
        // Not ours to remove: someone else's file keeps its place.
        lastError_ = S_ISDIR(info.st_mode) ? FileError::IsFolder : FileError::Other;
        return false;
    }
    if (::unlink(socketPath.c_str()) != 0 && errno != ENOENT) {
        lastError_ = FileErrorOf(errno);
        return false;
    }
    return true;
}

InstanceResult UnixSingleInstance::BecomePrimary(int lockFd, const std::string& socketPath,
                                                 std::unique_ptr<InstanceGuard>& guard)
{
    sockaddr_un address;
    FillAddress(socketPath, address);
    const int listenFd = RemoveStaleSocket(socketPath) ? NewSocket() : -1;
    const int epollFd = listenFd >= 0 ? ::epoll_create1(EPOLL_CLOEXEC) : -1;
    struct stat info {};
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = listenFd;
    // The socket's mode before bind becomes the file's (less the umask), so
    // the file is never open to others, not even for a moment.
    const bool ready = epollFd >= 0 && ::fchmod(listenFd, 0600) == 0 &&
                       ::bind(listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                       ::lstat(socketPath.c_str(), &info) == 0 && ::listen(listenFd, kBacklog) == 0 &&
                       ::epoll_ctl(epollFd, EPOLL_CTL_ADD, listenFd, &event) == 0;
    if (ready) {
        guard = std::make_unique<UnixInstanceGuard>(lockFd, listenFd, epollFd, socketPath, info.st_dev, info.st_ino);
        return InstanceResult::Primary;
    }
    if (lastError_ == FileError::None)
        lastError_ = FileErrorOf(errno);
    if (info.st_ino != 0)
        ::unlink(socketPath.c_str());
    for (const int fd : {epollFd, listenFd, lockFd}) {
        if (fd >= 0)
            ::close(fd);
    }
    return InstanceResult::Error;
}

InstanceResult UnixSingleInstance::AskRunning(const std::string& socketPath)
{
    sockaddr_un address;
    FillAddress(socketPath, address);
    Asking asking;
    const uint64_t start = clock_.NowMicros();
    while (!TryAsk(address, asking)) {
        const uint64_t waitedMs = (clock_.NowMicros() - start) / 1000;
        if (waitedMs >= answerWaitMs_)
            return InstanceResult::NoAnswer;
        clock_.SleepMs(static_cast<unsigned>(std::min<uint64_t>(kStepMs, answerWaitMs_ - waitedMs)));
    }
    return InstanceResult::RaisedOther;
}

SingleInstance& RealSingleInstance()
{
    static UnixSingleInstance instance(SystemClock());
    return instance;
}

}  // namespace platform
