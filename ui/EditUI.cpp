#include "ui/EditUI.h"

#include "ui/PaintSupport.h"

namespace SkinUI {
namespace {

const AttributeSetter<CEditUI> kEditAttributes[] = {
    {u"readonly", [](auto& c, auto v) { c.SetReadOnly(ParseBool(v)); }},
    {u"password", [](auto& c, auto v) { c.SetPasswordMode(ParseBool(v)); }},
    {u"maxchar", [](auto& c, auto v) { c.SetMaxChar(ParseInt(v)); }},
    {u"normalimage", [](auto& c, auto v) { c.SetNormalImage(v); }},
    {u"hotimage", [](auto& c, auto v) { c.SetHotImage(v); }},
    {u"focusedimage", [](auto& c, auto v) { c.SetFocusedImage(v); }},
    {u"disabledimage", [](auto& c, auto v) { c.SetDisabledImage(v); }},
    {u"nativebkcolor", [](auto& c, auto v) { c.SetNativeBkColor(ParseColor(v)); }},
};

// The number of characters: a surrogate pair counts once.
size_t CharacterCount(std::u16string_view text)
{
    size_t count = 0;
    for (char16_t c : text)
        count += (c >= 0xDC00 && c <= 0xDFFF) ? 0 : 1;
    return count;
}

}  // namespace

CEditUI::CEditUI()
{
    SetTextPadding({4, 3, 4, 3});
    SetBkColor(0xFFFFFFFF);
}

void CEditUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kEditAttributes, *this, name, value))
        CLabelUI::SetAttribute(name, value);
}

void CEditUI::SetMaxChar(int count)
{
    if (count >= 0)
        m_maxChar = count;
}

const std::u16string& CEditUI::StateImage() const
{
    static const std::u16string kNone;
    if (!IsEnabled() || HasButtonState(kDisabled))
        return m_disabledImage;
    if (HasButtonState(kFocused))
        return m_focusedImage;
    if (HasButtonState(kHot))
        return m_hotImage;
    return kNone;
}

void CEditUI::PaintStatusImage(platform::Painter& painter)
{
    PaintStateImage(painter, StateImage(), m_normalImage);
}

void CEditUI::PaintText(platform::Painter& painter)
{
    if (!m_password) {
        CLabelUI::PaintText(painter);
        return;
    }
    const std::u16string masked(CharacterCount(GetText()), kPasswordChar);
    DrawLabelText(painter, masked, CurrentTextColor());
}

}  // namespace SkinUI
