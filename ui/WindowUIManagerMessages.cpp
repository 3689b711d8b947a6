// The window manager's side of native messages: the message handler, the
// pre-translation of the message loop, hit testing, focus, hover, timers and
// notifications.
#include "ui/WindowUIManager.h"

#include "platform/clock.h"
#include "ui/ContainerUI.h"
#include "ui/IContainerUI.h"
#include "ui/PaintSupport.h"
#include "ui/ToolTipWnd.h"
#include "ui/WindowWnd.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace SkinUI {
namespace {

using namespace platform;

constexpr unsigned kHoverTimeMs = 1000;

std::vector<CWindowUIManager*>& Managers()
{
    static std::vector<CWindowUIManager*> managers;
    return managers;
}

UIPoint PointOf(intptr_t lParam)
{
    return {LowSigned(lParam), HighSigned(lParam)};
}

// Shown and enabled together with every ancestor.
bool IsUsable(const CControlUI& control)
{
    return control.IsVisibleWithAncestors() && control.IsEnabledWithAncestors();
}

bool Inside(const UIRect& rect, UIPoint point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// The controls of a tree in document order.
void Collect(CControlUI* control, std::vector<CControlUI*>& out)
{
    if (control == nullptr)
        return;
    out.push_back(control);
    if (IContainerUI* container = control->GetContainer()) {
        for (int i = 0; i < container->GetCount(); ++i)
            Collect(container->GetItemAt(i), out);
    }
}

// The deepest control under the point; later children lie above earlier ones.
CControlUI* HitTest(CControlUI* control, UIPoint point)
{
    if (control == nullptr || !control->IsVisible() || !Inside(control->GetItemRect(), point))
        return nullptr;
    if (IContainerUI* container = control->GetContainer()) {
        auto* box = dynamic_cast<CContainerUI*>(control);
        if (box == nullptr || box->IsMouseChildEnabled()) {
            for (int i = container->GetCount() - 1; i >= 0; --i) {
                if (CControlUI* hit = HitTest(container->GetItemAt(i), point))
                    return hit;
            }
        }
    }
    return control->IsMouseEnabled() ? control : nullptr;
}

}  // namespace

CWindowUIManager::CWindowUIManager() = default;

CWindowUIManager::~CWindowUIManager()
{
    auto& managers = Managers();
    managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
    // The tree goes first: its controls report their end to this manager.
    m_ownedRoot.reset();
}

uint64_t CWindowUIManager::Now() const
{
    return platform::SystemClock().NowMicros() / 1000;
}

void CWindowUIManager::Init(WindowSystem* system, WindowId window)
{
    m_system = system;
    m_nativeWindow = window;
    SetHasNativeWindow(system != nullptr && window != WindowId::None);
    m_timers = CControlTimers({[this](unsigned id, unsigned ms) {
                                   return m_system != nullptr && m_system->SetTimer(m_nativeWindow, id, ms);
                               },
                               [this](unsigned id) {
                                   if (m_system != nullptr && m_system->IsWindow(m_nativeWindow))
                                       m_system->KillTimer(m_nativeWindow, id);
                               }});
    auto& managers = Managers();
    if (std::find(managers.begin(), managers.end(), this) == managers.end())
        managers.push_back(this);
}

bool CWindowUIManager::AttachDialog(std::unique_ptr<CControlUI> root)
{
    if (!root)
        return false;
    m_focus = m_hover = m_pressed = nullptr;
    m_ownedRoot = std::move(root);
    SetRoot(m_ownedRoot.get());
    m_firstLayout = true;
    m_needLayout = true;
    if (m_system != nullptr) {
        const Rect rect = m_system->GetWindowRect(m_nativeWindow);
        ApplyRoundCorner(rect.Width(), rect.Height());
    }
    Invalidate();
    return true;
}

void CWindowUIManager::Invalidate()
{
    if (m_system != nullptr && m_nativeWindow != WindowId::None)
        m_system->Invalidate(m_nativeWindow);
}

void CWindowUIManager::NeedUpdate()
{
    m_needLayout = true;
    Invalidate();
}

void CWindowUIManager::SendNotify(CControlUI* control, std::u16string_view type, uintptr_t wParam, intptr_t lParam,
                                  bool async)
{
    NotifyMessage message;
    message.type = std::u16string(type);
    message.sender = control;
    message.wParam = wParam;
    message.lParam = lParam;
    m_notify.Send(std::move(message), async, [control](NotifyMessage& m) {
        if (control != nullptr)
            control->CallNotifyDelegates(m);
    });
    // Queued notifications go out with the window's next message; make sure
    // one comes even when no input does.
    if (async && m_system != nullptr && m_nativeWindow != WindowId::None)
        m_system->PostMessage(m_nativeWindow, WM_NULL, 0, 0);
}

bool CWindowUIManager::SetTimer(CControlUI* control, unsigned id, unsigned intervalMs)
{
    return m_timers.Set(control, id, intervalMs);
}

bool CWindowUIManager::KillTimer(CControlUI* control, unsigned id)
{
    return m_timers.Kill(control, id);
}

void CWindowUIManager::DeliverEvent(CControlUI* control, UIEvent type, uintptr_t wParam, intptr_t lParam, char16_t key)
{
    if (control == nullptr)
        return;
    TEventUI event;
    event.type = type;
    event.sender = control;
    event.timestamp = Now();
    event.mouse = m_notify.MousePoint();
    event.key = key;
    event.wParam = wParam;
    event.lParam = lParam;
    event.keyState = static_cast<unsigned>(wParam & 0xFFFF);
    control->DoEvent(event);
}

void CWindowUIManager::SetFocus(CControlUI* control)
{
    if (control == m_focus)
        return;
    if (CControlUI* old = m_focus) {
        m_focus = nullptr;
        DeliverEvent(old, UIEvent::KillFocus);
        SendNotify(old, u"killfocus");
    }
    if (control != nullptr && control->GetManager() == this && IsUsable(*control)) {
        m_focus = control;
        DeliverEvent(control, UIEvent::SetFocus);
        SendNotify(control, u"setfocus");
    }
}

// A focused control that was hidden or disabled since (itself or a container
// of it) loses the focus instead of getting keys.
bool CWindowUIManager::DeliverKey(UIEvent type, uintptr_t wParam, intptr_t lParam)
{
    if (m_focus != nullptr && !IsUsable(*m_focus))
        SetFocus(nullptr);
    if (m_focus == nullptr)
        return false;
    DeliverEvent(m_focus, type, wParam, lParam, static_cast<char16_t>(wParam));
    return true;
}

// A disabled control (or one in a disabled container) takes no mouse: the
// event goes to the container of the outermost disabled one, as if the
// disabled part were not there.
CControlUI* CWindowUIManager::FindControlAt(UIPoint point) const
{
    CControlUI* target = HitTest(m_root, point);
    for (CControlUI* control = target; control != nullptr; control = control->GetParent()) {
        if (!control->IsEnabled())
            target = control == m_root ? nullptr : control->GetParent();
        if (control == m_root)
            break;
    }
    while (target != nullptr && !target->IsMouseEnabled())
        target = target == m_root ? nullptr : target->GetParent();
    return target;
}

void CWindowUIManager::ForgetInMessages(const CControlUI* control)
{
    m_notify.ForgetSender(control);
    m_timers.Forget(control);
    if (m_focus == control)
        m_focus = nullptr;
    if (m_hover == control)
        m_hover = nullptr;
    if (m_pressed == control)
        m_pressed = nullptr;
    if (m_root == control) {
        m_root = nullptr;
    }
}

// A window with "roundcorner" shows only its rounded rectangle.
void CWindowUIManager::ApplyRoundCorner(int width, int height)
{
    const UISize round = GetRoundCorner();
    if (m_system == nullptr || round.cx <= 0 || round.cy <= 0 || width <= 0 || height <= 0)
        return;
    m_system->SetWindowRegion(m_nativeWindow, RoundRectRegion({0, 0, width, height}, round.cx, round.cy));
}

// ---- painting ------------------------------------------------------------

void CWindowUIManager::PaintWindow()
{
    if (m_system == nullptr || m_root == nullptr)
        return;
    const Rect window = m_system->GetWindowRect(m_nativeWindow);
    const UIRect client{0, 0, window.Width(), window.Height()};
    if (client.right <= 0 || client.bottom <= 0)
        return;
    if (m_needLayout) {
        m_root->SetItemRect(client);
        m_needLayout = false;
    }
    if (m_firstLayout) {
        m_firstLayout = false;
        SendNotify(m_root, u"windowinit");
    }
    const std::unique_ptr<platform::Painter> painter = m_system->CreatePainter(client.right, client.bottom);
    if (!painter)
        return;
    PaintAll(*painter);
    const auto pixels = painter->Pixels();
    m_system->Present(m_nativeWindow, pixels.data(), painter->Width(), painter->Height(),
                      painter->Width() * static_cast<int>(sizeof(uint32_t)));
}

// ---- mouse -----------------------------------------------------------------

void CWindowUIManager::ShowToolTip(UIPoint point)
{
    if (m_system == nullptr)
        return;
    const CControlUI* control = FindControlAt(point);
    while (control != nullptr && control->GetToolTip().empty())
        control = control->GetParent();
    // Not over an open pop-up of ours (it has the focus then), nor while
    // another program is being used.
    if (control == nullptr || m_system->GetFocus() != m_nativeWindow) {
        HideToolTip();
        return;
    }
    if (!m_toolTip)
        m_toolTip = std::make_unique<CToolTipWnd>();
    if (m_toolTip->IsShown() && m_toolTip->GetText() == control->GetToolTip())
        return;
    const Rect window = m_system->GetWindowRect(m_nativeWindow);
    m_toolTip->Show(*m_system, m_nativeWindow, control->GetToolTip(), FontSpecFor(this, -1), window.left + point.x,
                    window.top + point.y);
}

WindowId CWindowUIManager::GetToolTipWindow() const
{
    return m_toolTip && m_toolTip->IsShown() ? m_toolTip->GetWindow() : WindowId::None;
}

void CWindowUIManager::HideToolTip()
{
    if (m_toolTip)
        m_toolTip->Hide();
}

void CWindowUIManager::UpdateHover(UIPoint point, uintptr_t wParam)
{
    if (!m_mouseTracking && m_system != nullptr) {
        m_system->TrackMouse(m_nativeWindow, kHoverTimeMs);
        m_mouseTracking = true;
    }
    CControlUI* now = FindControlAt(point);
    if (now == m_hover)
        return;
    HideToolTip();
    if (m_hover != nullptr)
        DeliverEvent(m_hover, UIEvent::MouseLeave, wParam);
    m_hover = now;
    if (m_hover != nullptr)
        DeliverEvent(m_hover, UIEvent::MouseEnter, wParam);
    // The cursor request of this move came before the move itself.
    if (m_system != nullptr)
        m_system->SetCursor(m_hover != nullptr ? m_hover->GetCursor() : Cursor::Arrow);
}

void CWindowUIManager::DispatchMouse(UIEvent type, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    const UIPoint point = PointOf(lParam);
    m_notify.SetMousePoint(point);
    if (message != WM_MOUSEMOVE)
        HideToolTip();
    switch (message) {
    case WM_MOUSEMOVE:
        UpdateHover(point, wParam);
        // A pressed control keeps getting the moves (it tracks being over it).
        DeliverEvent(m_pressed != nullptr ? m_pressed : m_hover, UIEvent::MouseMove, wParam, lParam);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        CControlUI* control = FindControlAt(point);
        // A press anywhere takes the focus: a control that cannot hold it
        // leaves it with nothing, which ends an edit's session. (A row
        // around such a control may take it while handling the press.)
        SetFocus(control != nullptr && control->IsFocusable() ? control : nullptr);
        if (control == nullptr)
            return;
        m_pressed = control;
        if (m_system != nullptr)
            m_system->SetCapture(m_nativeWindow);
        DeliverEvent(control, type, wParam, lParam);
        return;
    }
    case WM_LBUTTONUP: {
        if (m_system != nullptr)
            m_system->ReleaseCapture();
        CControlUI* control = m_pressed;
        m_pressed = nullptr;
        DeliverEvent(control, UIEvent::ButtonUp, wParam, lParam);
        return;
    }
    default:
        DeliverEvent(FindControlAt(point), type, wParam, lParam);
        return;
    }
}

