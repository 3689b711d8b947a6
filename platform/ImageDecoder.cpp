#include "platform/ImageDecoder.h"

#include <algorithm>
#include <iterator>

namespace platform {

ImageFormat SniffImageFormat(std::span<const uint8_t> bytes)
{
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 8 && std::equal(std::begin(kPng), std::end(kPng), bytes.begin()))
        return ImageFormat::Png;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8)
        return ImageFormat::Jpeg;
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

std::optional<ImageSize> ReadImageSize(std::span<const uint8_t> bytes)
{
    switch (SniffImageFormat(bytes)) {
    case ImageFormat::Png: return ReadPngSize(bytes);
    case ImageFormat::Jpeg: return ReadJpegSize(bytes);
    case ImageFormat::Bmp: return ReadBmpSize(bytes);
    case ImageFormat::Unknown: break;
    }
    return std::nullopt;
}

bool WithinImageLimits(long long width, long long height, const ImageLimits& limits)
{
    if (width <= 0 || height <= 0 || width > limits.maxSide || height > limits.maxSide)
        return false;
    return static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) <= limits.maxPixels;
}

}  // namespace platform
