// The skin images the program's code names itself (the layouts name the
// rest). Every skin folder must hold each of them.
#pragma once

#include <string_view>

namespace NeritApp {

// clang-format off
inline constexpr std::string_view kCodeImages[] = {
    // The window's shape: white outside, the outline inside.
    "Background_mask.bmp",
    // The main control page's mouse: plain, the button areas highlighted,
    // and the third state.
    "MCBox.bmp", "MCBox2.bmp", "MCBox3.bmp",
    // Profile options: not in use, in use, hot or selected.
    "Profile01-1.png", "Profile01-2.png", "Profile01-3.png",
    "Profile02-1.png", "Profile02-2.png", "Profile02-3.png",
    "Profile03-1.png", "Profile03-2.png", "Profile03-3.png",
    "Profile04-1.png", "Profile04-2.png", "Profile04-3.png",
    "Profile05-1.png", "Profile05-2.png", "Profile05-3.png",
    "ProfileSavebutton1.png", "ProfileSavebutton2.png",
    "ProfileDefaultbutton1.png", "ProfileDefaultbutton2.png",
    // The macro page: the blinking record button, the hot macro name and
    // the event icons of the macro item list.
    "MacroRecord1.png", "MacroRecord2.png",
    "MacroName_hot.png",
    "MacroSignTimer.bmp", "MacroSignDown.bmp", "MacroSignUp.bmp", "MacroSignMouse2.bmp",
};
// clang-format on

inline constexpr std::string_view kMaskImage = "Background_mask.bmp";
inline constexpr std::string_view kMouseImage = "MCBox.bmp";
inline constexpr std::string_view kMouseHighlightImage = "MCBox2.bmp";
inline constexpr std::string_view kMousePressedImage = "MCBox3.bmp";

// The parts of the mouse picture the code draws button highlights from
// (left, top, right, bottom), for buttons 1 to 7.
struct ImageRect {
    int left;
    int top;
    int right;
    int bottom;
};
inline constexpr ImageRect kMouseButtonAreas[] = {
    {387, 247, 433, 342}, {452, 247, 498, 342}, {433, 270, 451, 308}, {435, 321, 450, 339},
    {433, 344, 452, 362}, {590, 333, 607, 365}, {590, 365, 607, 398},
};
// Where the picture holds the sensor pages' title.
inline constexpr ImageRect kSensorTitleArea{678, 146, 851, 195};
// The inside of the panel that MCBox.bmp draws around the seven assignment
// rows (its border lies just outside).
inline constexpr ImageRect kAssignPanelArea{13, 143, 290, 504};

}  // namespace NeritApp
