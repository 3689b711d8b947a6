// The words neritctl uses for what went wrong with a file.
#pragma once

#include "platform/file_system.h"
#include "settings/SettingsFileCheck.h"

#include <string>

namespace cli {

// "missing", "a folder", "no permission", ...
std::string FileErrorText(platform::FileError error);
// "not a profile file (report rate out of range)", "too long", ...
std::string FileProblemText(const settings::FileCheck& check);
// A message-box text on one line: line breaks and the blank padding around
// them become single blanks ("Failed to load profile : 3 5 .").
std::string OneLine(const std::string& text);
// "PATH: reason".
std::string FileText(const std::string& path, const std::string& reason);

}  // namespace cli
