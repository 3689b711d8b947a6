#include "app/SimulatedPlugMonitor.h"

#include "platform/UserSignals.h"

namespace NeritApp {

bool SimulatedPlugMonitor::Start()
{
    return platform::UserSignals::Watch() && fake_.Start();
}

// Both signals within one poll: pulled, then plugged in again.
void SimulatedPlugMonitor::Poll(std::vector<platform::DeviceChange>& out)
{
    const platform::UserSignals::Counts signals = platform::UserSignals::Take();
    if (signals.first > 0)
        hotPlug_.Unplug();
    if (signals.second > 0)
        hotPlug_.Replug();
    hotPlug_.Report();
    fake_.Poll(out);
}

}  // namespace NeritApp