// ---- the handler -------------------------------------------------------------

bool CWindowUIManager::MessageHandler(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result)
{
    m_notify.DeliverQueued([](CControlUI* control) {
        return [control](NotifyMessage& m) { control->CallNotifyDelegates(m); };
    });
    if (m_notify.Filter(message, wParam, lParam, result))
        return true;
    result = 0;
    switch (message) {
    case WM_PAINT:
        PaintWindow();
        return true;
    case WM_SIZE:
        m_needLayout = true;
        ApplyRoundCorner(LowSigned(lParam), HighSigned(lParam));
        Invalidate();
        return false;
    case WM_MOUSEMOVE:
        DispatchMouse(UIEvent::MouseMove, message, wParam, lParam);
        return true;
    case WM_MOUSEHOVER:
        m_notify.SetMousePoint(PointOf(lParam));
        DeliverEvent(FindControlAt(PointOf(lParam)), UIEvent::MouseHover, wParam, lParam);
        ShowToolTip(PointOf(lParam));
        m_mouseTracking = false;
        return true;
    case WM_MOUSELEAVE:
        m_mouseTracking = false;
        HideToolTip();
        if (m_hover != nullptr)
            DeliverEvent(std::exchange(m_hover, nullptr), UIEvent::MouseLeave, wParam, lParam);
        return true;
    case WM_LBUTTONDOWN:
        DispatchMouse(UIEvent::ButtonDown, message, wParam, lParam);
        return true;
    case WM_LBUTTONDBLCLK:
        DispatchMouse(UIEvent::DoubleClick, message, wParam, lParam);
        return true;
    case WM_LBUTTONUP:
        DispatchMouse(UIEvent::ButtonUp, message, wParam, lParam);
        return true;
    case WM_RBUTTONDOWN:
        DispatchMouse(UIEvent::RightButtonDown, message, wParam, lParam);
        return true;
    case WM_CONTEXTMENU: {
        if (m_system == nullptr)
            return false;
        const Rect window = m_system->GetWindowRect(m_nativeWindow);
        const UIPoint screen = PointOf(lParam);
        const UIPoint client{screen.x - window.left, screen.y - window.top};
        DeliverEvent(FindControlAt(client), UIEvent::ContextMenu, wParam, lParam);
        return true;
    }
    case WM_MOUSEWHEEL: {
        if (m_system == nullptr)
            return false;
        const Rect window = m_system->GetWindowRect(m_nativeWindow);
        const UIPoint screen = PointOf(lParam);
        const UIPoint client{screen.x - window.left, screen.y - window.top};
        DeliverEvent(FindControlAt(client), UIEvent::ScrollWheel, wParam, lParam);
        return true;
    }
    case WM_KEYDOWN:
        return DeliverKey(UIEvent::KeyDown, wParam, lParam);
    case WM_KEYUP:
        return DeliverKey(UIEvent::KeyUp, wParam, lParam);
    case WM_CHAR:
        return DeliverKey(UIEvent::Char, wParam, lParam);
    case WM_IME_COMPOSITION:
        return DeliverKey(UIEvent::Composition, wParam, lParam);
    case WM_SETCURSOR:
        if (m_hover == nullptr || m_system == nullptr)
            return false;  // the arrow
        DeliverEvent(m_hover, UIEvent::SetCursor, wParam, lParam);
        m_system->SetCursor(m_hover->GetCursor());
        result = 1;
        return true;
    case WM_KILLFOCUS:
        HideToolTip();
        SetFocus(nullptr);
        return false;
    case WM_TIMER: {
        unsigned id = 0;
        CControlUI* owner = m_timers.Owner(static_cast<unsigned>(wParam), id);
        DeliverEvent(owner, UIEvent::Timer, id, lParam);
        return owner != nullptr;
    }
    case WM_NCDESTROY: {
        HideToolTip();
        auto& managers = Managers();
        managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
        return false;
    }
    default:
        return false;
    }
}

