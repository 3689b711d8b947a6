// Device arrival and removal as the system reports it. A monitor is polled
// from the program's one loop (on a timer, or when its file descriptor
// becomes readable): it never blocks and never calls back from a thread.
//
// One interface, the libudev implementation (UdevDeviceMonitor) and a queue
// fed by hand for tests (FakeDeviceMonitor).
#pragma once

#include <string>
#include <vector>

namespace platform {

struct DeviceChange {
    enum class Kind { Arrival, Removal };

    Kind kind = Kind::Arrival;
    // The device node ("/dev/hidraw3") where the device has one, else its
    // sysfs path.
    std::string devicePath;
    // The kernel subsystem of the device: "hidraw" or "hid".
    std::string subsystem;
    // The HID_ID property of the HID device ("0003:0000251F:00001014": bus,
    // vendor, product), empty when it could not be learnt.
    std::string hidId;

    bool operator==(const DeviceChange&) const = default;
};

class DeviceMonitor {
public:
    virtual ~DeviceMonitor() = default;
    // Begins listening. False when no monitor can be made; the program then
    // goes on without hot-plug notices.
    virtual bool Start() = 0;
    // Stops listening; changes not yet polled are dropped.
    virtual void Stop() = 0;
    // Appends the changes read since the last call, in order. Never blocks.
    virtual void Poll(std::vector<DeviceChange>& out) = 0;
    // A descriptor that becomes readable when changes are waiting, for a
    // loop that can wait on it; -1 when there is none (not started, or a
    // monitor that has no descriptor).
    virtual int FileDescriptor() const = 0;
};

}  // namespace platform
