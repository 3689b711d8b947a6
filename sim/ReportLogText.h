// The simulated mouse's report log as text, one line per report, so that a
// process that only reaches the mouse through a library (hidlink) can still
// hand its traffic to a test:
//   "feature-set command 07 7C 01 00 00 00 00 00"
//   "feature-get command 07 00 00 00 00 00 00 00 -> 07 01 07 00 00 00 00 00"
//   "output data 09 ..." / "input data 09 ..."; " failed" ends a failed one.
#pragma once

#include "platform/file_system.h"
#include "sim/SimulatedMouse.h"

#include <string>
#include <vector>

namespace sim {

std::string FormatLoggedReport(const LoggedReport& entry);
// Appends the lines of entries [from, end) to a file (created when missing,
// only a regular file); false when it cannot, files.LastError() tells why.
bool AppendReportLog(platform::FileSystem& files, const std::string& path, const std::vector<LoggedReport>& log,
                     size_t from);

}  // namespace sim
