#include "ui/ButtonUI.h"

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

}  // namespace SkinUI
