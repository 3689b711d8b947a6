#include "ui/TabLayoutUI.h"

#include "ui/WindowUIManager.h"

#include <algorithm>

namespace SkinUI {
namespace {

const AttributeSetter<CTabLayoutUI> kTabLayoutAttributes[] = {
    {u"selectedid", [](auto& c, auto v) { c.SelectItem(ParseInt(v)); }},
};

}  // namespace

void CTabLayoutUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kTabLayoutAttributes, *this, name, value))
        CContainerUI::SetAttribute(name, value);
}

bool CTabLayoutUI::AddAt(std::unique_ptr<CControlUI> control, int index)
{
    CControlUI* child = control.get();
    if (!CContainerUI::AddAt(std::move(control), index))
        return false;
    if (m_curSel < 0 && child->IsVisible())
        m_curSel = index;
    else {
        child->SetVisible(false);
        if (m_curSel >= index)
            ++m_curSel;
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control)
{
    const int index = GetItemIndex(control);
    if (!CContainerUI::Remove(control))
        return false;
    if (index < m_curSel)
        --m_curSel;
    else if (index == m_curSel) {
        m_curSel = -1;
        SelectItem(std::min(index, GetCount() - 1));
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_curSel = -1;
    CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    const int old = m_curSel;
    for (int i = 0; i < GetCount(); ++i)
        GetItemAt(i)->SetVisible(i == index);
    m_curSel = index;
    SetItemRect(GetItemRect());
    Invalidate();
    if (old != index && GetManager() != nullptr)
        GetManager()->SendNotify(this, u"tabselect", static_cast<uintptr_t>(index), old);
    return true;
}

UISize CTabLayoutUI::LayoutChildren(const UIRect& inner)
{
    CControlUI* selected = GetItemAt(m_curSel);
    if (selected && selected->IsVisible() && !selected->IsFloat())
        selected->SetItemRect(inner);
    return {};
}

}  // namespace SkinUI
