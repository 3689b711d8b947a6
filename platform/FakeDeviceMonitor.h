// A device monitor fed by hand: the changes that tests (and the simulated
// mouse's plug events) push come out of Poll in order. Changes pushed while
// not started are dropped, as a real monitor would not see them.
#pragma once

#include "platform/device_monitor.h"

namespace platform {

class FakeDeviceMonitor final : public DeviceMonitor {
public:
    bool Start() override;
    void Stop() override;
    void Poll(std::vector<DeviceChange>& out) override;
    int FileDescriptor() const override { return -1; }

    void Push(DeviceChange change);
    // Makes Start fail, as on a system without a device manager.
    void SetStartFails(bool fails) { startFails_ = fails; }
    bool Started() const { return started_; }

private:
    bool started_ = false;
    bool startFails_ = false;
    std::vector<DeviceChange> queue_;
};

}  // namespace platform
