// Image bytes through the skin image loader: PNG, JPEG and BMP. The first
// byte chooses between the bytes as they come (one time in eight) and one of
// the small sample images with the next bytes of the input applied to it as
// up to 16 changes (two bytes of position, one byte to flip), so that
// generated inputs reach deep into every decoder. Nothing an image file says may crash a decoder, read outside
// a buffer or ask for memory beyond the loader's limits.
#include "tests/ui/BmpBuilder.h"
#include "tests/ui/ImageSamples.h"
#include "ui/ImageLoader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr size_t kMaxChanges = 16;

std::vector<uint8_t> MakeBmp(int bits)
{
    return testsupport::MakeBmp(5, 3, bits, [](uint32_t x, uint32_t y) { return 0x80102030u + x * 0x01020304u + y; });
}

const std::vector<std::vector<uint8_t>>& Samples()
{
    static const std::vector<std::vector<uint8_t>> samples = {
        testsupport::kPng, testsupport::MakeJpeg(), testsupport::MakeJpegEndingInsideACoefficient(),
        MakeBmp(24), MakeBmp(32),
    };
    return samples;
}

std::vector<uint8_t> Mutated(const std::vector<uint8_t>& sample, const uint8_t* changes, size_t size)
{
    std::vector<uint8_t> bytes = sample;
    for (size_t i = 0; i + 3 <= size && i < 3 * kMaxChanges; i += 3) {
        const size_t position = (size_t{changes[i]} << 8 | changes[i + 1]) % bytes.size();
        bytes[position] ^= changes[i + 2];
    }
    return bytes;
}

void Decode(const std::vector<uint8_t>& bytes, uint32_t mask)
{
    const auto image = SkinUI::DecodeImage(bytes, mask);
    if (image && image->pixels.size() != static_cast<size_t>(image->width) * static_cast<size_t>(image->height))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint32_t mask = (data[0] & 0x80) ? 0xFFFFFFFF : 0;
    const size_t choice = data[0] & 0x7F;
    if (choice >= 0x70)
        Decode(std::vector<uint8_t>(data + 1, data + size), mask);
    else
        Decode(Mutated(Samples()[choice % Samples().size()], data + 1, size - 1), mask);
    return 0;
}
