#include "ui/WheelSteps.h"

#include "platform/window_system.h"

namespace SkinUI {

int CWheelSteps::Add(int delta)
{
    if (delta == 0)
        return 0;
    if ((m_rest > 0 && delta < 0) || (m_rest < 0 && delta > 0))
        m_rest = 0;
    // Deltas come from a 16-bit word; the rest stays below one step.
    m_rest += delta;
    const int steps = m_rest / platform::WHEEL_DELTA;
    m_rest -= steps * platform::WHEEL_DELTA;
    return steps;
}

int CWheelSteps::AddMessage(uintptr_t wParam) { return Add(static_cast<int16_t>(wParam >> 16)); }

}  // namespace SkinUI
