// Desktop-wide keyboard and mouse input from the X server's XInput2 raw
// events, read on a connection of its own so that input reaches us while
// the program's window is in the background. Polled; never blocks.
#pragma once

#include "platform/clock.h"
#include "platform/raw_input.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// One raw XInput2 event (its type and detail: X key code or button number)
// as a transition; nothing for events that are not recorded (horizontal
// wheel, wheel releases, unknown keys, key codes below 8, other types).
std::optional<RawInputEvent> TranslateXiRawEvent(int evtype, int detail);

// The X server stamps events in milliseconds of 32 bits, which wrap after
// 49 days: the stamp `serverMs` extended past the previous extended stamp
// `previous` (0 for none), still in milliseconds.
uint64_t ExtendServerTime(uint32_t serverMs, uint64_t previous);

class XInputRawInput final : public RawInput {
public:
    // `display` empty: the DISPLAY of the environment.
    explicit XInputRawInput(Clock& clock, std::string display = {}) : clock_(clock), displayName_(std::move(display)) {}
    ~XInputRawInput() override;
    XInputRawInput(const XInputRawInput&) = delete;
    XInputRawInput& operator=(const XInputRawInput&) = delete;

    // False when no X server is reachable or it lacks XInput 2.0.
    bool Start() override;
    void Stop() override;
    void Poll(std::vector<RawInputEvent>& out) override;

private:
    bool SelectRawEvents();

    Clock& clock_;
    std::string displayName_;
    void* display_ = nullptr;  // Display*, kept out of this header
    int opcode_ = 0;
    uint64_t serverMs_ = 0;  // the last event's server time, extended
};

}  // namespace platform
