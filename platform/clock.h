// Time and pauses. Every pause of the protocol goes through a Clock so that
// tests can run with virtual time and check the pauses that were asked for.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time in microseconds since an arbitrary start.
    virtual uint64_t NowMicros() = 0;
    virtual void SleepMs(unsigned ms) = 0;
};

// The process's real clock.
Clock& SystemClock();

}  // namespace platform
