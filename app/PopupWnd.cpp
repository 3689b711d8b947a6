#include "app/PopupWnd.h"

#include "app/PopupState.h"
#include "app/WindowShapes.h"
#include "ui/ButtonUI.h"
#include "ui/ControlUI.h"
#include "ui/LayoutBuilder.h"

#include <algorithm>
#include <utility>

namespace NeritApp {

using namespace platform;
using SkinUI::CControlUI;

namespace {

const WindowShape* ShapeOf(unsigned layout)
{
    for (const WindowShape& shape : kWindowShapes) {
        if (shape.layout == layout)
            return &shape;
    }
    return nullptr;
}

// A press there moves the window instead of reaching the control.
bool IsButton(const CControlUI* control)
{
    return dynamic_cast<const SkinUI::CButtonUI*>(control) != nullptr;
}

}  // namespace

CPopupWnd::CPopupWnd(unsigned layout, int kind) : m_layout(layout), m_kind(kind) {}

CPopupWnd::~CPopupWnd()
{
    // Closed without an answer (its owner window went away): it blocks no more.
    ReleaseBlock();
    Unlist();
}

std::vector<CPopupWnd*>& CPopupWnd::Registry()
{
    static std::vector<CPopupWnd*> open;
    return open;
}

bool CPopupWnd::IsListed(const CPopupWnd* popup)
{
    return std::find(Registry().begin(), Registry().end(), popup) != Registry().end();
}

void CPopupWnd::Unlist()
{
    std::erase(Registry(), this);
}

int CPopupWnd::OpenCount()
{
    return static_cast<int>(Registry().size());
}

// Closing one destroys the windows it owns too, and frees their objects: walk
// a copy, newest first (a popup opened over another answers before it), and
// skip whatever went away meanwhile. The window is checked as well, in case a
// freed popup's address was taken by a new one.
void CPopupWnd::CloseAll()
{
    std::vector<std::pair<CPopupWnd*, WindowId>> open;
    for (CPopupWnd* popup : Registry())
        open.emplace_back(popup, popup->GetHWND());
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (IsListed(it->first) && it->first->GetHWND() == it->second)
            it->first->Cancel();
    }
}

void CPopupWnd::Cancel()
{
    Answer(CancelAnswer());
    SendMessage(WM_CLOSE);
}

bool CPopupWnd::Show(CControlUI* owner, SkinUI::UIPoint)
{
    m_owner = owner;
    SkinUI::CWindowUIManager* ownerManager = owner != nullptr ? owner->GetManager() : nullptr;
    const WindowId parent = ownerManager != nullptr ? ownerManager->GetWindow() : WindowId::None;
    if (ownerManager != nullptr) {
        m_manager.SetResourcePath(ownerManager->GetResourcePath());
        m_manager.SetResourceZip(ownerManager->GetResourceZip());
    }
    const WindowShape* shape = ShapeOf(m_layout);
    const int width = shape != nullptr ? shape->width : 0;
    const int height = shape != nullptr ? shape->height : 0;
    if (Create(parent, "", SkinUI::WindowStyle::kNormal, SkinUI::WindowExStyle::kToolWindow, 0, 0, width, height) ==
        WindowId::None)
        return false;
    m_ownsItself = true;
    if (!IsListed(this))
        Registry().push_back(this);
    CenterWindow();  // before showing: no jump from the default place
    ShowWindow(true, true);
    OnShown();
    if (BlocksMainWindow()) {
        m_blocking = GetHWND();
        PopupState::Opened(m_blocking);
    }
    return true;
}

// The manager, its pre-translate filter, the control tree and the notifier.
bool CPopupWnd::OnCreate()
{
    m_manager.Init(System(), GetHWND());
    m_manager.AddPreMessageFilter(this);
    SkinUI::CLayoutBuilder builder;
    if (!m_manager.AttachDialog(builder.Create(m_layout, "xml", nullptr, &m_manager)))
        return false;
    m_manager.AddNotifier(this);
    const Rect rect = System()->GetWindowRect(GetHWND());
    ApplyRegion(rect.Width(), rect.Height());
    return true;
}

// Rounded corners over the whole window.
void CPopupWnd::ApplyRegion(int width, int height)
{
    const WindowShape* shape = ShapeOf(m_layout);
    if (shape == nullptr || shape->roundX <= 0 || shape->roundY <= 0 || width <= 0 || height <= 0)
        return;
    System()->SetWindowRegion(GetHWND(), RoundRectRegion({0, 0, width + 1, height + 1}, shape->roundX, shape->roundY));
}

