#include "ui/ComboWnd.h"

#include "ui/ComboUI.h"
#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include <algorithm>
#include <memory>

namespace SkinUI {

using namespace platform;

namespace {

int RowHeight(CControlUI& item)
{
    const int fixed = item.EstimateSize({0, 0}).cy;
    return fixed > 0 ? fixed : CComboWnd::kDefaultRowHeight;
}

}  // namespace

bool CComboWnd::Open()
{
    CWindowUIManager* manager = m_owner->GetManager();
    WindowSystem* system = System();
    if (manager == nullptr || system == nullptr || manager->GetWindow() == WindowId::None)
        return false;
    const Rect parent = system->GetWindowRect(manager->GetWindow());
    const UIRect combo = m_owner->GetItemRect();
    int height = 0;
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        if (m_owner->GetItemAt(i)->IsVisible())
            height += RowHeight(*m_owner->GetItemAt(i));
    }
    const UISize box = m_owner->GetDropBoxSize();
    if (box.cy > 0)
        height = std::min(height, box.cy);
    const int width = box.cx > 0 ? box.cx : combo.right - combo.left;
    m_hot = -1;
    m_scroll = 0;
    if (Create(manager->GetWindow(), "", WindowStyle::kPopup, WindowExStyle::kToolWindow, parent.left + combo.left,
               parent.top + combo.bottom, std::max(width, 1), std::max(height, 1)) == WindowId::None)
        return false;
    m_windowLives = true;
    LayoutRows();
    ShowRow(m_owner->GetCurSel());
    ShowWindow(true, true);
    return true;
}

void CComboWnd::LayoutRows()
{
    const Rect window = System()->GetWindowRect(GetHWND());
    int top = -m_scroll;
    m_contentHeight = 0;
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        CControlUI* item = m_owner->GetItemAt(i);
        if (!item->IsVisible())
            continue;
        const int height = RowHeight(*item);
        item->SetItemRect({0, top, window.Width(), top + height});
        top += height;
        m_contentHeight += height;
    }
}

void CComboWnd::ShowRow(int index)
{
    const CControlUI* item = m_owner->GetItemAt(index);
    if (item != nullptr && item->IsVisible()) {
        const int height = System()->GetWindowRect(GetHWND()).Height();
        const UIRect& rc = item->GetItemRect();
        int scroll = m_scroll;
        if (rc.top < 0)
            scroll += rc.top;
        else if (rc.bottom > height)
            scroll += std::min(rc.bottom - height, rc.top);
        scroll = std::clamp(scroll, 0, std::max(0, m_contentHeight - height));
        if (scroll != m_scroll) {
            m_scroll = scroll;
            LayoutRows();
        }
    }
    System()->Invalidate(GetHWND());
}

int CComboWnd::RowAt(int x, int y) const
{
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        const CControlUI* item = m_owner->GetItemAt(i);
        const UIRect& rc = item->GetItemRect();
        if (item->IsVisible() && x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom)
            return i;
    }
    return -1;
}

void CComboWnd::SetHot(int row)
{
    if (row == m_hot)
        return;
    m_hot = row;
    System()->Invalidate(GetHWND());
}

void CComboWnd::Paint()
{
    WindowSystem* system = System();
    const Rect window = system->GetWindowRect(GetHWND());
    const std::unique_ptr<Painter> painter = system->CreatePainter(window.Width(), window.Height());
    if (!painter)
        return;
    const ListItemInfo& info = m_owner->GetItemInfo();
    painter->FillRect({0, 0, window.Width(), window.Height()}, ColorOr(info.bkColor, 0xFFFFFFFF));
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        CControlUI* item = m_owner->GetItemAt(i);
        if (!item->IsVisible())
            continue;
        const UIRect& rc = item->GetItemRect();
        if (rc.bottom <= 0 || rc.top >= window.Height())
            continue;  // scrolled out of the window
        const uint32_t mark = i == m_owner->GetCurSel() ? info.selectedBkColor : i == m_hot ? info.hotBkColor : 0;
        if (mark != 0)
            painter->FillRect({rc.left, rc.top, rc.right, rc.bottom}, mark);
        item->DoPaint(*painter, rc);
    }
    const auto pixels = painter->Pixels();
    system->Present(GetHWND(), pixels.data(), painter->Width(), painter->Height(),
                    painter->Width() * static_cast<int>(sizeof(uint32_t)));
}

