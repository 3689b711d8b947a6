#include "settings/ButtonFunctions.h"

namespace settings {
namespace {

// Labels of codes 1..17, as the button pages show them (two end in a blank).
constexpr std::array<const char*, 18> kLabels = {
    "",
    "Left Click",
    "Right Click",
    "Scroll Wheel Click",
    "Browser Forward ",
    "Browser Backward",
    "Scroll Up ",
    "Scroll Down",
    "DPI Up",
    "DPI Down",
    "DPI Level Switch",
    "Profile Select",
    "Double Click",
    "Triple Click",
    "Sniper Switch",
    "Macro_",
    "Single Key",
    "Disable",
};

}  // namespace

std::string FunctionLabel(int32_t code, int32_t macroNumber)
{
    if (code == function::Macro)
        return std::string(kLabels[code]) + std::to_string(macroNumber);
    if (code == function::Default)
        return "Default";
    if (code < 1 || code >= static_cast<int32_t>(kLabels.size()))
        return {};
    return kLabels[code];
}

int32_t StoredFunctionFor(int32_t choice, int button)
{
    if (choice != function::Default)
        return choice;
    return button >= 0 && button < kButtons ? kDefaultButtonFunctions[button] : function::Disable;
}

}  // namespace settings