// The layout's caption rectangle: left, top, distance from the right edge,
// height.
bool CPopupWnd::InCaption(int x, int y) const
{
    const SkinUI::UIRect& caption = m_manager.GetCaptionRect();
    const Rect window = System()->GetWindowRect(GetHWND());
    return x >= caption.left && x < window.Width() - caption.right && y >= caption.top && y < caption.bottom;
}

bool CPopupWnd::OnButtonDown(int x, int y)
{
    if (!InCaption(x, y) || IsButton(m_manager.FindControlAt({x, y})))
        return false;
    m_dragStart = System()->GetWindowRect(GetHWND());
    m_dragX = m_dragStart.left + x;
    m_dragY = m_dragStart.top + y;
    m_dragging = true;
    System()->SetCapture(GetHWND());
    return true;
}

// The window follows the pointer by as much as it moved since the press.
void CPopupWnd::DragTo(int x, int y)
{
    const Rect now = System()->GetWindowRect(GetHWND());
    const int dx = now.left + x - m_dragX;
    const int dy = now.top + y - m_dragY;
    System()->MoveWindow(GetHWND(), {m_dragStart.left + dx, m_dragStart.top + dy, m_dragStart.right + dx,
                                     m_dragStart.bottom + dy});
}

bool CPopupWnd::EndDrag()
{
    if (!m_dragging)
        return false;
    m_dragging = false;
    if (System()->GetCapture() == GetHWND())
        System()->ReleaseCapture();
    return true;
}

intptr_t CPopupWnd::HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_CLOSE:
        EndDrag();
        System()->DestroyWindow(GetHWND());
        return 0;
    case WM_LBUTTONDOWN:
        if (OnButtonDown(LowSigned(lParam), HighSigned(lParam)))
            return 0;
        break;
    case WM_MOUSEMOVE:
        if (m_dragging && System()->GetCapture() == GetHWND()) {
            DragTo(LowSigned(lParam), HighSigned(lParam));
            return 0;
        }
        m_dragging = false;
        break;
    case WM_LBUTTONUP:
        if (EndDrag())
            return 0;
        break;
    case WM_NCDESTROY:
        Unlist();  // gone, even if the object lives on a little
        break;
    default:
        break;
    }
    intptr_t result = 0;
    const bool handled = m_manager.MessageHandler(message, wParam, lParam, result);
    if (message == WM_SIZE)
        ApplyRegion(LowSigned(lParam), HighSigned(lParam));
    return handled ? result : 0;
}

// A window refused while being created goes away before Show returns; the
// object then stays the caller's.
void CPopupWnd::OnFinalMessage(WindowId)
{
    if (m_ownsItself)
        delete this;
}

bool CPopupWnd::MessageFilter(unsigned message, uintptr_t wParam, intptr_t, intptr_t& result)
{
    if (message != WM_KEYDOWN || !OnKeyDown(static_cast<int>(wParam)))
        return false;
    result = 0;
    return true;
}

void CPopupWnd::Notify(SkinUI::NotifyMessage& message)
{
    if (message.type == u"click" && message.sender != nullptr)
        OnClick(*message.sender);
}

void CPopupWnd::ReleaseBlock()
{
    if (m_blocking != WindowId::None)
        PopupState::Closed(m_blocking);
    m_blocking = WindowId::None;
}

void CPopupWnd::SendToOwner(std::u16string_view type)
{
    SkinUI::CWindowUIManager* ownerManager = m_owner != nullptr ? m_owner->GetManager() : nullptr;
    if (ownerManager != nullptr && !type.empty())
        ownerManager->SendNotify(m_owner, type, 0, 0, true);
}

// Once: a second key or click before the window is gone changes nothing.
void CPopupWnd::Answer(std::u16string_view answer)
{
    if (m_answered)
        return;
    m_answered = true;
    ReleaseBlock();
    SendToOwner(answer);
    Close();
}

void CPopupWnd::ShowOnly(std::span<const std::u16string_view> labels, std::u16string_view visible)
{
    for (std::u16string_view name : labels) {
        if (CControlUI* label = m_manager.FindControl(name))
            label->SetVisible(name == visible);
    }
}

bool CPopupWnd::Is(const CControlUI& control, std::u16string_view name) const
{
    return m_manager.FindControl(name) == &control;
}

}  // namespace NeritApp
