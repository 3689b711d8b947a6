#include "ui/ListContainerElementUI.h"

#include "ui/ListUI.h"
#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include "platform/window_system.h"

namespace SkinUI {

std::u16string_view CListContainerElementUI::GetClass() const { return u"ListContainerElementUI"; }

CListUI* CListContainerElementUI::GetOwnerList() const { return dynamic_cast<CListUI*>(GetParent()); }

bool CListContainerElementUI::IsFocusable() const
{
    const CListUI* list = GetOwnerList();
    return list == nullptr || list->GetTabStop() == this;
}

void CListContainerElementUI::SetSelected(bool on)
{
    m_selected = on;
    Invalidate();
}

bool CListContainerElementUI::Activate()
{
    if (!CContainerUI::Activate())
        return false;
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"itemactivate");
    return true;
}

void CListContainerElementUI::Press()
{
    if (!IsEnabledWithAncestors())
        return;
    if (CWindowUIManager* manager = GetManager()) {
        manager->SetFocus(this);
        manager->SendNotify(this, u"itemclick");
    }
    if (CListUI* list = GetOwnerList())
        list->SelectItem(list->GetItemIndex(this));
}

void CListContainerElementUI::DoEvent(TEventUI& event)
{
    switch (event.type) {
    case UIEvent::ButtonDown:
    case UIEvent::RightButtonDown:
        Press();
        return;
    case UIEvent::DoubleClick:
        if (IsEnabledWithAncestors())
            Activate();
        return;
    case UIEvent::KeyDown:
        if (event.key == platform::VK_RETURN)
            Activate();
        else if (CListUI* list = GetOwnerList())
            list->DoEvent(event);
        return;
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
        m_hot = event.type == UIEvent::MouseEnter && IsEnabled();
        Invalidate();
        return;
    default:
        CContainerUI::DoEvent(event);
        return;
    }
}

void CListContainerElementUI::PaintBkColor(platform::Painter& painter)
{
    CContainerUI::PaintBkColor(painter);
    const CListUI* list = GetOwnerList();
    if (list == nullptr || (!m_selected && !m_hot))
        return;
    const ListItemInfo& info = list->GetItemInfo();
    const uint32_t color = m_selected ? info.selectedBkColor : info.hotBkColor;
    if (color != 0)
        painter.FillRect(ToPaintRect(GetItemRect()), color);
}

}  // namespace SkinUI
