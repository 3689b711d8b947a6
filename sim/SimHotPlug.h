// The device changes a host's udev monitor sees when the simulated mouse is
// unplugged and plugged in again, pushed into a FakeDeviceMonitor: one
// hidraw change per node of the mouse (two, one per HID collection; one
// when both collections share a node), in interface order, with the
// mouse's HID_ID and "/dev/hidrawN" paths.
// The mouse and the monitor must outlive this object.
#pragma once

#include "platform/FakeDeviceMonitor.h"
#include "sim/SimulatedMouse.h"

namespace sim {

class SimHotPlug {
public:
    // The mouse's nodes are /dev/hidraw<firstNode> and the next one.
    SimHotPlug(SimulatedMouse& mouse, platform::FakeDeviceMonitor& monitor, unsigned firstNode = 0);

    // Unplugs or replugs the mouse and reports it.
    void Unplug();
    void Replug();
    // Reports what befell the mouse since the last report, for an unplug
    // that happened on its own (SimulatedMouse::UnplugAt) or a replug made
    // directly on the mouse: removals for a mouse that went away (also when
    // it is back already), then arrivals for a mouse that is there again.
    void Report();

private:
    void PushChanges(platform::DeviceChange::Kind kind);

    SimulatedMouse& mouse_;
    platform::FakeDeviceMonitor& monitor_;
    unsigned firstNode_;
    bool present_;  // as the host last saw it
    unsigned generation_;
};

}  // namespace sim
