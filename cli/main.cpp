// neritctl: the command-line front end of the Vimo's configuration.
#include "cli/ArgumentWords.h"
#include "cli/HelpExport.h"
#include "cli/JsonLoad.h"
#include "cli/MacroCommand.h"
#include "cli/ButtonCommand.h"
#include "cli/MessageText.h"
#include "cli/MouseSession.h"
#include "cli/ProfileDump.h"
#include "cli/SetCommand.h"
#include "cli/SettingsSession.h"
#include "cli/StoreText.h"
#include "cli/TerminalText.h"
#include "cli/TraceWriter.h"
#include "cli/Vocabulary.h"
#include "settings/MacroFiles.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct Options {
    std::string simulate;
    bool simulateGiven = false;
    bool trace = false;
    std::string dataDir;
    // Arguments of the commands.
    int profile = 0;
    int showProfile = 0;
    bool json = false;
    std::string file;
    std::vector<uint8_t> input;  // standard input, for FILE "-"
    std::string led;
    cli::MacroArguments macro;
    bool applyNow = false;  // --apply: the change is applied at once
    cli::SetCommand set;
    cli::ButtonCommand button;
};

// The FILE that stands for standard input.
constexpr std::string_view kStandardInput = "-";

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
        return Fail(session.Link().IsOpen() ? "the mouse did not answer the firmware query" : session.ProblemText());
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
        return Fail(session.ProblemText());
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

// What a settings command did to the store: nothing, a change not applied
// yet (kept as pending changes), or an apply (the pending changes are gone).
enum class StoreChange { None, Pending, Applied };

struct Outcome {
    int status = 0;
    StoreChange change = StoreChange::None;
};

std::string FailedChangeText(const cli::FailedChange& failed)
{
    return std::string("cannot ") + failed.action + " " + cli::FileText(failed.path, cli::FileErrorText(failed.error));
}

Outcome Report(Context& c, const settings::CommandResult& result, const std::string& failure, StoreChange change)
{
    if (result.ok)
        return {0, change};
    std::string text = result.message != settings::CommandMessage::None
                         ? cli::OneLine(settings::MessageText(result.message, c.settings.Language()))
                         : failure;
    // One line: the program's message, why the mouse failed, then each file
    // that failed and why.
    const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "; ") + part; };
    if (result.message != settings::CommandMessage::None && c.mouse.Link().LastProblem() != device::LinkProblem::None)
        add(c.mouse.ProblemText());
    const std::vector<cli::FailedChange> failures = c.settings.Files().TakeFailures();
    for (const cli::FailedChange& failed : failures)
        add(FailedChangeText(failed));
    for (const std::string& file : result.failedFiles) {
        const auto seen = [&file](const cli::FailedChange& failed) { return failed.path == file; };
        if (std::none_of(failures.begin(), failures.end(), seen))
            add("cannot write " + cli::EscapeControls(file));
    }
    return {Fail(text.empty() ? "failed" : text), change == StoreChange::Applied ? change : StoreChange::None};
}

std::string NoMouseOr(Context& c, const std::string& text)
{
    return c.mouse.Link().LastProblem() != device::LinkProblem::None ? c.mouse.ProblemText() : text;
}

// A file to read: FILE itself when it has an extension, else FILE plus the
// extension, as the exports write it (FILE alone when only that exists).
std::string FileToRead(Context& c, std::string_view extension)
{
    const std::string& file = c.options.file;
    const std::string extended = settings::WithExtension(file, extension);
    if (extended == file || c.settings.Files().Exists(extended) || !c.settings.Files().Exists(file))
        return extended;
    return file;
}

Outcome RunPull(Context& c)
{
    int shown = 0;
    settings::ProfileSet changed;
    const settings::ProfileSet failed = c.settings.Commands().LoadFromMouse(shown, &changed);
    c.settings.ShowProfile(shown);
    if (failed.Count() == device::kProfileCount)
        return {Fail(NoMouseOr(c, "no profile could be read from the mouse")), StoreChange::None};
    std::printf("read %d of 5 profiles from the mouse\n", device::kProfileCount - failed.Count());
    if (!changed.Empty())
        std::printf("%s\n", settings::ChangedOnMouseText(changed, 0).c_str());
    if (!failed.Empty())
        return {Fail(cli::OneLine(settings::FailedToLoadText(failed))), StoreChange::Pending};
    return {0, StoreChange::Pending};
}

