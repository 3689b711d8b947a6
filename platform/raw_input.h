// Keyboard and mouse input from the whole desktop while a macro is recorded,
// including input that goes to other windows. A source is polled from the
// program's one loop: it never blocks and never calls back from a thread.
//
// Each event is one transition: a key or button going down or up, or one
// wheel notch. Keys carry the Windows virtual-key code of the key table;
// the time stamp is the source clock's steady microseconds at the moment the
// source read the event.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

enum class RawInputKind : uint8_t { Key, Button, Wheel };

enum class RawButton : uint8_t { Left, Right, Middle, Back, Forward };

struct RawInputEvent {
    RawInputKind kind = RawInputKind::Key;
    uint8_t virtualKey = 0;              // Key
    RawButton button = RawButton::Left;  // Button
    bool down = false;                   // Key, Button
    int wheelNotches = 0;                // Wheel: > 0 away from the user, < 0 towards
    uint64_t timeMicros = 0;
};

class RawInput {
public:
    virtual ~RawInput() = default;
    // Begins listening. False when no desktop-wide source is reachable (for
    // example a Wayland session without X): the caller then feeds the
    // window's own key and button events through a QueuedRawInput.
    virtual bool Start() = 0;
    virtual void Stop() = 0;
    // Appends the events read since the last call, in order.
    virtual void Poll(std::vector<RawInputEvent>& out) = 0;
};

}  // namespace platform
