// Whether a popup of the program is waiting for an answer. While one is, the
// main window swallows the clicks that reach it, so popups act as modal
// dialogs. Several popups can be open at once (the mouse-missing notice and
// a question the user asked for), so the state counts them: the main window
// stays blocked until the last one is answered.
#pragma once

namespace NeritApp {

class PopupState {
public:
    // A popup that blocks the main window was shown.
    static void Opened();
    // One of them was answered or went away; never goes below zero.
    static void Closed();
    static bool IsOpen() { return Count() > 0; }
    static int Count();
    // Forgets every open popup (a test starting afresh).
    static void Reset();

private:
    static int& Slot();
};

}  // namespace NeritApp
