#include "ui/ComboUI.h"

#include "ui/ComboWnd.h"
#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include "platform/window_system.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace SkinUI {
namespace {

const AttributeSetter<CComboUI> kComboAttributes[] = {
    {u"textpadding", [](auto& c, auto v) { c.SetTextPadding(ParseRect(v)); }},
    {u"normalimage", [](auto& c, auto v) { c.SetNormalImage(v); }},
    {u"hotimage", [](auto& c, auto v) { c.SetHotImage(v); }},
    {u"pushedimage", [](auto& c, auto v) { c.SetPushedImage(v); }},
    {u"focusedimage", [](auto& c, auto v) { c.SetFocusedImage(v); }},
    {u"disabledimage", [](auto& c, auto v) { c.SetDisabledImage(v); }},
    {u"dropbox", [](auto& c, auto v) { c.SetDropBoxAttributes(v); }},
};

}  // namespace

CComboUI::CComboUI() { SetMouseChildEnabled(false); }

CComboUI::~CComboUI() { ReleaseDropDown(); }

void CComboUI::ReleaseDropDown()
{
    if (m_dropDown != nullptr)
        std::exchange(m_dropDown, nullptr)->Orphan();
}

void CComboUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kComboAttributes, *this, name, value) && !ApplyListItemAttribute(m_itemInfo, name, value))
        CContainerUI::SetAttribute(name, value);
}

std::u16string_view CComboUI::GetSelectedText() const
{
    const CControlUI* item = GetItemAt(m_curSel);
    return item ? std::u16string_view(item->GetText()) : std::u16string_view();
}

bool CComboUI::IsSelectable(int index) const
{
    const CControlUI* item = GetItemAt(index);
    return item != nullptr && item->IsVisible() && item->IsEnabled();
}

bool CComboUI::SelectItem(int index)
{
    if (index == m_curSel)
        return true;
    const int old = m_curSel;
    m_curSel = -1;
    if (index >= GetCount())
        index = GetCount() - 1;
    if (index < 0 || !IsSelectable(index)) {
        Invalidate();
        return false;
    }
    m_curSel = index;
    Invalidate();
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"itemselect", static_cast<uintptr_t>(index), old);
    return true;
}

bool CComboUI::SelectNext(int step)
{
    for (int i = m_curSel + step; i >= 0 && i < GetCount(); i += step) {
        if (IsSelectable(i))
            return SelectItem(i);
    }
    return false;
}

bool CComboUI::SelectEdge(bool last)
{
    const int step = last ? -1 : 1;
    for (int i = last ? GetCount() - 1 : 0; i >= 0 && i < GetCount(); i += step) {
        if (IsSelectable(i))
            return SelectItem(i);
    }
    return false;
}

bool CComboUI::SelectByInitial(char16_t character)
{
    const auto upper = [](char16_t c) { return static_cast<char16_t>(std::towupper(c)); };
    const int count = GetCount();
    for (int step = 1; step <= count; ++step) {
        const int i = ((m_curSel < 0 ? -1 : m_curSel) + step) % count;
        const std::u16string& text = GetItemAt(i)->GetText();
        if (IsSelectable(i) && !text.empty() && upper(text.front()) == upper(character))
            return SelectItem(i);
    }
    return false;
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate() || GetCount() == 0)
        return false;
    if (IsDroppedDown())
        return true;
    ReleaseDropDown();
    m_dropDown = new CComboWnd(*this);
    if (!m_dropDown->Open()) {
        ReleaseDropDown();
        return false;
    }
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"dropdown");
    return true;
}

void CComboUI::CloseDropDown()
{
    if (IsDroppedDown())
        m_dropDown->Close();
}

bool CComboUI::IsDroppedDown() const { return m_dropDown != nullptr && m_dropDown->IsOpen(); }

CComboWnd* CComboUI::GetDropDown() const { return IsDroppedDown() ? m_dropDown : nullptr; }

void CComboUI::HandleKey(char16_t key)
{
    switch (key) {
    case platform::VK_UP:
    case platform::VK_LEFT:
        SelectNext(-1);
        return;
    case platform::VK_DOWN:
    case platform::VK_RIGHT:
        SelectNext(1);
        return;
    case platform::VK_HOME:
    case platform::VK_END:
        SelectEdge(key == platform::VK_END);
        return;
    case platform::VK_RETURN:
    case kOpenKey:
        Activate();
        return;
    case platform::VK_ESCAPE:
        CloseDropDown();
        return;
    default:
        return;
    }
}

void CComboUI::DoEvent(TEventUI& event)
{
    switch (event.type) {
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
        if (IsEnabledWithAncestors())
            Activate();
        return;
    case UIEvent::KeyDown:
        HandleKey(event.key);
        return;
    case UIEvent::Char:
        if (event.key >= u' ')
            SelectByInitial(event.key);
        return;
    case UIEvent::SysKey:  // Alt+Down or Alt+Up opens
        if (event.key == platform::VK_DOWN || event.key == platform::VK_UP)
            Activate();
        return;
    case UIEvent::ScrollWheel:
        for (int steps = WheelSteps(event); IsEnabled() && steps != 0; steps -= steps > 0 ? 1 : -1)
            SelectNext(steps > 0 ? -1 : 1);
        return;
    default:
        if (TrackHotAndFocus(event.type, IsEnabled()))
            Invalidate();
        else
            CContainerUI::DoEvent(event);
        return;
    }
}

void CComboUI::DoPaint(platform::Painter& painter, const UIRect& dirty) { CControlUI::DoPaint(painter, dirty); }

const std::u16string& CComboUI::StateImage() const
{
    return PickStateImage(GetButtonState(), IsEnabled(), m_pushedImage, m_hotImage, m_focusedImage, m_disabledImage);
}

void CComboUI::PaintStatusImage(platform::Painter& painter)
{
    PaintStateImage(painter, StateImage(), m_normalImage);
}

void CComboUI::PaintText(platform::Painter& painter)
{
    const std::u16string_view text = GetSelectedText();
    if (text.empty())
        return;
    const bool enabled = IsEnabled() && !HasButtonState(kDisabled);
    const uint32_t color = enabled ? ColorOr(m_itemInfo.textColor, WindowTextColor(GetManager()))
                                   : ColorOr(m_itemInfo.disabledTextColor, WindowDisabledTextColor(GetManager()));
    const UIRect rc = DeflateRect(GetItemRect(), m_textPadding);
    DrawControlText(painter, GetManager(), {text, m_itemInfo.font, color, m_itemInfo.textStyle, m_itemInfo.showHtml},
                    rc, m_markup);
}

}  // namespace SkinUI
