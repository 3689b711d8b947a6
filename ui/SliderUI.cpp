#include "ui/SliderUI.h"

#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include <algorithm>
#include <climits>

namespace SkinUI {
namespace {

const AttributeSetter<CSliderUI> kSliderAttributes[] = {
    {u"thumbimage", [](auto& c, auto v) { c.SetThumbImage(v); }},
    {u"thumbhotimage", [](auto& c, auto v) { c.SetThumbHotImage(v); }},
    {u"thumbpushedimage", [](auto& c, auto v) { c.SetThumbPushedImage(v); }},
    {u"thumbsize", [](auto& c, auto v) { c.SetThumbSize(ParseSize(v)); }},
    {u"step", [](auto& c, auto v) { c.SetStep(ParseInt(v)); }},
};

int ToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool Contains(const UIRect& rect, UIPoint point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// Along one axis: at or past the high end's half thumb gives `atHigh`, at or
// before the low end's half thumb `atLow`, between them `fromLow` steps of
// the range over the free length, counted from the low end.
struct AxisSpan {
    long long low, high, thumb;
};

long long PositionOnAxis(const AxisSpan& span, long long at, bool& atLow, bool& atHigh)
{
    const long long half = span.thumb / 2;
    atHigh = at >= span.high - half;
    atLow = !atHigh && at <= span.low + half;
    return at - half - span.low;
}

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

int CSliderUI::ValueAt(UIPoint point) const
{
    const UIRect& rc = GetItemRect();
    const long long lo = GetMinValue();
    const long long range = 0LL + GetMaxValue() - GetMinValue();
    bool atLow = false;
    bool atHigh = false;
    if (IsHorizontal()) {
        const AxisSpan span{rc.left, rc.right, m_thumbSize.cx};
        const long long offset = PositionOnAxis(span, point.x, atLow, atHigh);
        const long long free = span.high - span.low - span.thumb;
        if (atHigh)
            return GetMaxValue();
        if (atLow || free <= 0)
            return GetMinValue();
        return ToInt(lo + offset * range / free);
    }
    // The top of a vertical slider is the maximum.
    const AxisSpan span{rc.top, rc.bottom, m_thumbSize.cy};
    PositionOnAxis(span, point.y, atLow, atHigh);
    const long long free = span.high - span.low - span.thumb;
    if (atHigh)
        return GetMinValue();
    if (atLow || free <= 0)
        return GetMaxValue();
    return ToInt(lo + range * (span.high - span.thumb / 2 - point.y) / free);
}

void CSliderUI::SetStateFlag(unsigned flag, bool on)
{
    const unsigned state = GetButtonState();
    SetButtonState(on ? state | flag : state & ~flag);
}

void CSliderUI::NotifyValueChanged()
{
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"valuechanged");
}

void CSliderUI::StepByWheel(int steps)
{
    if (steps == 0)
        return;
    SetValue(ToInt(0LL + GetValue() + 1LL * steps * m_step));
    NotifyValueChanged();
    Invalidate();
}

void CSliderUI::DoEvent(TEventUI& event)
{
    switch (event.type) {
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
        if (IsEnabledWithAncestors() && Contains(GetItemRect(), event.mouse)) {
            m_captured = true;
            SetStateFlag(kPushed, true);
            Invalidate();
        }
        return;
    case UIEvent::MouseMove:
        if (m_captured) {
            SetValue(ValueAt(event.mouse));
            Invalidate();
        }
        return;
    case UIEvent::ButtonUp:
        if (m_captured) {
            m_captured = false;
            SetStateFlag(kPushed, false);
            SetValue(ValueAt(event.mouse));
            NotifyValueChanged();
            Invalidate();
        }
        return;
    case UIEvent::ScrollWheel:
        if (IsEnabledWithAncestors())
            StepByWheel(WheelSteps(event));
        return;
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
        SetStateFlag(kHot, event.type == UIEvent::MouseEnter && IsEnabled());
        Invalidate();
        return;
    default:
        CProgressUI::DoEvent(event);
        return;
    }
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
