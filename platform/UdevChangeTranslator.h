// Turns what the udev monitor read of one event into a device change. A
// hidraw node's own event does not carry HID_ID, and on removal its parent
// HID device is already gone, so the HID_ID seen for a device (at its
// arrival, or when the monitor started) is remembered by its sysfs path and
// given to its removal.
#pragma once

#include "platform/device_monitor.h"

#include <map>
#include <optional>
#include <string>

namespace platform {

// The fields of one udev event, empty where udev had none.
struct UdevEvent {
    std::string action;     // "add", "remove", "bind", "change", ...
    std::string subsystem;  // "hidraw" or "hid"
    std::string syspath;
    std::string devnode;
    // The event's own HID_ID property, else that of its parent HID device.
    std::string hidId;
};

class UdevChangeTranslator {
public:
    // A device that is there already (found when the monitor starts).
    void Remember(const std::string& syspath, const std::string& hidId);
    // Arrival for "add", removal for "remove"; nothing for other actions or
    // for an event without a sysfs path.
    std::optional<DeviceChange> Translate(const UdevEvent& event);

private:
    std::map<std::string, std::string> hidIds_;  // by sysfs path
};

}  // namespace platform
