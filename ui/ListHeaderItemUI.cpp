#include "ui/ListHeaderItemUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CListHeaderItemUI> kListHeaderItemAttributes[] = {
    {u"dragable", [](auto& c, auto v) { c.SetDragable(ParseBool(v)); }},
    {u"sepwidth", [](auto& c, auto v) { c.SetSepWidth(ParseInt(v)); }},
    {u"sepimage", [](auto& c, auto v) { c.SetSepImage(v); }},
};

}  // namespace

void CListHeaderItemUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kListHeaderItemAttributes, *this, name, value))
        CButtonUI::SetAttribute(name, value);
}

}  // namespace SkinUI
