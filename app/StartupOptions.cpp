#include "app/StartupOptions.h"

#include <iterator>

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

bool PageOf(const std::string& name, int& page)
{
    for (int k = 0; k < static_cast<int>(std::size(StartupOptions::kPageNames)); ++k) {
        if (name == StartupOptions::kPageNames[k]) {
            page = k;
            return true;
        }
    }
    return false;
}

}  // namespace

StartupOptions StartupOptions::Parse(const std::vector<std::string>& arguments, const char* simulateEnv)
{
    StartupOptions options;
    bool simulateGiven = false;
    bool pageGiven = false;
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
        } else if (argument == "--page") {
            if (!hasValue || !PageOf(arguments[i + 1], options.page))
                return Failed("--page needs one of buttons, performance, macros, support");
            ++i;
            pageGiven = true;
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
    if (pageGiven && options.screenshot.empty())
        return Failed("--page needs --screenshot");
    if (!simulateGiven && simulateEnv != nullptr && *simulateEnv != '\0')
        options.simulate = std::string(simulateEnv);
    return options;
}

}  // namespace NeritApp
