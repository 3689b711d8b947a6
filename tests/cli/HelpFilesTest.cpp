// neritctl's help, man page and shell completions against the command tree.
#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

using namespace clitest;

const std::string kDocs = NERITCTL_DOCS_DIR;

// The commands a help text lists under "Subcommands:".
std::vector<std::string> ListedCommands(const std::string& help)
{
    std::vector<std::string> names;
    std::istringstream in(help.substr(std::min(help.size(), help.find("Subcommands:"))));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line) && line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ')
        names.push_back(line.substr(2, line.find(' ', 2) - 2));
    return names;
}

std::vector<std::string> AllCommands()
{
    std::vector<std::string> all = ListedCommands(Neritctl("--help").out);
    for (const std::string& sub : ListedCommands(Neritctl("macro --help").out))
        all.push_back("macro " + sub);
    return all;
}

TEST(NeritctlHelp, EveryCommandHasAnExampleAndUsageErrorsAreOneLine)
{
    const std::vector<std::string> commands = AllCommands();
    ASSERT_GE(commands.size(), 26u);
    for (const std::string& command : commands) {
        const RunResult help = Neritctl(command + " --help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_TRUE(Contains(help.out, "Example: neritctl ") || Contains(help.out, "Examples:\n  neritctl "))
            << command << ":\n" << help.out;
    }
    // Usage errors: status 2, one line on standard error naming the command,
    // nothing on standard output.
    const char* wrong[] = {"", "frobnicate", "--frob", "set", "set --profile 9 dpi 400", "button 9 default",
                           "macro", "macro frob", "macro show", "led maybe", "info extra", "import-profile 2"};
    for (const char* args : wrong) {
        const RunResult quiet = RunShell("{ " + std::string(NERITCTL_PATH) + " " + args + " 2>/dev/null; }");
        EXPECT_EQ(quiet.out, "") << args;
        const RunResult result = Neritctl(args);
        EXPECT_EQ(result.status, 2) << args;
        EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1) << args << ": " << result.out;
        EXPECT_EQ(result.out.rfind("neritctl: ", 0), 0u) << result.out;
    }
    EXPECT_TRUE(Contains(Neritctl("macro frob").out, "neritctl: macro: unknown command \"frob\""));
    EXPECT_TRUE(Contains(Neritctl("--frob").out, "unknown option \"--frob\""));
    EXPECT_TRUE(Contains(Neritctl("set").out, "neritctl: set: KEY is required (see neritctl set --help)"));
    EXPECT_EQ(Neritctl("--completion fish").status, 2);
}

TEST(NeritctlHelp, ManPageHasItsSectionsNamesEveryCommandAndRenders)
{
    const std::string page = ReadAll(kDocs + "/neritctl.1");
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page, Neritctl("--help-man").out);
    for (const char* section : {".SH NAME\n", ".SH SYNOPSIS\n", ".SH COMMANDS\n", ".SH EXIT STATUS\n"})
        EXPECT_TRUE(Contains(page, section)) << section;
    for (const std::string& command : AllCommands()) {
        std::string roff;
        for (const char c : command)
            roff += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_TRUE(Contains(page, ".SS \"" + roff)) << command;
    }
    // Footers and help texts come along: the keys of set, an example.
    EXPECT_TRUE(Contains(page, "report\\-rate     125")) << page;
    EXPECT_TRUE(Contains(page, "Example: neritctl led off"));

    if (RunShell("command -v groff").status != 0)
        GTEST_SKIP() << "groff is not installed";
    const RunResult render = RunShell("groff -man -Tutf8 -ww -z " + kDocs + "/neritctl.1");
    EXPECT_EQ(render.status, 0);
    EXPECT_EQ(render.out, "");  // no warning
    const RunResult text = RunShell("groff -man -Tascii -P-cbou " + kDocs + "/neritctl.1");
    EXPECT_TRUE(Contains(text.out, "set [--profile N] [--apply] KEY VALUE")) << text.out;
}

