// What both window backends share: the window records and handlers, the
// message queue and its delivery order, focus, capture, mouse tracking, key
// state, timers, and the messages that input turns into. A backend supplies
// the native side (the hooks below) and reports input through the On…
// functions, so the headless backend behaves exactly as the real one.
#pragma once

#include "platform/window_system.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>

namespace platform {

class WindowSystemCore : public WindowSystem {
public:
    WindowId CreateWindow(const WindowOptions& options, MessageHandler handler) override;
    void DestroyWindow(WindowId window) override;
    bool IsWindow(WindowId window) const override;
    void ShowWindow(WindowId window, bool show, bool activate) override;
    bool IsWindowVisible(WindowId window) const override;
    void MinimizeWindow(WindowId window) override;
    bool IsMinimized(WindowId window) const override;
    void MoveWindow(WindowId window, const Rect& rect) override;
    Rect GetWindowRect(WindowId window) const override;
    void SetWindowRegion(WindowId window, std::optional<Region> region) override;
    bool SetWindowOpacity(WindowId window, uint8_t alpha) override;
    void Invalidate(WindowId window) override;
    intptr_t SendMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam) override;
    bool PostMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam) override;
    bool GetMessage(Message& message) override;
    bool PeekMessage(Message& message) override;
    intptr_t DispatchMessage(const Message& message) override;
    void PostQuitMessage(int exitCode) override;
    bool SetTimer(WindowId window, uintptr_t id, unsigned intervalMs) override;
    bool KillTimer(WindowId window, uintptr_t id) override;
    void TrackMouse(WindowId window, unsigned hoverMs) override;
    void SetCapture(WindowId window) override;
    void ReleaseCapture() override;
    WindowId GetCapture() const override { return capture_; }
    void SetFocus(WindowId window) override;
    WindowId GetFocus() const override { return focus_; }
    bool IsKeyDown(int virtualKey) const override { return keysDown_.contains(virtualKey); }
    Composition GetCompositionText() const override { return composition_; }

    // The window's options as created, and its region; null when none.
    const WindowOptions* OptionsOf(WindowId window) const;
    const Region* RegionOf(WindowId window) const;
    // The opacity last asked for (255 when never set); -1 for no window.
    int OpacityOf(WindowId window) const;

protected:
    // Native side. Create may refuse (false); the others act on a window
    // that exists.
    virtual bool NativeCreate(WindowId window, const WindowOptions& options) = 0;
    virtual void NativeDestroy(WindowId window) = 0;
    virtual void NativeShow(WindowId window, bool show, bool activate) = 0;
    virtual void NativeMinimize(WindowId window) = 0;
    virtual void NativeMove(WindowId window, const Rect& rect) = 0;
    // region null: the whole width × height.
    virtual void NativeRegion(WindowId window, const Region* region, int width, int height) = 0;
    // False when the desktop cannot make the window see-through.
    virtual bool NativeOpacity(WindowId window, uint8_t alpha) = 0;
    virtual void NativeCapture(bool on) = 0;
    // A repeating timer that calls OnTimer(serial) every `intervalMs`.
    virtual void StartNativeTimer(uint64_t serial, unsigned intervalMs) = 0;
    virtual void StopNativeTimer(uint64_t serial) = 0;
    // Reports the native events that are waiting; with `wait`, first waits
    // for one. False when no event can ever come.
    virtual bool PumpEvents(bool wait) = 0;
    virtual uint64_t NowMs() const = 0;

    // Input, in client coordinates of the window it happened in.
    void OnMouse(WindowId window, unsigned message, int x, int y, unsigned flags);
    void OnWheel(WindowId window, int x, int y, int delta, unsigned flags);
    void OnMouseLeave(WindowId window);
    // `rightHand`: the right Shift, Ctrl or Alt, or the keypad Enter.
    void OnKey(WindowId window, int virtualKey, bool down, bool rightHand = false);
    // Committed text; a pending composition ends first.
    void OnText(WindowId window, std::u16string_view units);
    // The input method's pending text changed (empty: it ended); the window
    // with the focus gets WM_IME_COMPOSITION.
    void OnComposition(WindowId window, const Composition& composition);
    // Text input stopped: a pending composition is dropped without a message.
    void ClearComposition() { composition_ = {}; }
    void OnTimer(uint64_t serial);
    // The desktop moved, resized, focused or unfocused a window.
    void OnMoved(WindowId window, int x, int y);
    void OnResized(WindowId window, int width, int height);
    void OnDesktopFocus(WindowId window, bool gained);
    // The desktop iconified or restored a window.
    void OnMinimized(WindowId window, bool minimized);
    void Enqueue(const Message& message, uint64_t timerSerial = 0);
    // MK_* flags after a mouse message, from the keys and buttons held.
    unsigned MouseFlagsAfter(unsigned message) const;
    // Backends destroy what is left before they go.
    void DestroyAllWindows();

private:
    struct Window {
        WindowOptions options;
        std::shared_ptr<MessageHandler> handler;
        std::optional<Region> region;
        uint8_t opacity = 255;
        bool visible = false;
        bool minimized = false;
        bool dirty = false;
        bool destroying = false;
    };
    struct Timer {
        WindowId window;
        uintptr_t id;
        bool hover;
        bool waiting;  // its WM_TIMER is queued
    };
    struct Queued {
        Message message;
        uint64_t timerSerial;
    };
    struct Tracking {
        WindowId window = WindowId::None;
        unsigned hoverMs = 0;
        uint64_t hoverSerial = 0;  // 0: hover done or not asked for
    };
    struct LastMove {
        WindowId window = WindowId::None;
        int x = 0;
        int y = 0;
        unsigned flags = 0;
    };

    Window* Find(WindowId window);
    const Window* Find(WindowId window) const;
    intptr_t Call(const Message& message);
    bool PopQueued(Message& message);
    bool NextPaint(Message& message);
    void DropQueued(WindowId window, uint64_t timerSerial);
    uint64_t StartTimer(WindowId window, uintptr_t id, unsigned intervalMs, bool hover);
    void StopTimer(uint64_t serial);
    void RestartHover();
    void EndTracking();
    void PassFocusFrom(WindowId window);
    bool FocusBelongsTo(WindowId window) const;
    void ApplyResize(WindowId window, const Rect& old);
    void TrackButtons(unsigned message);

    std::map<WindowId, Window> windows_;
    uint32_t lastWindowId_ = 0;
    std::map<uint64_t, Timer> timers_;
    std::deque<Queued> queue_;
    std::mutex queueMutex_;
    bool quitPending_ = false;
    int exitCode_ = 0;
    WindowId focus_ = WindowId::None;
    WindowId capture_ = WindowId::None;
    WindowId pointerWindow_ = WindowId::None;
    Tracking tracking_;
    LastMove lastMove_;
    std::set<int> keysDown_;
    Composition composition_;
};

}  // namespace platform
