// Small uncompressed BMP files made in memory, for the image and painting
// tests and the paint benchmark. Pixel (x, y), counted from the top, is
// colorAt(x, y) as 0xAARRGGBB; 24-bit files drop the alpha.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace testsupport {

inline void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Without pixels only the headers are written (a file that claims a size).
template <class ColorAt>
std::vector<uint8_t> MakeBmp(uint32_t width, uint32_t height, int bits, ColorAt colorAt, bool withPixels = true)
{
    const uint32_t stride = (width * static_cast<uint32_t>(bits) / 8 + 3) & ~3u;
    std::vector<uint8_t> out{'B', 'M'};
    PutLittleEndian(out, 54 + stride * height, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    for (uint32_t v : {40u, width, height})
        PutLittleEndian(out, v, 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, static_cast<uint32_t>(bits), 2);
    for (int i = 0; i < 6; ++i)
        PutLittleEndian(out, 0, 4);
    // Rows are stored bottom-up.
    for (uint32_t row = 0; withPixels && row < height; ++row) {
        const size_t start = out.size();
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t argb = colorAt(x, height - 1 - row);
            out.insert(out.end(), {uint8_t(argb), uint8_t(argb >> 8), uint8_t(argb >> 16)});
            if (bits == 32)
                out.push_back(uint8_t(argb >> 24));
        }
        out.resize(start + stride, 0);
    }
    return out;
}

}  // namespace testsupport
