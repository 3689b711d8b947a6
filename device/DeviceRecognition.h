// Whether a device change concerns the mouse, told from the HID_ID property
// of the HID device (bus, vendor and product as the kernel prints them:
// "0003:0000251F:00001014"), never from the device's path.
#pragma once

#include "platform/device_monitor.h"

#include <cstdint>
#include <string_view>

namespace device {

// Reads vendor and product out of a HID_ID value: three fields of 1 to 8
// hex digits (either case) separated by ':', vendor and product at most
// 0xFFFF. False for anything else (empty, missing fields, other characters,
// longer or larger numbers, anything trailing); vendor and product are then
// left as they were.
bool ParseHidId(std::string_view hidId, uint16_t& vendor, uint16_t& product);

// True when the change's HID_ID names the mouse's vendor and product. A
// missing or malformed property means "not the mouse".
bool IsVimoDevice(const platform::DeviceChange& change);

}  // namespace device
