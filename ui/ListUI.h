// A list box: a vertical layout whose children are the list's header (a
// CListHeaderUI child, if any) and its items, drawn as ListItemInfo says.
#pragma once

#include "ui/ListItemInfo.h"
#include "ui/VerticalLayoutUI.h"

#include <string>

namespace SkinUI {

class CListContainerElementUI;
class CListHeaderUI;

class CListUI : public CVerticalLayoutUI {
public:
    std::u16string_view GetClass() const override { return u"ListUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;
    // A header added later takes the header settings made so far.
    bool AddAt(std::unique_ptr<CControlUI> control, int index) override;
    // The selection follows rows moving; removing the selected row leaves none.
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    // Selects the row at `index` (an index among all children) and sends
    // "itemselect" (new index, old index); the current index does nothing.
    // The old row is deselected first; a hidden, disabled or missing row, or
    // a child that is no row, is refused and leaves the list without one.
    bool SelectItem(int index);
    int GetCurSel() const { return m_curSel; }
    // The row Tab stops at: the selected row, else the first that can be
    // selected; nullptr for none.
    CListContainerElementUI* GetTabStop() const;
    // Up and Down move the selection a row, PageUp and PageDown a visible
    // page, Home and End to the first and last selectable row, each scrolling
    // the row into view; Enter activates the selected row. The wheel scrolls,
    // or moves the selection with "scrollselect".
    void DoEvent(TEventUI& event) override;

    // The first CListHeaderUI child; nullptr without one.
    CListHeaderUI* GetHeader() const;
    // "header" "hidden" hides the header.
    void SetHeaderHidden(bool hidden);
    bool IsHeaderHidden() const { return m_headerHidden; }
    void SetHeaderBkImage(std::u16string_view image);
    const std::u16string& GetHeaderBkImage() const { return m_headerBkImage; }
    // "scrollselect": the wheel moves the selection instead of scrolling.
    void SetScrollSelect(bool on) { m_scrollSelect = on; }
    bool IsScrollSelect() const { return m_scrollSelect; }
    // "multiexpanding": several expandable items may be open at once.
    void SetMultiExpanding(bool on) { m_multiExpanding = on; }
    bool IsMultiExpanding() const { return m_multiExpanding; }
    ListItemInfo& GetItemInfo() { return m_itemInfo; }
    const ListItemInfo& GetItemInfo() const { return m_itemInfo; }

private:
    void ApplyHeaderSettings(CListHeaderUI& header) const;
    CListContainerElementUI* RowAt(int index) const;
    bool SelectNext(int step);
    bool SelectPage(int direction);
    bool SelectEdge(bool last);
    // Selects by a key; false for a key that moves nothing.
    bool SelectByKey(char16_t key);
    // Scrolls the selected row wholly into the inner rectangle.
    void EnsureSelectedVisible();

    int m_curSel = -1;

    bool m_headerHidden = false;
    std::u16string m_headerBkImage;
    bool m_scrollSelect = false;
    bool m_multiExpanding = false;
    ListItemInfo m_itemInfo;
};

}  // namespace SkinUI
