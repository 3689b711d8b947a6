#include "ui/LabelUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CLabelUI> kLabelAttributes[] = {
    {u"align", [](auto& c, auto v) { c.SetTextStyle(ApplyAlign(c.GetTextStyle(), v)); }},
    {u"endellipsis",
     [](auto& c, auto v) { c.SetTextStyle(WithFlag(c.GetTextStyle(), TextStyle::EndEllipsis, ParseBool(v))); }},
    {u"font", [](auto& c, auto v) { c.SetFont(ParseInt(v)); }},
    {u"textcolor", [](auto& c, auto v) { c.SetTextColor(ParseColor(v)); }},
    {u"disabledtextcolor", [](auto& c, auto v) { c.SetDisabledTextColor(ParseColor(v)); }},
    {u"textpadding", [](auto& c, auto v) { c.SetTextPadding(ParseRect(v)); }},
    {u"showhtml", [](auto& c, auto v) { c.SetShowHtml(ParseBool(v)); }},
};

}  // namespace

void CLabelUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kLabelAttributes, *this, name, value))
        CControlUI::SetAttribute(name, value);
}

}  // namespace SkinUI