constexpr const char* kPendingNote =
    "pending changes not applied yet (neritctl apply writes them to the mouse, neritctl discard drops them)";

Outcome RunShow(Context& c)
{
    const int index = c.options.showProfile > 0 ? c.options.showProfile - 1 : -1;
    if (c.options.json) {
        nlohmann::json json = cli::StoreAsJson(c.settings.Store(), index);
        json["pendingChanges"] = c.settings.HasPending();
        const std::string text = json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
        std::printf("%s\n", cli::EscapeJsonControls(text).c_str());
        return {};
    }
    if (c.settings.HasPending())
        std::printf("%s\n", kPendingNote);
    std::printf("%s", cli::StoreAsText(c.settings.Store(), index).c_str());
    return {};
}

// "writing profiles 2 4 to the mouse failed", or why the mouse was not reached.
std::string WriteFailureText(Context& c, const settings::CommandResult& result)
{
    if (result.failedProfiles.Empty())
        return "";
    std::string numbers;
    for (const int number : result.failedProfiles.Numbers())
        numbers += " " + std::to_string(number);
    const bool one = result.failedProfiles.Count() == 1;
    return NoMouseOr(c, std::string("writing profile") + (one ? "" : "s") + numbers + " to the mouse failed");
}

// Apply and reset-all write the settings files whatever the mouse did; when
// the mouse cannot be opened they are not run at all, so that nothing is
// written and the pending changes stay.
bool MouseReachable(Context& c)
{
    const bool open = c.mouse.Link().OpenDevice();
    c.mouse.Link().CloseDevice();
    return open;
}

Outcome RunApply(Context& c)
{
    if (!MouseReachable(c))
        return {Fail(c.mouse.ProblemText()), StoreChange::None};
    c.settings.ShowProfile(c.settings.ShownIndex());
    const settings::CommandResult result = c.settings.Commands().Apply(c.settings.ShownIndex());
    // A refused apply (no profile in use) wrote nothing.
    const bool refused = result.message == settings::CommandMessage::NoActiveProfile;
    return Report(c, result, WriteFailureText(c, result), refused ? StoreChange::None : StoreChange::Applied);
}

Outcome RunSaveProfile(Context& c)
{
    c.settings.ShowProfile(c.options.profile - 1);
    return Report(c, c.settings.Commands().SaveProfile(c.options.profile - 1), "", StoreChange::Pending);
}

Outcome RunResetProfile(Context& c)
{
    c.settings.ShowProfile(c.options.profile - 1);
    return Report(c, c.settings.Commands().ResetProfileToDefault(c.options.profile - 1), "", StoreChange::Pending);
}

Outcome RunResetAll(Context& c)
{
    if (!MouseReachable(c))
        return {Fail(c.mouse.ProblemText()), StoreChange::None};
    int shown = 0;
    const settings::CommandResult result = c.settings.Commands().ResetAll(shown);
    c.settings.ShowProfile(shown);
    return Report(c, result, WriteFailureText(c, result), StoreChange::Applied);
}

Outcome RunDiscard(Context& c)
{
    if (!c.settings.HasPending()) {
        std::printf("no pending changes\n");
        return {};
    }
    if (!c.settings.DropPending())
        return {kExitFailure, StoreChange::None};  // the failed removal is reported with the file's name
    if (c.settings.Files().Exists(settings::AllProfilesPath(c.settings.Folder())))
        std::printf("pending changes discarded; back to the settings last applied\n");
    else
        std::printf("pending changes discarded; no settings were applied yet, so the next command starts from the "
                    "defaults (neritctl pull loads the mouse's)\n");
    return {};
}

