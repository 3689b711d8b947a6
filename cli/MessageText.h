// The words neritctl uses for what went wrong with a file.
#pragma once

#include "platform/file_system.h"
#include "settings/CommandMessages.h"
#include "settings/SettingsFileCheck.h"

#include <string>

namespace cli {

// "missing", "a folder", "no permission", ...
std::string FileErrorText(platform::FileError error);
// "not a profile file (report rate out of range)", "too long", ...
std::string FileProblemText(const settings::FileCheck& check);
using settings::OneLine;
// "PATH: reason", the path with its control characters escaped.
std::string FileText(const std::string& path, const std::string& reason);

}  // namespace cli
