// Readable text of a profile record as the program's read leaves it.
#pragma once

#include "device/DeviceProfileRecord.h"

#include <string>

namespace cli {

// In the words of `show`: in-use flag, report rate, power save, ambient
// light, DPI stages, the seven buttons and the macro event counts.
std::string DumpProfile(int number, const device::DeviceProfileRecord& record);
// "Left Click", "Single Key Ctrl+A", "Macro 3 (plays 5 times)", ...
std::string DescribeButton(const device::ButtonEntry& entry);

}  // namespace cli
