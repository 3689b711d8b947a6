#include "settings/MacroText.h"

#include <array>
#include <cstdio>

namespace settings {
namespace {

struct MouseNames {
    MouseAction action;
    const char* program;
    const char* device;
};

constexpr std::array<MouseNames, 7> kMouseNames = {{
    {MouseAction::Left, "Left Click        ", "Left Click     "},
    {MouseAction::Right, "Right Click       ", "Right Click    "},
    {MouseAction::Middle, "Scroll Wheel Click", "Middle Click   "},
    {MouseAction::BrowserForward, "Browser Forward   ", "Browser Forward"},
    {MouseAction::BrowserBackward, "Browser Backward  ", "Browser Backward"},
    {MouseAction::WheelUp, "Scroll Wheel Up   ", "Scroll Wheel Up"},
    {MouseAction::WheelDown, "Scroll Wheel Down ", "Scroll Wheel Down"},
}};

const MouseNames& NamesOf(MouseAction action)
{
    return kMouseNames[static_cast<size_t>(action)];
}

constexpr uint32_t kMaxDelayMs = 0xFFFFFFFFu;

std::string_view WithoutBlanksAround(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

}  // namespace

std::string DelayText(uint32_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d%d%d", static_cast<int>(ms / 1000), static_cast<int>(ms / 100 % 10),
                  static_cast<int>(ms / 10 % 10), static_cast<int>(ms % 10));
    return text;
}

std::optional<uint32_t> ParseDelayText(std::string_view text)
{
    // Whole seconds, then at most three decimals (more are cut). Taken digit
    // by digit, so that every text DelayText writes gives back its
    // milliseconds exactly.
    text = WithoutBlanksAround(text);
    uint64_t seconds = 0;
    size_t i = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, digits = true) {
        seconds = seconds * 10 + static_cast<uint64_t>(text[i] - '0');
        if (seconds > kMaxDelayMs / 1000)
            return std::nullopt;
    }
    uint64_t ms = seconds * 1000;
    if (i < text.size() && text[i] == '.') {
        uint64_t scale = 100;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, digits = true) {
            ms += static_cast<uint64_t>(text[i] - '0') * scale;
            scale /= 10;
        }
    }
    if (!digits || i != text.size() || ms > kMaxDelayMs)
        return std::nullopt;
    return static_cast<uint32_t>(ms);
}

const char* ProgramMouseName(MouseAction action)
{
    return NamesOf(action).program;
}

const char* DeviceMouseName(MouseAction action)
{
    return NamesOf(action).device;
}

}  // namespace settings
