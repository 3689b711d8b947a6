#include "platform/PosixFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FileError FileErrorOf(int errorNumber)
{
    switch (errorNumber) {
    case 0: return FileError::None;
    case ENOENT: return FileError::Missing;
    case EISDIR: return FileError::IsFolder;
    case ENOTDIR: return FileError::NotAFolder;
    case EACCES:
    case EPERM: return FileError::NoPermission;
    case ENAMETOOLONG: return FileError::NameTooLong;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return FileError::NoSpace;
    case EROFS: return FileError::ReadOnlyFileSystem;
    case ELOOP:
    case ENXIO:
    case ENODEV:
    case ETXTBSY: return FileError::NotRegular;
    default: return FileError::Other;
    }
}

FileError FileErrorOfType(mode_t mode)
{
    if (S_ISREG(mode))
        return FileError::None;
    return S_ISDIR(mode) ? FileError::IsFolder : FileError::NotRegular;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

// What stands at the path before it is opened, so that a device or pipe is
// never opened at all: None for a regular file, or for nothing when the open
// may create the file. A dangling link is refused rather than followed to
// create its target.
FileError TypeBeforeOpen(const std::string& path, int flags)
{
    const int follow = (flags & O_NOFOLLOW) != 0 ? AT_SYMLINK_NOFOLLOW : 0;
    struct stat info {};
    if (::fstatat(AT_FDCWD, path.c_str(), &info, follow) == 0)
        return FileErrorOfType(info.st_mode);
    if (errno != ENOENT || (flags & O_CREAT) == 0)
        return FileErrorOf(errno);
    if (follow == 0 && ::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return FileError::NotRegular;
    return FileError::None;
}

}  // namespace

int OpenRegular(const std::string& path, int flags, mode_t mode, FileError& error)
{
    error = TypeBeforeOpen(path, flags);
    if (error != FileError::None)
        return -1;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode);
    if (fd < 0) {
        error = FileErrorOf(errno);
        return -1;
    }
    // Something else may have been put there meanwhile.
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        error = FileErrorOf(errno);
    else
        error = FileErrorOfType(info.st_mode);
    if (error != FileError::None) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace platform