Outcome RunExportProfile(Context& c)
{
    return Report(c, c.settings.Commands().ExportProfile(c.options.profile - 1, c.options.file), "",
                  StoreChange::Pending);
}

Outcome RunImportProfile(Context& c)
{
    const std::string path = FileToRead(c, settings::kProfileExtension);
    const int index = c.options.profile - 1;
    settings::FileCheck check;
    const int result = settings::LoadProfileFile(c.settings.Store(), c.settings.Files(), path, index, &check);
    if (result == settings::kProfileFileLoaded) {
        c.settings.ShowProfile(index);
        return {0, StoreChange::Pending};
    }
    std::string reason = cli::FileProblemText(check);
    if (result == settings::kProfileFileCannotOpen)
        reason = cli::FileErrorText(c.settings.Files().LastError());
    else if (result == settings::kProfileFileEmpty)
        reason = "empty";
    return {Fail(settings::MessageText(settings::CommandMessage::LoadProfileError, c.settings.Language()) + " "
                 + cli::FileText(path, reason)),
            StoreChange::None};
}

Outcome RunExportMacros(Context& c)
{
    const std::string path = settings::WithExtension(c.options.file, settings::kMacroExtension);
    if (!settings::SaveMacrosFile(c.settings.Store(), c.settings.Files(), path))
        return {kExitFailure, StoreChange::None};  // reported with the file's name and the reason
    return {};
}

Outcome RunImportMacros(Context& c)
{
    const std::string path = FileToRead(c, settings::kMacroExtension);
    settings::SettingsStore& store = c.settings.Store();
    settings::FileCheck check;
    switch (settings::LoadMacrosFile(store, c.settings.Files(), path, &check)) {
    case settings::kMacroFileLoaded:
        break;
    case settings::kMacroFileEmpty:
        return {Fail(cli::FileText(path, "empty")), StoreChange::None};
    case settings::kMacroFileInvalid:
        return {Fail(cli::FileText(path, cli::FileProblemText(check))), StoreChange::None};
    default:
        return {Fail(cli::FileText(path, cli::FileErrorText(c.settings.Files().LastError()))), StoreChange::None};
    }
    // A profile keeps ten macros; the working list is the shown profile's
    // macro copy; an import from elsewhere also becomes the default macro
    // file, as in the program.
    const int count = settings::UsedMacroCount(store.WorkingMacroCount());
    if (const int dropped = settings::KeepProfileMacros(store); dropped > 0)
        std::printf("%s\n", cli::FileText(path, "kept the first " + std::to_string(count - dropped) + " of " +
                                                  std::to_string(count) + " macros (a profile keeps at most " +
                                                  std::to_string(settings::kProfileCopySlots) + ")")
                                .c_str());
    settings::StoreWorkingMacros(store, c.settings.ShownIndex());
    const std::string defaultPath = settings::MacrosFilePath(c.settings.Folder(), "");
    if (path != defaultPath)
        settings::SaveMacrosFile(store, c.settings.Files(), defaultPath);
    return {0, StoreChange::Pending};
}

// With --apply, a change that was made is applied at once.
Outcome ApplyIfAsked(Context& c, Outcome outcome)
{
    if (!c.options.applyNow || outcome.status != 0 || outcome.change != StoreChange::Pending)
        return outcome;
    return RunApply(c);
}

Outcome RunMacro(Context& c)
{
    const int profile = c.options.macro.profile;
    if ((c.options.macro.action == "import" || c.options.macro.action == "export") && profile != 0
        && profile != c.settings.ShownIndex() + 1) {
        std::fprintf(stderr, "neritctl: macro %s works on the shown profile's list; --profile %d is not shown\n",
                     c.options.macro.action.c_str(), profile);
        return {2, StoreChange::None};
    }
    if (c.options.macro.action == "import")
        return ApplyIfAsked(c, RunImportMacros(c));
    if (c.options.macro.action == "export")
        return RunExportMacros(c);
    const cli::MacroOutcome outcome = cli::MacroCommand::Run(c.settings, c.options.macro);
    if (outcome.status != 0)
        std::fprintf(stderr, "neritctl: %s\n", outcome.error.c_str());
    return ApplyIfAsked(c, {outcome.status, outcome.changed ? StoreChange::Pending : StoreChange::None});
}

