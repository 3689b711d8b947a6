// The main window's state that its pages share: which profile is shown,
// the popups, the mouse's presence, the tab, the selected button, the menu
// and the macro recording.
#pragma once

namespace NeritApp {

struct NeritMainState {
    int shownProfile = 0;     // 0..4
    unsigned popupFlags = 0;  // notices the device-presence handling has shown
    int popupCount = 0;       // popups open over the main window
    bool deviceMissing = false;
    int currentTab = 0;       // 0..3, the page shown
    int currentSensorTab = 0;
    int selectedButton = -1;  // the assignment button being edited, -1 for none
    bool menuOpen = false;
    bool recording = false;   // a macro is being recorded
    bool ledOn = false;
    int firmwareVersion = 0;  // 0 when the mouse did not tell it
};

}  // namespace NeritApp
