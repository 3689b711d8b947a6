#include "ui/ListUI.h"

#include "ui/ListContainerElementUI.h"
#include "ui/ListHeaderUI.h"
#include "ui/WindowUIManager.h"

#include "platform/window_system.h"

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

bool CListUI::SelectNext(int step)
{
    for (int i = m_curSel + step; i >= 0 && i < GetCount(); i += step) {
        if (RowAt(i) != nullptr)
            return SelectItem(i);
    }
    return false;
}

void CListUI::DoEvent(TEventUI& event)
{
    if (event.type == UIEvent::KeyDown && (event.key == platform::VK_UP || event.key == platform::VK_DOWN)) {
        SelectNext(event.key == platform::VK_DOWN ? 1 : -1);
        if (GetManager() != nullptr && RowAt(m_curSel) != nullptr)
            GetManager()->SetFocus(RowAt(m_curSel));
        return;
    }
    if (event.type == UIEvent::ScrollWheel && m_scrollSelect) {
        SelectNext(static_cast<int16_t>(event.wParam >> 16) > 0 ? -1 : 1);
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
