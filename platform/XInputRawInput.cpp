#include "platform/XInputRawInput.h"

#include "platform/EvdevKeyTable.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace platform {
namespace {

constexpr int kFirstKeyCode = 8;

Display* AsDisplay(void* display) {
    return static_cast<Display*>(display);
}

std::optional<RawInputEvent> TranslateButton(int detail, bool down) {
    RawInputEvent event;
    event.kind = RawInputKind::Button;
    event.down = down;
    switch (detail) {
    case 1: event.button = RawButton::Left; return event;
    case 2: event.button = RawButton::Middle; return event;
    case 3: event.button = RawButton::Right; return event;
    case 8: event.button = RawButton::Back; return event;
    case 9: event.button = RawButton::Forward; return event;
    case 4:
    case 5:
        // A notch arrives as a press and a release of one button.
        if (!down)
            return std::nullopt;
        event.kind = RawInputKind::Wheel;
        event.wheelNotches = detail == 4 ? 1 : -1;
        return event;
    default: return std::nullopt;
    }
}

std::optional<RawInputEvent> TranslateKey(int detail, bool down) {
    if (detail < kFirstKeyCode)
        return std::nullopt;
    const uint8_t virtualKey = VirtualKeyForEvdev(unsigned(detail - kFirstKeyCode));
    if (virtualKey == 0)
        return std::nullopt;
    RawInputEvent event;
    event.kind = RawInputKind::Key;
    event.virtualKey = virtualKey;
    event.down = down;
    return event;
}

}  // namespace

std::optional<RawInputEvent> TranslateXiRawEvent(int evtype, int detail) {
    switch (evtype) {
    case XI_RawKeyPress: return TranslateKey(detail, true);
    case XI_RawKeyRelease: return TranslateKey(detail, false);
    case XI_RawButtonPress: return TranslateButton(detail, true);
    case XI_RawButtonRelease: return TranslateButton(detail, false);
    default: return std::nullopt;
    }
}

uint64_t ExtendServerTime(uint32_t serverMs, uint64_t previous) {
    constexpr uint64_t kWrap = uint64_t{1} << 32;
    uint64_t extended = (previous & ~(kWrap - 1)) | serverMs;
    // Half a wrap back counts as the next round.
    if (extended + kWrap / 2 < previous)
        extended += kWrap;
    return extended;
}

XInputRawInput::~XInputRawInput() {
    Stop();
}

bool XInputRawInput::Start() {
    if (display_)
        return true;
    display_ = XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str());
    if (!display_)
        return false;
    if (!SelectRawEvents()) {
        Stop();
        return false;
    }
    return true;
}

bool XInputRawInput::SelectRawEvents() {
    Display* display = AsDisplay(display_);
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode_, &event, &error))
        return false;
    // From 2.1 on raw events arrive while another client holds a grab (a
    // game, an open menu); 2.0 would leave the recording empty then.
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success)
        return false;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask{XIAllMasterDevices, int(sizeof bits), bits};
    if (XISelectEvents(display, DefaultRootWindow(display), &mask, 1) != Success)
        return false;
    XSync(display, False);
    return true;
}

void XInputRawInput::Stop() {
    if (!display_)
        return;
    XCloseDisplay(AsDisplay(display_));
    display_ = nullptr;
}

// Events whose data cannot be fetched are dropped without a word: a
// recording in progress is never interrupted by one bad report.
void XInputRawInput::Poll(std::vector<RawInputEvent>& out) {
    if (!display_)
        return;
    Display* display = AsDisplay(display_);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != opcode_ || !XGetEventData(display, cookie))
            continue;
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        std::optional<RawInputEvent> translated =
            raw ? TranslateXiRawEvent(cookie->evtype, raw->detail) : std::nullopt;
        const uint32_t serverMs = raw ? uint32_t(raw->time) : 0;
        XFreeEventData(display, cookie);
        if (!translated)
            continue;
        // The server's stamp measures the time between two actions exactly,
        // however late the loop polls; without one the poll's time serves.
        if (serverMs != 0) {
            serverMs_ = ExtendServerTime(serverMs, serverMs_);
            translated->timeMicros = serverMs_ * 1000;
        } else {
            translated->timeMicros = clock_.NowMicros();
        }
        out.push_back(*translated);
    }
}

}  // namespace platform