Outcome RunLoadJson(Context& c)
{
    std::string error;
    const bool loaded = c.options.file == kStandardInput
                          ? cli::JsonLoad::LoadBytes(c.settings, "standard input", c.options.input, error)
                          : cli::JsonLoad::LoadFile(c.settings, c.options.file, error);
    if (!loaded)
        return {Fail(error), StoreChange::None};
    return ApplyIfAsked(c, {0, StoreChange::Pending});
}

Outcome RunLed(Context& c)
{
    // Why the mouse failed is known only once the command has run.
    const settings::CommandResult result = c.settings.Commands().SetLeds(c.options.led == "on");
    return Report(c, result, NoMouseOr(c, "switching the LEDs failed"), StoreChange::Pending);
}

// A change stays pending unless applied at once; an apply that wrote nothing
// keeps it pending.
Outcome Changed(Context& c, bool applyNow)
{
    if (!applyNow)
        return {0, StoreChange::Pending};
    Outcome outcome = RunApply(c);
    if (outcome.change == StoreChange::None)
        outcome.change = StoreChange::Pending;
    return outcome;
}

Outcome RunSet(Context& c)
{
    const int index = c.options.set.ProfileIndex(c.settings.ShownIndex());
    for (const std::string& note : c.options.set.ChangeIn(c.settings.Store().Profile(static_cast<size_t>(index))))
        std::printf("%s\n", note.c_str());
    return Changed(c, c.options.set.ApplyNow());
}

Outcome RunButton(Context& c)
{
    const cli::ButtonCommand& command = c.options.button;
    const int index = command.ProfileIndex(c.settings.ShownIndex());
    switch (command.AssignIn(c.settings.Store(), index, c.settings.ShownIndex())) {
    case cli::ButtonCommand::Refusal::LeftClickNeeded:
        return {Fail(cli::OneLine(settings::MessageText(settings::CommandMessage::LeftClickNeeded,
                                                        c.settings.Language()))),
                StoreChange::None};
    case cli::ButtonCommand::Refusal::NoSuchMacro:
        return {Fail("profile " + std::to_string(index + 1) + " has no macro named \""
                     + cli::EscapeControls(command.MacroName()) + "\" among its first ten"),
                StoreChange::None};
    case cli::ButtonCommand::Refusal::None:
        break;
    }
    return Changed(c, command.ApplyNow());
}

// ---- running ---------------------------------------------------------------

std::optional<std::string> SimulationChoice(const Options& options)
{
    if (options.simulateGiven)
        return options.simulate;
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
    int result = body(session);
    // What the command sent in a sequence it left open is kept on closing.
    if (!session.Link().CloseDevice())
        result = Fail(session.ProblemText());
    if (!session.Finish(error))
        return Fail(error);
    return result;
}

int RunMouseCommand(const Options& options, int (*command)(cli::MouseSession&))
{
    return WithMouse(options, command);
}

// Keeps the store as the command left it: pending changes; an apply ends
// them itself once the mouse took every profile and its files were written.
void KeepStore(cli::SettingsSession& settings, StoreChange change)
{
    if (change == StoreChange::Pending || (change == StoreChange::Applied && settings.Files().AnyFailed()))
        settings.SavePending();
}

// Every file that could not be written is named with the reason.
int ReportFailedWrites(cli::SettingsSession& settings, int status)
{
    for (const cli::FailedChange& failure : settings.Files().TakeFailures())
        status = Fail(FailedChangeText(failure));
    return status;
}

