#include "cli/MacroCommand.h"

#include "cli/ArgumentWords.h"
#include "cli/MacroEventText.h"
#include "cli/TerminalText.h"
#include "settings/MacroEdits.h"
#include "settings/WorkingMacros.h"

#include <cstdio>

namespace cli {
namespace {

using settings::MacroEditResult;
constexpr int kFailure = 1;
constexpr int kUsage = 2;
constexpr int kEventCapacity = static_cast<int>(settings::layout::macro::kEventCapacity);

MacroOutcome Failed(int status, std::string error)
{
    return {status, std::move(error), false};
}

// A name the user gives: not empty (nor blanks only, which commands that
// find a macro by name could never match), and storable whole.
std::string MacroNameProblem(const std::string& name)
{
    if (name.find_first_not_of(' ') == std::string::npos)
        return "a macro name cannot be empty";
    return NameProblem(name, settings::layout::macro::kName.size);
}

class MacroRun {
public:
    // The list edited is profile `profile`'s, loaded as the working list.
    MacroRun(SettingsSession& settings, int profile) : settings_(settings), edits_(settings.Store()), profile_(profile)
    {
    }

    MacroOutcome List() const
    {
        for (int k = 0; k < edits_.MacroCount(); ++k) {
            const settings::MacroRecord macro = settings_.Store().WorkingMacro(static_cast<size_t>(k));
            std::printf("%d %s (%d events)\n", k + 1, Quoted(macro.Name()).c_str(), macro.EventCount());
        }
        return {};
    }

    MacroOutcome Show(const std::string& name) const
    {
        const int k = edits_.FindMacro(name);
        if (k < 0)
            return NoSuchMacro(name);
        const settings::MacroRecord macro = settings_.Store().WorkingMacro(static_cast<size_t>(k));
        for (int i = 0; i < macro.EventCount(); ++i) {
            const settings::MacroEvent event = macro.Event(static_cast<size_t>(i));
            std::printf("%s\n",
                        EscapeControls(MacroEventText::Word({event.Kind(), event.Name(), event.Direction()})).c_str());
        }
        return {};
    }

    MacroOutcome New(const std::string& name)
    {
        if (const std::string problem = MacroNameProblem(name); !problem.empty())
            return Failed(kUsage, problem);
        int slot = 0;
        if (edits_.NewMacro(slot) != MacroEditResult::kDone)
            return LimitReached();
        edits_.Rename(slot, name);
        return Committed("macro " + std::to_string(slot + 1) + " " +
                         Quoted(settings_.Store().WorkingMacro(static_cast<size_t>(slot)).Name()));
    }

    MacroOutcome Rename(const std::string& from, const std::string& to)
    {
        if (const std::string problem = MacroNameProblem(to); !problem.empty())
            return Failed(kUsage, problem);
        const int k = edits_.FindMacro(from);
        if (k < 0)
            return NoSuchMacro(from);
        edits_.Rename(k, to);
        return Committed("macro " + std::to_string(k + 1) + " " +
                         Quoted(settings_.Store().WorkingMacro(static_cast<size_t>(k)).Name()));
    }

    MacroOutcome Delete(const std::string& name)
    {
        const int k = edits_.FindMacro(name);
        if (k < 0)
            return NoSuchMacro(name);
        edits_.DeleteMacro(k, profile_);
        return Committed("");
    }

    MacroOutcome Add(const std::string& name, const std::vector<std::string>& words)
    {
        std::vector<StoredEvent> events;
        for (const std::string& word : words) {
            std::string error;
            const std::optional<std::vector<StoredEvent>> parsed = MacroEventText::Parse(word, error);
            if (!parsed)
                return Failed(kUsage, EscapeControls(error));
            events.insert(events.end(), parsed->begin(), parsed->end());
        }
        const int k = edits_.FindMacro(name);
        if (k < 0)
            return NoSuchMacro(name);
        // A refused run is not kept, so events added before the macro filled
        // up are dropped with it.
        const int count = settings_.Store().WorkingMacro(static_cast<size_t>(k)).EventCount();
        for (const StoredEvent& event : events) {
            if (edits_.AddEvent(k, event.kind, event.name, event.direction, -1) != MacroEditResult::kDone)
                return Full(name, count, events.size());
        }
        return Committed("");
    }

private:
    MacroOutcome Committed(const std::string& note)
    {
        settings::StoreWorkingMacros(settings_.Store(), profile_);
        if (!note.empty())
            std::printf("%s\n", note.c_str());
        return {0, {}, true};
    }

