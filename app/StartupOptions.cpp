#include "app/StartupOptions.h"

namespace NeritApp {
namespace {

constexpr std::string_view kSimulate = "--simulate";

StartupOptions Failed(std::string error)
{
    StartupOptions options;
    options.action = StartupOptions::Action::Error;
    options.error = std::move(error);
    return options;
}

}  // namespace

StartupOptions StartupOptions::Parse(const std::vector<std::string>& arguments, const char* simulateEnv)
{
    StartupOptions options;
    bool simulateGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--version" || argument == "--help") {
            options.action = argument == "--version" ? Action::Version : Action::Help;
            return options;
        }
        if (argument == kSimulate) {
            simulateGiven = true;
            options.simulate = "";
        } else if (argument.rfind(std::string(kSimulate) + "=", 0) == 0) {
            simulateGiven = true;
            options.simulate = argument.substr(kSimulate.size() + 1);
        } else if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--data-dir" || argument == "--screenshot") {
            if (!hasValue || arguments[i + 1].empty())
                return Failed(argument + " needs a value");
            (argument == "--data-dir" ? options.dataDir : options.screenshot) = arguments[++i];
        } else {
            return Failed("unknown argument: " + argument);
        }
    }
    if (!options.screenshot.empty() && !options.headless)
        return Failed("--screenshot needs --headless");
    if (!simulateGiven && simulateEnv != nullptr && *simulateEnv != '\0')
        options.simulate = std::string(simulateEnv);
    return options;
}

}  // namespace NeritApp
