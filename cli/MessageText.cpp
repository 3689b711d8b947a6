#include "cli/MessageText.h"

#include "cli/TerminalText.h"

namespace cli {
namespace {

using platform::FileError;
using settings::FileProblem;

struct ErrorWords {
    FileError error;
    const char* text;
};
constexpr ErrorWords kErrorWords[] = {
    {FileError::Missing, "missing"},
    {FileError::IsFolder, "a folder"},
    {FileError::NotAFolder, "a file stands where a folder belongs"},
    {FileError::NotRegular, "not a regular file (a device, pipe, socket or dangling link)"},
    {FileError::NoPermission, "no permission"},
    {FileError::TooLong, "too long"},
    {FileError::NameTooLong, "name too long"},
    {FileError::NoSpace, "no space left"},
    {FileError::ReadOnlyFileSystem, "read-only file system"},
};

struct ProblemWords {
    FileProblem problem;
    const char* text;
};
constexpr ProblemWords kProblemWords[] = {
    {FileProblem::TooShort, "too short"},
    {FileProblem::TooLong, "too long"},
    {FileProblem::InUseFlag, "in-use flag"},
    {FileProblem::ReportRate, "report rate"},
    {FileProblem::PowerSave, "power save"},
    {FileProblem::AmbientLight, "ambient light"},
    {FileProblem::StageIndex, "DPI stage"},
    {FileProblem::ButtonFunction, "button function"},
    {FileProblem::ButtonParameter, "button parameter"},
    {FileProblem::PlayMode, "macro play mode"},
    {FileProblem::MacroNumber, "macro number"},
    {FileProblem::CurrentProfile, "current profile"},
    {FileProblem::LedFlag, "LED flag"},
    {FileProblem::MacroCount, "macro count"},
    {FileProblem::MacroName, "macro name"},
    {FileProblem::EventCount, "event count"},
    {FileProblem::MacroEvent, "macro event"},
};

struct StateFileWords {
    sim::StateFileResult result;
    const char* text;
};
constexpr StateFileWords kStateFileWords[] = {
    {sim::StateFileResult::TooShort, "state file is too short"},
    {sim::StateFileResult::TooLong, "state file is too long"},
    {sim::StateFileResult::BadMagic, "not a simulated-mouse state file"},
    {sim::StateFileResult::BadVersion, "state file has an unknown version"},
    {sim::StateFileResult::BadChecksum, "state file is corrupt (checksum mismatch)"},
    {sim::StateFileResult::Busy, "another program holds the simulated mouse"},
    {sim::StateFileResult::LockFailed, "its lock file cannot be used"},
};

}  // namespace

std::string FileErrorText(FileError error)
{
    for (const ErrorWords& words : kErrorWords) {
        if (words.error == error)
            return words.text;
    }
    return "input/output error";
}

std::string StateFileProblemText(sim::StateFileResult result)
{
    for (const StateFileWords& words : kStateFileWords) {
        if (words.result == result)
            return words.text;
    }
    return "state file could not be read or written";
}

std::string FileProblemText(const settings::FileCheck& check)
{
    std::string field = "unknown";
    for (const ProblemWords& words : kProblemWords) {
        if (words.problem == check.problem)
            field = words.text;
    }
    if (check.problem == FileProblem::TooShort || check.problem == FileProblem::TooLong)
        return field;
    std::string where = check.profile >= 0 ? " of profile " + std::to_string(check.profile + 1) : "";
    if (check.macro >= 0)
        where += " of macro slot " + std::to_string(check.macro + 1);
    return "not a settings file of this program (" + field + where + " out of range)";
}

// A path the user typed or a folder holds may carry control characters.
std::string FileText(const std::string& path, const std::string& reason) { return EscapeControls(path) + ": " + reason; }

}  // namespace cli
