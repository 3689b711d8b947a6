// The words neritctl uses for what went wrong with a file.
#pragma once

#include "platform/file_system.h"
#include "settings/CommandMessages.h"
#include "settings/SettingsFileCheck.h"
#include "sim/SimStateFile.h"

#include <string>

namespace cli {

// "missing", "a folder", "no permission", ...
std::string FileErrorText(platform::FileError error);
// "not a profile file (report rate out of range)", "too long", ...
std::string FileProblemText(const settings::FileCheck& check);
// Why the simulated mouse's state file cannot be used: "state file is too
// short", ... (a file that cannot be read: FileErrorText of its error).
std::string StateFileProblemText(sim::StateFileResult result);
using settings::OneLine;
// "PATH: reason", the path with its control characters escaped.
std::string FileText(const std::string& path, const std::string& reason);

}  // namespace cli
