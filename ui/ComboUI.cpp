#include "ui/ComboUI.h"

#include "ui/PaintSupport.h"

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
