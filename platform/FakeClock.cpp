#include "platform/FakeClock.h"

#include <numeric>

namespace platform {

void FakeClock::SleepMs(unsigned ms)
{
    pauses_.push_back(ms);
    nowMicros_ += uint64_t{ms} * 1000;
}

uint64_t FakeClock::TotalPausedMs() const
{
    return std::accumulate(pauses_.begin(), pauses_.end(), uint64_t{0});
}

}  // namespace platform
