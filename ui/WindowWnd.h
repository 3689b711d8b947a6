// A native top-level window whose messages go to a virtual handler of the
// object that owns it. The program's main window and its popups derive from
// it and pair it with a CWindowUIManager.
#pragma once

#include "platform/window_system.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace SkinUI {

// Window styles of Create.
namespace WindowStyle {
inline constexpr unsigned kNormal = 0;
inline constexpr unsigned kPopup = 1;    // a pop-up (menus, drop-downs)
inline constexpr unsigned kTooltip = 2;
}  // namespace WindowStyle
namespace WindowExStyle {
inline constexpr unsigned kToolWindow = 1;  // not in the task bar
inline constexpr unsigned kTopmost = 2;
}  // namespace WindowExStyle

class CWindowWnd {
public:
    CWindowWnd() = default;
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // The window system of the process (SDL or headless), set at start-up.
    static void SetWindowSystem(platform::WindowSystem* system);
    static platform::WindowSystem* System();

    platform::WindowId GetHWND() const { return m_window; }

    // Counts as handling a message of the window for as long as it lives, so
    // that a window destroyed meanwhile gets its final message only at the
    // end. For work on a window's behalf outside its handler (the message
    // loop's pre-translation). Does nothing for a window without an object.
    class HandlingGuard {
    public:
        explicit HandlingGuard(platform::WindowId window);
        ~HandlingGuard();
        HandlingGuard(const HandlingGuard&) = delete;
        HandlingGuard& operator=(const HandlingGuard&) = delete;

    private:
        CWindowWnd* m_wnd = nullptr;
    };

    // In slot order: class name, super class name (empty for an ordinary
    // window), class style, message handler, final-message hook (after the
    // native window is gone and every handling of the window's messages has
    // ended; popups free themselves here).
    virtual std::u16string_view GetWindowClassName() const = 0;
    virtual std::u16string_view GetSuperClassName() const { return {}; }
    virtual unsigned GetClassStyle() const { return 0; }
    virtual intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam);
    virtual void OnFinalMessage(platform::WindowId window);

    // Registers the class (an existing class counts as registered) and creates
    // the window; WindowId::None on failure.
    platform::WindowId Create(platform::WindowId parent, std::string_view title, unsigned style, unsigned exStyle,
                              int x, int y, int cx, int cy);
    // Hides, or shows (activating only when it takes the focus).
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Centres over the owner (or the work area) and keeps the window inside
    // the work area; moves without resizing.
    void CenterWindow();
    intptr_t SendMessage(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);
    bool PostMessage(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void Close();

    // Class registry: true when the class exists afterwards.
    static bool RegisterWindowClass(std::u16string_view className, std::u16string_view superClassName);
    static bool IsClassRegistered(std::u16string_view className);

private:
    intptr_t WindowProc(platform::WindowId window, const platform::Message& message);
    void EndHandling();

    platform::WindowSystem* m_system = nullptr;  // the one the window was made with
    platform::WindowId m_window = platform::WindowId::None;
    platform::WindowId m_owner = platform::WindowId::None;
    bool m_destroying = false;
    int m_handlingDepth = 0;  // messages of this window being handled, nested
    bool m_finalPending = false;
    platform::WindowId m_finalWindow = platform::WindowId::None;
};

// Where a window of the given size is placed to be centred over `reference`
// and kept inside `workArea`.
platform::Rect CenteredRect(const platform::Rect& window, const platform::Rect& reference,
                            const platform::Rect& workArea);

}  // namespace SkinUI
