// A control that owns child controls. Adding a child binds it to the
// container's manager (if any) and makes the container its parent.
//
// Layout: given its rectangle, a container places its visible children inside
// the inner rectangle (its rectangle minus the inset and a shown vertical
// scroll bar). A plain container gives every non-floating child the whole
// inner rectangle; the layouts override LayoutChildren. Floating children are
// placed by their "pos" against the container's own rectangle, in every kind
// of container.
#pragma once

#include "ui/ControlUI.h"
#include "ui/IContainerUI.h"
#include "ui/ScrollBarUI.h"

#include <memory>
#include <vector>

namespace SkinUI {

class CContainerUI : public CControlUI, public IContainerUI {
public:
    std::u16string_view GetClass() const override { return u"ContainerUI"; }
    IContainerUI* GetContainer() override { return this; }
    // Binds the children too.
    void SetManager(CWindowUIManager* manager, CControlUI* parent) override;
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;
    // Stores the rectangle and lays out the children.
    void SetItemRect(const UIRect& rc) override;

    bool Add(std::unique_ptr<CControlUI> control) final;
    bool AddAt(std::unique_ptr<CControlUI> control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    int GetCount() const override;
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(const CControlUI* control) const override;

    void SetInset(const UIRect& inset) { m_inset = inset; }
    const UIRect& GetInset() const { return m_inset; }
    void SetMouseChildEnabled(bool on) { m_mouseChild = on; }
    bool IsMouseChildEnabled() const { return m_mouseChild; }
    void SetChildPadding(int padding) { m_childPadding = padding; }
    int GetChildPadding() const { return m_childPadding; }
    // Whether the container may show a vertical / horizontal scroll bar, and
    // the attribute list that styles it. The vertical bar is shown while the
    // content is taller than the inner rectangle, the horizontal one while
    // it is wider.
    void SetVScrollBar(bool on);
    void SetHScrollBar(bool on);
    bool HasVScrollBar() const { return m_vScrollBar != nullptr; }
    bool HasHScrollBar() const { return m_hScrollBar != nullptr; }
    void SetVScrollBarStyle(std::u16string_view list);
    void SetHScrollBarStyle(std::u16string_view list);
    const std::u16string& GetVScrollBarStyle() const { return m_vScrollBarStyle; }
    const std::u16string& GetHScrollBarStyle() const { return m_hScrollBarStyle; }
    // The vertical bar (nullptr without "vscrollbar"): visible while needed,
    // range = content height - inner height, position within 0..range.
    CScrollBarUI* GetVerticalScrollBar() const { return m_vScrollBar.get(); }
    // Scrolls the content up by `pos` pixels (kept within the range) and
    // lays the children out again; ignored without a vertical bar.
    void SetVScrollPos(int pos);
    // The horizontal bar (nullptr without "hscrollbar") and its position:
    // the content moves left by it.
    CScrollBarUI* GetHorizontalScrollBar() const { return m_hScrollBar.get(); }
    void SetHScrollPos(int pos);
    // Mouse input over a shown vertical bar (or while its thumb is held)
    // goes to the bar; the wheel scrolls three lines a notch when the bar
    // is shown, else goes on to the parent.
    void DoEvent(TEventUI& event) override;
    // The width a shown vertical bar takes: its fixed width, else this.
    static constexpr int kDefaultScrollBarWidth = 16;
    static constexpr int kWheelLines = 3;

    // The rectangle minus the inset and the shown bars, not scrolled;
    // empty rather than inverted.
    UIRect GetInnerRect() const;

    // Paints the container, then its visible children in order (each cut
    // to the inner rectangle; floating ones to the container's rectangle),
    // then a shown vertical scroll bar.
    void DoPaint(platform::Painter& painter, const UIRect& dirty) override;

protected:
    // Places the visible non-floating children inside `inner` (already moved
    // up by the scroll position) and returns the size their content takes.
    virtual UISize LayoutChildren(const UIRect& inner);

    enum class StackDirection { TopToBottom, LeftToRight };
    // The vertical and horizontal layouts: children one after another,
    // fixed sizes first and the rest shared among the stretchable ones.
    UISize StackChildren(const UIRect& inner, StackDirection direction);

private:
    void PaintChildren(platform::Painter& painter, const UIRect& area);
    int VScrollBarWidth() const;
    int HScrollBarHeight() const;
    bool DecideHScrollBar(int contentWidth);
    void PlaceHScrollBar();
    CScrollBarUI* BarAt(UIPoint point) const;
    UIRect ScrolledInnerRect() const;
    // True when the bar appeared, disappeared or its position was pulled
    // back into the range: the children then need laying out again.
    bool DecideVScrollBar(int contentHeight);
    void PlaceVScrollBar();
    void PlaceFloatingChildren();
    UIRect FloatRect(CControlUI& child) const;

    std::vector<std::unique_ptr<CControlUI>> m_items;
    UIRect m_inset;
    bool m_mouseChild = true;
    int m_childPadding = 0;
    std::unique_ptr<CScrollBarUI> m_vScrollBar;
    std::unique_ptr<CScrollBarUI> m_hScrollBar;
    std::u16string m_vScrollBarStyle;
    std::u16string m_hScrollBarStyle;
};

}  // namespace SkinUI
