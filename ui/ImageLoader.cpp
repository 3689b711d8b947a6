#include "ui/ImageLoader.h"

#include "platform/ImageDecoder.h"
#include "platform/Utf16.h"
#include "platform/ZipReader.h"
#include "platform/file_system.h"
#include "ui/Resources.h"

#include <algorithm>
#include <string>
#include <utility>

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

bool DecodeByFormat(std::span<const uint8_t> bytes, platform::RgbaImage& image)
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

// Whether a header announces more than the limits allow; a size of zero is
// left to the decoder to refuse.
bool Oversized(const platform::ImageSize& size)
{
    return size.width > 0 && size.height > 0 && !platform::WithinImageLimits(size.width, size.height, kLimits);
}

// Decodes to RGBA, unless the header announces a picture beyond the limits:
// that is refused before any pixel is decoded or allocated.
ImageLoad DecodeRgba(std::span<const uint8_t> bytes, platform::RgbaImage& decoded)
{
    if (bytes.empty() || bytes.size() > kMaxImageFileSize)
        return {};
    if (const auto size = platform::ReadImageSize(bytes); size && Oversized(*size))
        return {ImageStatus::TooLarge, std::nullopt, size->width, size->height};
    if (!DecodeByFormat(bytes, decoded))
        return {ImageStatus::Undecodable, std::nullopt, 0, 0};
    return {ImageStatus::Loaded, std::nullopt, 0, 0};
}

ImageLoad Converted(ImageLoad load, const platform::RgbaImage& decoded, uint32_t mask)
{
    if (load.status == ImageStatus::Loaded)
        load.image = ConvertRgba(decoded.rgba.data(), decoded.width, decoded.height, mask);
    return load;
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

std::string SkinFilePath(const std::string& name, const std::string& folder)
{
    return folder.empty() ? name : folder + "/" + name;
}

// Reads one byte past the limit, so that a file that large is refused rather than cut short.
std::optional<std::vector<uint8_t>> ReadSkinFile(const std::string& name, const std::string& folder)
{
    const std::string path = SkinFilePath(name, folder);
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

ImageLoad DecodeImageBytes(std::span<const uint8_t> bytes, uint32_t mask)
{
    platform::RgbaImage decoded;
    ImageLoad load = DecodeRgba(bytes, decoded);
    return Converted(std::move(load), decoded, mask);
}

std::optional<ImageData> DecodeImage(std::span<const uint8_t> bytes, uint32_t mask)
{
    return DecodeImageBytes(bytes, mask).image;
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

ImageLoad LoadImage(std::u16string_view name, std::u16string_view resType, uint32_t mask,
                    const ResourceLocation& location)
{
    auto bytes = ReadImageBytes(name, resType, location);
    if (!bytes)
        return {};
    platform::RgbaImage decoded;
    ImageLoad load = DecodeRgba(*bytes, decoded);
    bytes.reset();  // a large picture is held twice at most, never three times
    return Converted(std::move(load), decoded, mask);
}

std::string DescribeImageSource(std::u16string_view name, std::u16string_view resType,
                                const ResourceLocation& location)
{
    const std::string utf8 = platform::Utf16ToUtf8(name);
    if (!resType.empty())
        return "resource " + utf8 + " of type " + platform::Utf16ToUtf8(resType);
    if (!location.zipFile.empty())
        return location.zipFile + ":" + utf8;
    return SkinFilePath(utf8, location.folder);
}

}  // namespace SkinUI
