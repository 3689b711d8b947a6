// A list row that holds other controls. A left or right press on it (or on
// a child that leaves the press alone) sends "itemclick" and selects it in
// its list; a double click or Enter while it has the focus activates it
// ("itemactivate"). The row under the mouse is hot.
#pragma once

#include "ui/ContainerUI.h"

namespace SkinUI {

class CListUI;

class CListContainerElementUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override;
    // In a list only one row is a Tab stop (see CListUI::GetTabStop); the
    // arrow keys and the mouse still focus any row.
    bool IsFocusable() const override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;

    // Only the list changes this (with its notification): see CListUI::SelectItem.
    void SetSelected(bool on);
    bool IsSelected() const { return m_selected; }
    bool IsHot() const { return m_hot; }
    // The list this row belongs to, nullptr outside a list.
    CListUI* GetOwnerList() const;

protected:
    // The list's selected or hot colour over the row's own background.
    void PaintBkColor(platform::Painter& painter) override;

private:
    void Press();

    bool m_selected = false;
    bool m_hot = false;
};

}  // namespace SkinUI
