#include "cli/HelpExport.h"

#include <functional>

namespace cli {

namespace {

using Commands = std::vector<const CLI::App*>;

Commands Visible(const CLI::App& app)
{
    return app.get_subcommands([](const CLI::App* sub) { return !sub->get_group().empty(); });
}

bool Hidden(const CLI::Option* option)
{
    return option->get_group().empty();
}

// roff: a backslash is written \e; a line starting with . or ' is protected.
std::string Roff(const std::string& text)
{
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

// An option's value: none (a flag), required, or optional (--simulate[=FILE]).
bool TakesValue(const CLI::Option* option)
{
    return option->get_expected_min() > 0;
}

std::string OptionName(const CLI::Option* option)
{
    if (option->get_positional())
        return option->get_name() + (option->get_expected_max() > 1 ? "..." : "");
    const std::string name = "--" + option->get_lnames().front();
    const std::string value = option->get_type_name().rfind("INT", 0) == 0 ? "N" : "VALUE";
    if (option->get_expected_max() == 0)
        return name;
    return TakesValue(option) ? name + " " + value : name + "[=" + value + "]";
}

bool IsHelp(const CLI::Option* option)
{
    return option->get_lnames() == std::vector<std::string>{"help"};
}

std::string Synopsis(const CLI::App& sub)
{
    std::string text;
    for (const CLI::Option* option : sub.get_options()) {
        if (Hidden(option) || IsHelp(option))
            continue;
        const std::string name = OptionName(option);
        text += " " + (option->get_required() ? name : "[" + name + "]");
    }
    if (!Visible(sub).empty())
        text += " SUBCOMMAND";
    return text;
}

// The options of a command; --help only at the top.
void ManOptions(std::string& page, const CLI::App& app, bool withHelp)
{
    for (const CLI::Option* option : app.get_options()) {
        if (Hidden(option) || (!withHelp && IsHelp(option)))
            continue;
        page += ".TP\n.B " + Roff(OptionName(option)) + "\n" + Roff(option->get_description()) + "\n";
    }
}

void ManFooter(std::string& page, const CLI::App& sub)
{
    const std::string footer = sub.get_footer();
    if (!footer.empty())
        page += ".PP\n.nf\n" + Roff(footer) + (footer.back() == '\n' ? "" : "\n") + ".fi\n";
}

void ManCommand(std::string& page, const CLI::App& sub, const std::string& path)
{
    page += ".SS \"" + Roff(path + Synopsis(sub)) + "\"\n" + Roff(sub.get_description()) + "\n";
    ManOptions(page, sub, false);
    ManFooter(page, sub);
    for (const CLI::App* child : Visible(sub))
        ManCommand(page, *child, path + " " + child->get_name());
}

}  // namespace

std::string HelpExport::ManPage(const CLI::App& app, const std::string& version)
{
    std::string page = ".TH NERITCTL 1 \"\" \"neritctl " + version + "\" \"User Commands\"\n";
    page += ".SH NAME\nneritctl \\- configure the Vimo gaming mouse from the command line\n";
    page += ".SH SYNOPSIS\n.B neritctl\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n";
    page += ".SH DESCRIPTION\n.B neritctl\nreads and changes the settings of the Vimo gaming mouse.\n"
            "Every command takes \\-\\-help, which prints what this page says of it.\n"
            "Changes to the settings are pending until\n.B neritctl apply\nwrites them to the mouse;\n"
            ".B neritctl discard\ndrops them.\n";
    page += ".SH OPTIONS\n";
    ManOptions(page, app, true);
    page += ".SH COMMANDS\n";
    for (const CLI::App* sub : Visible(app))
        ManCommand(page, *sub, sub->get_name());
    page += ".SH EXIT STATUS\n.TP\n.B 0\nsuccess\n.TP\n.B 1\nfailure (reported on standard error in one line)\n"
            ".TP\n.B 2\nusage error\n";
    page += ".SH ENVIRONMENT\n.TP\n.B VIMO_SIMULATE\nUse the simulated mouse, as \\-\\-simulate does.\n";
    return page;
}

namespace {

// The shell function both completions share: prints the words for the
// argument at position $2 of command $1 (whose previous word is $3, current
// word $4); "@file" asks for file names.
struct ShellData {
    std::string valueOptions;  // options that take a value (their value is no argument)
    std::string optionalValue = "--";  // options whose value may follow (--simulate [FILE])
    std::string commands;      // the top-level commands
    std::string cases;         // case branches per command
    std::string groups;        // commands that have subcommands
};

std::string Words(const std::vector<CompletionWords>& words, const std::string& command, const std::string& argument)
{
    for (const CompletionWords& entry : words)
        if ((entry.command == command || entry.command == "*") && entry.argument == argument)
            return entry.words;
    return argument == "FILE" ? "@file" : "";
}

void AddCommand(ShellData& data, const CLI::App& app, const std::string& path,
                const std::vector<CompletionWords>& words)
{
    std::string options;
    std::string values;
    std::string positionals;
    int position = 0;
    for (const CLI::Option* option : app.get_options()) {
        if (Hidden(option))
            continue;
        if (option->get_positional()) {
            const std::string list = Words(words, path, option->get_name());
            if (!list.empty())
                positionals += "      " + std::to_string(position) + ") echo '" + list + "';;\n";
            position += std::max(1, option->get_expected_min());
            continue;
        }
        const std::string name = "--" + option->get_lnames().front();
        options += (options.empty() ? "" : " ") + name;
        if (option->get_expected_max() > 0 && !TakesValue(option))
            data.optionalValue += "|" + name;
        if (TakesValue(option)) {
            if (("|" + data.valueOptions + "|").find("|" + name + "|") == std::string::npos)
                data.valueOptions += "|" + name;
            values += "      " + name + ") echo '" + Words(words, path, name) + "'; return;;\n";
        }
    }
    std::string subcommands;
    for (const CLI::App* child : Visible(app)) {
        subcommands += (subcommands.empty() ? "" : " ") + child->get_name();
        AddCommand(data, *child, path.empty() ? child->get_name() : path + " " + child->get_name(), words);
    }
    if (!subcommands.empty() && !path.empty())
        data.groups += "|" + path;
    if (path.empty())
        data.commands = subcommands;
    std::string branch = "  \"" + path + "\")\n";
    if (!values.empty())
        branch += "    case \"$3\" in\n" + values + "    esac\n";
    branch += "    case \"$4\" in -*) echo '" + options + "'; return;; esac\n";
    if (!subcommands.empty())
        branch += "    [ \"$2\" = 0 ] && echo '" + subcommands + "'\n";
    if (!positionals.empty())
        branch += "    case \"$2\" in\n" + positionals + "    esac\n";
    data.cases += branch + "    ;;\n";
}

ShellData Data(const CLI::App& app, const std::vector<CompletionWords>& words)
{
    ShellData data;
    AddCommand(data, app, "", words);
    return data;
}

std::string WordsFunction(const ShellData& data)
{
    return "__neritctl_words() {\n  case \"$1\" in\n" + data.cases + "  esac\n}\n";
}

// Walks the words before the cursor: the command path, the position among
// its arguments, skipping options and their values.
std::string WalkFunction(const ShellData& data, const std::string& first, const std::string& count)
{
    return "__neritctl_walk() {\n"
           "  local i w skip=0\n"
           "  __neritctl_cmd=\"\" __neritctl_pos=0\n"
           "  for ((i = " + first + "; i < " + count + "; i++)); do\n"
           "    w=${words[i]}\n"
           "    if [ $skip = 1 ]; then skip=0; continue; fi\n"
           "    if [ $skip = 2 ]; then\n"
           "      skip=0\n"
           "      case \" " + data.commands + " \" in *\" $w \"*) ;; *) continue;; esac\n"
           "    fi\n"
           "    case \"$w\" in\n"
           "      --*=*) continue;;\n"
           "      " + data.optionalValue + ") skip=2; continue;;\n"
           "      " + data.valueOptions.substr(1) + ") skip=1; continue;;\n"
           "      -*) continue;;\n"
           "    esac\n"
           "    case \"$__neritctl_cmd\" in\n"
           "      \"\"" + data.groups + ")\n"
           "        if [ $__neritctl_pos = 0 ]; then\n"
           "          __neritctl_cmd=\"${__neritctl_cmd:+$__neritctl_cmd }$w\"; continue\n"
           "        fi;;\n"
           "    esac\n"
           "    __neritctl_pos=$((__neritctl_pos + 1))\n"
           "  done\n"
           "}\n";
}

}  // namespace

std::string HelpExport::BashCompletion(const CLI::App& app, const std::vector<CompletionWords>& words)
{
    const ShellData data = Data(app, words);
    std::string script = "# bash completion for neritctl (written by neritctl --completion bash)\n";
    script += WordsFunction(data) + WalkFunction(data, "1", "COMP_CWORD");
    script += "_neritctl() {\n"
              "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} list\n"
              "  local -a words=(\"${COMP_WORDS[@]}\")\n"
              "  __neritctl_walk\n"
              "  list=$(__neritctl_words \"$__neritctl_cmd\" \"$__neritctl_pos\" \"$prev\" \"$cur\")\n"
              "  if [ \"$list\" = @file ]; then\n"
              "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
              "  else\n"
              "    COMPREPLY=($(compgen -W \"$list\" -- \"$cur\"))\n"
              "  fi\n"
              "}\n"
              "complete -o filenames -F _neritctl neritctl\n";
    return script;
}

std::string HelpExport::ZshCompletion(const CLI::App& app, const std::vector<CompletionWords>& words)
{
    const ShellData data = Data(app, words);
    std::string script = "#compdef neritctl\n# zsh completion for neritctl (written by neritctl --completion zsh)\n";
    script += WordsFunction(data) + WalkFunction(data, "2", "CURRENT");
    script += "_neritctl() {\n"
              "  local list\n"
              "  __neritctl_walk\n"
              "  list=$(__neritctl_words \"$__neritctl_cmd\" \"$__neritctl_pos\" \"${words[CURRENT-1]}\" "
              "\"${words[CURRENT]}\")\n"
              "  if [[ $list == @file ]]; then\n"
              "    _files\n"
              "  else\n"
              "    compadd -- ${=list}\n"
              "  fi\n"
              "}\n"
              "_neritctl \"$@\"\n";
    return script;
}

}  // namespace cli
