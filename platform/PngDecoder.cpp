// PNG through libpng. libpng reports errors by a long jump; every function
// that sets the jump target holds only trivial locals, so that the jump
// skips no destructor, and the pixels are allocated outside them.
#include "platform/ImageDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace platform {
namespace {

struct MemoryReader {
    std::span<const uint8_t> bytes;
    size_t offset = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->bytes.size() - reader->offset)
        png_error(png, "read past the end");
    std::memcpy(out, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
}

[[noreturn]] void FailQuietly(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

uint32_t ReadBigEndian32(std::span<const uint8_t> bytes, size_t offset)
{
    return uint32_t{bytes[offset]} << 24 | uint32_t{bytes[offset + 1]} << 16 | uint32_t{bytes[offset + 2]} << 8 |
           bytes[offset + 3];
}

class PngReader {
public:
    explicit PngReader(std::span<const uint8_t> bytes) : reader_{bytes, 0}
    {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailQuietly, IgnoreWarning);
        if (png_)
            info_ = png_create_info_struct(png_);
    }
    ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool Ready() const { return png_ && info_; }

    // Reads the header and asks for 8-bit RGBA rows.
    bool ReadHeader(const ImageLimits& limits, png_uint_32& width, png_uint_32& height)
    {
        if (setjmp(png_jmpbuf(png_)))
            return false;
        png_set_read_fn(png_, &reader_, ReadFromMemory);
        png_set_user_limits(png_, static_cast<png_uint_32>(limits.maxSide), static_cast<png_uint_32>(limits.maxSide));
        png_read_info(png_, info_);
        png_set_expand(png_);
        png_set_strip_16(png_);
        png_set_gray_to_rgb(png_);
        png_set_add_alpha(png_, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);
        width = png_get_image_width(png_, info_);
        height = png_get_image_height(png_, info_);
        return png_get_rowbytes(png_, info_) == static_cast<size_t>(width) * 4;
    }

    bool ReadRows(png_bytepp rows)
    {
        if (setjmp(png_jmpbuf(png_)))
            return false;
        png_read_image(png_, rows);
        return true;
    }

private:
    MemoryReader reader_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

// The signature, then the header chunk: its length, "IHDR", width, height.
std::optional<ImageSize> ReadPngSize(std::span<const uint8_t> bytes)
{
    constexpr size_t kType = 12, kWidth = 16, kHeight = 20, kEnd = 24;
    if (bytes.size() < kEnd || std::memcmp(bytes.data() + kType, "IHDR", 4) != 0)
        return std::nullopt;
    return ImageSize{ReadBigEndian32(bytes, kWidth), ReadBigEndian32(bytes, kHeight)};
}

bool DecodePng(std::span<const uint8_t> bytes, const ImageLimits& limits, RgbaImage& image)
{
    PngReader reader(bytes);
    png_uint_32 width = 0, height = 0;
    if (!reader.Ready() || !reader.ReadHeader(limits, width, height) || !WithinImageLimits(width, height, limits))
        return false;
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    std::vector<png_bytep> rows(height);
    for (size_t y = 0; y < height; ++y)
        rows[y] = rgba.data() + y * width * 4;
    if (!reader.ReadRows(rows.data()))
        return false;
    image = {static_cast<int>(width), static_cast<int>(height), std::move(rgba)};
    return true;
}

}  // namespace platform
