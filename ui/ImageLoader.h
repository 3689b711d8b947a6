// Skin images: reads the bytes from a compiled-in resource, the skin folder
// or the skin package, decodes PNG, BMP or JPEG and converts the pixels to the
// 32-bit premultiplied form that painting uses.
#pragma once

#include "ui/MarkupDocument.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
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

// Limits that keep a corrupt or hostile file from exhausting memory.
inline constexpr size_t kMaxImageFileSize = 0x2000000;  // 32 MiB
inline constexpr int kMaxImageSide = 16384;
inline constexpr size_t kMaxImagePixels = size_t{1} << 24;

// Converts decoded RGBA bytes (width × height × 4). Pixels that are not fully
// opaque are premultiplied (channel × alpha / 255); a pixel whose result
// equals `mask` becomes fully transparent. Either sets the alpha flag.
ImageData ConvertRgba(const uint8_t* rgba, int width, int height, uint32_t mask);

// Nothing for bytes that do not decode or exceed the limits.
std::optional<ImageData> DecodeImage(std::span<const uint8_t> bytes, uint32_t mask);

// With a resource type: the compiled-in resource whose decimal id `name`
// starts with. Otherwise the entry of the package, or the file in the folder.
// Nothing when missing, empty or unreadable.
std::optional<std::vector<uint8_t>> ReadImageBytes(std::u16string_view name, std::u16string_view resType,
                                                   const ResourceLocation& location);

std::optional<ImageData> LoadImage(std::u16string_view name, std::u16string_view resType, uint32_t mask,
                                   const ResourceLocation& location);

}  // namespace SkinUI
