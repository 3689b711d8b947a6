#include "platform/ZipReader.h"

#include <minizip/unzip.h>

#include <memory>

namespace platform {
namespace {

struct ZipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};

}  // namespace

ZipResult ReadZipEntry(const std::string& zipPath, std::string_view name, size_t maxBytes,
                       std::vector<uint8_t>& bytes)
{
    std::unique_ptr<void, ZipCloser> zip(unzOpen64(zipPath.c_str()));
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
