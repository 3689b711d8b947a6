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

int OpenRegular(const std::string& path, int flags, mode_t mode, FileError& error)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode);
    if (fd < 0) {
        error = FileErrorOf(errno);
        return -1;
    }
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