// ---- the message loop --------------------------------------------------------

bool CWindowUIManager::MoveFocus(bool forward)
{
    std::vector<CControlUI*> controls;
    Collect(m_root, controls);
    std::vector<CControlUI*> focusable;
    for (CControlUI* control : controls) {
        if (control->IsFocusable() && IsUsable(*control))
            focusable.push_back(control);
    }
    if (focusable.empty())
        return false;
    const auto at = std::find(focusable.begin(), focusable.end(), m_focus);
    size_t next = 0;
    if (at != focusable.end()) {
        const size_t index = static_cast<size_t>(at - focusable.begin());
        next = forward ? (index + 1) % focusable.size() : (index + focusable.size() - 1) % focusable.size();
    } else if (!forward) {
        next = focusable.size() - 1;
    }
    SetFocus(focusable[next]);
    return true;
}

bool CWindowUIManager::ActivateShortcut(char16_t character)
{
    const char16_t wanted = static_cast<char16_t>(std::towupper(character));
    std::vector<CControlUI*> controls;
    Collect(m_root, controls);
    for (CControlUI* control : controls) {
        const char16_t shortcut = static_cast<char16_t>(std::towupper(control->GetShortcut()));
        if (shortcut != 0 && shortcut == wanted && IsUsable(*control)) {
            SetFocus(control);
            control->Activate();
            return true;
        }
    }
    return false;
}

