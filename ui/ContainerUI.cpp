#include "ui/ContainerUI.h"

#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include <algorithm>
#include <climits>

namespace SkinUI {
namespace {

// Layout arithmetic runs in 64 bits and is saturated into the int range only
// when a rectangle is stored, so no layout value can wrap around.
using Coord = long long;

int Saturate(Coord value) { return static_cast<int>(std::clamp<Coord>(value, INT_MIN, INT_MAX)); }

UIRect MakeRect(Coord left, Coord top, Coord right, Coord bottom)
{
    return {Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)};
}

Coord Width(const UIRect& rc) { return Coord{rc.right} - rc.left; }
Coord Height(const UIRect& rc) { return Coord{rc.bottom} - rc.top; }

UISize SizeOf(const UIRect& rc)
{
    return {Saturate(std::max<Coord>(0, Width(rc))), Saturate(std::max<Coord>(0, Height(rc)))};
}

// Within [minimum, maximum]; when the two disagree the minimum wins.
Coord ClampToLimits(Coord size, int minimum, int maximum)
{
    return std::max<Coord>(std::min<Coord>(size, maximum), minimum);
}

// A left-to-right stack is a top-to-bottom stack with the axes exchanged.
UIRect Transposed(const UIRect& rc) { return {rc.top, rc.left, rc.bottom, rc.right}; }
UISize Transposed(UISize size) { return {size.cy, size.cx}; }

// A visible non-floating child as a top-to-bottom stack sees it: "height"
// runs along the stack, "width" across it.
struct StackItem {
    CControlUI* control = nullptr;
    UIRect padding;
    bool stretch = false;  // estimated height 0: shares the free height
    Coord height = 0;      // the clamped estimate when not stretchable
    Coord width = 0;       // the estimate; 0 fills the inner width
    int minWidth = 0;
    int maxWidth = 0;
};

StackItem MakeStackItem(CControlUI& child, UISize available, bool transposed)
{
    UISize estimate = child.EstimateSize(available);
    UISize minimum{child.GetMinWidth(), child.GetMinHeight()};
    UISize maximum{child.GetMaxWidth(), child.GetMaxHeight()};
    UIRect padding = child.GetPadding();
    if (transposed) {
        estimate = Transposed(estimate);
        minimum = Transposed(minimum);
        maximum = Transposed(maximum);
        padding = Transposed(padding);
    }
    StackItem item;
    item.control = &child;
    item.padding = padding;
    item.stretch = estimate.cy == 0;
    item.height = item.stretch ? 0 : ClampToLimits(estimate.cy, minimum.cy, maximum.cy);
    item.width = estimate.cx;
    item.minWidth = minimum.cx;
    item.maxWidth = maximum.cx;
    return item;
}

// First pass: the visible non-floating children and what they ask for.
std::vector<StackItem> CollectStackItems(const CContainerUI& container, UISize available, bool transposed)
{
    std::vector<StackItem> items;
    for (int i = 0; i < container.GetCount(); ++i) {
        CControlUI& child = *container.GetItemAt(i);
        if (child.IsVisible() && !child.IsFloat())
            items.push_back(MakeStackItem(child, available, transposed));
    }
    return items;
}

struct StackShares {
    Coord share = 0;      // each stretchable child but the last
    Coord lastShare = 0;  // the last one also takes the rounding rest
};

// needed = fixed heights + every padding along the stack + the gaps between
// children; the stretchable children divide what is left of the inner height.
StackShares ShareOutHeight(const std::vector<StackItem>& items, Coord innerHeight, int childPadding)
{
    Coord fixed = 0;
    Coord stretchables = 0;
    for (const StackItem& item : items) {
        fixed += item.height + item.padding.top + item.padding.bottom;
        stretchables += item.stretch ? 1 : 0;
    }
    if (stretchables == 0)
        return {};
    const Coord gaps = Coord{childPadding} * static_cast<Coord>(items.size() - 1);
    const Coord free = innerHeight - (fixed + gaps);
    StackShares shares;
    shares.share = std::max<Coord>(0, free / stretchables);
    shares.lastShare = std::max<Coord>(0, free - shares.share * (stretchables - 1));
    return shares;
}

// Across the stack: the estimate, or the inner width less the padding; never
// negative; within the child's limits.
Coord CrossSize(const StackItem& item, Coord innerWidth)
{
    const Coord fill = innerWidth - item.padding.left - item.padding.right;
    const Coord width = item.width != 0 ? item.width : fill;
    return ClampToLimits(std::max<Coord>(0, width), item.minWidth, item.maxWidth);
}

size_t LastStretchable(const std::vector<StackItem>& items)
{
    size_t last = items.size();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].stretch)
            last = i;
    }
    return last;
}

