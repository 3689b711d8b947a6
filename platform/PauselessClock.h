// A clock that reads real time but returns at once from every pause: the
// simulated mouse answers without the waits a real one needs, so start-up
// can be measured without them. Never used with a real mouse.
#pragma once

#include "platform/clock.h"

namespace platform {

class PauselessClock final : public Clock {
public:
    uint64_t NowMicros() override;
    void SleepMs(unsigned ms) override;
};

}  // namespace platform
