// Device arrival and removal from libudev: a monitor on the "udev" source
// (events after udev's rules have run, so a new node already has its
// permissions) for the subsystems "hidraw" and "hid". Every "add" and
// "remove" of either subsystem is reported; recognising the mouse is the
// caller's business. The monitor's socket is non-blocking and its
// descriptor can be waited on by the program's loop.
#pragma once

#include "platform/UdevChangeTranslator.h"
#include "platform/device_monitor.h"

struct udev;
struct udev_monitor;

namespace platform {

class UdevDeviceMonitor final : public DeviceMonitor {
public:
    UdevDeviceMonitor() = default;
    ~UdevDeviceMonitor() override;
    UdevDeviceMonitor(const UdevDeviceMonitor&) = delete;
    UdevDeviceMonitor& operator=(const UdevDeviceMonitor&) = delete;

    // False when libudev cannot make a monitor. Started twice: true, and
    // the first monitor stays.
    bool Start() override;
    void Stop() override;
    void Poll(std::vector<DeviceChange>& out) override;
    int FileDescriptor() const override;

private:
    bool OpenMonitor();
    // Learns the HID_ID of the HID devices already there, so that their
    // removal is recognisable too.
    void RememberPresentDevices();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    UdevChangeTranslator translator_;
};

}  // namespace platform
