#include "ui/ControlUI.h"

#include "ui/WindowUIManager.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace SkinUI {
namespace {

// Stores a size; below zero it is ignored.
void StoreSize(int& field, int value)
{
    if (value >= 0)
        field = value;
}

// a - b without overflow for any attribute text.
int ClampedDifference(int a, int b)
{
    const long long difference = static_cast<long long>(a) - b;
    return static_cast<int>(std::clamp<long long>(difference, INT_MIN, INT_MAX));
}

const AttributeSetter<CControlUI> kControlAttributes[] = {
    {u"pos", [](auto& c, auto v) { c.SetPos(ParseRect(v)); }},
    {u"relativepos",
     [](auto& c, auto v) {
         const UIRect r = ParseRect(v);
         c.SetRelativePos(r.left, r.top, r.right, r.bottom);
     }},
    {u"padding", [](auto& c, auto v) { c.SetPadding(ParseRect(v)); }},
    {u"bkcolor", [](auto& c, auto v) { c.SetBkColor(ParseColor(v)); }},
    {u"bkcolor1", [](auto& c, auto v) { c.SetBkColor(ParseColor(v)); }},
    {u"bkcolor2", [](auto& c, auto v) { c.SetBkColor2(ParseColor(v)); }},
    {u"bkcolor3", [](auto& c, auto v) { c.SetBkColor3(ParseColor(v)); }},
    {u"bordercolor", [](auto& c, auto v) { c.SetBorderColor(ParseColor(v)); }},
    {u"focusbordercolor", [](auto& c, auto v) { c.SetFocusBorderColor(ParseColor(v)); }},
    {u"colorhsl", [](auto& c, auto v) { c.SetColorHSL(ParseBool(v)); }},
    {u"bordersize", [](auto& c, auto v) { c.SetBorderSize(ParseInt(v)); }},
    {u"borderround", [](auto& c, auto v) { c.SetBorderRound(ParseSize(v)); }},
    {u"bkimage", [](auto& c, auto v) { c.SetBkImage(v); }},
    {u"width", [](auto& c, auto v) { c.SetFixedWidth(ParseInt(v)); }},
    {u"height", [](auto& c, auto v) { c.SetFixedHeight(ParseInt(v)); }},
    {u"minwidth", [](auto& c, auto v) { c.SetMinWidth(ParseInt(v)); }},
    {u"minheight", [](auto& c, auto v) { c.SetMinHeight(ParseInt(v)); }},
    {u"maxwidth", [](auto& c, auto v) { c.SetMaxWidth(ParseInt(v)); }},
    {u"maxheight", [](auto& c, auto v) { c.SetMaxHeight(ParseInt(v)); }},
    {u"name", [](auto& c, auto v) { c.SetName(v); }},
    {u"text", [](auto& c, auto v) { c.SetText(v); }},
    {u"tooltip", [](auto& c, auto v) { c.SetToolTip(v); }},
    {u"userdata", [](auto& c, auto v) { c.SetUserData(v); }},
    {u"enabled", [](auto& c, auto v) { c.SetEnabled(ParseBool(v)); }},
    {u"mouse", [](auto& c, auto v) { c.SetMouseEnabled(ParseBool(v)); }},
    {u"visible", [](auto& c, auto v) { c.SetVisible(ParseBool(v)); }},
    {u"float", [](auto& c, auto v) { c.SetFloat(ParseBool(v)); }},
    {u"menu", [](auto& c, auto v) { c.SetContextMenuUsed(ParseBool(v)); }},
    {u"shortcut", [](auto& c, auto v) { c.SetShortcut(v.empty() ? u'\0' : v.front()); }},
};

}  // namespace

CControlUI::~CControlUI()
{
    if (m_manager)
        m_manager->ForgetControl(this);
}

void CControlUI::SetManager(CWindowUIManager* manager, CControlUI* parent)
{
    m_manager = manager;
    m_parent = parent;
}

void CControlUI::SetName(std::u16string_view name)
{
    if (name == m_name)
        return;
    std::u16string old = std::exchange(m_name, std::u16string(name));
    if (m_manager != nullptr)
        m_manager->RenameControl(this, old);
}

void CControlUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    ApplyFromTable(kControlAttributes, *this, name, value);
}

void CControlUI::ApplyAttributeList(std::u16string_view list)
{
    ForEachAttribute(list, [this](std::u16string_view name, std::u16string_view value) { SetAttribute(name, value); });
}

// A side that is not past its opposite ("291,69,0,0") moves the control and
// keeps the size it has.
void CControlUI::SetPos(const UIRect& pos)
{
    SetFixedX(pos.left >= 0 ? pos.left : pos.right);
    SetFixedY(pos.top >= 0 ? pos.top : pos.bottom);
    if (const int width = ClampedDifference(pos.right, pos.left); width > 0)
        SetFixedWidth(width);
    if (const int height = ClampedDifference(pos.bottom, pos.top); height > 0)
        SetFixedHeight(height);
}

void CControlUI::StoreLayoutSize(int& field, int value)
{
    if (value >= 0)
        UpdateField(field, value);
}

void CControlUI::SetFixedWidth(int cx) { StoreLayoutSize(m_fixedWidth, cx); }
void CControlUI::SetFixedHeight(int cy) { StoreLayoutSize(m_fixedHeight, cy); }
void CControlUI::SetMinWidth(int cx) { StoreLayoutSize(m_minWidth, cx); }
void CControlUI::SetMinHeight(int cy) { StoreLayoutSize(m_minHeight, cy); }
void CControlUI::SetMaxWidth(int cx) { StoreLayoutSize(m_maxWidth, cx); }
void CControlUI::SetMaxHeight(int cy) { StoreLayoutSize(m_maxHeight, cy); }

void CControlUI::SetBorderSize(int size)
{
    StoreSize(m_borderSize, size);
    Invalidate();
}

void CControlUI::SetRelativePos(int moveX, int moveY, int zoomX, int zoomY)
{
    m_relativePos = {true, moveX, moveY, zoomX, zoomY, {}};
    NeedUpdate();
}

// The text may change the size a control asks for.
void CControlUI::SetText(std::u16string_view text)
{
    if (text == m_text)
        return;
    m_text = text;
    NeedUpdate();
}

void CControlUI::SetEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    Invalidate();
}

}  // namespace SkinUI

namespace SkinUI {

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.type) {
    case UIEvent::Timer:
        if (m_manager != nullptr)
            m_manager->SendNotify(this, u"timer", event.wParam, event.lParam);
        return;
    case UIEvent::ContextMenu:
        if (IsContextMenuUsed() && m_manager != nullptr)
            m_manager->SendNotify(this, u"menu", event.wParam, event.lParam);
        return;
    case UIEvent::ScrollWheel:
    case UIEvent::ButtonDown:
    case UIEvent::ButtonUp:
    case UIEvent::DoubleClick:
    case UIEvent::RightButtonDown:
    case UIEvent::MouseMove:
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
        // A label inside a list row or a button: the mouse is the parent's.
        if (m_parent != nullptr)
            m_parent->DoEvent(event);
        return;
    default:
        return;
    }
}

bool CControlUI::Activate()
{
    return IsVisibleWithAncestors() && IsEnabledWithAncestors();
}

bool CControlUI::IsVisibleWithAncestors() const
{
    for (const CControlUI* control = this; control != nullptr; control = control->m_parent) {
        if (!control->m_visible)
            return false;
    }
    return true;
}

bool CControlUI::IsEnabledWithAncestors() const
{
    for (const CControlUI* control = this; control != nullptr; control = control->m_parent) {
        if (!control->m_enabled)
            return false;
    }
    return true;
}

void CControlUI::AddNotifyDelegate(std::function<void(NotifyMessage&)> delegate)
{
    if (delegate)
        m_notifyDelegates.push_back(std::move(delegate));
}

void CControlUI::CallNotifyDelegates(NotifyMessage& message)
{
    for (auto& delegate : m_notifyDelegates)
        delegate(message);
}

void CControlUI::Invalidate()
{
    if (m_manager != nullptr)
        m_manager->Invalidate();
}

void CControlUI::NeedUpdate()
{
    if (m_manager != nullptr)
        m_manager->NeedUpdate();
}

}  // namespace SkinUI
