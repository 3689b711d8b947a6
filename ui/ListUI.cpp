#include "ui/ListUI.h"

#include "ui/ListContainerElementUI.h"
#include "ui/ListHeaderUI.h"
#include "ui/WindowUIManager.h"

#include "platform/window_system.h"

#include <algorithm>

namespace SkinUI {
namespace {

const AttributeSetter<CListUI> kListAttributes[] = {
    {u"header", [](auto& c, auto v) { c.SetHeaderHidden(v == u"hidden"); }},
    {u"headerbkimage", [](auto& c, auto v) { c.SetHeaderBkImage(v); }},
    {u"scrollselect", [](auto& c, auto v) { c.SetScrollSelect(ParseBool(v)); }},
    {u"multiexpanding", [](auto& c, auto v) { c.SetMultiExpanding(ParseBool(v)); }},
};

}  // namespace

void CListUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kListAttributes, *this, name, value) && !ApplyListItemAttribute(m_itemInfo, name, value))
        CVerticalLayoutUI::SetAttribute(name, value);
}

bool CListUI::AddAt(std::unique_ptr<CControlUI> control, int index)
{
    auto* header = dynamic_cast<CListHeaderUI*>(control.get());
    const int count = GetCount();
    if (!CVerticalLayoutUI::AddAt(std::move(control), index))
        return false;
    if (m_curSel >= 0 && index >= 0 && index < count && index <= m_curSel)
        ++m_curSel;
    if (header)
        ApplyHeaderSettings(*header);
    return true;
}

bool CListUI::Remove(CControlUI* control)
{
    const int index = GetItemIndex(control);
    if (!CVerticalLayoutUI::Remove(control))
        return false;
    if (index == m_curSel)
        m_curSel = -1;
    else if (index >= 0 && index < m_curSel)
        --m_curSel;
    return true;
}

void CListUI::RemoveAll()
{
    CVerticalLayoutUI::RemoveAll();
    m_curSel = -1;
}

CListContainerElementUI* CListUI::RowAt(int index) const
{
    auto* row = dynamic_cast<CListContainerElementUI*>(GetItemAt(index));
    return row != nullptr && row->IsVisible() && row->IsEnabled() ? row : nullptr;
}

bool CListUI::SelectItem(int index)
{
    if (index == m_curSel)
        return true;
    const int old = m_curSel;
    if (auto* previous = dynamic_cast<CListContainerElementUI*>(GetItemAt(old)))
        previous->SetSelected(false);
    m_curSel = -1;
    CListContainerElementUI* row = RowAt(index);
    if (row == nullptr)
        return false;
    row->SetSelected(true);
    m_curSel = index;
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"itemselect", static_cast<uintptr_t>(index), old);
    return true;
}

CListContainerElementUI* CListUI::GetTabStop() const
{
    if (CListContainerElementUI* selected = RowAt(m_curSel))
        return selected;
    for (int i = 0; i < GetCount(); ++i) {
        if (CListContainerElementUI* row = RowAt(i))
            return row;
    }
    return nullptr;
}

bool CListUI::SelectNext(int step)
{
    for (int i = m_curSel + step; i >= 0 && i < GetCount(); i += step) {
        if (RowAt(i) != nullptr)
            return SelectItem(i);
    }
    return false;
}

// The farthest selectable row that starts within a page (the inner height)
// of the selected one; at least the next selectable row.
bool CListUI::SelectPage(int direction)
{
    const CControlUI* current = GetItemAt(m_curSel);
    if (current == nullptr)
        return SelectEdge(direction < 0);
    const long long page = std::max(1, GetInnerRect().bottom - GetInnerRect().top);
    const int from = current->GetItemRect().top;
    int target = -1;
    for (int i = m_curSel + direction; i >= 0 && i < GetCount(); i += direction) {
        const CListContainerElementUI* row = RowAt(i);
        if (row == nullptr)
            continue;
        const long long distance = (0LL + row->GetItemRect().top - from) * direction;
        if (target >= 0 && distance > page)
            break;
        target = i;
    }
    return target >= 0 && SelectItem(target);
}

bool CListUI::SelectEdge(bool last)
{
    const int step = last ? -1 : 1;
    for (int i = last ? GetCount() - 1 : 0; i >= 0 && i < GetCount(); i += step) {
        if (RowAt(i) != nullptr)
            return SelectItem(i);
    }
    return false;
}

bool CListUI::SelectByKey(char16_t key)
{
    switch (key) {
    case platform::VK_UP: return SelectNext(-1);
    case platform::VK_DOWN: return SelectNext(1);
    case platform::VK_PRIOR: return SelectPage(-1);
    case platform::VK_NEXT: return SelectPage(1);
    case platform::VK_HOME: return SelectEdge(false);
    case platform::VK_END: return SelectEdge(true);
    default: return false;
    }
}

void CListUI::EnsureSelectedVisible()
{
    const CControlUI* row = GetItemAt(m_curSel);
    CScrollBarUI* bar = GetVerticalScrollBar();
    if (row == nullptr || bar == nullptr || !bar->IsVisible())
        return;
    const UIRect inner = GetInnerRect();
    const UIRect& rc = row->GetItemRect();
    if (rc.top < inner.top)
        bar->ScrollTo(bar->GetScrollPos() - (inner.top - rc.top));
    else if (rc.bottom > inner.bottom)
        bar->ScrollTo(bar->GetScrollPos() + std::min(rc.bottom - inner.bottom, rc.top - inner.top));
}

void CListUI::DoEvent(TEventUI& event)
{
    if (event.type == UIEvent::KeyDown && SelectByKey(event.key)) {
        EnsureSelectedVisible();
        if (GetManager() != nullptr && RowAt(m_curSel) != nullptr)
            GetManager()->SetFocus(RowAt(m_curSel));
        return;
    }
    if (event.type == UIEvent::ScrollWheel && m_scrollSelect) {
        bool moved = false;
        for (int steps = WheelSteps(event); steps != 0; steps -= steps > 0 ? 1 : -1)
            moved = SelectNext(steps > 0 ? -1 : 1) || moved;
        if (moved)
            EnsureSelectedVisible();
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

CListHeaderUI* CListUI::GetHeader() const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (auto* header = dynamic_cast<CListHeaderUI*>(GetItemAt(i)))
            return header;
    }
    return nullptr;
}

void CListUI::SetHeaderHidden(bool hidden)
{
    m_headerHidden = hidden;
    if (CListHeaderUI* header = GetHeader())
        header->SetVisible(!hidden);
}

void CListUI::SetHeaderBkImage(std::u16string_view image)
{
    m_headerBkImage = image;
    if (CListHeaderUI* header = GetHeader())
        ApplyHeaderSettings(*header);
}

void CListUI::ApplyHeaderSettings(CListHeaderUI& header) const
{
    if (m_headerHidden)
        header.SetVisible(false);
    if (!m_headerBkImage.empty())
        header.SetBkImage(m_headerBkImage);
}

}  // namespace SkinUI
