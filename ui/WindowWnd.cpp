#include "ui/WindowWnd.h"

#include <map>
#include <set>

namespace SkinUI {
namespace {

using namespace platform;

WindowSystem*& SystemSlot()
{
    static WindowSystem* system = nullptr;
    return system;
}

// The objects of the windows that exist, for handling that starts outside
// their handler.
std::map<WindowId, CWindowWnd*>& Registry()
{
    static std::map<WindowId, CWindowWnd*> windows;
    return windows;
}

std::set<std::u16string, std::less<>>& Classes()
{
    static std::set<std::u16string, std::less<>> classes;
    return classes;
}

// Classes the system itself provides, which a window may superclass.
constexpr std::u16string_view kSystemClasses[] = {u"EDIT", u"Edit", u"BUTTON", u"STATIC", u"LISTBOX", u"COMBOBOX"};

bool SystemClassExists(std::u16string_view name)
{
    for (std::u16string_view system : kSystemClasses) {
        if (system == name)
            return true;
    }
    return false;
}

// Keeps [start, start + size) inside [low, high) when it can.
int KeepInside(int start, int size, int low, int high)
{
    if (start + size > high)
        start = high - size;
    if (start < low)
        start = low;
    return start;
}

}  // namespace

Rect CenteredRect(const Rect& window, const Rect& reference, const Rect& workArea)
{
    const int width = window.Width();
    const int height = window.Height();
    const int x = KeepInside((reference.left + reference.right) / 2 - width / 2, width, workArea.left, workArea.right);
    const int y = KeepInside((reference.top + reference.bottom) / 2 - height / 2, height, workArea.top, workArea.bottom);
    return {x, y, x + width, y + height};
}

CWindowWnd::~CWindowWnd()
{
    if (m_window != WindowId::None)
        Registry().erase(m_window);
    // The derived part is gone: the window's last messages must not reach it.
    m_destroying = true;
    if (m_window != WindowId::None && m_system != nullptr && m_system->IsWindow(m_window))
        m_system->DestroyWindow(m_window);
}

void CWindowWnd::SetWindowSystem(WindowSystem* system)
{
    SystemSlot() = system;
}

WindowSystem* CWindowWnd::System()
{
    return SystemSlot();
}

bool CWindowWnd::RegisterWindowClass(std::u16string_view className, std::u16string_view superClassName)
{
    if (className.empty())
        return false;
    if (!superClassName.empty() && !SystemClassExists(superClassName) && !IsClassRegistered(superClassName))
        return false;
    Classes().emplace(className);  // an existing class counts as success
    return true;
}

bool CWindowWnd::IsClassRegistered(std::u16string_view className)
{
    return Classes().find(className) != Classes().end();
}

intptr_t CWindowWnd::HandleMessage(unsigned, uintptr_t, intptr_t)
{
    return 0;
}

void CWindowWnd::OnFinalMessage(WindowId) {}

intptr_t CWindowWnd::WindowProc(WindowId window, const Message& message)
{
    if (m_destroying) {
        if (message.message == WM_NCDESTROY)
            m_window = WindowId::None;
        return 0;
    }
    ++m_handlingDepth;
    const intptr_t result = HandleMessage(message.message, message.wParam, message.lParam);
    if (message.message == WM_NCDESTROY) {
        Registry().erase(window);
        m_window = WindowId::None;
        m_finalWindow = window;
        m_finalPending = true;
    }
    EndHandling();
    return result;
}

// A window destroyed from inside its own handling (a notification handler
// that closes it) gets its final message once that handling has ended:
// OnFinalMessage may free the object the outer handlers still run in.
void CWindowWnd::EndHandling()
{
    if (--m_handlingDepth == 0 && m_finalPending) {
        m_finalPending = false;
        OnFinalMessage(m_finalWindow);
    }
}

CWindowWnd::HandlingGuard::HandlingGuard(WindowId window)
{
    const auto found = Registry().find(window);
    if (found != Registry().end()) {
        m_wnd = found->second;
        ++m_wnd->m_handlingDepth;
    }
}

CWindowWnd::HandlingGuard::~HandlingGuard()
{
    if (m_wnd != nullptr)
        m_wnd->EndHandling();
}

WindowId CWindowWnd::Create(WindowId parent, std::string_view title, unsigned style, unsigned exStyle, int x, int y,
                            int cx, int cy)
{
    WindowSystem* system = System();
    if (system == nullptr || !RegisterWindowClass(GetWindowClassName(), GetSuperClassName()))
        return WindowId::None;
    WindowOptions options;
    options.title = std::string(title);
    options.rect = {x, y, x + cx, y + cy};
    options.owner = parent;
    options.kind = style == WindowStyle::kPopup     ? WindowKind::Popup
                 : style == WindowStyle::kTooltip ? WindowKind::Tooltip
                                                  : WindowKind::Normal;
    options.toolWindow = (exStyle & WindowExStyle::kToolWindow) != 0;
    options.topmost = (exStyle & WindowExStyle::kTopmost) != 0;
    m_owner = parent;
    m_system = system;
    // The handle is known before WM_CREATE reaches the handler.
    m_window = system->CreateWindow(options, [this](const Message& message) {
        if (m_window == WindowId::None && message.message != WM_NCDESTROY) {
            m_window = message.window;
            Registry()[m_window] = this;
        }
        return WindowProc(message.window, message);
    });
    if (m_window == WindowId::None)  // refused after WM_CREATE
        std::erase_if(Registry(), [this](const auto& entry) { return entry.second == this; });
    return m_window;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (m_system != nullptr && m_window != WindowId::None)
        m_system->ShowWindow(m_window, show, show && takeFocus);
}

void CWindowWnd::CenterWindow()
{
    WindowSystem* system = m_system;
    if (system == nullptr || m_window == WindowId::None)
        return;
    const Rect window = system->GetWindowRect(m_window);
    const Rect workArea = system->GetWorkArea(m_window);
    const bool hasOwner = m_owner != WindowId::None && system->IsWindow(m_owner);
    const Rect reference = hasOwner ? system->GetWindowRect(m_owner) : workArea;
    system->MoveWindow(m_window, CenteredRect(window, reference, workArea));
}

intptr_t CWindowWnd::SendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    return m_system != nullptr ? m_system->SendMessage(m_window, message, wParam, lParam) : 0;
}

bool CWindowWnd::PostMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    return m_system != nullptr && m_system->PostMessage(m_window, message, wParam, lParam);
}

void CWindowWnd::Close()
{
    PostMessage(WM_CLOSE);
}

}  // namespace SkinUI
