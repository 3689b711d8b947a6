#include "app/SimulatedPlugMonitor.h"

#include "platform/UserSignals.h"

namespace NeritApp {

SimulatedPlugMonitor::SimulatedPlugMonitor(sim::PersistentMouse& mouse) : mouse_(mouse), hotPlug_(mouse.Mouse(), fake_)
{
    watching_ = platform::UserSignals::Watch();
}

bool SimulatedPlugMonitor::Start()
{
    return watching_ && fake_.Start();
}

// Both signals within one poll: the one that came last decides where the
// mouse ends up, the other happened before it.
void SimulatedPlugMonitor::Poll(std::vector<platform::DeviceChange>& out)
{
    const platform::UserSignals::Counts signals = platform::UserSignals::Take();
    const bool both = signals.first > 0 && signals.second > 0;
    if (signals.first > 0 || signals.second > 0) {
        mouse_.Change([&](sim::SimulatedMouse&) {
            if (both && signals.last == 1)
                hotPlug_.Replug();
            if (signals.first > 0)
                hotPlug_.Unplug();
            if (signals.second > 0 && !(both && signals.last == 1))
                hotPlug_.Replug();
        });
    }
    hotPlug_.Report();
    fake_.Poll(out);
}

}  // namespace NeritApp
