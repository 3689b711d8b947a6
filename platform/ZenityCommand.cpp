#include "platform/ZenityCommand.h"

namespace platform {
namespace {

constexpr int kExitChosen = 0;
constexpr int kExitClosed = 1;

// "Name | *.a *.b"; a '|' inside the name would end it early.
std::string FilterArgument(const FileFilter& filter)
{
    std::string argument = "--file-filter=";
    for (const char c : filter.name)
        argument += c == '|' ? '/' : c;
    argument += " |";
    for (const std::string& pattern : filter.patterns)
        argument += " " + pattern;
    return argument;
}

// The folder and proposed name; a folder alone ends in '/' so that zenity
// opens it instead of proposing its name.
std::string StartPath(const FileDialogRequest& request)
{
    std::string path = request.folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + request.fileName;
}

}  // namespace

std::vector<std::string> ZenityCommand::Arguments(const std::string& program, const FileDialogRequest& request)
{
    std::vector<std::string> argv{program, "--file-selection"};
    if (!request.title.empty())
        argv.push_back("--title=" + request.title);
    if (request.mode == FileDialogMode::Save) {
        argv.emplace_back("--save");
        if (request.confirmOverwrite)
            argv.emplace_back("--confirm-overwrite");
    }
    const std::string start = StartPath(request);
    if (!start.empty())
        argv.push_back("--filename=" + start);
    for (const FileFilter& filter : request.filters)
        argv.push_back(FilterArgument(filter));
    return argv;
}

FileDialogAnswer ZenityCommand::Answer(int exitCode, const std::string& output)
{
    if (exitCode == kExitClosed)
        return {FileDialogStatus::Cancelled, {}};
    std::string path = output;
    if (!path.empty() && path.back() == '\n')
        path.pop_back();
    if (exitCode != kExitChosen || path.empty() || path.front() != '/' || path.find('\n') != std::string::npos)
        return {FileDialogStatus::Failed, {}};
    return {FileDialogStatus::Chosen, path};
}

}  // namespace platform
