// Turns mouse wheel deltas into whole steps: 120 make one step, a rest is
// kept until more of the same direction comes (fine touchpad deltas add
// up), and a turn the other way starts afresh. A delta of 0 never steps.
#pragma once

#include <cstdint>

namespace SkinUI {

class CWheelSteps {
public:
    // Steps for this delta: positive towards the top (the wheel turned away
    // from the user), negative towards the bottom, usually 0 or ±1.
    int Add(int delta);
    // The same for the wParam of a wheel message (the delta in its high word).
    int AddMessage(uintptr_t wParam);

private:
    int m_rest = 0;
};

}  // namespace SkinUI