int RunSettingsCommand(const Options& options, Outcome (*command)(Context&), bool changes)
{
    return WithMouse(options, [&](cli::MouseSession& mouse) {
        cli::SettingsSession settings(mouse, options.dataDir, SimulationChoice(options).has_value());
        std::string error;
        if (!settings.Open(changes, error))
            return Fail(error);
        for (const std::string& note : settings.Notes())
            std::fprintf(stderr, "neritctl: %s\n", note.c_str());
        if (!settings.HadStoredSettings() && command != RunPull)
            std::fprintf(stderr, "neritctl: no stored settings yet, starting from the defaults "
                                 "(neritctl pull loads them from the mouse)\n");
        Context context{options, mouse, settings};
        const Outcome outcome = command(context);
        KeepStore(settings, outcome.change);
        return ReportFailedWrites(settings, outcome.status);
    });
}

struct SettingsCommand {
    const char* name;
    const char* help;
    Outcome (*run)(Context&);
    enum Arguments { None, Profile, ProfileAndFile, File, Led, Show, Macro, JsonFile, Set, Button } arguments;
    bool changes;  // changes the data folder (holds its lock)
    const char* example = nullptr;  // when the footer has none
};

constexpr SettingsCommand kSettingsCommands[] = {
    {"pull",
     "Load all five profiles from the mouse (what the program does when it connects); they become pending "
     "changes. Reading profiles moves the mouse's current profile: profile 1 is current afterwards",
     RunPull, SettingsCommand::None, true, "neritctl pull; neritctl show"},
    {"show", "Print the settings (the pending changes when there are any)", RunShow, SettingsCommand::Show, false,
     "neritctl show --profile 2 --json"},
    {"apply",
     "Write all five profiles to the mouse and keep them as the settings last applied (profile/AllProfile, "
     "profile/Macros); the shown profile becomes the mouse's current profile. Its pointer settings (wheel lines, "
     "double-click time, pointer speed) are written to the desktop's GSettings, where they stay: they are not "
     "undone when neritctl ends or the session closes",
     RunApply, SettingsCommand::None, true, "neritctl set report-rate 1000; neritctl apply"},
    {"save-profile",
     "Write profile N to the mouse and to profile/profileN.vqp; N becomes the mouse's current profile and the "
     "shown profile. Its pointer settings go to the desktop's GSettings, where they stay (as for apply)",
     RunSaveProfile, SettingsCommand::Profile, true, "neritctl save-profile 2"},
    {"reset-profile",
     "Give profile N its defaults, on the mouse too; N becomes the mouse's current profile. Its default pointer "
     "settings go to the desktop's GSettings, where they stay (as for apply)",
     RunResetProfile, SettingsCommand::Profile, true, "neritctl reset-profile 3"},
    {"reset-all",
     "Give everything its defaults, on the mouse too; profile 1 becomes the mouse's current profile. Its default "
     "pointer settings go to the desktop's GSettings, where they stay (as for apply)",
     RunResetAll, SettingsCommand::None, true, "neritctl reset-all"},
    {"discard",
     "Drop the pending changes: back to the settings last applied, with the shown profile's macros as the macro "
     "list. The mouse is not touched (its LEDs stay as they are)",
     RunDiscard, SettingsCommand::None, true, "neritctl discard"},
    {"export-profile", "Write profile N to FILE (\".vqp\" is added when FILE has no extension); N takes its name",
     RunExportProfile, SettingsCommand::ProfileAndFile, true,
     "neritctl export-profile 2 game (writes game.vqp)"},
    {"import-profile", "Read profile N from FILE (FILE.vqp when FILE has no extension); N becomes the shown profile",
     RunImportProfile, SettingsCommand::ProfileAndFile, true,
     "neritctl import-profile 2 game.vqp; neritctl apply"},
    {"export-macros", "Write the macro list to FILE (\".vqm\" is added when FILE has no extension)", RunExportMacros,
     SettingsCommand::File, true, "neritctl export-macros mine (writes mine.vqm)"},
    {"import-macros",
     "Read the macro list from FILE (FILE.vqm when FILE has no extension); it also becomes profile/Macros",
     RunImportMacros, SettingsCommand::File, true, "neritctl import-macros mine.vqm"},
    {"led", "Switch the LEDs on or off", RunLed, SettingsCommand::Led, true, "neritctl led off"},
    {"macro", "Edit the macro list: list, show, new, rename, delete, add, import, export", RunMacro,
     SettingsCommand::Macro, true},
    {"load-json",
     "Read settings from FILE as show --json prints them (any part of it; profiles by their \"profile\" number) "
     "as pending changes; nothing changes when any value is refused",
     RunLoadJson, SettingsCommand::JsonFile, true},
    {"set", cli::SetCommand::kHelp, RunSet, SettingsCommand::Set, true},
    {"button", cli::ButtonCommand::kHelp, RunButton, SettingsCommand::Button, true},
};

