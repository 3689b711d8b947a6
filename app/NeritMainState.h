// The main window's state that its pages share: which profile is shown,
// the popups, the mouse's presence, the tab, the selected button, the menu
// and the macro recording.
#pragma once

namespace NeritApp {

// Bits of NeritMainState::popupFlags: which of the window's questions are open.
namespace PopupFlag {
inline constexpr unsigned kKeyPopup = 0x0008;
inline constexpr unsigned kMessageBox = 0x0800;
inline constexpr unsigned kApply = 0x1000;  // apply, save profile
inline constexpr unsigned kReset = 0x2000;  // reset all, reset profile
inline constexpr unsigned kExit = 0x4000;
inline constexpr unsigned kNoDevice = 0x8000;
// While one of these is open no other of them is opened.
inline constexpr unsigned kQuestions = kApply | kReset | kExit;
}  // namespace PopupFlag

struct NeritMainState {
    int shownProfile = 0;     // 0..4
    unsigned popupFlags = 0;  // PopupFlag bits
    int popupCount = 0;       // popups open over the main window
    bool deviceMissing = false;
    int currentTab = 0;       // 0..3, the page shown
    int currentSensorTab = 0;
    int selectedButton = -1;  // the assignment button being edited, -1 for none
    bool menuOpen = false;
    bool keyHighlightActive = false;  // a hint label shows the left-click warning
    bool recording = false;   // a macro is being recorded
    int firmwareVersion = 0;  // 0 when the mouse did not tell it
};

}  // namespace NeritApp
