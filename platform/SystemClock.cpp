#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

class SteadyClock final : public Clock {
public:
    uint64_t NowMicros() override
    {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void SleepMs(unsigned ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace

Clock& SystemClock()
{
    static SteadyClock clock;
    return clock;
}

}  // namespace platform
