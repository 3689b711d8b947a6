// Readable text of a profile record as the program's read leaves it.
#pragma once

#include "device/DeviceProfileRecord.h"

#include <string>

namespace cli {

// One line per field: in-use flag, report rate, power save, stage codes,
// the seven buttons and the macro event counts.
std::string DumpProfile(int number, const device::DeviceProfileRecord& record);
// "Left Click", "Key 0x04 + Ctrl", "Macro 3 (plays 5 times)", ...
std::string DescribeButton(const device::ButtonEntry& entry);
// "V1.07" for 107.
std::string FirmwareText(int version);

}  // namespace cli
