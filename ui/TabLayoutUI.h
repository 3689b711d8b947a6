// A container that shows exactly one of its children, the selected one.
#pragma once

#include "ui/ContainerUI.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override { return u"TabLayoutUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    // The first visible child added becomes the selected one; later ones are
    // hidden.
    bool AddAt(std::unique_ptr<CControlUI> control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    // Shows the child at `index`, hides the others and lays the tab out
    // again; false outside 0..count-1.
    bool SelectItem(int index);
    // -1 when there is none.
    int GetCurSel() const { return m_curSel; }

protected:
    // The selected child, unless it floats, gets the whole inner rectangle.
    UISize LayoutChildren(const UIRect& inner) override;

private:
    int m_curSel = -1;
};

}  // namespace SkinUI
