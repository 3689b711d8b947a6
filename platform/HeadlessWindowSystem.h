// Windows without a display: each window keeps its rectangle, visibility,
// region and last presented frame; input is injected, time is virtual and
// advanced by the caller, message boxes are answered from a script. Used by
// the tests and for rendering offscreen.
//
// GetMessage never blocks: with nothing left to deliver it returns false with
// WM_NULL. Everything runs on the caller's thread; PostMessage may also be
// called from others.
#pragma once

#include "platform/WindowSystemCore.h"

#include <atomic>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace platform {

class HeadlessWindowSystem final : public WindowSystemCore {
public:
    struct Frame {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;  // width × height, rows top to bottom
        uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    };
    struct MessageBoxCall {
        WindowId owner;
        std::string text;
        std::string caption;
        unsigned flags;
        int answer;
    };

    HeadlessWindowSystem() = default;
    ~HeadlessWindowSystem() override;

    Rect GetWorkArea(WindowId window) const override;
    void Present(WindowId window, const uint32_t* pixels, int width, int height, int stride) override;
    std::unique_ptr<Painter> CreatePainter(int width, int height) override;
    void StartTextInput(WindowId window, const Rect& caret) override;
    void StopTextInput() override;
    bool SetClipboardText(const std::string& text) override
    {
        clipboard_ = text;
        return true;
    }
    std::string GetClipboardText() override { return clipboard_; }
    void SetCursor(Cursor cursor) override { cursor_ = cursor; }
    // The next scripted answer; without one, what Escape gives (IDCANCEL, or
    // IDOK for a box with only OK).
    int MessageBox(WindowId owner, const std::string& text, const std::string& caption, unsigned flags) override;

    // ---- what a test drives ----
    // A mouse message at client (x, y) of the window: WM_MOUSEMOVE, a button
    // message, or WM_MOUSELEAVE (the pointer left for the desktop).
    void InjectMouse(WindowId window, unsigned message, int x, int y, unsigned flags = 0);
    void InjectWheel(WindowId window, int x, int y, int delta, unsigned flags = 0);
    // `rightHand`: the right Shift, Ctrl or Alt, or the keypad Enter.
    void InjectKey(WindowId window, int virtualKey, bool down, bool rightHand = false);
    void InjectText(WindowId window, std::u16string_view text);
    // The input method shows `text` (UTF-8) as pending, its cursor after
    // `cursor` characters; empty text ends the composition.
    void InjectComposition(WindowId window, const std::string& text, int cursor)
    {
        OnComposition(window, {text, cursor});
    }
    // Another program took or gave back the focus of a window.
    void InjectDesktopFocus(WindowId window, bool gained) { OnDesktopFocus(window, gained); }
    void InjectMinimized(WindowId window, bool minimized) { OnMinimized(window, minimized); }
    // Moves virtual time on, queueing WM_TIMER (and WM_MOUSEHOVER) for what
    // falls due, in time order.
    void AdvanceTime(unsigned ms);
    uint64_t Now() const { return now_; }
    // Dispatches messages until none is left, or up to a WM_QUIT (which it
    // takes); returns how many it dispatched.
    int RunPending();

    void SetWorkArea(const Rect& area) { workArea_ = area; }
    void QueueMessageBoxAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<MessageBoxCall>& MessageBoxCalls() const { return messageBoxes_; }
    // Null before the first Present.
    const Frame* LastFrame(WindowId window) const;
    Cursor CurrentCursor() const { return cursor_; }
    // None while text input is off.
    WindowId TextInputWindow() const { return textInputWindow_; }
    Rect TextInputCaret() const { return textInputCaret_; }

protected:
    bool NativeCreate(WindowId, const WindowOptions&) override { return true; }
    void NativeDestroy(WindowId window) override;
    void NativeShow(WindowId, bool, bool) override {}
    void NativeMinimize(WindowId) override {}
    void NativeMove(WindowId, const Rect&) override {}
    void NativeRegion(WindowId, const Region*, int, int) override {}
    bool NativeOpacity(WindowId, uint8_t) override { return true; }
    void NativeCapture(bool) override {}
    void StartNativeTimer(uint64_t serial, unsigned intervalMs) override;
    void StopNativeTimer(uint64_t serial) override { timers_.erase(serial); }
    bool PumpEvents(bool) override { return false; }
    uint64_t NowMs() const override { return now_; }

private:
    struct VirtualTimer {
        unsigned interval;
        uint64_t due;
    };

    std::atomic<uint64_t> now_{0};
    std::map<uint64_t, VirtualTimer> timers_;
    Rect workArea_{0, 0, 1920, 1040};
    std::map<WindowId, Frame> frames_;
    std::deque<int> answers_;
    std::vector<MessageBoxCall> messageBoxes_;
    Cursor cursor_ = Cursor::Arrow;
    WindowId textInputWindow_ = WindowId::None;
    Rect textInputCaret_;
    std::string clipboard_;
};

}  // namespace platform
