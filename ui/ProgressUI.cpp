#include "ui/ProgressUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CProgressUI> kProgressAttributes[] = {
    {u"fgimage", [](auto& c, auto v) { c.SetForeImage(v); }},
    {u"hor", [](auto& c, auto v) { c.SetHorizontal(ParseBool(v)); }},
    {u"min", [](auto& c, auto v) { c.SetMinValue(ParseInt(v)); }},
    {u"max", [](auto& c, auto v) { c.SetMaxValue(ParseInt(v)); }},
    {u"value", [](auto& c, auto v) { c.SetValue(ParseInt(v)); }},
};

}  // namespace

CProgressUI::CProgressUI() : CLabelUI(TextStyle::Center | TextStyle::VCenter | TextStyle::SingleLine) {}

void CProgressUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kProgressAttributes, *this, name, value))
        CLabelUI::SetAttribute(name, value);
}

}  // namespace SkinUI
