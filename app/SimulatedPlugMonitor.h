// The simulated mouse's plug events during a program run: SIGUSR1 unplugs
// it, SIGUSR2 plugs it in again, as a user would pull and plug the real
// mouse; the changes come out as a host's device monitor reports them. An
// unplug the simulated mouse does on its own (in the middle of a transfer)
// is reported too, and so is one another program made through the mouse's
// state file. A pull or plug is kept in the state file at once.
#pragma once

#include "platform/FakeDeviceMonitor.h"
#include "sim/PersistentMouse.h"
#include "sim/SimHotPlug.h"

namespace NeritApp {

class SimulatedPlugMonitor final : public platform::DeviceMonitor {
public:
    // The signals are taken from here on (they would end the program
    // before that).
    explicit SimulatedPlugMonitor(sim::PersistentMouse& mouse);

    bool Start() override;
    void Stop() override { fake_.Stop(); }
    void Poll(std::vector<platform::DeviceChange>& out) override;
    int FileDescriptor() const override { return -1; }

private:
    sim::PersistentMouse& mouse_;
    platform::FakeDeviceMonitor fake_;
    sim::SimHotPlug hotPlug_;
    bool watching_ = false;
};

}  // namespace NeritApp
