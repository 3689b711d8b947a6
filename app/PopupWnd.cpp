#include "app/PopupWnd.h"

#include "app/PopupState.h"
#include "app/WindowShapes.h"
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
    if (ownerManager != nullptr)
        m_manager.ShareSkin(*ownerManager);
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

intptr_t CPopupWnd::HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_CLOSE:
        // The desktop's close of a popup not answered yet cancels it.
        if (!m_answered) {
            m_answered = true;
            ReleaseBlock();
            SendToOwner(CancelAnswer());
        }
        m_drag.End();
        System()->DestroyWindow(GetHWND());
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        // The caption moves the window.
        if (m_drag.OnMessage(message, lParam))
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
