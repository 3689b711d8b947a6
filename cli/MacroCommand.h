// neritctl macro ...: the working macro list edited from the command line
// with the macro page's rules (settings::MacroEdits). Events are written as
// down:KEY, up:KEY, click:BUTTON, press:BUTTON, release:BUTTON, wheel:up|down
// and wait:SECONDS.
#pragma once

#include "cli/SettingsSession.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli {

struct MacroArguments {
    std::string action;  // list, show, new, rename, delete, add, import, export
    std::string name;
    std::string newName;
    std::vector<std::string> events;
    int profile = 0;  // 1..5: that profile's list; 0: the shown profile's
};

struct MacroOutcome {
    int status = 0;      // 0, 1 failure, 2 usage error
    std::string error;   // one line when status is not 0
    bool changed = false;
};

class MacroCommand {
public:
    // Adds the macro subcommands under `macro`; import and export take FILE.
    static void AddArguments(CLI::App* macro, MacroArguments& arguments, std::string& file);
    // Every action but import and export, which the caller runs.
    static MacroOutcome Run(SettingsSession& settings, const MacroArguments& arguments);

private:
    static MacroOutcome RunAction(SettingsSession& settings, const MacroArguments& arguments, int profile);
};

}  // namespace cli
