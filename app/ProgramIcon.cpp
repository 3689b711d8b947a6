#include "app/ProgramIcon.h"

#include "ui/ImageLoader.h"

#include <algorithm>

namespace NeritApp {
namespace {

// Images are kept premultiplied for painting; the desktop wants each
// channel as it is.
uint32_t Straight(uint32_t pixel)
{
    const uint32_t alpha = pixel >> 24;
    if (alpha == 0 || alpha == 255)
        return pixel;
    const auto channel = [&](int shift) { return std::min<uint32_t>(((pixel >> shift) & 0xFF) * 255 / alpha, 255); };
    return alpha << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}

}  // namespace

std::optional<ProgramIcon> ProgramIcon::Load(platform::FileSystem& files, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, SkinUI::kMaxImageFileSize, bytes) != platform::ReadResult::Ok)
        return std::nullopt;
    std::optional<SkinUI::ImageData> image = SkinUI::DecodeImage(bytes, 0);
    if (!image)
        return std::nullopt;
    ProgramIcon icon{image->width, image->height, std::move(image->pixels)};
    for (uint32_t& pixel : icon.argb)
        pixel = Straight(pixel);
    return icon;
}

}  // namespace NeritApp
