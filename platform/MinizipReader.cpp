#include "platform/ZipReader.h"

#include "platform/PosixFile.h"

#include <minizip/ioapi.h>
#include <minizip/unzip.h>

#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

struct ZipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};

// Opens the package only when it is a regular file, without waiting on a
// pipe; minizip's own stdio functions do the rest.
voidpf ZCALLBACK OpenRegularPackage(voidpf, const void* path, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || path == nullptr)
        return nullptr;
    FileError error = FileError::None;
    const int fd = OpenRegular(static_cast<const char*>(path), O_RDONLY, 0, error);
    if (fd < 0)
        return nullptr;
    FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr)
        ::close(fd);
    return file;
}

void* OpenPackage(const std::string& zipPath)
{
    zlib_filefunc64_def functions{};
    fill_fopen64_filefunc(&functions);
    functions.zopen64_file = OpenRegularPackage;
    return unzOpen2_64(zipPath.c_str(), &functions);
}

}  // namespace

ZipResult ReadZipEntry(const std::string& zipPath, std::string_view name, size_t maxBytes,
                       std::vector<uint8_t>& bytes)
{
    std::unique_ptr<void, ZipCloser> zip(OpenPackage(zipPath));
    if (!zip)
        return ZipResult::CannotOpen;
    const std::string entry(name);
    if (unzLocateFile(zip.get(), entry.c_str(), 0) != UNZ_OK)
        return ZipResult::NoEntry;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZipResult::Corrupt;
    if (info.uncompressed_size > maxBytes)
        return ZipResult::TooLarge;
    if (unzOpenCurrentFile(zip.get()) != UNZ_OK)
        return ZipResult::Corrupt;
    bytes.resize(static_cast<size_t>(info.uncompressed_size));
    const int read = bytes.empty() ? 0 : unzReadCurrentFile(zip.get(), bytes.data(), static_cast<unsigned>(bytes.size()));
    const bool crcOk = unzCloseCurrentFile(zip.get()) == UNZ_OK;
    if (read < 0 || static_cast<size_t>(read) != bytes.size() || !crcOk)
        return ZipResult::Corrupt;
    return ZipResult::Ok;
}

}  // namespace platform
