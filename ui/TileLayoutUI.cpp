#include "ui/TileLayoutUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CTileLayoutUI> kTileLayoutAttributes[] = {
    {u"columns", [](auto& c, auto v) { c.SetColumns(ParseInt(v)); }},
};

}  // namespace

void CTileLayoutUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kTileLayoutAttributes, *this, name, value))
        CContainerUI::SetAttribute(name, value);
}

void CTileLayoutUI::SetColumns(int columns)
{
    if (columns >= 1)
        m_columns = columns;
}

}  // namespace SkinUI
