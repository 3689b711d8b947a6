#include "platform/PosixFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr size_t kReadChunk = 64 * 1024;

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Reads until maxBytes or end of file; false on a read error.
bool ReadUpTo(int fd, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    while (bytes.size() < maxBytes) {
        const size_t want = std::min(kReadChunk, maxBytes - bytes.size());
        const size_t old = bytes.size();
        bytes.resize(old + want);
        const ssize_t got = ::read(fd, bytes.data() + old, want);
        if (got < 0 && errno == EINTR) {
            bytes.resize(old);
            continue;
        }
        if (got <= 0) {
            bytes.resize(old);
            return got == 0;
        }
        bytes.resize(old + static_cast<size_t>(got));
    }
    return true;
}

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const size_t chunk = std::min<size_t>(size, SSIZE_MAX);
        const ssize_t written = ::write(fd, data, chunk);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool SyncFile(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// The new file keeps the permissions of the one it replaces; a new file is
// readable by everyone and writable by its owner.
mode_t ModeFor(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    return 0644;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable; a failure here does not undo the write.
void SyncFolder(const std::string& path)
{
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    SyncFile(fd);
    ::close(fd);
}

bool FillTemporary(int fd, const std::string& target, const uint8_t* data, size_t size)
{
    return ::fchmod(fd, ModeFor(target)) == 0 && WriteAll(fd, data, size) && SyncFile(fd);
}

bool MakeDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    return errno == EEXIST && IsDirectory(path);
}

}  // namespace

ReadResult PosixFileSystem::ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    // Non-blocking, so that a pipe in place of a file cannot stall the
    // program; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return ReadResult::CannotOpen;
    struct stat info {};
    const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ReadUpTo(fd, maxBytes, bytes);
    ::close(fd);
    if (!ok) {
        bytes.clear();
        return ReadResult::CannotOpen;
    }
    return ReadResult::Ok;
}

bool PosixFileSystem::WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    if (path.empty() || (data == nullptr && size > 0))
        return false;
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = FillTemporary(fd, path, data, size);
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(path);
    return true;
}

bool PosixFileSystem::CreateDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        if (!MakeDirectory(path.substr(0, slash)))
            return false;
    }
    return MakeDirectory(path);
}

bool PosixFileSystem::IsWritableDirectory(const std::string& path)
{
    return !path.empty() && IsDirectory(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool PosixFileSystem::Exists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

FileSystem& RealFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace platform
