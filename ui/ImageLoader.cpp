#include "ui/ImageLoader.h"

#include "platform/Utf16.h"
#include "platform/ZipReader.h"
#include "platform/file_system.h"
#include "ui/Resources.h"

#include <cstdlib>

// The decoder is compiled here, private to this file, for the formats skins use.
// Its memory starts zeroed: a JPEG scan that names a Huffman table no segment
// defined then reads an empty table instead of indexing with garbage.
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>

namespace SkinUI {
namespace {

static_assert(STBI_MAX_DIMENSIONS == kMaxImageSide);

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

uint32_t ConvertPixel(const uint8_t* p, bool& alpha)
{
    uint32_t r = p[0], g = p[1], b = p[2];
    const uint32_t a = p[3];
    if (a != 255) {
        r = r * a / 255;
        g = g * a / 255;
        b = b * a / 255;
        alpha = true;
    }
    return a << 24 | r << 16 | g << 8 | b;
}

// Whether the bytes after an FF C4 marker, read as a Huffman table segment,
// declare more than 256 codes in one table (past the end counts as zero).
bool OverfullHuffmanSegment(std::span<const uint8_t> s)
{
    const auto at = [s](size_t k) -> unsigned { return k < s.size() ? s[k] : 0; };
    long remaining = static_cast<long>(at(0) << 8 | at(1)) - 2;
    size_t pos = 2;
    while (remaining > 0) {
        const unsigned q = at(pos);
        if ((q >> 4) > 1 || (q & 15) > 3)
            return false;  // the decoder stops at such a header
        unsigned codes = 0;
        for (size_t k = 1; k <= 16; ++k)
            codes += at(pos + k);
        if (codes > 256)
            return true;
        pos += 17 + codes;
        remaining -= static_cast<long>(17 + codes);
    }
    return false;
}

// The JPEG decoder writes past its tables when a Huffman table declares more
// than 256 codes. Every FF C4 in a file that may be a JPEG (it starts with
// FF, fill bytes included) is checked, which covers wherever the decoder might
// take one for a marker.
bool HasOverfullHuffmanTable(std::span<const uint8_t> bytes)
{
    if (bytes.empty() || bytes[0] != 0xFF)
        return false;
    for (size_t i = 1; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC4 && OverfullHuffmanSegment(bytes.subspan(i + 2)))
            return true;
    }
    return false;
}

// The PNG decoder copies a first image-data chunk of length zero from a null
// buffer. Encoders never write one; such a file is refused. The chunks are
// walked by their lengths, as the decoder does.
bool HasEmptyFirstImageChunk(std::span<const uint8_t> bytes)
{
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin()))
        return false;
    for (size_t pos = 8; pos + 8 <= bytes.size();) {
        size_t length = 0;
        for (size_t k = 0; k < 4; ++k)
            length = length << 8 | bytes[pos + k];
        if (std::equal(bytes.begin() + pos + 4, bytes.begin() + pos + 8, "IDAT"))
            return length == 0;
        pos += 12 + length;
    }
    return false;
}

bool SizeAllowed(int width, int height)
{
    return width > 0 && height > 0 && static_cast<size_t>(width) * static_cast<size_t>(height) <= kMaxImagePixels;
}

// The leading decimal digits of the name; nothing when it has none.
std::optional<unsigned> ResourceId(std::u16string_view name)
{
    if (name.empty() || name.front() < u'0' || name.front() > u'9')
        return std::nullopt;
    unsigned id = 0;
    for (char16_t c : name) {
        if (c < u'0' || c > u'9')
            break;
        if (id > (~0u - 9) / 10)
            return std::nullopt;
        id = id * 10 + static_cast<unsigned>(c - u'0');
    }
    return id;
}

std::optional<std::vector<uint8_t>> ReadResource(std::u16string_view name, std::u16string_view resType)
{
    const auto id = ResourceId(name);
    if (!id)
        return std::nullopt;
    const auto bytes = FindResource(*id, platform::Utf16ToUtf8(resType));
    if (!bytes || bytes->empty())
        return std::nullopt;
    return std::vector<uint8_t>(bytes->begin(), bytes->end());
}

std::optional<std::vector<uint8_t>> ReadZip(const std::string& name, const std::string& zipFile)
{
    std::vector<uint8_t> bytes;
    if (platform::ReadZipEntry(zipFile, name, kMaxImageFileSize, bytes) != platform::ZipResult::Ok || bytes.empty())
        return std::nullopt;
    return bytes;
}

// Reads one byte past the limit, so that a file that large is refused rather than cut short.
std::optional<std::vector<uint8_t>> ReadSkinFile(const std::string& name, const std::string& folder)
{
    const std::string path = folder.empty() ? name : folder + "/" + name;
    std::vector<uint8_t> bytes;
    if (platform::RealFileSystem().ReadFile(path, kMaxImageFileSize + 1, bytes) != platform::ReadResult::Ok)
        return std::nullopt;
    if (bytes.empty() || bytes.size() > kMaxImageFileSize)
        return std::nullopt;
    return bytes;
}

}  // namespace

ImageData ConvertRgba(const uint8_t* rgba, int width, int height, uint32_t mask)
{
    ImageData image{width, height, false, {}};
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    image.pixels.resize(count);
    for (size_t i = 0; i < count; ++i) {
        uint32_t pixel = ConvertPixel(rgba + i * 4, image.alpha);
        if (pixel == mask) {
            pixel = 0;
            image.alpha = true;
        }
        image.pixels[i] = pixel;
    }
    return image;
}

std::optional<ImageData> DecodeImage(std::span<const uint8_t> bytes, uint32_t mask)
{
    if (bytes.empty() || bytes.size() > kMaxImageFileSize || HasOverfullHuffmanTable(bytes) ||
        HasEmptyFirstImageChunk(bytes))
        return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels))
        return std::nullopt;
    if (!SizeAllowed(width, height))
        return std::nullopt;
    std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
    if (!rgba || !SizeAllowed(width, height))
        return std::nullopt;
    return ConvertRgba(rgba.get(), width, height, mask);
}

std::optional<std::vector<uint8_t>> ReadImageBytes(std::u16string_view name, std::u16string_view resType,
                                                   const ResourceLocation& location)
{
    if (name.empty())
        return std::nullopt;
    if (!resType.empty())
        return ReadResource(name, resType);
    const std::string utf8 = platform::Utf16ToUtf8(name);
    if (!location.zipFile.empty())
        return ReadZip(utf8, location.zipFile);
    return ReadSkinFile(utf8, location.folder);
}

std::optional<ImageData> LoadImage(std::u16string_view name, std::u16string_view resType, uint32_t mask,
                                   const ResourceLocation& location)
{
    const auto bytes = ReadImageBytes(name, resType, location);
    if (!bytes)
        return std::nullopt;
    return DecodeImage(*bytes, mask);
}

}  // namespace SkinUI
