// The words and line shapes that `show` (the settings) and `dump` (the
// mouse's records) share, so that both read alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

// "Profile 2 \"Game\" (in use)\n"; the name with its controls escaped.
std::string ProfileHeading(int number, std::string_view name, bool inUse);
// "  report rate 125 Hz, power save off, ambient light 20 s\n"
std::string TimersLine(int32_t rateHz, int32_t powerSave, int32_t ambientLight);
// "500" for stage index 1; "index 12" for one that has no DPI.
std::string StageText(int32_t index);
// "  button 3: " + text + "\n"
std::string ButtonLine(int number, const std::string& text);
// "Ctrl+Shift+A": the modifier byte (either side) and the key's name, or
// "key <code>" when the key is not known.
std::string KeyText(uint8_t modifiers, const char* keyName, int code);
// "Macro 3 (plays 5 times)", "(plays while held)", "(toggles)".
std::string MacroText(int number, int playMode);
// "V1.07" for 107.
std::string FirmwareText(int version);

}  // namespace cli
