#include "app/FramePicture.h"

#include "app/SkinImages.h"
#include "platform/CairoPainter.h"
#include "platform/Utf16.h"

#include <utility>

namespace NeritApp {

namespace {

constexpr uint32_t kOutside = 0xFFFFFFFF;

// Makes what lies outside the window's shape (white in the mask)
// transparent, as the desktop would show there.
void CutToMask(SkinUI::CWindowUIManager& manager, platform::CairoPainter& painter)
{
    const auto mask = manager.GetImageEx(platform::Utf8ToUtf16(kMaskImage));
    if (mask == nullptr || mask->width != painter.Width() || mask->height != painter.Height())
        return;
    for (int y = 0; y < mask->height; ++y) {
        const uint32_t* row = mask->pixels.data() + static_cast<size_t>(y) * mask->width;
        for (int x = 0; x < mask->width;) {
            int end = x;
            while (end < mask->width && row[end] == kOutside)
                ++end;
            if (end > x) {
                painter.PushClip({x, y, end, y + 1});
                painter.Clear(0);
                painter.PopClip();
            }
            x = end + 1;
        }
    }
}

// Makes the corners outside the rounding the layout asks for (an
// ellipse of `round` at each corner) transparent.
void CutToRoundCorners(platform::CairoPainter& painter, SkinUI::UISize round)
{
    const double rx = round.cx / 2.0;
    const double ry = round.cy / 2.0;
    if (rx <= 0 || ry <= 0)
        return;
    const int width = painter.Width();
    const int height = painter.Height();
    for (int y = 0; y < ry && y < height; ++y) {
        for (int x = 0; x < rx && x < width; ++x) {
            // The pixel's outer corner against the corner's ellipse.
            const double dx = (rx - x) / rx;
            const double dy = (ry - y) / ry;
            if (dx * dx + dy * dy <= 1.0)
                continue;
            for (const auto& [px, py] : {std::pair{x, y}, {width - 1 - x, y}, {x, height - 1 - y},
                                         {width - 1 - x, height - 1 - y}}) {
                painter.PushClip({px, py, px + 1, py + 1});
                painter.Clear(0);
                painter.PopClip();
            }
        }
    }
}

}  // namespace

bool FramePicture::Write(SkinUI::CWindowUIManager& manager, int width, int height, Shape shape,
                         const std::string& file)
{
    platform::CairoPainter painter(width, height);
    manager.PaintAll(painter);
    if (shape == Shape::MaskImage)
        CutToMask(manager, painter);
    else
        CutToRoundCorners(painter, manager.GetRoundCorner());
    return painter.WritePng(file);
}

}  // namespace NeritApp
