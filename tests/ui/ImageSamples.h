// Small images made in memory for the image tests and the image fuzz target:
// a PNG with translucent pixels and hand-made grey JPEGs.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace testsupport {

// 2×2 RGBA: (255,0,0,128) (255,255,255,255) / (10,20,30,255) (0,0,0,0).
inline const std::vector<uint8_t> kPng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d,
    0x24, 0x00, 0x00, 0x00, 0x17, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xd0,
    0xf0, 0x1f, 0x08, 0x18, 0xb8, 0x44, 0xe4, 0x80, 0x6c, 0x06, 0x06, 0x00, 0x4c, 0x5e, 0x06, 0xb7,
    0xbc, 0x78, 0x61, 0x29, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};

// An 8×8 grey baseline JPEG, quantisation all ones, up to its tables.
inline std::vector<uint8_t> JpegHeader()
{
    std::vector<uint8_t> out{0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    out.resize(out.size() + 64, 1);
    out.insert(out.end(), {0xFF, 0xC0, 0, 11, 8, 0, 8, 0, 8, 1, 1, 0x11, 0});
    return out;
}

// One Huffman table holding a single code of `length` bits for `symbol`.
inline void PutOneCodeTable(std::vector<uint8_t>& out, uint8_t tableClass, int length, uint8_t symbol)
{
    out.insert(out.end(), {0xFF, 0xC4, 0, 20, uint8_t(tableClass << 4)});
    for (int bits = 1; bits <= 16; ++bits)
        out.push_back(bits == length ? 1 : 0);
    out.push_back(symbol);
}

// The scan of the one component, its entropy-coded bytes and the end marker.
inline void PutScan(std::vector<uint8_t>& out, std::initializer_list<uint8_t> data)
{
    out.insert(out.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 63, 0});
    out.insert(out.end(), data);
    out.insert(out.end(), {0xFF, 0xD9});
}

// Blocks that hold no coefficients: every pixel is 128.
inline std::vector<uint8_t> MakeJpeg()
{
    std::vector<uint8_t> out = JpegHeader();
    PutOneCodeTable(out, 0, 1, 0x00);  // DC "no difference"
    PutOneCodeTable(out, 1, 1, 0x00);  // AC "end of block"
    PutScan(out, {0x3F});
    return out;
}

// A scan whose data ends where a 10-bit coefficient should begin: a DC value
// of category 15, then an AC code of 16 bits for that coefficient, then the
// end marker. A decoder that counts the missing bits as consumed ends up
// with a negative bit count (stb_image then shifts by 34 bits).
inline std::vector<uint8_t> MakeJpegEndingInsideACoefficient()
{
    std::vector<uint8_t> out = JpegHeader();
    PutOneCodeTable(out, 0, 1, 0x0F);
    PutOneCodeTable(out, 1, 16, 0x0A);
    PutScan(out, {0x40, 0x00, 0x00, 0x00});
    return out;
}

}  // namespace testsupport
