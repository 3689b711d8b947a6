#include "ui/ButtonUI.h"

#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

namespace SkinUI {
namespace {

const AttributeSetter<CButtonUI> kButtonAttributes[] = {
    {u"normalimage", [](auto& c, auto v) { c.SetNormalImage(v); }},
    {u"hotimage", [](auto& c, auto v) { c.SetHotImage(v); }},
    {u"pushedimage", [](auto& c, auto v) { c.SetPushedImage(v); }},
    {u"focusedimage", [](auto& c, auto v) { c.SetFocusedImage(v); }},
    {u"disabledimage", [](auto& c, auto v) { c.SetDisabledImage(v); }},
    {u"hottextcolor", [](auto& c, auto v) { c.SetHotTextColor(ParseColor(v)); }},
    {u"pushedtextcolor", [](auto& c, auto v) { c.SetPushedTextColor(ParseColor(v)); }},
    {u"focusedtextcolor", [](auto& c, auto v) { c.SetFocusedTextColor(ParseColor(v)); }},
};

}  // namespace

void CButtonUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kButtonAttributes, *this, name, value))
        CLabelUI::SetAttribute(name, value);
}

const std::u16string& CButtonUI::StateImage() const
{
    return PickStateImage(GetButtonState(), !IsDisabledNow(), m_pushedImage, m_hotImage, m_focusedImage,
                          m_disabledImage);
}

void CButtonUI::PaintStatusImage(platform::Painter& painter)
{
    PaintStateImage(painter, StateImage(), m_normalImage);
}

void CButtonUI::PaintBorder(platform::Painter& painter)
{
    const bool focused = HasButtonState(kFocused) && GetFocusBorderColor() != 0;
    PaintBorderIn(painter, focused ? GetFocusBorderColor() : GetBorderColor());
}

uint32_t CButtonUI::CurrentTextColor() const
{
    if (IsDisabledNow())
        return ColorOr(GetDisabledTextColor(), WindowDisabledTextColor(GetManager()));
    if (HasButtonState(kPushed) && m_pushedTextColor != 0)
        return m_pushedTextColor;
    if (HasButtonState(kHot) && m_hotTextColor != 0)
        return m_hotTextColor;
    if (HasButtonState(kFocused) && m_focusedTextColor != 0)
        return m_focusedTextColor;
    return CLabelUI::CurrentTextColor();
}

}  // namespace SkinUI

namespace SkinUI {
namespace {

// The mouse went down over the button and has not come up yet.
constexpr unsigned kCaptured = 0x100;

bool Contains(const UIRect& rect, UIPoint point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

void CButtonUI::DoEvent(TEventUI& event)
{
    const unsigned state = GetButtonState();
    const bool over = Contains(GetItemRect(), event.mouse);
    switch (event.type) {
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
        if (over && IsEnabled()) {
            SetButtonState(state | kPushed | kCaptured);
            Invalidate();
        }
        return;
    case UIEvent::MouseMove:
        if ((state & kCaptured) != 0) {
            SetButtonState(over ? state | kPushed : state & ~static_cast<unsigned>(kPushed));
            Invalidate();
        }
        return;
    case UIEvent::ButtonUp:
        if ((state & kCaptured) != 0) {
            SetButtonState(state & ~static_cast<unsigned>(kPushed | kCaptured));
            Invalidate();
            if (over)
                Activate();
        }
        return;
    case UIEvent::KeyDown:
        if (event.key == u' ' || event.key == u'\r')
            Activate();
        return;
    default:
        if (TrackHotAndFocus(event.type, IsEnabled()))
            Invalidate();
        else
            CLabelUI::DoEvent(event);
        return;
    }
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"click");
    return true;
}

}  // namespace SkinUI
