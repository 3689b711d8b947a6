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

// "\"text\"".
std::string Quoted(const std::string& text);
// --profile N and --apply of the commands that change one profile.
void AddProfileOptions(CLI::App& sub, int& profile, bool& apply);

}  // namespace cli
