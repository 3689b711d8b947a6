// Image decoders for skin files: PNG through libpng, JPEG through
// libjpeg-turbo and BMP through stb_image's BMP reader alone. Every decoder
// takes untrusted bytes, reports failure instead of ending the process and
// refuses images larger than the given limits before allocating their pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

struct ImageLimits {
    int maxSide = 0;       // widest and tallest image accepted
    size_t maxPixels = 0;  // width × height accepted
};

// The size an image's header announces.
struct ImageSize {
    uint32_t width = 0;
    uint32_t height = 0;
};

// Top-down rows of 8-bit red, green, blue, alpha.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

enum class ImageFormat { Unknown, Png, Jpeg, Bmp };

// The format the leading bytes announce.
ImageFormat SniffImageFormat(std::span<const uint8_t> bytes);

// The width and height from the header alone (PNG IHDR, JPEG start of frame,
// BMP information header), read before any pixel and without allocating;
// nothing when the header is cut short or not one of the three formats.
std::optional<ImageSize> ReadImageSize(std::span<const uint8_t> bytes);
std::optional<ImageSize> ReadPngSize(std::span<const uint8_t> bytes);
std::optional<ImageSize> ReadJpegSize(std::span<const uint8_t> bytes);
std::optional<ImageSize> ReadBmpSize(std::span<const uint8_t> bytes);

bool DecodePng(std::span<const uint8_t> bytes, const ImageLimits& limits, RgbaImage& image);
bool DecodeJpeg(std::span<const uint8_t> bytes, const ImageLimits& limits, RgbaImage& image);
bool DecodeBmp(std::span<const uint8_t> bytes, const ImageLimits& limits, RgbaImage& image);

// Whether a width and height are positive and within the limits.
bool WithinImageLimits(long long width, long long height, const ImageLimits& limits);

}  // namespace platform
