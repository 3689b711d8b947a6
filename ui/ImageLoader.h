// Skin images: reads the bytes from a compiled-in resource, the skin folder
// or the skin package, decodes PNG, BMP or JPEG and converts the pixels to the
// 32-bit premultiplied form that painting uses.
#pragma once

#include "ui/MarkupDocument.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

// A decoded image, top-down rows, one 0xAARRGGBB premultiplied value per
// pixel (the native-endian ARGB32 layout of the painter's surfaces).
struct ImageData {
    int width = 0;
    int height = 0;
    bool alpha = false;  // some pixel is not fully opaque
    std::vector<uint32_t> pixels;
};

// Limits that keep a corrupt, hostile or oversized file from exhausting
// memory. The main window, 1000 × 680 logical pixels, is the largest a skin
// picture is drawn in: a picture of more than four times its area (twice
// its width and height, as for a display scaled by two) is more than any
// window can use, and is refused from its header before it is decoded.
inline constexpr int kMainWindowWidth = 1000;
inline constexpr int kMainWindowHeight = 680;
inline constexpr size_t kMaxImageFileSize = 0x2000000;  // 32 MiB
inline constexpr size_t kMaxImagePixels = size_t{4} * kMainWindowWidth * kMainWindowHeight;
inline constexpr int kMaxImageSide = 4 * kMainWindowWidth;

// What became of loading or decoding a picture.
enum class ImageStatus {
    Loaded,
    Unreadable,   // missing, empty, cut short or beyond kMaxImageFileSize
    Undecodable,  // not a PNG, JPEG or BMP the decoders take
    TooLarge,     // the header announces more pixels than the limits allow
};

struct ImageLoad {
    ImageStatus status = ImageStatus::Unreadable;
    std::optional<ImageData> image;  // with Loaded
    // The size the header announces, with TooLarge.
    uint32_t width = 0;
    uint32_t height = 0;
};

// Converts decoded RGBA bytes (width × height × 4). Pixels that are not fully
// opaque are premultiplied (channel × alpha / 255); a pixel whose result
// equals `mask` becomes fully transparent. Either sets the alpha flag.
ImageData ConvertRgba(const uint8_t* rgba, int width, int height, uint32_t mask);

// Checks the size the header announces before decoding.
ImageLoad DecodeImageBytes(std::span<const uint8_t> bytes, uint32_t mask);
// Nothing for bytes that do not decode or exceed the limits.
std::optional<ImageData> DecodeImage(std::span<const uint8_t> bytes, uint32_t mask);

// With a resource type: the compiled-in resource whose decimal id `name`
// starts with. Otherwise the entry of the package, or the file in the folder.
// Nothing when missing, empty or unreadable.
std::optional<std::vector<uint8_t>> ReadImageBytes(std::u16string_view name, std::u16string_view resType,
                                                   const ResourceLocation& location);

ImageLoad LoadImage(std::u16string_view name, std::u16string_view resType, uint32_t mask,
                    const ResourceLocation& location);

// Where a picture is read from, for messages: the file's path, the package
// and its entry, or the resource's number and type.
std::string DescribeImageSource(std::u16string_view name, std::u16string_view resType,
                                const ResourceLocation& location);

}  // namespace SkinUI
