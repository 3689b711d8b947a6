#include "ui/ImageLoader.h"

#include "platform/ImageDecoder.h"
#include "platform/Utf16.h"
#include "platform/ZipReader.h"
#include "platform/file_system.h"
#include "ui/Resources.h"

#include <algorithm>
#include <string>

namespace SkinUI {
namespace {

constexpr platform::ImageLimits kLimits{kMaxImageSide, kMaxImagePixels};

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

// A first image-data chunk of length zero is refused, as it always has been:
// encoders never write one. The chunks after the signature are walked by their lengths.
bool HasEmptyFirstImageChunk(std::span<const uint8_t> bytes)
{
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

bool DecodeRgba(std::span<const uint8_t> bytes, platform::RgbaImage& image)
{
    switch (platform::SniffImageFormat(bytes)) {
    case platform::ImageFormat::Png:
        return !HasEmptyFirstImageChunk(bytes) && platform::DecodePng(bytes, kLimits, image);
    case platform::ImageFormat::Jpeg:
        return platform::DecodeJpeg(bytes, kLimits, image);
    case platform::ImageFormat::Bmp:
        return platform::DecodeBmp(bytes, kLimits, image);
    case platform::ImageFormat::Unknown:
        break;
    }
    return false;
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
    if (bytes.empty() || bytes.size() > kMaxImageFileSize)
        return std::nullopt;
    platform::RgbaImage decoded;
    if (!DecodeRgba(bytes, decoded))
        return std::nullopt;
    return ConvertRgba(decoded.rgba.data(), decoded.width, decoded.height, mask);
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
    auto bytes = ReadImageBytes(name, resType, location);
    if (!bytes || bytes->size() > kMaxImageFileSize)
        return std::nullopt;
    platform::RgbaImage decoded;
    if (!DecodeRgba(*bytes, decoded))
        return std::nullopt;
    bytes.reset();  // a large picture is held twice at most, never three times
    return ConvertRgba(decoded.rgba.data(), decoded.width, decoded.height, mask);
}

}  // namespace SkinUI
