#include "cli/Vocabulary.h"

#include "cli/TerminalText.h"
#include "device/ProfileBlocks.h"
#include "settings/LaserStages.h"

#include <cstdio>

namespace cli {
namespace {

struct ModifierName {
    uint8_t bits;  // left and right
    const char* name;
};
// Each side by itself, as neritctl button key takes them back.
constexpr ModifierName kModifierNames[] = {{0x01, "Ctrl"},  {0x10, "RCtrl"}, {0x02, "Shift"},
                                           {0x20, "RShift"}, {0x04, "Alt"},   {0x40, "RAlt"}};

std::string Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first, last - first + 1));
}

std::string SecondsText(int32_t seconds)
{
    return seconds == 0 ? "off" : std::to_string(seconds) + " s";
}

}  // namespace

std::string ProfileHeading(int number, std::string_view name, bool inUse)
{
    std::string out = "Profile " + std::to_string(number);
    if (!name.empty())
        out += " \"" + EscapeControls(name) + "\"";
    return out + (inUse ? " (in use)\n" : " (not in use)\n");
}

std::string TimersLine(int32_t rateHz, int32_t powerSave, int32_t ambientLight)
{
    return "  report rate " + std::to_string(rateHz) + " Hz, power save " + SecondsText(powerSave)
         + ", ambient light " + SecondsText(ambientLight) + "\n";
}

std::string StageText(int32_t index)
{
    const int32_t dpi = settings::LaserStageDpi(index);
    return dpi != 0 ? std::to_string(dpi) : "index " + std::to_string(index);
}

std::string ButtonLine(int number, const std::string& text)
{
    return "  button " + std::to_string(number) + ": " + text + "\n";
}

std::string KeyText(uint8_t modifiers, const char* keyName, int code)
{
    std::string text;
    for (const ModifierName& modifier : kModifierNames) {
        if ((modifiers & modifier.bits) != 0)
            text += std::string(modifier.name) + "+";
    }
    return text + (keyName != nullptr ? Trimmed(keyName) : "key " + std::to_string(code));
}

std::string MacroText(int number, int playMode)
{
    std::string mode;
    if (playMode == device::kPlayWhileHeld)
        mode = "plays while held";
    else if (playMode == device::kPlayToggle)
        mode = "toggles";
    else
        mode = playMode == 1 ? "plays once" : "plays " + std::to_string(playMode) + " times";
    return "Macro " + std::to_string(number) + " (" + mode + ")";
}

std::string FirmwareText(int version)
{
    char text[32];
    std::snprintf(text, sizeof text, "V%d.%2.2d", version / 100, version % 100);
    return text;
}

}  // namespace cli
