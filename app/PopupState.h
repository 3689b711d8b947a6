// Whether a popup of the program is waiting for an answer. While one is, the
// main window swallows the input that reaches it, so popups act as modal
// dialogs. Several popups can be open at once (the mouse-missing notice and
// a question the user asked for), so the state keeps all of them: the main
// window stays blocked until the last one is answered.
#pragma once

#include "platform/window_system.h"

#include <vector>

namespace NeritApp {

class PopupState {
public:
    // A popup that blocks the main window was shown.
    static void Opened(platform::WindowId popup);
    // One of them was answered or went away.
    static void Closed(platform::WindowId popup);
    static bool IsOpen() { return Count() > 0; }
    static int Count() { return static_cast<int>(Open().size()); }
    // The popup opened last that is still open (None without one): the one
    // that gets the keyboard back when the main window is clicked.
    static platform::WindowId Top() { return Open().empty() ? platform::WindowId::None : Open().back(); }
    // Forgets every open popup (a test starting afresh).
    static void Reset() { Open().clear(); }

private:
    static std::vector<platform::WindowId>& Open();
};

}  // namespace NeritApp
