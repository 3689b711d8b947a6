// neritctl: the command-line front end of the Vimo's configuration.
#include "cli/MouseSession.h"
#include "cli/ProfileDump.h"
#include "cli/SettingsSession.h"
#include "cli/StoreText.h"
#include "cli/TraceWriter.h"
#include "settings/MacroFiles.h"
#include "settings/WorkingMacros.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kExitFailure = 1;

struct Options {
    bool simulateGiven = false;
    std::string simulate;
    bool trace = false;
    std::string dataDir;
    // Arguments of the commands.
    int profile = 0;
    int showProfile = 0;
    bool json = false;
    std::string file;
    std::string led;
};

int Fail(const std::string& message)
{
    std::fprintf(stderr, "neritctl: %s\n", message.c_str());
    return kExitFailure;
}

// ---- commands on the mouse alone ------------------------------------------

int RunInfo(cli::MouseSession& session)
{
    int version = 0;
    if (!session.Commands().GetFirmwareVersion(version))
        return Fail(session.Link().IsOpen() ? "the mouse did not answer the firmware query" : session.OpenFailureText());
    std::printf("firmware:        %s\n", cli::FirmwareText(version).c_str());
    uint8_t current = 0;
    if (!session.Commands().GetCurrentProfile(current))
        return Fail("the mouse did not answer the current-profile query");
    std::printf("current profile: %d\n", current);
    return 0;
}

int RunDump(cli::MouseSession& session)
{
    if (!session.Link().EnsureOpen())
        return Fail(session.OpenFailureText());
    uint8_t current = 0;
    const bool knowCurrent = session.Commands().GetCurrentProfile(current);
    for (uint8_t p = 0; p < device::kProfileCount; ++p) {
        device::DeviceProfileRecord record{};
        if (!session.Transfer().ReadProfileRecord(p, record))
            return Fail("reading profile " + std::to_string(p + 1) + " from the mouse failed");
        std::printf("%s", cli::DumpProfile(p + 1, record).c_str());
    }
    // Reading moves the mouse's current profile; put it back.
    if (knowCurrent && current >= 1 && current <= device::kProfileCount)
        session.Commands().SetCurrentProfile(static_cast<uint8_t>(current - 1));
    return 0;
}

// ---- commands on the settings ---------------------------------------------

struct Context {
    const Options& options;
    cli::MouseSession& mouse;
    cli::SettingsSession& settings;
};

// The outcome of a settings command: its exit status and whether the store
// changed (then it is written back to the all-profiles file).
struct Outcome {
    int status = 0;
    bool changed = false;
};

Outcome Report(Context& c, const settings::CommandResult& result, const std::string& failure, bool changed = true)
{
    if (result.ok)
        return {0, changed};
    const std::string text = result.message != settings::CommandMessage::None
                               ? settings::MessageText(result.message, c.settings.Language())
                               : failure;
    return {Fail(text), changed};
}

std::string NoMouseOr(Context& c, const std::string& text)
{
    return c.mouse.Link().LastProblem() != device::LinkProblem::None ? c.mouse.OpenFailureText() : text;
}

Outcome RunPull(Context& c)
{
    int shown = 0;
    const settings::ProfileSet failed = c.settings.Commands().LoadFromMouse(shown);
    c.settings.SetShownIndex(shown);
    if (failed.Count() == device::kProfileCount)
        return {Fail(NoMouseOr(c, "no profile could be read from the mouse")), false};
    std::printf("read %d of 5 profiles from the mouse\n", device::kProfileCount - failed.Count());
    if (!failed.Empty())
        return {Fail(settings::FailedToLoadText(failed)), true};
    return {0, true};
}

Outcome RunShow(Context& c)
{
    const int index = c.options.showProfile > 0 ? c.options.showProfile - 1 : -1;
    if (c.options.json) {
        const std::string text =
            cli::StoreAsJson(c.settings.Store(), index).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
        std::printf("%s\n", text.c_str());
    } else {
        std::printf("%s", cli::StoreAsText(c.settings.Store(), index).c_str());
    }
    return {0, false};
}