// Second pass: children one after another from the inner top. The bottom
// of a child's rectangle includes its bottom padding, as the skins expect.
// Returns the extent used across and along the stack.
UISize PlaceStack(const std::vector<StackItem>& items, const UIRect& inner, const StackShares& shares,
                  int childPadding, bool transposed)
{
    const size_t last = LastStretchable(items);
    Coord cursor = inner.top;
    Coord widest = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const StackItem& item = items[i];
        const Coord height = !item.stretch ? item.height : (i == last ? shares.lastShare : shares.share);
        const Coord width = CrossSize(item, Width(inner));
        const Coord left = Coord{inner.left} + item.padding.left;
        const Coord top = cursor + item.padding.top;
        const Coord bottom = top + height + item.padding.bottom;
        const UIRect rc = MakeRect(left, top, left + width, bottom);
        item.control->SetItemRect(transposed ? Transposed(rc) : rc);
        widest = std::max(widest, item.padding.left + width + item.padding.right);
        cursor = bottom + childPadding;
    }
    const Coord used = items.empty() ? 0 : cursor - childPadding - inner.top;
    return {Saturate(widest), Saturate(used)};
}

// A floating child's rectangle before any relative move.
struct FloatBox {
    Coord left = 0;
    Coord top = 0;
    Coord width = 0;
    Coord height = 0;
};

// A fixed x or y below zero counts from the parent's right or bottom edge.
FloatBox FixedFloatBox(const CControlUI& child, const UIRect& parent)
{
    FloatBox box;
    box.width = child.GetFixedWidth();
    box.height = child.GetFixedHeight();
    const Coord x = child.GetFixedX();
    const Coord y = child.GetFixedY();
    box.left = x >= 0 ? parent.left + x : parent.right + x - box.width;
    box.top = y >= 0 ? parent.top + y : parent.bottom + y - box.height;
    return box;
}

// Moves and grows the record by its percentages of the parent's change in
// size since it was last applied (the first application only remembers the
// size), then remembers the current size.
RelativePos AdvanceRelativePos(RelativePos record, UISize parentSize)
{
    if (record.parentSize.cx != 0) {
        const Coord dx = Coord{parentSize.cx} - record.parentSize.cx;
        const Coord dy = Coord{parentSize.cy} - record.parentSize.cy;
        record.movedX = Saturate(record.movedX + dx * record.moveX / 100);
        record.movedY = Saturate(record.movedY + dy * record.moveY / 100);
        record.grownX = Saturate(record.grownX + dx * record.zoomX / 100);
        record.grownY = Saturate(record.grownY + dy * record.zoomY / 100);
    }
    record.parentSize = parentSize;
    return record;
}

FloatBox MovedBy(FloatBox box, const RelativePos& record)
{
    box.left += record.movedX;
    box.top += record.movedY;
    box.width = std::max<Coord>(0, box.width + record.grownX);
    box.height = std::max<Coord>(0, box.height + record.grownY);
    return box;
}

UIRect ToRect(const FloatBox& box) { return MakeRect(box.left, box.top, box.left + box.width, box.top + box.height); }

const AttributeSetter<CContainerUI> kContainerAttributes[] = {
    {u"inset", [](auto& c, auto v) { c.SetInset(ParseRect(v)); }},
    {u"mousechild", [](auto& c, auto v) { c.SetMouseChildEnabled(ParseBool(v)); }},
    {u"vscrollbar", [](auto& c, auto v) { c.SetVScrollBar(ParseBool(v)); }},
    {u"hscrollbar", [](auto& c, auto v) { c.SetHScrollBar(ParseBool(v)); }},
    {u"vscrollbarstyle", [](auto& c, auto v) { c.SetVScrollBarStyle(v); }},
    {u"hscrollbarstyle", [](auto& c, auto v) { c.SetHScrollBarStyle(v); }},
    {u"childpadding", [](auto& c, auto v) { c.SetChildPadding(ParseInt(v)); }},
};

}  // namespace