    static MacroOutcome NoSuchMacro(const std::string& name)
    {
        return Failed(kFailure, "no macro named " + Quoted(name) + " (neritctl macro list shows them)");
    }

    static MacroOutcome LimitReached()
    {
        return Failed(kFailure, "a profile keeps at most " + std::to_string(settings::MacroEdits::kMaxMacros) +
                                    " macros; delete one first");
    }

    static MacroOutcome Full(const std::string& name, int count, size_t adding)
    {
        return Failed(kFailure, "macro " + Quoted(name) + " has " + std::to_string(count) + " events; " +
                                    std::to_string(adding) + " more would pass the limit of " +
                                    std::to_string(kEventCapacity) + " events");
    }

    SettingsSession& settings_;
    settings::MacroEdits edits_;
    int profile_;
};

}  // namespace

void MacroCommand::AddArguments(CLI::App* macro, MacroArguments& arguments, std::string& file)
{
    macro->require_subcommand(1);
    auto add = [&](const char* name, const char* help, const char* example) {
        CLI::App* sub = macro->add_subcommand(name, help);
        sub->footer(std::string("Example: ") + example);
        sub->fallthrough();  // --apply is the macro command's
        sub->callback([&arguments, name] { arguments.action = name; });
        return sub;
    };
    add("list", "List the macros: number, name, event count", "neritctl macro list");
    add("show", "Print a macro's events, one a line, as macro add takes them", "neritctl macro show Reload")
        ->add_option("NAME", arguments.name, "Macro name")->required();
    add("new", "Add a macro (a profile keeps at most 10); a taken name gets \"*\" appended",
        "neritctl macro new Reload")
        ->add_option("NAME", arguments.name, "Macro name")->required();
    CLI::App* rename = add("rename", "Rename a macro; a taken name gets \"*\" appended",
                           "neritctl macro rename Reload \"Fast reload\"");
    rename->add_option("OLD", arguments.name, "Macro name")->required();
    rename->add_option("NEW", arguments.newName, "New name")->required();
    add("delete", "Delete a macro; buttons of the shown profile follow their macros, a button that played it gets "
                  "its default function back",
        "neritctl macro delete Reload")
        ->add_option("NAME", arguments.name, "Macro name")->required();
    CLI::App* events = add(
        "add",
        "Append events to a macro (at most 256 events): down:KEY up:KEY (key names as macros show them: A, F5, "
        "Ctrl, \"Page UP\"), click:BUTTON press:BUTTON release:BUTTON (Left, Right, Middle, Forward, Back), "
        "wheel:up wheel:down, wait:SECONDS (0.001 to 2147483.647, whole ms)",
        "neritctl macro add Reload down:R wait:0.050 up:R click:Left");
    events->add_option("NAME", arguments.name, "Macro name")->required();
    events->add_option("EVENT", arguments.events, "Events")->required();
    const CLI::Validator fileName(FileNameProblem, "FILE");
    add("import", "Read the macro list from FILE, as import-macros", "neritctl macro import my.vqm")
        ->add_option("FILE", file, "Macro list file")->required()->check(fileName);
    add("export", "Write the macro list to FILE, as export-macros", "neritctl macro export my.vqm")
        ->add_option("FILE", file, "Macro list file")->required()->check(fileName);
}

MacroOutcome MacroCommand::Run(SettingsSession& settings, const MacroArguments& arguments)
{
    // Another profile's list is edited as the working list for the time of
    // the command; the shown profile's list is the working list again after.
    const int shown = settings.ShownIndex();
    const int profile = arguments.profile > 0 ? arguments.profile - 1 : shown;
    if (profile != shown)
        settings::LoadWorkingMacros(settings.Store(), profile);
    const MacroOutcome outcome = RunAction(settings, arguments, profile);
    if (profile != shown)
        settings::LoadWorkingMacros(settings.Store(), shown);
    return outcome;
}

MacroOutcome MacroCommand::RunAction(SettingsSession& settings, const MacroArguments& arguments, int profile)
{
    MacroRun run(settings, profile);
    const std::string& action = arguments.action;
    if (action == "list")
        return run.List();
    if (action == "show")
        return run.Show(arguments.name);
    if (action == "new")
        return run.New(arguments.name);
    if (action == "rename")
        return run.Rename(arguments.name, arguments.newName);
    if (action == "delete")
        return run.Delete(arguments.name);
    if (action == "add")
        return run.Add(arguments.name, arguments.events);
    return Failed(kUsage, "unknown macro command \"" + action + "\"");
}

}  // namespace cli
