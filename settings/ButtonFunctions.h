// Button function codes of the settings model and their English labels.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace settings {

namespace function {
inline constexpr int32_t LeftClick = 1;
inline constexpr int32_t RightClick = 2;
inline constexpr int32_t ScrollWheelClick = 3;
inline constexpr int32_t BrowserForward = 4;
inline constexpr int32_t BrowserBackward = 5;
inline constexpr int32_t ScrollUp = 6;
inline constexpr int32_t ScrollDown = 7;
inline constexpr int32_t DpiUp = 8;
inline constexpr int32_t DpiDown = 9;
inline constexpr int32_t DpiLevelSwitch = 10;
inline constexpr int32_t ProfileSelect = 11;
inline constexpr int32_t DoubleClick = 12;
inline constexpr int32_t TripleClick = 13;
inline constexpr int32_t SniperSwitch = 14;
inline constexpr int32_t Macro = 15;
inline constexpr int32_t SingleKey = 16;
inline constexpr int32_t Disable = 17;
inline constexpr int32_t Default = 18;  // a menu choice only, never stored
}  // namespace function

inline constexpr int kButtons = 7;
inline constexpr int kMacrosInList = 15;

// The functions of buttons 1 to 7 after a reset.
inline constexpr std::array<int32_t, kButtons> kDefaultButtonFunctions = {
    function::LeftClick,      function::RightClick,     function::ScrollWheelClick, function::ProfileSelect,
    function::DpiLevelSwitch, function::BrowserForward, function::BrowserBackward,
};

// The English label of a function code ("Macro_3" for a macro with its
// number); empty for an unknown code.
std::string FunctionLabel(int32_t code, int32_t macroNumber = 0);

// The code a menu choice stores for button `button` (0..6): "Default" stores
// the button's default code.
int32_t StoredFunctionFor(int32_t choice, int button);

// The modifier bits of a Single Key (the USB keyboard modifier byte).
namespace modifier {
inline constexpr uint8_t LeftCtrl = 0x01;
inline constexpr uint8_t LeftShift = 0x02;
inline constexpr uint8_t LeftAlt = 0x04;
inline constexpr uint8_t RightCtrl = 0x10;
inline constexpr uint8_t RightShift = 0x20;
inline constexpr uint8_t RightAlt = 0x40;
}  // namespace modifier

// Single Key parameter: virtual-key code + 256 x modifier bits (USB keyboard
// modifier byte: 0x01 left Ctrl, 0x02 left Shift, 0x04 left Alt, 0x10, 0x20,
// 0x40 the right ones).
inline constexpr int32_t SingleKeyParam(uint8_t virtualKey, uint8_t modifiers)
{
    return virtualKey + 256 * modifiers;
}
inline constexpr uint8_t SingleKeyVirtualKey(int32_t param)
{
    return static_cast<uint8_t>(param & 0xFF);
}
inline constexpr uint8_t SingleKeyModifiers(int32_t param)
{
    return static_cast<uint8_t>((param >> 8) & 0xFF);
}

}  // namespace settings
