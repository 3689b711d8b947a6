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

namespace platform {
namespace {

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

bool DecodeBmp(std::span<const uint8_t> bytes, const ImageLimits& limits, RgbaImage& image)
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return false;
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) ||
        !WithinImageLimits(width, height, limits))
        return false;
    std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
    if (!rgba || !WithinImageLimits(width, height, limits))
        return false;
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    image = {width, height, std::vector<uint8_t>(rgba.get(), rgba.get() + size)};
    return true;
}

}  // namespace platform
