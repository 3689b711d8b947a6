// The program's command line:
//   NeritMice [--simulate[=STATE]] [--data-dir DIR] [--headless --screenshot FILE.png [--page PAGE]]
//   NeritMice --version | --help
// Without --simulate, a non-empty VIMO_SIMULATE picks the simulated mouse
// (its value names the state file), as for neritctl.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace NeritApp {

struct StartupOptions {
    enum class Action { Run, Version, Help, Error };

    Action action = Action::Run;
    std::string error;                    // for Action::Error
    std::optional<std::string> simulate;  // "" for a fresh simulated mouse
    std::string dataDir;                  // empty for the usual data folder
    bool headless = false;
    std::string screenshot;
    int page = 0;  // of the screenshot, in tab order

    // The names --page takes, in tab order.
    static constexpr const char* kPageNames[] = {"buttons", "performance", "macros", "support"};

    // arguments without the program name; simulateEnv is VIMO_SIMULATE (null when unset).
    static StartupOptions Parse(const std::vector<std::string>& arguments, const char* simulateEnv);
};

}  // namespace NeritApp