constexpr const char* kJsonKeys =
    "JSON keys:\n"
    "  currentProfile       the profile the mouse is to have current (1..5)\n"
    "  ledOn                the LEDs are lit\n"
    "  appVersion, firmwareVersion   version texts (\"V1.10\", \"V1.07\")\n"
    "  pendingChanges       the settings shown are not applied yet\n"
    "  profiles[]           profile (1..5), name, inUse, reportRate (Hz), powerSave and ambientLight (seconds),\n"
    "                       scrollSpeed, doubleClickSpeed, pointerAcceleration, liftOffDistance, angleSnapping\n"
    "                       (levels 1..10; 0, which a file may hold, acts as 1),\n"
    "    stages[]           the four DPI stages: dpi (what the mouse gets), optical, hdst (DPI),\n"
    "                       laserX, laserIndex (the stage index 0..9 behind dpi)\n"
    "    buttons[]          buttons 1..7: function (code 1..17, 0 none), param (macro number or key + 256 x\n"
    "                       modifiers), playMode (1..99 times, 241 while held, 242 toggle; 0 on other buttons), text\n"
    "    macros[]           the profile's own copy of the macro list\n"
    "  macros[]             the working macro list: number, name, events[] (kind, name, direction)\n";

void AddArguments(CLI::App* sub, const SettingsCommand& command, Options& options)
{
    const CLI::Validator fileName(cli::FileNameProblem, "FILE");
    switch (command.arguments) {
    case SettingsCommand::Profile:
    case SettingsCommand::ProfileAndFile:
        sub->add_option("N", options.profile, "Profile number 1..5")->required()->check(CLI::Range(1, 5));
        if (command.arguments == SettingsCommand::ProfileAndFile)
            sub->add_option("FILE", options.file, "Profile file")->required()->check(fileName);
        break;
    case SettingsCommand::File:
        sub->add_option("FILE", options.file, "Macro list file")->required()->check(fileName);
        break;
    case SettingsCommand::Led:
        sub->add_option("STATE", options.led, "on or off")->required()->check(CLI::IsMember({"on", "off"}));
        break;
    case SettingsCommand::Show:
        sub->add_option("--profile", options.showProfile, "Only profile N")->check(CLI::Range(1, 5));
        sub->add_flag("--json", options.json, "JSON instead of text");
        sub->footer(kJsonKeys);
        break;
    case SettingsCommand::Macro:
        cli::MacroCommand::AddArguments(sub, options.macro, options.file);
        sub->add_option("--profile", options.macro.profile, "The profile whose macros to edit (default: the shown one)")
            ->check(CLI::Range(1, 5));
        sub->add_flag("--apply", options.applyNow, "Apply the change at once (as neritctl apply)");
        sub->footer("Example: neritctl macro new Reload; neritctl macro add Reload down:R up:R; neritctl apply");
        break;
    case SettingsCommand::JsonFile:
        sub->add_option("FILE", options.file, "JSON file, or - for standard input")->required()->check(fileName);
        sub->add_flag("--apply", options.applyNow, "Apply the settings at once (as neritctl apply)");
        sub->footer(std::string("Example: neritctl show --json > s.json; neritctl load-json s.json; neritctl apply\n"
                                "Example: neritctl show --json --profile 1 | neritctl load-json -\n")
                    + kJsonKeys);
        break;
    case SettingsCommand::Set:
        options.set.AddArguments(*sub);
        sub->footer(cli::SetCommand::kFooter);
        break;
    case SettingsCommand::Button:
        options.button.AddArguments(*sub);
        sub->footer(cli::ButtonCommand::kFooter);
        break;
    case SettingsCommand::None:
        break;
    }
    if (command.example != nullptr)
        sub->footer(std::string("Example: ") + command.example + (sub->get_footer().empty() ? "" : "\n")
                    + sub->get_footer());
}