void CContainerUI::SetManager(CWindowUIManager* manager, CControlUI* parent)
{
    CControlUI::SetManager(manager, parent);
    for (const auto& item : m_items)
        item->SetManager(manager, this);
    if (m_vScrollBar)
        m_vScrollBar->SetManager(manager, this);
    if (m_hScrollBar)
        m_hScrollBar->SetManager(manager, this);
}

void CContainerUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kContainerAttributes, *this, name, value))
        CControlUI::SetAttribute(name, value);
}

bool CContainerUI::Add(std::unique_ptr<CControlUI> control) { return AddAt(std::move(control), GetCount()); }

bool CContainerUI::AddAt(std::unique_ptr<CControlUI> control, int index)
{
    if (!control || index < 0 || index > GetCount())
        return false;
    CControlUI* child = control.get();
    m_items.insert(m_items.begin() + index, std::move(control));
    if (GetManager())
        GetManager()->InitControls(child, this);
    else
        child->SetManager(nullptr, this);
    // The children are placed again at the next paint.
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control)
{
    const int index = GetItemIndex(control);
    if (index < 0)
        return false;
    // The child is destroyed after it has left the list.
    const std::unique_ptr<CControlUI> removed = std::move(m_items[static_cast<size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll()
{
    const std::vector<std::unique_ptr<CControlUI>> removed = std::move(m_items);
    m_items.clear();
    NeedUpdate();
}

int CContainerUI::GetCount() const { return static_cast<int>(m_items.size()); }

CControlUI* CContainerUI::GetItemAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

int CContainerUI::GetItemIndex(const CControlUI* control) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == control)
            return static_cast<int>(i);
    }
    return -1;
}

// The bar takes the manager's "VScrollBar" defaults (when a manager is bound
// while the layout is built), then the container's style, and stays hidden
// until the content needs it.
namespace {

// A new bar takes the layout's defaults for its role, then the container's
// style; it stays hidden until the content needs it.
std::unique_ptr<CScrollBarUI> MakeScrollBar(CContainerUI& owner, bool horizontal, std::u16string_view style)
{
    auto bar = std::make_unique<CScrollBarUI>();
    bar->SetHorizontal(horizontal);
    bar->SetManager(owner.GetManager(), &owner);
    if (owner.GetManager())
        bar->ApplyAttributeList(owner.GetManager()->GetDefaultAttributeList(horizontal ? u"HScrollBar" : u"VScrollBar"));
    bar->ApplyAttributeList(style);
    bar->SetVisible(false);
    return bar;
}

void RestyleScrollBar(CScrollBarUI* bar, std::u16string_view style)
{
    if (bar == nullptr)
        return;
    const bool shown = bar->IsVisible();
    bar->ApplyAttributeList(style);
    bar->SetVisible(shown);
}

}  // namespace

void CContainerUI::SetVScrollBar(bool on)
{
    if (!on)
        m_vScrollBar.reset();
    else if (!m_vScrollBar)
        m_vScrollBar = MakeScrollBar(*this, false, m_vScrollBarStyle);
}

void CContainerUI::SetHScrollBar(bool on)
{
    if (!on)
        m_hScrollBar.reset();
    else if (!m_hScrollBar)
        m_hScrollBar = MakeScrollBar(*this, true, m_hScrollBarStyle);
}

void CContainerUI::SetVScrollBarStyle(std::u16string_view list)
{
    m_vScrollBarStyle = list;
    RestyleScrollBar(m_vScrollBar.get(), list);
}

void CContainerUI::SetHScrollBarStyle(std::u16string_view list)
{
    m_hScrollBarStyle = list;
    RestyleScrollBar(m_hScrollBar.get(), list);
}

void CContainerUI::SetVScrollPos(int pos)
{
    if (!m_vScrollBar)
        return;
    m_vScrollBar->SetScrollPos(pos);
    SetItemRect(GetItemRect());
}

