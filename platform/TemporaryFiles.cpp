#include "platform/TemporaryFiles.h"

#include "platform/PosixFile.h"

#include <cerrno>
#include <ctime>
#include <memory>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::string_view kMarker = ".tmp-";
constexpr size_t kRandomLength = 6;  // the XXXXXX of mkstemp

bool IsRandomPart(std::string_view text)
{
    if (text.size() != kRandomLength)
        return false;
    for (char c : text) {
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum)
            return false;
    }
    return true;
}

std::optional<long> ProcessId(std::string_view digits)
{
    if (digits.empty() || digits.size() > 9 || digits[0] == '0')
        return std::nullopt;
    long pid = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

bool ProcessGone(long pid)
{
    return pid != 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool IsStale(int folder, const char* name, long writer)
{
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid())
        return false;
    const int64_t age = static_cast<int64_t>(std::time(nullptr)) - static_cast<int64_t>(info.st_mtime);
    return ProcessGone(writer) || age > kStaleTemporarySeconds;
}

std::string BaseOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

}  // namespace

std::string TemporaryPattern(const std::string& target, long pid)
{
    return target + std::string(kMarker) + std::to_string(pid) + "-XXXXXX";
}

std::optional<long> TemporaryWriter(std::string_view base, std::string_view name)
{
    if (name.size() <= base.size() + kMarker.size() || name.substr(0, base.size()) != base ||
        name.substr(base.size(), kMarker.size()) != kMarker)
        return std::nullopt;
    const std::string_view rest = name.substr(base.size() + kMarker.size());
    if (IsRandomPart(rest))
        return 0;
    const size_t dash = rest.find('-');
    if (dash == std::string_view::npos || !IsRandomPart(rest.substr(dash + 1)))
        return std::nullopt;
    return ProcessId(rest.substr(0, dash));
}

int CreateTemporary(const std::string& target, unsigned mode, std::string& path)
{
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    constexpr int kAttempts = 100;
    path = TemporaryPattern(target, static_cast<long>(::getpid()));
    const size_t start = path.size() - kRandomLength;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        for (size_t i = 0; i < kRandomLength; ++i)
            path[start + i] = kLetters[random() % kLetters.size()];
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

void RemoveStaleTemporaries(const std::string& target)
{
    const std::string base = BaseOf(target);
    std::unique_ptr<DIR, FolderCloser> folder(::opendir(FolderOf(target).c_str()));
    if (!folder || base.empty())
        return;
    const int fd = ::dirfd(folder.get());
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::optional<long> writer = TemporaryWriter(base, entry->d_name);
        if (writer && IsStale(fd, entry->d_name, *writer))
            ::unlinkat(fd, entry->d_name, 0);
    }
}

}  // namespace platform