// Words CLI11 cannot judge: a bad key or value is a usage error on one line,
// found before the store is opened.
bool UsableWords(const SettingsCommand& command, Options& options)
{
    std::string error;
    if (command.arguments == SettingsCommand::Set ? options.set.Check(error)
        : command.arguments == SettingsCommand::Button ? options.button.Check(error)
                                                       : true)
        return true;
    std::fprintf(stderr, "neritctl: %s\n", error.c_str());
    return false;
}

// The deepest command that was parsed, and its path ("macro add"). With
// `extras`, the command stops at the first one left with words it did not
// take: "neritctl --bogus info" is the main command's fault, not info's.
const CLI::App& DeepestCommand(const CLI::App& app, std::string& path, bool extras = false)
{
    if (extras && !app.remaining(false).empty())
        return app;
    for (const CLI::App* sub : app.get_subcommands()) {
        path += (path.empty() ? "" : " ") + sub->get_name();
        return DeepestCommand(*sub, path, extras);
    }
    return app;
}

// The word after a separate "--simulate", which it takes as its state file.
std::string SimulateWord(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "--simulate" && argv[i + 1][0] != '-')
            return argv[i + 1];
    }
    return {};
}

// Help and version go to standard output with status 0; a usage error is
// one line on standard error naming the command, with status 2.
int UsageError(CLI::App& app, const CLI::ParseError& error, const std::string& simulateWord)
{
    if (error.get_exit_code() == 0)
        return app.exit(error);
    std::string path;
    const bool extras = dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr;
    std::string message = error.what();
    // "--data-dir: ..." is about neritctl's own option, whatever command follows.
    const std::string option = message.substr(0, message.find(':'));
    const bool own = option.starts_with("--") && app.get_option_no_throw(option) != nullptr;
    const CLI::App& command = own ? app : DeepestCommand(app, path, extras);
    if (extras && !command.remaining(false).empty())
        message = "unknown option \"" + command.remaining(false).front() + "\"";
    if (command.get_require_subcommand_min() > 0 && command.get_subcommands().empty()) {
        const std::vector<std::string> rest = command.remaining();
        const bool named = !rest.empty() && !rest.front().empty() && rest.front()[0] != '-';
        message = named          ? "unknown command \"" + rest.front() + "\""
                  : !rest.empty() ? "unknown option \"" + rest.front() + "\""
                  : simulateWord.empty()
                      ? "a command is required"
                      : "a command is required (--simulate took \"" + simulateWord + "\" as its state file)";
    }
    const std::string where = path.empty() ? "" : path + " ";
    std::fprintf(stderr, "neritctl: %s%s (see neritctl %s--help)\n", (path.empty() ? "" : path + ": ").c_str(),
                 cli::OneLine(message).c_str(), where.c_str());
    return kExitUsage;
}

// Up to `limit` bytes of standard input; false when reading failed.
bool ReadStandardInput(size_t limit, std::vector<uint8_t>& bytes)
{
    uint8_t chunk[65536];
    while (bytes.size() < limit) {
        const size_t got = std::fread(chunk, 1, std::min(sizeof chunk, limit - bytes.size()), stdin);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got == 0)
            return std::ferror(stdin) == 0;
    }
    return true;
}

// Output that did not reach its file (a full disk, a closed pipe) is a failure.
int CheckOutput(int status)
{
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
        return status;
    const int error = errno;
    return Fail(std::string("cannot write the standard output: ") + std::strerror(error));
}

