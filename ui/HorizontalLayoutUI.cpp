#include "ui/HorizontalLayoutUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CHorizontalLayoutUI> kHorizontalLayoutAttributes[] = {
    {u"sepwidth", [](auto& c, auto v) { c.SetSepWidth(ParseInt(v)); }},
    {u"sepimm", [](auto& c, auto v) { c.SetSepImmediate(ParseBool(v)); }},
};

}  // namespace

void CHorizontalLayoutUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kHorizontalLayoutAttributes, *this, name, value))
        CContainerUI::SetAttribute(name, value);
}

UISize CHorizontalLayoutUI::LayoutChildren(const UIRect& inner)
{
    return StackChildren(inner, StackDirection::LeftToRight);
}

}  // namespace SkinUI
