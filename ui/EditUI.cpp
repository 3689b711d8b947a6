#include "ui/EditUI.h"

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

}  // namespace

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

}  // namespace SkinUI
