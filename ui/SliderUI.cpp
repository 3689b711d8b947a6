#include "ui/SliderUI.h"

#include "ui/PaintSupport.h"

#include <algorithm>

namespace SkinUI {
namespace {

const AttributeSetter<CSliderUI> kSliderAttributes[] = {
    {u"thumbimage", [](auto& c, auto v) { c.SetThumbImage(v); }},
    {u"thumbhotimage", [](auto& c, auto v) { c.SetThumbHotImage(v); }},
    {u"thumbpushedimage", [](auto& c, auto v) { c.SetThumbPushedImage(v); }},
    {u"thumbsize", [](auto& c, auto v) { c.SetThumbSize(ParseSize(v)); }},
    {u"step", [](auto& c, auto v) { c.SetStep(ParseInt(v)); }},
};

}  // namespace

void CSliderUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kSliderAttributes, *this, name, value))
        CProgressUI::SetAttribute(name, value);
}

void CSliderUI::SetStep(int step)
{
    if (step >= 1)
        m_step = step;
}

UIRect CSliderUI::GetThumbRect() const
{
    const UIRect& rc = GetItemRect();
    const long long width = 0LL + rc.right - rc.left;
    const long long height = 0LL + rc.bottom - rc.top;
    const long long range = std::max(1LL, 0LL + GetMaxValue() - GetMinValue());
    const long long done = 0LL + GetValue() - GetMinValue();
    const long long cx = m_thumbSize.cx;
    const long long cy = m_thumbSize.cy;
    if (IsHorizontal()) {
        const long long left = rc.left + ScaleExtent(done, range, std::max(0LL, width - cx));
        const long long top = rc.top + (height - cy) / 2;
        return SaturatedRect(left, top, left + cx, top + cy);
    }
    const long long top = rc.bottom - cy - ScaleExtent(done, range, std::max(0LL, height - cy));
    const long long left = rc.left + (width - cx) / 2;
    return SaturatedRect(left, top, left + cx, top + cy);
}

const std::u16string& CSliderUI::ThumbImage() const
{
    static const std::u16string kNone;
    if (HasButtonState(kPushed))
        return m_thumbPushedImage;
    if (HasButtonState(kHot))
        return m_thumbHotImage;
    return kNone;
}

void CSliderUI::PaintStatusImage(platform::Painter& painter)
{
    CProgressUI::PaintStatusImage(painter);
    const UIRect& rc = GetItemRect();
    const std::u16string modifier = DestModifier(OffsetRect(GetThumbRect(), -(0LL + rc.left), -(0LL + rc.top)));
    const std::u16string& image = ThumbImage();
    if (!image.empty() && DrawImage(painter, image, modifier))
        return;
    if (!m_thumbImage.empty())
        DrawImage(painter, m_thumbImage, modifier);
}

}  // namespace SkinUI