bool CWindowUIManager::PreMessageHandler(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result)
{
    if (m_notify.PreFilter(message, wParam, lParam, result))
        return true;
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == static_cast<uintptr_t>(VK_TAB)) {
            const bool back = m_system != nullptr && m_system->IsKeyDown(VK_SHIFT);
            return MoveFocus(!back);
        }
        return false;
    case WM_SYSKEYDOWN:
        DeliverKey(UIEvent::SysKey, wParam, lParam);
        return false;
    case WM_SYSCHAR:
        return ActivateShortcut(static_cast<char16_t>(wParam));
    default:
        return false;
    }
}

int CWindowUIManager::MessageLoop(WindowSystem& system)
{
    Message message;
    while (system.GetMessage(message)) {
        bool consumed = false;
        // A copy: handling may add or remove managers. A window closed by a
        // shortcut keeps its objects until the pre-translation has ended.
        const std::vector<CWindowUIManager*> managers = Managers();
        const CWindowWnd::HandlingGuard guard(message.window);
        for (CWindowUIManager* manager : managers) {
            if (manager->m_system != &system || manager->m_nativeWindow != message.window)
                continue;
            intptr_t result = 0;
            if (manager->PreMessageHandler(message.message, message.wParam, message.lParam, result)) {
                consumed = true;
                break;
            }
        }
        if (!consumed)
            system.DispatchMessage(message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace SkinUI