// Gives the keyboard back to the combo's window and the combo, then goes.
void CComboWnd::Dismiss()
{
    WindowSystem* system = System();
    const WindowId self = GetHWND();
    if (CWindowUIManager* manager = m_owner->GetManager(); manager != nullptr && system->GetFocus() == self) {
        system->SetFocus(manager->GetWindow());
        // The focus change notifies: the combo (and its window) may be gone.
        if (m_owner != nullptr && m_owner->GetManager() != nullptr)
            m_owner->GetManager()->SetFocus(m_owner);
    }
    system->DestroyWindow(self);
}

bool CComboWnd::HandleKey(uintptr_t key)
{
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        m_owner->SelectNext(key == VK_DOWN ? 1 : -1);
        break;
    case VK_HOME:
    case VK_END:
        m_owner->SelectEdge(key == VK_END);
        break;
    case VK_RETURN:
    case VK_ESCAPE:
    case CComboUI::kOpenKey:
        Close();
        return true;
    default:
        return false;
    }
    // The selection notifies: the combo may be gone.
    if (m_owner != nullptr)
        ShowRow(m_owner->GetCurSel());
    return true;
}

// The row under a client point that can be chosen, -1 for none.
int CComboWnd::SelectableRowAt(intptr_t lParam) const
{
    const int row = RowAt(LowSigned(lParam), HighSigned(lParam));
    return row >= 0 && m_owner->IsSelectable(row) ? row : -1;
}

void CComboWnd::Orphan()
{
    m_owner = nullptr;
    if (!m_windowLives) {
        delete this;
        return;
    }
    // The final message frees the object: at once, or when the handling
    // that is running ends. Nothing here touches it afterwards.
    if (IsOpen())
        System()->DestroyWindow(GetHWND());
}

void CComboWnd::OnFinalMessage(WindowId)
{
    m_windowLives = false;
    if (m_owner == nullptr)
        delete this;
}

// A message that needs the combo; each call that notifies may destroy it,
// so the owner is checked again after it.
bool CComboWnd::HandleOwnerMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return true;
    case WM_MOUSEMOVE:
        // Asks for WM_MOUSELEAVE when the pointer goes.
        System()->TrackMouse(GetHWND(), 0);
        SetHot(SelectableRowAt(lParam));
        return true;
    case WM_MOUSELEAVE:
        SetHot(-1);
        return true;
    case WM_LBUTTONUP: {
        const int row = SelectableRowAt(lParam);
        if (row >= 0) {
            m_owner->SelectItem(row);
            if (m_owner != nullptr)
                Close();
        }
        return true;
    }
    case WM_MOUSEWHEEL:
        for (int steps = m_wheel.AddMessage(wParam); steps != 0 && m_owner != nullptr; steps -= steps > 0 ? 1 : -1)
            m_owner->SelectNext(steps > 0 ? -1 : 1);
        if (m_owner != nullptr)
            ShowRow(m_owner->GetCurSel());
        return true;
    case WM_KEYDOWN:
        return HandleKey(wParam);
    case WM_CHAR:
        if (wParam >= u' ' && wParam <= 0xFFFF && m_owner->SelectByInitial(static_cast<char16_t>(wParam)) &&
            m_owner != nullptr)
            ShowRow(m_owner->GetCurSel());
        return true;
    case WM_SYSKEYDOWN:  // Alt+Up or Alt+Down closes
        if (wParam != VK_UP && wParam != VK_DOWN)
            return false;
        Close();
        return true;
    case WM_KILLFOCUS:
        Close();
        return true;
    case WM_CLOSE:
        Dismiss();
        return true;
    default:
        return false;
    }
}

intptr_t CComboWnd::HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (m_owner != nullptr && HandleOwnerMessage(message, wParam, lParam))
        return 0;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

}  // namespace SkinUI
