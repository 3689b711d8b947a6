// A container that arranges its children in a grid of equal cells.
#pragma once

#include "ui/ContainerUI.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override { return u"TileLayoutUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    // Fewer than one column is ignored.
    void SetColumns(int columns);
    int GetColumns() const { return m_columns; }

private:
    int m_columns = 1;
};

}  // namespace SkinUI
