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

// Below the combo (screen coordinates) when the height fits under it in the
// work area, else above, else on the larger side with the height cut; moved
// left or right to stay inside the work area where the width allows.
Rect PlaceDropDown(const Rect& combo, int width, int height, const Rect& work)
{
    const int below = work.bottom - combo.bottom;
    const int above = combo.top - work.top;
    int top = combo.bottom;
    if (height > below) {
        if (height <= above || above > below) {
            height = std::min(height, std::max(above, 1));
            top = combo.top - height;
        } else {
            height = std::max(below, 1);
        }
    }
    int left = combo.left;
    if (left + width > work.right)
        left = work.right - width;
    left = std::max(left, std::min(work.left, combo.left));
    return {left, top, left + width, top + height};
}

}  // namespace

int CComboWnd::ContentHeight() const
{
    int height = 0;
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        if (m_owner->GetItemAt(i)->IsVisible())
            height += RowHeight(*m_owner->GetItemAt(i));
    }
    return height;
}

bool CComboWnd::Open()
{
    CWindowUIManager* manager = m_owner->GetManager();
    WindowSystem* system = System();
    if (manager == nullptr || system == nullptr || manager->GetWindow() == WindowId::None)
        return false;
    const Rect parent = system->GetWindowRect(manager->GetWindow());
    const UIRect combo = m_owner->GetItemRect();
    int height = ContentHeight();
    const UISize box = m_owner->GetDropBoxSize();
    if (box.cy > 0)
        height = std::min(height, box.cy);
    const int width = std::max(box.cx > 0 ? box.cx : combo.right - combo.left, 1);
    const Rect place = PlaceDropDown({parent.left + combo.left, parent.top + combo.top, parent.left + combo.right,
                                      parent.top + combo.bottom},
                                     width, std::max(height, 1), system->GetWorkArea(manager->GetWindow()));
    m_hot = -1;
    m_scroll = 0;
    m_scrollBarHeld = false;
    m_list.ApplyAttributeList(m_owner->GetDropBoxAttributes());
    if (Create(manager->GetWindow(), "", WindowStyle::kPopup, WindowExStyle::kToolWindow, place.left, place.top,
               place.Width(), place.Height()) == WindowId::None)
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
    m_contentHeight = ContentHeight();
    const bool scrolls = m_contentHeight > window.Height();
    const int rowWidth = std::max(0, window.Width() - (scrolls ? kScrollBarWidth : 0));
    m_list.SetItemRect({0, 0, window.Width(), window.Height()});
    m_scrollBar.SetVisible(scrolls);
    m_scrollBar.SetItemRect({rowWidth, 0, window.Width(), window.Height()});
    m_scrollBar.SetScrollRange(std::max(0, m_contentHeight - window.Height()));
    m_scrollBar.SetLineSize(kDefaultRowHeight);
    m_scrollBar.SetScrollPos(m_scroll);
    int top = -m_scroll;
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        CControlUI* item = m_owner->GetItemAt(i);
        if (!item->IsVisible())
            continue;
        const int height = RowHeight(*item);
        item->SetItemRect({0, top, rowWidth, top + height});
        top += height;
    }
}

void CComboWnd::ScrollTo(int pos)
{
    const int height = System()->GetWindowRect(GetHWND()).Height();
    pos = std::clamp(pos, 0, std::max(0, m_contentHeight - height));
    if (pos == m_scroll)
        return;
    m_scroll = pos;
    LayoutRows();
    System()->Invalidate(GetHWND());
}

// The bar scrolls itself; the rows follow its position.
bool CComboWnd::HandleScrollBarMouse(unsigned message, intptr_t lParam)
{
    const UIPoint point{LowSigned(lParam), HighSigned(lParam)};
    const UIRect& bar = m_scrollBar.GetItemRect();
    const bool over = m_scrollBar.IsVisible() && point.x >= bar.left && point.x < bar.right && point.y >= bar.top &&
                      point.y < bar.bottom;
    TEventUI event;
    event.mouse = point;
    event.sender = &m_scrollBar;
    if (message == WM_LBUTTONDOWN && over) {
        m_scrollBarHeld = true;
        System()->SetCapture(GetHWND());
        event.type = UIEvent::ButtonDown;
    } else if (message == WM_MOUSEMOVE && m_scrollBarHeld) {
        event.type = UIEvent::MouseMove;
    } else if (message == WM_LBUTTONUP && m_scrollBarHeld) {
        m_scrollBarHeld = false;
        System()->ReleaseCapture();
        event.type = UIEvent::ButtonUp;
    } else {
        return over;  // no row under the bar
    }
    m_scrollBar.DoEvent(event);
    ScrollTo(m_scrollBar.GetScrollPos());
    System()->Invalidate(GetHWND());
    return true;
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
        ScrollTo(scroll);
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
    m_list.DoPaint(*painter, m_list.GetItemRect());
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
        PaintItemText(*painter, *item, i);
    }
    if (m_scrollBar.IsVisible())
        m_scrollBar.DoPaint(*painter, m_scrollBar.GetItemRect());
    const auto pixels = painter->Pixels();
    system->Present(GetHWND(), pixels.data(), painter->Width(), painter->Height(),
                    painter->Width() * static_cast<int>(sizeof(uint32_t)));
}

// A row's text in the colours the combo's item attributes give its state.
void CComboWnd::PaintItemText(Painter& painter, CControlUI& item, int row)
{
    const std::u16string& text = item.GetText();
    if (text.empty())
        return;
    const ListItemInfo& info = m_owner->GetItemInfo();
    CWindowUIManager* manager = m_owner->GetManager();
    uint32_t color = ColorOr(info.textColor, WindowTextColor(manager));
    if (!item.IsEnabled())
        color = ColorOr(info.disabledTextColor, WindowDisabledTextColor(manager));
    else if (row == m_owner->GetCurSel())
        color = ColorOr(info.selectedTextColor, color);
    else if (row == m_hot)
        color = ColorOr(info.hotTextColor, color);
    TextMarkup parsed;
    DrawControlText(painter, manager, {text, info.font, color, info.textStyle, info.showHtml},
                    DeflateRect(item.GetItemRect(), info.textPadding), parsed);
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
        SetHot(HandleScrollBarMouse(message, lParam) ? -1 : SelectableRowAt(lParam));
        return true;
    case WM_LBUTTONDOWN:
        HandleScrollBarMouse(message, lParam);
        return true;
    case WM_MOUSELEAVE:
        SetHot(-1);
        return true;
    case WM_LBUTTONUP: {
        if (HandleScrollBarMouse(message, lParam))
            return true;
        const int row = SelectableRowAt(lParam);
        if (row >= 0) {
            m_owner->SelectItem(row);
            if (m_owner != nullptr)
                Close();
        }
        return true;
    }
    case WM_MOUSEWHEEL:
        // Scrolls the rows; the selection stays.
        ScrollTo(m_scroll - static_cast<int16_t>(wParam >> 16) * kWheelRows * kDefaultRowHeight / WHEEL_DELTA);
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
