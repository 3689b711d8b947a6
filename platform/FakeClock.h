// A clock with virtual time: SleepMs advances it at once and records the pause.
#pragma once

#include "platform/clock.h"

#include <vector>

namespace platform {

class FakeClock final : public Clock {
public:
    uint64_t NowMicros() override { return nowMicros_; }
    void SleepMs(unsigned ms) override;

    const std::vector<unsigned>& Pauses() const { return pauses_; }
    uint64_t TotalPausedMs() const;
    void ClearPauses() { pauses_.clear(); }

private:
    uint64_t nowMicros_ = 0;
    std::vector<unsigned> pauses_;
};

}  // namespace platform
