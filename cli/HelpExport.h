// The man page and the shell completions of neritctl, written from the
// command tree that also prints --help, so the three never disagree.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli {

// Words offered for one argument: `command` is the command path ("set",
// "macro add", "" for the top level, "*" for any), `argument` a positional's name or an
// option's long name ("--play"). "@file" offers file names.
struct CompletionWords {
    std::string command;
    std::string argument;
    std::string words;
};

class HelpExport {
public:
    // neritctl.1 in roff: NAME, SYNOPSIS, DESCRIPTION, OPTIONS, COMMANDS,
    // EXIT STATUS.
    static std::string ManPage(const CLI::App& app, const std::string& version);
    // A bash completion script defining _neritctl for `complete -F`.
    static std::string BashCompletion(const CLI::App& app, const std::vector<CompletionWords>& words);
    // A zsh completion function file (#compdef neritctl).
    static std::string ZshCompletion(const CLI::App& app, const std::vector<CompletionWords>& words);
};

}  // namespace cli
