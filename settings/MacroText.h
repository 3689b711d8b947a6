// Texts of macro events: delays in seconds with three decimals, and the names
// of the mouse buttons and wheel in the two forms events carry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// "1.250" for 1250 ms, "0.015" for 15 ms.
std::string DelayText(uint32_t milliseconds);
// The delay a text stands for, in ms: a decimal number of seconds, blanks
// around it allowed, decimals after the third cut; nullopt when the text is
// no such number or beyond 2^32 - 1 ms.
std::optional<uint32_t> ParseDelayText(std::string_view text);

enum class MouseAction : uint8_t { Left, Right, Middle, BrowserForward, BrowserBackward, WheelUp, WheelDown };

// The name the recorder and the editor give an event: English, padded with
// blanks to 18 characters ("Left Click        ").
const char* ProgramMouseName(MouseAction action);
// The shorter name an event read from the mouse carries ("Left Click     ").
const char* DeviceMouseName(MouseAction action);

}  // namespace settings
