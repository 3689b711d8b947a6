#include "platform/PauselessClock.h"

namespace platform {

uint64_t PauselessClock::NowMicros()
{
    return SystemClock().NowMicros();
}

void PauselessClock::SleepMs(unsigned /*ms*/) {}

}  // namespace platform
