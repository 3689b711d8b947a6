// JPEG through libjpeg-turbo. The library's fatal errors end in a long jump
// back to the reading step instead of exit(); its warnings are not printed.
// Every function that sets the jump target holds only trivial locals, so that
// the jump skips no destructor, and the pixels are allocated outside them.
#include "platform/ImageDecoder.h"

#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <csetjmp>

#include <jpeglib.h>

namespace platform {
namespace {

// More scans than any encoder writes; a hostile progressive file could
// otherwise keep the decoder busy for minutes.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void FailQuietly(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

void LimitScans(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans)
        FailQuietly(info);
}

// Adobe CMYK files store the inks inverted, so a channel times black gives
// the colour.
void CmykToRgba(std::vector<uint8_t>& pixels)
{
    for (size_t i = 0; i + 4 <= pixels.size(); i += 4) {
        const unsigned k = pixels[i + 3];
        for (size_t c = 0; c < 3; ++c)
            pixels[i + c] = static_cast<uint8_t>(pixels[i + c] * k / 255);
        pixels[i + 3] = 255;
    }
}

uint16_t ReadBigEndian16(std::span<const uint8_t> bytes, size_t offset)
{
    return static_cast<uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

// Start-of-frame markers of every coding process; 0xC4, 0xC8 and 0xCC,
// among them, are tables and a reserved code.
bool IsStartOfFrame(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and the restarts.
bool StandsAlone(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

class JpegReader {
public:
    explicit JpegReader(std::span<const uint8_t> bytes) : bytes_(bytes)
    {
        info_.err = jpeg_std_error(&errors_.base);
        errors_.base.error_exit = FailQuietly;
        errors_.base.output_message = IgnoreMessage;
        progress_.progress_monitor = LimitScans;
    }
    ~JpegReader()
    {
        if (created_)
            jpeg_destroy_decompress(&info_);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // Reads the header and chooses 8-bit RGBA output (CMYK is converted by us).
    bool ReadHeader(bool& cmyk)
    {
        if (setjmp(errors_.jump))
            return false;
        jpeg_create_decompress(&info_);
        created_ = true;
        info_.progress = &progress_;
        jpeg_mem_src(&info_, bytes_.data(), static_cast<unsigned long>(bytes_.size()));
        if (jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK)
            return false;
        cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        info_.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
        jpeg_calc_output_dimensions(&info_);
        return info_.output_components == 4;
    }

    JDIMENSION Width() const { return info_.output_width; }
    JDIMENSION Height() const { return info_.output_height; }

    bool ReadRows(uint8_t* pixels)
    {
        if (setjmp(errors_.jump))
            return false;
        jpeg_start_decompress(&info_);
        const size_t stride = static_cast<size_t>(info_.output_width) * 4;
        while (info_.output_scanline < info_.output_height) {
            JSAMPROW row = pixels + info_.output_scanline * stride;
            if (jpeg_read_scanlines(&info_, &row, 1) != 1)
                return false;
        }
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    jpeg_decompress_struct info_{};
    ErrorManager errors_{};
    jpeg_progress_mgr progress_{};
    bool created_ = false;
};

}  // namespace

// Walks the markers after the start of image by their lengths up to the
// first frame header: its length, precision, height, width.
std::optional<ImageSize> ReadJpegSize(std::span<const uint8_t> bytes)
{
    constexpr size_t kHeight = 5, kWidth = 7, kFrameEnd = 9;
    size_t pos = 2;
    while (pos + 4 <= bytes.size() && bytes[pos] == 0xFF) {
        const uint8_t marker = bytes[pos + 1];
        if (marker == 0xFF || StandsAlone(marker)) {  // a fill byte, or no length
            pos += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (IsStartOfFrame(marker)) {
            if (pos + kFrameEnd > bytes.size())
                return std::nullopt;
            return ImageSize{ReadBigEndian16(bytes, pos + kWidth), ReadBigEndian16(bytes, pos + kHeight)};
        }
        const size_t length = ReadBigEndian16(bytes, pos + 2);
        if (length < 2 || marker == 0xDA || marker == 0xD9)  // no frame before the scan or the end
            return std::nullopt;
        pos += 2 + length;
    }
    return std::nullopt;
}

bool DecodeJpeg(std::span<const uint8_t> bytes, const ImageLimits& limits, RgbaImage& image)
{
    if (bytes.empty())
        return false;
    JpegReader reader(bytes);
    bool cmyk = false;
    if (!reader.ReadHeader(cmyk) || !WithinImageLimits(reader.Width(), reader.Height(), limits))
        return false;
    std::vector<uint8_t> rgba(static_cast<size_t>(reader.Width()) * reader.Height() * 4);
    if (!reader.ReadRows(rgba.data()))
        return false;
    if (cmyk)
        CmykToRgba(rgba);
    image = {static_cast<int>(reader.Width()), static_cast<int>(reader.Height()), std::move(rgba)};
    return true;
}

}  // namespace platform
