#include "ui/VerticalLayoutUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CVerticalLayoutUI> kVerticalLayoutAttributes[] = {
    {u"sepheight", [](auto& c, auto v) { c.SetSepHeight(ParseInt(v)); }},
    {u"sepimm", [](auto& c, auto v) { c.SetSepImmediate(ParseBool(v)); }},
};

}  // namespace

void CVerticalLayoutUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kVerticalLayoutAttributes, *this, name, value))
        CContainerUI::SetAttribute(name, value);
}

UISize CVerticalLayoutUI::LayoutChildren(const UIRect& inner)
{
    return StackChildren(inner, StackDirection::TopToBottom);
}

}  // namespace SkinUI