Outcome RunApply(Context& c)
{
    return Report(c, c.settings.Commands().Apply(c.settings.ShownIndex()),
                  NoMouseOr(c, "writing the profiles to the mouse failed"), false);
}

Outcome RunSaveProfile(Context& c)
{
    c.settings.SetShownIndex(c.options.profile - 1);
    return Report(c, c.settings.Commands().SaveProfile(c.options.profile - 1), "");
}

Outcome RunResetProfile(Context& c)
{
    c.settings.SetShownIndex(c.options.profile - 1);
    return Report(c, c.settings.Commands().ResetProfileToDefault(c.options.profile - 1), "");
}

Outcome RunResetAll(Context& c)
{
    int shown = 0;
    const settings::CommandResult result = c.settings.Commands().ResetAll(shown);
    c.settings.SetShownIndex(shown);
    return Report(c, result, NoMouseOr(c, "writing the profiles to the mouse failed"), false);
}

Outcome RunDiscard(Context& c)
{
    const settings::CommandResult result = c.settings.Commands().Discard(c.settings.ShownIndex());
    return Report(c, result, "there are no applied settings to go back to", false);
}

Outcome RunExportProfile(Context& c)
{
    return Report(c, c.settings.Commands().ExportProfile(c.options.profile - 1, c.options.file), "");
}

Outcome RunImportProfile(Context& c)
{
    c.settings.SetShownIndex(c.options.profile - 1);
    return Report(c, c.settings.Commands().ImportProfile(c.options.profile - 1, c.options.file), "");
}

Outcome RunExportMacros(Context& c)
{
    if (!settings::SaveMacrosFile(c.settings.Store(), c.settings.Files(), c.options.file))
        return {Fail("cannot write " + c.options.file), false};
    return {0, false};
}

Outcome RunImportMacros(Context& c)
{
    switch (settings::LoadMacrosFile(c.settings.Store(), c.settings.Files(), c.options.file)) {
    case settings::kMacroFileLoaded:
        // The working list is the shown profile's macro copy.
        settings::StoreWorkingMacros(c.settings.Store(), c.settings.ShownIndex());
        return {0, true};
    case settings::kMacroFileEmpty:
        return {Fail(c.options.file + " is empty"), false};
    default:
        return {Fail("cannot open " + c.options.file), false};
    }
}

Outcome RunLed(Context& c)
{
    return Report(c, c.settings.Commands().SetLeds(c.options.led == "on"), NoMouseOr(c, "switching the LEDs failed"));
}

// ---- running ---------------------------------------------------------------

std::optional<std::string> SimulationChoice(const Options& options)
{
    if (options.simulateGiven)
        return options.simulate == "-" ? std::string() : options.simulate;
    if (const char* env = std::getenv("VIMO_SIMULATE"); env != nullptr && *env != '\0')
        return std::string(env);
    return std::nullopt;
}

template <typename Body>
int WithMouse(const Options& options, Body body)
{
    cli::MouseSession session(SimulationChoice(options));
    std::string error;
    if (!session.Prepare(error))
        return Fail(error);
    cli::TraceWriter trace(stderr);
    if (options.trace)
        session.Link().SetObserver(&trace);
    const int result = body(session);
    session.Link().CloseDevice();
    if (!session.Finish(error))
        return Fail(error);
    return result;
}

int RunMouseCommand(const Options& options, int (*command)(cli::MouseSession&))
{
    return WithMouse(options, command);
}

int RunSettingsCommand(const Options& options, Outcome (*command)(Context&))
{
    return WithMouse(options, [&](cli::MouseSession& mouse) {
        cli::SettingsSession settings(mouse, options.dataDir, SimulationChoice(options).has_value());
        std::string error;
        bool stored = false;
        if (!settings.Open(error, stored))
            return Fail(error);
        if (!stored && command != RunPull)
            std::fprintf(stderr, "neritctl: no stored settings yet, starting from the defaults "
                                 "(neritctl pull loads them from the mouse)\n");
        Context context{options, mouse, settings};
        const Outcome outcome = command(context);
        if (outcome.changed && !settings.SaveStore())
            return Fail("cannot write the settings file " + settings.Folder().Path("profile/AllProfile"));
        return outcome.status;
    });
}