void CContainerUI::SetHScrollPos(int pos)
{
    if (!m_hScrollBar)
        return;
    m_hScrollBar->SetScrollPos(pos);
    SetItemRect(GetItemRect());
}

CScrollBarUI* CContainerUI::BarAt(UIPoint point) const
{
    for (CScrollBarUI* bar : {m_vScrollBar.get(), m_hScrollBar.get()}) {
        if (bar == nullptr || !bar->IsVisible())
            continue;
        const UIRect& rc = bar->GetItemRect();
        if (bar->IsDragging() || (point.x >= rc.left && point.x < rc.right && point.y >= rc.top && point.y < rc.bottom))
            return bar;
    }
    return nullptr;
}

void CContainerUI::DoEvent(TEventUI& event)
{
    CScrollBarUI* vertical = m_vScrollBar && m_vScrollBar->IsVisible() ? m_vScrollBar.get() : nullptr;
    switch (event.type) {
    case UIEvent::ScrollWheel:
        if (vertical != nullptr) {
            const int steps = WheelSteps(event);
            vertical->ScrollTo(vertical->GetScrollPos() - steps * kWheelLines * vertical->GetLineSize());
            return;
        }
        break;
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
    case UIEvent::MouseMove:
    case UIEvent::ButtonUp:
        if (CScrollBarUI* bar = BarAt(event.mouse)) {
            bar->DoEvent(event);
            return;
        }
        break;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

// Lays the children out; when the vertical bar appears or disappears the
// inner width changes and they are laid out once more. Heights do not depend
// on the width, so a second round never changes the decision.
void CContainerUI::SetItemRect(const UIRect& rc)
{
    CControlUI::SetItemRect(rc);
    UISize content = LayoutChildren(ScrolledInnerRect());
    // A bar that appears narrows the other direction: decide once more.
    for (int round = 0; round < 2; ++round) {
        const bool vertical = DecideVScrollBar(content.cy);
        if (!(DecideHScrollBar(content.cx) || vertical))
            break;
        content = LayoutChildren(ScrolledInnerRect());
    }
    PlaceVScrollBar();
    PlaceHScrollBar();
    PlaceFloatingChildren();
}

UISize CContainerUI::LayoutChildren(const UIRect& inner)
{
    for (const auto& item : m_items) {
        if (item->IsVisible() && !item->IsFloat())
            item->SetItemRect(inner);
    }
    return {};
}

UISize CContainerUI::StackChildren(const UIRect& inner, StackDirection direction)
{
    const bool transposed = direction == StackDirection::LeftToRight;
    const std::vector<StackItem> items = CollectStackItems(*this, SizeOf(inner), transposed);
    const UIRect stackInner = transposed ? Transposed(inner) : inner;
    const StackShares shares = ShareOutHeight(items, Height(stackInner), m_childPadding);
    const UISize used = PlaceStack(items, stackInner, shares, m_childPadding, transposed);
    return transposed ? Transposed(used) : used;
}

int CContainerUI::VScrollBarWidth() const
{
    const int fixed = m_vScrollBar ? m_vScrollBar->GetFixedWidth() : 0;
    return fixed != 0 ? fixed : kDefaultScrollBarWidth;
}

int CContainerUI::HScrollBarHeight() const
{
    const int fixed = m_hScrollBar ? m_hScrollBar->GetFixedHeight() : 0;
    return fixed != 0 ? fixed : kDefaultScrollBarWidth;
}

// An inset wider or taller than the rectangle leaves an empty inner
// rectangle, never an inverted one.
UIRect CContainerUI::GetInnerRect() const
{
    const UIRect& rc = GetItemRect();
    const Coord bar = m_vScrollBar && m_vScrollBar->IsVisible() ? VScrollBarWidth() : 0;
    const Coord left = Coord{rc.left} + m_inset.left;
    const Coord top = Coord{rc.top} + m_inset.top;
    const Coord right = std::max(left, Coord{rc.right} - m_inset.right - bar);
    const Coord hbar = m_hScrollBar && m_hScrollBar->IsVisible() ? HScrollBarHeight() : 0;
    const Coord bottom = std::max(top, Coord{rc.bottom} - m_inset.bottom - hbar);
    return MakeRect(left, top, right, bottom);
}

UIRect CContainerUI::ScrolledInnerRect() const
{
    const UIRect inner = GetInnerRect();
    const Coord pos = m_vScrollBar ? m_vScrollBar->GetScrollPos() : 0;
    const Coord hpos = m_hScrollBar ? m_hScrollBar->GetScrollPos() : 0;
    return MakeRect(inner.left - hpos, inner.top - pos, inner.right - hpos, inner.bottom - pos);
}

// Content taller (wider) than the inner rectangle shows the vertical
// (horizontal) bar; the range is the excess and the position stays within it.
namespace {

bool DecideScrollBar(CScrollBarUI* bar, Coord excess)
{
    if (bar == nullptr)
        return false;
    const bool needed = excess > 0;
    const int range = needed ? Saturate(excess) : 0;
    const int pos = std::clamp(bar->GetScrollPos(), 0, range);
    const bool changed = needed != bar->IsVisible() || pos != bar->GetScrollPos();
    bar->SetVisible(needed);
    bar->SetScrollRange(range);
    bar->SetScrollPos(pos);
    return changed;
}

}  // namespace

bool CContainerUI::DecideVScrollBar(int contentHeight)
{
    return DecideScrollBar(m_vScrollBar.get(), contentHeight - std::max<Coord>(0, Height(GetInnerRect())));
}

bool CContainerUI::DecideHScrollBar(int contentWidth)
{
    return DecideScrollBar(m_hScrollBar.get(), contentWidth - std::max<Coord>(0, Width(GetInnerRect())));
}

// A shown bar stands right of the inner rectangle, inside the inset.
void CContainerUI::PlaceVScrollBar()
{
    if (!m_vScrollBar || !m_vScrollBar->IsVisible())
        return;
    const UIRect inner = GetInnerRect();
    m_vScrollBar->SetItemRect(MakeRect(inner.right, inner.top, Coord{inner.right} + VScrollBarWidth(), inner.bottom));
}

// A shown horizontal bar lies under the inner rectangle, inside the inset.
void CContainerUI::PlaceHScrollBar()
{
    if (!m_hScrollBar || !m_hScrollBar->IsVisible())
        return;
    const UIRect inner = GetInnerRect();
    m_hScrollBar->SetItemRect(MakeRect(inner.left, inner.bottom, inner.right, Coord{inner.bottom} + HScrollBarHeight()));
}

void CContainerUI::PlaceFloatingChildren()
{
    for (const auto& item : m_items) {
        if (item->IsVisible() && item->IsFloat())
            item->SetItemRect(FloatRect(*item));
    }
}

// "pos" against the container's own rectangle, then the relative move as
// the container's size changes.
UIRect CContainerUI::FloatRect(CControlUI& child) const
{
    const UIRect& parent = GetItemRect();
    const FloatBox box = FixedFloatBox(child, parent);
    if (!child.GetRelativePos().enabled)
        return ToRect(box);
    const RelativePos record = AdvanceRelativePos(child.GetRelativePos(), SizeOf(parent));
    child.UpdateRelativePos(record);
    return ToRect(MovedBy(box, record));
}

void CContainerUI::DoPaint(platform::Painter& painter, const UIRect& dirty)
{
    if (!IsVisible())
        return;
    const UIRect area = IntersectRect(GetItemRect(), dirty);
    if (IsEmptyRect(area))
        return;
    CControlUI::DoPaint(painter, area);
    PaintChildren(painter, area);
    for (CScrollBarUI* bar : {m_vScrollBar.get(), m_hScrollBar.get()}) {
        if (bar != nullptr && bar->IsVisible())
            bar->DoPaint(painter, area);
    }
}

// A child is given `clip` as its dirty rectangle, and DoPaint clips to the
// part of its rectangle inside that.
void CContainerUI::PaintChildren(platform::Painter& painter, const UIRect& area)
{
    const UIRect inner = IntersectRect(GetInnerRect(), area);
    for (const auto& item : m_items) {
        if (!item->IsVisible())
            continue;
        const UIRect clip = item->IsFloat() ? area : inner;
        if (IsEmptyRect(IntersectRect(item->GetItemRect(), clip)))
            continue;
        item->DoPaint(painter, clip);
    }
}

}  // namespace SkinUI
