// BMP through stb_image's BMP reader, compiled here alone: no other format
// of that library is built, so PNG and JPEG files never reach it.
#include "platform/ImageDecoder.h"

#include <cstdlib>
#include <memory>

#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

#include <climits>
#include <cstdint>

namespace platform {
namespace {

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

uint32_t ReadLittleEndian(std::span<const uint8_t> bytes, size_t offset, size_t size)
{
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;)
        value = value << 8 | bytes[offset + i];
    return value;
}

struct BmpHeader {
    uint64_t pixelOffset = 0;
    uint64_t width = 0;
    uint64_t height = 0;  // rows stored either way up
    uint64_t bits = 0;
};

// The file header and the core (OS/2) or information header after it.
std::optional<BmpHeader> ReadHeader(std::span<const uint8_t> bytes)
{
    constexpr size_t kFileHeader = 14;
    constexpr size_t kCoreHeader = 12;
    if (bytes.size() < kFileHeader + kCoreHeader)
        return std::nullopt;
    const bool core = ReadLittleEndian(bytes, 14, 4) == kCoreHeader;
    if (!core && bytes.size() < 34)
        return std::nullopt;
    const int64_t rawHeight = core ? int64_t{ReadLittleEndian(bytes, 20, 2)}
                                   : int64_t{static_cast<int32_t>(ReadLittleEndian(bytes, 22, 4))};
    BmpHeader header;
    header.pixelOffset = ReadLittleEndian(bytes, 10, 4);
    header.width = core ? ReadLittleEndian(bytes, 18, 2) : ReadLittleEndian(bytes, 18, 4);
    header.height = static_cast<uint64_t>(rawHeight < 0 ? -rawHeight : rawHeight);
    header.bits = ReadLittleEndian(bytes, core ? 24 : 28, 2);
    if (header.width > INT_MAX || header.height > INT_MAX)
        return std::nullopt;
    return header;
}

// Whether the file holds every row of pixels its headers announce: the reader
// would fill the rows of a cut file with zeros instead of failing.
bool PixelsFit(std::span<const uint8_t> bytes)
{
    const std::optional<BmpHeader> header = ReadHeader(bytes);
    if (!header || header->bits > 32)
        return false;
    const uint64_t stride = (header->width * header->bits + 31) / 32 * 4;
    return header->pixelOffset + stride * header->height <= bytes.size();
}

}  // namespace

std::optional<ImageSize> ReadBmpSize(std::span<const uint8_t> bytes)
{
    const std::optional<BmpHeader> header = ReadHeader(bytes);
    if (!header)
        return std::nullopt;
    return ImageSize{static_cast<uint32_t>(header->width), static_cast<uint32_t>(header->height)};
}

bool DecodeBmp(std::span<const uint8_t> bytes, const ImageLimits& limits, RgbaImage& image)
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return false;
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    // A negative height marks rows stored top-down; the reader flips them.
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) ||
        !WithinImageLimits(width, std::abs(static_cast<long long>(height)), limits) || !PixelsFit(bytes))
        return false;
    std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
    if (!rgba || !WithinImageLimits(width, height, limits))
        return false;
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    image = {width, height, std::vector<uint8_t>(rgba.get(), rgba.get() + size)};
    return true;
}

}  // namespace platform
