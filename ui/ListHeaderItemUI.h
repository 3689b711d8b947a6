// One column header of a list: a button with a draggable separator.
#pragma once

#include "ui/ButtonUI.h"

#include <string>

namespace SkinUI {

class CListHeaderItemUI : public CButtonUI {
public:
    std::u16string_view GetClass() const override { return u"ListHeaderItemUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    // Whether the separator can be dragged to resize the column.
    void SetDragable(bool on) { m_dragable = on; }
    bool IsDragable() const { return m_dragable; }
    void SetSepWidth(int width) { m_sepWidth = width; }
    int GetSepWidth() const { return m_sepWidth; }
    void SetSepImage(std::u16string_view image) { m_sepImage = image; Invalidate(); }
    const std::u16string& GetSepImage() const { return m_sepImage; }

private:
    bool m_dragable = true;
    int m_sepWidth = 4;
    std::u16string m_sepImage;
};

}  // namespace SkinUI
