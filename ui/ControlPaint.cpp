// CControlUI's painting: the steps every control shares and image drawing.
#include "ui/ControlUI.h"

#include "ui/ImageDescription.h"
#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include <memory>
#include <span>

namespace SkinUI {

void CControlUI::DoPaint(platform::Painter& painter, const UIRect& dirty)
{
    if (!m_visible)
        return;
    const UIRect area = IntersectRect(m_itemRect, dirty);
    if (IsEmptyRect(area))
        return;
    painter.PushClip(ToPaintRect(area));
    PaintBkColor(painter);
    PaintBkImage(painter);
    PaintStatusImage(painter);
    PaintText(painter);
    PaintBorder(painter);
    painter.PopClip();
}

// One colour fills; two or three run as a gradient from top to bottom.
void CControlUI::PaintBkColor(platform::Painter& painter)
{
    if (m_bkColor == 0)
        return;
    const uint32_t colors[] = {m_bkColor, m_bkColor2, m_bkColor3};
    const size_t count = m_bkColor2 == 0 ? 1 : (m_bkColor3 == 0 ? 2 : 3);
    painter.FillGradient(ToPaintRect(m_itemRect), std::span(colors, count), true);
}

void CControlUI::PaintBkImage(platform::Painter& painter)
{
    if (!m_bkImage.empty())
        DrawImage(painter, m_bkImage);
}

void CControlUI::PaintBorder(platform::Painter& painter) { PaintBorderIn(painter, m_borderColor); }

void CControlUI::PaintBorderIn(platform::Painter& painter, uint32_t color)
{
    if (m_borderSize <= 0 || color == 0)
        return;
    if (m_borderRound.cx > 0 && m_borderRound.cy > 0)
        painter.DrawRoundBorder(ToPaintRect(m_itemRect), m_borderSize, {m_borderRound.cx, m_borderRound.cy}, color);
    else
        painter.DrawBorder(ToPaintRect(m_itemRect), m_borderSize, color);
}

bool CControlUI::DrawImage(platform::Painter& painter, std::u16string_view description, std::u16string_view modifier)
{
    if (!m_manager || description.empty())
        return false;
    ImageDescription image = ImageDescription::Parse(description);
    ApplyModifier(image, modifier);
    if (image.file.empty())
        return false;
    // Held until drawn: the cache may drop the picture, never under a paint.
    const std::shared_ptr<const ImageData> data =
        m_manager->GetImageEx(image.file, image.resType, image.hasMask ? image.mask : 0);
    if (!data)
        return false;
    UIRect dest = m_itemRect;
    if (image.hasDest)
        dest = IntersectRect(OffsetRect(image.dest, m_itemRect.left, m_itemRect.top), m_itemRect);
    if (IsEmptyRect(dest))
        return true;
    platform::ImageDraw draw;
    draw.dest = ToPaintRect(dest);
    if (image.hasSource)
        draw.source = ToPaintRect(image.source);
    draw.corner = ToPaintRect(image.corner);
    draw.hole = image.hole;
    draw.xTiled = image.xTiled;
    draw.yTiled = image.yTiled;
    draw.fade = image.fade;
    painter.DrawImage({data->width, data->height, data->pixels}, draw);
    return true;
}

void CControlUI::PaintStateImage(platform::Painter& painter, const std::u16string& stateImage,
                                 const std::u16string& normalImage)
{
    if (!stateImage.empty() && DrawImage(painter, stateImage))
        return;
    if (!normalImage.empty())
        DrawImage(painter, normalImage);
}

}  // namespace SkinUI
