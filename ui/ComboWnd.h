// The pop-up window of an open combo: lists the combo's items one per row
// below the combo, marks the row under the mouse hot, and selects the row
// that is clicked or moved to with the arrow keys. Enter, Esc, a click and
// losing the focus close it. The items stay owned by the combo.
#pragma once

#include "ui/WindowWnd.h"

#include <cstdint>

namespace SkinUI {

class CComboUI;

class CComboWnd final : public CWindowWnd {
public:
    explicit CComboWnd(CComboUI& owner) : m_owner(owner) {}
    std::u16string_view GetWindowClassName() const override { return u"ComboWnd"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

    // Creates and shows the window under the combo; false when the combo has
    // no window or the window cannot be made.
    bool Open();
    bool IsOpen() const { return GetHWND() != platform::WindowId::None; }
    // The item under a client point, -1 for none.
    int RowAt(int x, int y) const;
    int GetHotRow() const { return m_hot; }
    // The row height for an item without a fixed height.
    static constexpr int kDefaultRowHeight = 22;

private:
    void LayoutRows();
    void Paint();
    void SetHot(int row);
    bool HandleKey(uintptr_t key);
    void Dismiss();

    CComboUI& m_owner;
    int m_hot = -1;
};

}  // namespace SkinUI