// Words the shell completions offer beyond the commands and options.
std::vector<cli::CompletionWords> CompletionTable()
{
    return {
        {"set", "KEY", cli::SetCommand::KeyWords()},
        {"button", "B", "1 2 3 4 5 6 7"},
        {"button", "CHOICE", cli::ButtonCommand::kChoiceWords},
        {"button", "--play", "once repeat hold toggle"},
        {"led", "STATE", "on off"},
        {"", "--data-dir", "@file"},
        {"*", "--profile", "1 2 3 4 5"},
        {"*", "N", "1 2 3 4 5"},
    };
}

// The build's generators: --help-man prints the man page, --completion bash
// or zsh a completion script; -1 when neither was asked for.
int WriteHelpFiles(const CLI::App& app, int argc, char** argv)
{
    const std::string first = argc > 1 ? argv[1] : "";
    const std::string shell = argc == 3 ? argv[2] : "";
    if (argc == 2 && first == "--help-man")
        std::printf("%s", cli::HelpExport::ManPage(app, NERITMICE_VERSION).c_str());
    else if (first == "--completion" && shell == "bash")
        std::printf("%s", cli::HelpExport::BashCompletion(app, CompletionTable()).c_str());
    else if (first == "--completion" && shell == "zsh")
        std::printf("%s", cli::HelpExport::ZshCompletion(app, CompletionTable()).c_str());
    else if (first == "--help-man" || first == "--completion") {
        std::fprintf(stderr, "neritctl: %s\n", "usage: neritctl --help-man | --completion bash|zsh");
        return kExitUsage;
    } else
        return -1;
    return 0;
}

int Run(int argc, char** argv)
{
    CLI::App app{"neritctl - configure the Vimo gaming mouse"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "neritctl " NERITMICE_VERSION);
    Options options;
    app.add_option("--simulate", options.simulate,
                   "Use the simulated mouse; --simulate FILE keeps its state in FILE between runs")
        ->expected(0, 1);
    app.add_flag("--trace", options.trace, "Print every report exchanged with the mouse to standard error");
    // An empty DIR would quietly mean the user's own data folder.
    const CLI::Validator folderName([](std::string& dir) { return std::string(dir.empty() ? "an empty folder name" : ""); },
                                    "DIR");
    app.add_option("--data-dir", options.dataDir,
                   "The data folder (default $XDG_DATA_HOME/NeritMice, or ~/.local/share/NeritMice)")
        ->check(folderName);

    auto* info = app.add_subcommand("info", "Firmware version and the mouse's current profile");
    info->footer("Example: neritctl info");
    auto* dump = app.add_subcommand(
        "dump", "Read the five profiles from the mouse and print them as read (the current profile is kept)");
    dump->footer("Example: neritctl dump > profiles.txt");
    std::vector<std::pair<CLI::App*, const SettingsCommand*>> settingsCommands;
    for (const SettingsCommand& command : kSettingsCommands) {
        CLI::App* sub = app.add_subcommand(command.name, command.help);
        AddArguments(sub, command, options);
        settingsCommands.emplace_back(sub, &command);
    }
    if (const int status = WriteHelpFiles(app, argc, argv); status >= 0)
        return status;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return UsageError(app, error, SimulateWord(argc, argv));
    }
    options.simulateGiven = app.count("--simulate") > 0;

    if (info->parsed())
        return RunMouseCommand(options, RunInfo);
    if (dump->parsed())
        return RunMouseCommand(options, RunDump);
    for (const auto& [sub, command] : settingsCommands) {
        if (sub->parsed() && !UsableWords(*command, options))
            return kExitUsage;
        // Read before the mouse and the data folder are taken: the writer of
        // the pipe may be another neritctl that needs them first.
        if (sub->parsed() && command->arguments == SettingsCommand::JsonFile && options.file == kStandardInput &&
            !ReadStandardInput(cli::JsonLoad::kMaxBytes + 1, options.input))
            return Fail(std::string("cannot read the standard input: ") + std::strerror(errno));
        if (sub->parsed())
            return RunSettingsCommand(options, command->run, command->changes);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    return CheckOutput(Run(argc, argv));
}
