#include "cli/ArgumentWords.h"

#include "cli/TerminalText.h"
#include "settings/CodePage.h"

#include <CLI/CLI.hpp>

#include <charconv>

namespace cli {
namespace {

std::string_view WithoutBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool ParseWholeNumber(std::string_view text, int32_t& value)
{
    if (text.empty() || text.front() == '+')
        return false;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

bool SameWord(std::string_view name, std::string_view word)
{
    const std::string_view trimmed = WithoutBlanks(name);
    if (trimmed.empty() || trimmed.size() != word.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k) {
        if (Lower(trimmed[k]) != Lower(word[k]))
            return false;
    }
    return true;
}

std::string Quoted(const std::string& text)
{
    return "\"" + EscapeControls(text) + "\"";
}

std::string NameProblem(std::string_view name, size_t fieldSize)
{
    if (name.size() >= fieldSize)
        return "a name holds at most " + std::to_string(fieldSize - 1) + " bytes, this one has "
             + std::to_string(name.size());
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "a name cannot hold control characters";
    }
    // Invalid bytes would come back as U+FFFD from every reader of the name.
    if (settings::ToNarrow(settings::ToUtf16(name)) != name)
        return "a name must be UTF-8 text";
    return {};
}

std::string FileNameProblem(std::string& name)
{
    if (name.empty())
        return "an empty file name";
    if (name.back() == '/')
        return name + ": a folder";
    return {};
}

void AddProfileOptions(CLI::App& sub, int& profile, bool& apply)
{
    sub.add_option("--profile", profile, "The profile to change (default: the shown profile)")
        ->check(CLI::Range(1, 5));
    sub.add_flag("--apply", apply, "Apply all pending changes at once (as neritctl apply)");
}

}  // namespace cli