struct SettingsCommand {
    const char* name;
    const char* help;
    Outcome (*run)(Context&);
    enum Arguments { None, Profile, ProfileAndFile, File, Led, Show } arguments;
};

constexpr SettingsCommand kSettingsCommands[] = {
    {"pull", "Load all five profiles from the mouse (what the program does when it connects)", RunPull,
     SettingsCommand::None},
    {"show", "Print the settings", RunShow, SettingsCommand::Show},
    {"apply", "Write all five profiles to the mouse and keep them in the settings files", RunApply,
     SettingsCommand::None},
    {"save-profile", "Write profile N to the mouse and to its profile file", RunSaveProfile, SettingsCommand::Profile},
    {"reset-profile", "Give profile N its defaults, on the mouse too", RunResetProfile, SettingsCommand::Profile},
    {"reset-all", "Give everything its defaults, on the mouse too", RunResetAll, SettingsCommand::None},
    {"discard", "Go back to the settings last applied", RunDiscard, SettingsCommand::None},
    {"export-profile", "Write profile N to FILE (.vqp)", RunExportProfile, SettingsCommand::ProfileAndFile},
    {"import-profile", "Read profile N from FILE (.vqp)", RunImportProfile, SettingsCommand::ProfileAndFile},
    {"export-macros", "Write the macro list to FILE (.vqm)", RunExportMacros, SettingsCommand::File},
    {"import-macros", "Read the macro list from FILE (.vqm)", RunImportMacros, SettingsCommand::File},
    {"led", "Switch the LEDs on or off", RunLed, SettingsCommand::Led},
};

void AddArguments(CLI::App* sub, const SettingsCommand& command, Options& options)
{
    switch (command.arguments) {
    case SettingsCommand::Profile:
    case SettingsCommand::ProfileAndFile:
        sub->add_option("N", options.profile, "Profile number 1..5")->required()->check(CLI::Range(1, 5));
        if (command.arguments == SettingsCommand::ProfileAndFile)
            sub->add_option("FILE", options.file, "Profile file")->required();
        break;
    case SettingsCommand::File:
        sub->add_option("FILE", options.file, "Macro list file")->required();
        break;
    case SettingsCommand::Led:
        sub->add_option("STATE", options.led, "on or off")->required()->check(CLI::IsMember({"on", "off"}));
        break;
    case SettingsCommand::Show:
        sub->add_option("--profile", options.showProfile, "Only profile N")->check(CLI::Range(1, 5));
        sub->add_flag("--json", options.json, "JSON instead of text");
        break;
    case SettingsCommand::None:
        break;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"neritctl - configure the Vimo gaming mouse"};
    app.require_subcommand(1);
    Options options;
    app.add_flag("--simulate{-}", options.simulate,
                 "Use the simulated mouse; --simulate=FILE keeps its state in FILE between runs");
    app.add_flag("--trace", options.trace, "Print every report exchanged with the mouse to standard error");
    app.add_option("--data-dir", options.dataDir, "The program's data folder (settings files)");

    auto* info = app.add_subcommand("info", "Firmware version and the mouse's current profile");
    auto* dump = app.add_subcommand("dump", "Read the five profiles from the mouse and print them as read");
    std::vector<std::pair<CLI::App*, const SettingsCommand*>> settingsCommands;
    for (const SettingsCommand& command : kSettingsCommands) {
        CLI::App* sub = app.add_subcommand(command.name, command.help);
        AddArguments(sub, command, options);
        settingsCommands.emplace_back(sub, &command);
    }
    CLI11_PARSE(app, argc, argv);
    options.simulateGiven = app.count("--simulate") > 0;

    if (info->parsed())
        return RunMouseCommand(options, RunInfo);
    if (dump->parsed())
        return RunMouseCommand(options, RunDump);
    for (const auto& [sub, command] : settingsCommands) {
        if (sub->parsed())
            return RunSettingsCommand(options, command->run);
    }
    return 0;
}