// What the bash completion offers for a command line (the cursor at its end).
std::string Complete(const std::string& dir, const std::string& line)
{
    const std::string script = dir + "/complete.sh";
    std::ofstream(script) << "source '" << kDocs << "/neritctl.bash'\n"
                          << "cd '" << dir << "'\n"
                          << "read -ra COMP_WORDS <<< \"$1\"\n"
                          << "[[ $1 == *' ' ]] && COMP_WORDS+=('')\n"
                          << "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                          << "_neritctl\n"
                          << "echo \"${COMPREPLY[*]}\"\n";
    return RunShell("bash '" + script + "' '" + line + "'").out;
}

TEST(NeritctlCompletion, BashOffersCommandsKeysChoicesAndFiles)
{
    if (RunShell("command -v bash").status != 0)
        GTEST_SKIP() << "bash is not installed";
    TempFolder temp;
    const std::string dir = temp.path.string();
    std::ofstream(temp.path / "mine.vqm") << "";
    std::ofstream(temp.path / "other.txt") << "";

    EXPECT_EQ(Complete(dir, "neritctl se"), "set\n");
    EXPECT_EQ(Complete(dir, "neritctl set "),
              "report-rate power-save ambient-light dpi lift-off angle-snapping pointer-speed double-click "
              "wheel-lines in-use name\n");
    EXPECT_EQ(Complete(dir, "neritctl set --profile 2 p"), "power-save pointer-speed\n");
    EXPECT_EQ(Complete(dir, "neritctl set --profile "), "1 2 3 4 5\n");
    EXPECT_EQ(Complete(dir, "neritctl set dpi "), "\n");  // a value, not another key
    EXPECT_EQ(Complete(dir, "neritctl --data-dir x s"), "show save-profile set\n");
    EXPECT_EQ(Complete(dir, "neritctl --simulate s"), "show save-profile set\n");
    EXPECT_EQ(Complete(dir, "neritctl --simulate mouse s"), "show save-profile set\n");
    EXPECT_EQ(Complete(dir, "neritctl --simulate set "), Complete(dir, "neritctl set "));
    EXPECT_EQ(Complete(dir, "neritctl button 3 "), "function key macro default disable\n");
    EXPECT_EQ(Complete(dir, "neritctl button --play "), "once repeat hold toggle\n");
    EXPECT_EQ(Complete(dir, "neritctl button --"), "--help --profile --apply --play\n");
    EXPECT_EQ(Complete(dir, "neritctl macro "), "list show new rename delete add import export\n");
    EXPECT_EQ(Complete(dir, "neritctl macro import m"), "mine.vqm\n");
    EXPECT_EQ(Complete(dir, "neritctl import-profile 2 o"), "other.txt\n");
    EXPECT_EQ(Complete(dir, "neritctl led o"), "on off\n");
}

TEST(NeritctlCompletion, ZshFunctionIsTheBuildsAndParses)
{
    const std::string zsh = ReadAll(kDocs + "/_neritctl");
    EXPECT_EQ(zsh.rfind("#compdef neritctl\n", 0), 0u);
    EXPECT_EQ(zsh, Neritctl("--completion zsh").out);
    EXPECT_TRUE(Contains(zsh, "report-rate power-save"));
    if (RunShell("command -v zsh").status != 0)
        GTEST_SKIP() << "zsh is not installed";
    EXPECT_EQ(RunShell("zsh -n " + kDocs + "/_neritctl").status, 0);
    // Run with stand-ins for compadd and _files, which print what they get.
    auto offered = [](const std::string& words, int current) {
        return RunShell("zsh -c 'compadd() { [[ $1 == -- ]] && shift; print -r -- \"$*\"; }; "
                        "_files() { print files; }; words=(" + words + "); CURRENT=" + std::to_string(current) +
                        "; source " + kDocs + "/_neritctl'").out;
    };
    EXPECT_EQ(offered("neritctl set --profile 2 \"\"", 5),
              "report-rate power-save ambient-light dpi lift-off angle-snapping pointer-speed double-click "
              "wheel-lines in-use name\n");
    EXPECT_EQ(offered("neritctl button 3 \"\"", 4), "function key macro default disable\n");
    EXPECT_EQ(offered("neritctl macro import \"\"", 4), "files\n");
    EXPECT_EQ(offered("neritctl macro \"\"", 3), "list show new rename delete add import export\n");
}

}  // namespace
