#include "app/WindowRecordInput.h"

#include "platform/window_system.h"

namespace app {
namespace {

using platform::RawButton;
using platform::RawInputEvent;
using platform::RawInputKind;

struct ButtonMessage {
    unsigned message;
    RawButton button;
    bool down;
};

constexpr ButtonMessage kButtonMessages[] = {
    {platform::WM_LBUTTONDOWN, RawButton::Left, true},    {platform::WM_LBUTTONUP, RawButton::Left, false},
    {platform::WM_LBUTTONDBLCLK, RawButton::Left, true},  {platform::WM_RBUTTONDOWN, RawButton::Right, true},
    {platform::WM_RBUTTONUP, RawButton::Right, false},    {platform::WM_RBUTTONDBLCLK, RawButton::Right, true},
    {platform::WM_MBUTTONDOWN, RawButton::Middle, true},  {platform::WM_MBUTTONUP, RawButton::Middle, false},
    {platform::WM_MBUTTONDBLCLK, RawButton::Middle, true},
};

int16_t HighWord(uintptr_t value) {
    return int16_t(uint16_t(value >> 16));
}

int16_t LowWord(uintptr_t value) {
    return int16_t(uint16_t(value));
}

RawInputEvent KeyEvent(uintptr_t wParam, bool down) {
    RawInputEvent event;
    event.kind = RawInputKind::Key;
    event.virtualKey = uint8_t(wParam);
    event.down = down;
    return event;
}

// One notch per 120 of delta; a smaller delta (smooth scrolling) still
// counts as one notch in its direction.
std::optional<RawInputEvent> WheelEvent(uintptr_t wParam) {
    const int delta = HighWord(wParam);
    if (delta == 0)
        return std::nullopt;
    int notches = delta / platform::WHEEL_DELTA;
    if (notches == 0)
        notches = delta > 0 ? 1 : -1;
    RawInputEvent event;
    event.kind = RawInputKind::Wheel;
    event.wheelNotches = notches;
    return event;
}

// The back and forward buttons; a release is a release whatever else is held.
std::optional<RawInputEvent> ExtraButtonEvent(unsigned message, uintptr_t wParam) {
    const unsigned which = unsigned(uint16_t(wParam >> 16));
    if (which != platform::XBUTTON1 && which != platform::XBUTTON2)
        return std::nullopt;
    RawInputEvent event;
    event.kind = RawInputKind::Button;
    event.button = which == platform::XBUTTON1 ? RawButton::Back : RawButton::Forward;
    event.down = message == platform::WM_XBUTTONDOWN;
    return event;
}

}  // namespace

std::optional<RawInputEvent> WindowRecordInput::Translate(unsigned message, uintptr_t wParam) {
    switch (message) {
    case platform::WM_KEYDOWN:
    case platform::WM_SYSKEYDOWN: return KeyEvent(wParam, true);
    case platform::WM_KEYUP:
    case platform::WM_SYSKEYUP: return KeyEvent(wParam, false);
    case platform::WM_MOUSEWHEEL: return WheelEvent(wParam);
    case platform::WM_XBUTTONDOWN:
    case platform::WM_XBUTTONUP: return ExtraButtonEvent(message, wParam);
    default: break;
    }
    for (const ButtonMessage& entry : kButtonMessages) {
        if (entry.message == message) {
            RawInputEvent event;
            event.kind = RawInputKind::Button;
            event.button = entry.button;
            event.down = entry.down;
            return event;
        }
    }
    return std::nullopt;
}

PollResult WindowRecordInput::OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    const PollResult before = recorder_.Poll();
    if (before == PollResult::LimitReached)
        return before;
    const std::optional<RawInputEvent> event = Translate(message, wParam);
    if (message == platform::WM_MOUSELEAVE)
        recorder_.PointerLeftWindow();
    else if (message == platform::WM_MOUSEMOVE || (event && event->kind == RawInputKind::Button))
        recorder_.PointerMoved(LowWord(uintptr_t(lParam)), HighWord(uintptr_t(lParam)));
    if (!event)
        return before;
    window_.Push(*event);
    const PollResult after = recorder_.Poll();
    return after == PollResult::Nothing ? before : after;
}

}  // namespace app
