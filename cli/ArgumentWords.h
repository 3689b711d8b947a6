// Reading the words of a command line: whole numbers and names compared
// without regard to letter case or surrounding blanks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace CLI {
class App;
}

namespace cli {

// A whole decimal number, the text and nothing else ("12", not "12x",
// " 12" or "1e3"); false when it does not fit 32 bits.
bool ParseWholeNumber(std::string_view text, int32_t& value);
// True when `name` without its blanks is `word`, letter case aside (ASCII).
bool SameWord(std::string_view name, std::string_view word);

// "\"text\"", control characters escaped so a message stays on one line.
std::string Quoted(const std::string& text);
// Why a name the user gives cannot be stored in a field of `fieldSize`
// bytes (its terminating NUL included): too long, control characters, or
// not UTF-8. Empty when it can.
std::string NameProblem(std::string_view name, size_t fieldSize);
// Why a FILE argument names no file: empty, or a folder path ending in "/"
// (an extension is never added to either). Empty when it names one.
std::string FileNameProblem(std::string& name);
// --profile N and --apply of the commands that change one profile.
void AddProfileOptions(CLI::App& sub, int& profile, bool& apply);

}  // namespace cli
