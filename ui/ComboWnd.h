// The pop-up window of an open combo: lists the combo's items one per row,
// marks the row under the mouse hot, and selects the row that is clicked or
// moved to with the arrow keys, Home or End; disabled rows are neither hot
// nor clicked. It opens below the combo when it fits in the work area, else
// above, else on the larger side cut to fit. A drop-down shorter than its
// rows shows a vertical scroll bar, scrolls with the wheel (the selection
// stays) and scrolls the selected row into view. The combo's "dropbox"
// attribute list styles the list frame behind the rows. Enter, Esc, a click
// and losing the focus close it. The items stay owned by the combo.
//
// The combo owns the window object until the combo goes: then it hands the
// object over to itself (Orphan), and the object frees itself once its
// native window is gone and every handling of its messages has ended, since
// a notification handler may destroy the combo while the drop-down is still
// handling the click or key that selected.
#pragma once

#include "ui/ScrollBarUI.h"
#include "ui/VerticalLayoutUI.h"
#include "ui/WindowWnd.h"

#include <cstdint>

namespace SkinUI {

class CComboUI;

class CComboWnd final : public CWindowWnd {
public:
    explicit CComboWnd(CComboUI& owner) : m_owner(&owner) {}
    std::u16string_view GetWindowClassName() const override { return u"ComboWnd"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

    // Creates and shows the window under the combo; false when the combo has
    // no window or the window cannot be made.
    bool Open();
    bool IsOpen() const { return GetHWND() != platform::WindowId::None; }
    // The item under a client point, -1 for none.
    int RowAt(int x, int y) const;
    int GetHotRow() const { return m_hot; }
    // The combo is going: destroys the window and frees this object as soon
    // as no handling of its messages is running (at once when none is).
    void Orphan();
    void OnFinalMessage(platform::WindowId window) override;
    // Pixels the rows are scrolled up by.
    int GetScrollPos() const { return m_scroll; }
    // Shown only while the rows do not fit.
    const CScrollBarUI& GetScrollBar() const { return m_scrollBar; }
    // The list frame the "dropbox" attributes were applied to.
    const CControlUI& GetList() const { return m_list; }
    // The row height for an item without a fixed height.
    static constexpr int kDefaultRowHeight = 22;
    static constexpr int kScrollBarWidth = 16;
    // Rows scrolled by one wheel notch.
    static constexpr int kWheelRows = 3;

private:
    int ContentHeight() const;
    // Places the visible items one per row, moved up by the scroll offset,
    // and the scroll bar beside them when they do not fit.
    void LayoutRows();
    void ScrollTo(int pos);
    // Mouse input on the scroll bar (or while it is held); false for others.
    bool HandleScrollBarMouse(unsigned message, intptr_t lParam);
    // Scrolls a row wholly into the window (a cut drop-down) and repaints.
    void ShowRow(int index);
    void Paint();
    void PaintItemText(platform::Painter& painter, CControlUI& item, int row);
    void SetHot(int row);
    bool HandleKey(uintptr_t key);
    int SelectableRowAt(intptr_t lParam) const;
    void Dismiss();

    bool HandleOwnerMessage(unsigned message, uintptr_t wParam, intptr_t lParam);

    CComboUI* m_owner;  // nullptr once orphaned
    int m_hot = -1;
    int m_scroll = 0;         // pixels the rows are moved up
    int m_contentHeight = 0;  // of all visible rows
    bool m_windowLives = false;  // created, and its final message not yet seen
    CVerticalLayoutUI m_list;
    CScrollBarUI m_scrollBar;
    bool m_scrollBarHeld = false;
};

}  // namespace SkinUI
