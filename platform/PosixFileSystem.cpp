#include "platform/PosixFileSystem.h"

#include "platform/PosixFile.h"
#include "platform/TemporaryFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

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

// Reads until maxBytes or end of file; false on a read error (errno set).
bool ReadUpTo(int fd, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    // Room for the whole file and the read that finds its end, so that a
    // large file (a skin picture) is not held twice while the buffer grows.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        bytes.reserve(std::min(static_cast<size_t>(info.st_size) + kReadChunk, maxBytes));
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

// False with errno set; a write that makes no progress counts as a full disk.
bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const size_t chunk = std::min<size_t>(size, SSIZE_MAX);
        const ssize_t written = ::write(fd, data, chunk);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;
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

// The permissions of the regular file a write replaces; none for a new file.
std::optional<unsigned> ExistingMode(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    return std::nullopt;
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

struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

}  // namespace

bool PosixFileSystem::Fail(FileError error)
{
    lastError_ = error;
    return false;
}

bool PosixFileSystem::FailWithErrno() { return Fail(FileErrorOf(errno)); }

ReadResult PosixFileSystem::ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    const int fd = OpenRegular(path, O_RDONLY, 0, lastError_);
    if (fd < 0)
        return ReadResult::CannotOpen;
    const bool ok = ReadUpTo(fd, maxBytes, bytes);
    if (!ok)
        FailWithErrno();
    ::close(fd);
    if (!ok) {
        bytes.clear();
        return ReadResult::ReadFailed;
    }
    return ReadResult::Ok;
}

bool PosixFileSystem::ReplacedFile(const std::string& path, std::string& target)
{
    struct stat info {};
    target = path;
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT || FailWithErrno();  // a new file; its folder is checked on create
    if (S_ISLNK(info.st_mode)) {
        const std::unique_ptr<char, FreeDeleter> resolved(::realpath(path.c_str(), nullptr));
        if (!resolved)
            return Fail(errno == ENOENT ? FileError::NotRegular : FileErrorOf(errno));
        target = resolved.get();
        if (::stat(target.c_str(), &info) != 0)
            return FailWithErrno();
    }
    const FileError type = FileErrorOfType(info.st_mode);
    if (type != FileError::None)
        return Fail(type);
    // The rename needs only the folder's permission; a file this user may
    // not write is not replaced either.
    return ::access(target.c_str(), W_OK) == 0 || FailWithErrno();
}

bool PosixFileSystem::WriteTemporary(int fd, std::optional<unsigned> mode, const uint8_t* data, size_t size)
{
    const bool filled = (!mode || ::fchmod(fd, static_cast<mode_t>(*mode)) == 0) && WriteAll(fd, data, size) &&
                        SyncFile(fd);
    if (!filled)
        FailWithErrno();
    if (::close(fd) != 0 && filled)
        return FailWithErrno();
    return filled;
}

bool PosixFileSystem::WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    if (path.empty() || (data == nullptr && size > 0))
        return Fail(FileError::Other);
    std::string target;
    if (!ReplacedFile(path, target))
        return false;
    RemoveStaleTemporaries(target);
    // A replaced file keeps its permissions; a new one gets those of any new
    // file of this user (the umask applies).
    const std::optional<unsigned> mode = ExistingMode(target);
    std::string temporary;
    const int fd = CreateTemporary(target, mode ? 0600 : 0666, temporary);
    if (fd < 0)
        return FailWithErrno();
    bool ok = WriteTemporary(fd, mode, data, size);
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0)
        ok = FailWithErrno();
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(target);
    lastError_ = FileError::None;
    return true;
}

bool PosixFileSystem::AppendFile(const std::string& path, const uint8_t* data, size_t size)
{
    if (path.empty() || (data == nullptr && size > 0))
        return Fail(FileError::Other);
    const int fd = OpenRegular(path, O_WRONLY | O_APPEND | O_CREAT, 0666, lastError_);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, data, size);
    if (!written)
        FailWithErrno();
    if (::close(fd) != 0 && written)
        return FailWithErrno();
    if (written)
        lastError_ = FileError::None;
    return written;
}

bool PosixFileSystem::MakeDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    if (errno != EEXIST)
        return FailWithErrno();
    return IsDirectory(path) || Fail(FileError::NotAFolder);
}

bool PosixFileSystem::CreateDirectories(const std::string& path)
{
    if (path.empty())
        return Fail(FileError::Missing);
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        if (!MakeDirectory(path.substr(0, slash)))
            return false;
    }
    if (!MakeDirectory(path))
        return false;
    lastError_ = FileError::None;
    return true;
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

std::string PosixFileSystem::ResolvedPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error || path.empty() ? path : resolved.string();
}

bool PosixFileSystem::RemoveFile(const std::string& path)
{
    if (IsDirectory(path))
        return Fail(FileError::IsFolder);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return FailWithErrno();
    lastError_ = FileError::None;
    return true;
}

bool PosixFileSystem::RenameFile(const std::string& from, const std::string& to)
{
    if (IsDirectory(from))
        return Fail(FileError::IsFolder);
    if (::rename(from.c_str(), to.c_str()) != 0)
        return FailWithErrno();
    SyncFolder(to);
    lastError_ = FileError::None;
    return true;
}

FileSystem& RealFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace platform
