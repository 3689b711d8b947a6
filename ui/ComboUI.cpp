#include "ui/ComboUI.h"

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

}  // namespace SkinUI
