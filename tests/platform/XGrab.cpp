#include "tests/platform/XGrab.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace testsupport {

XGrab::~XGrab()
{
    if (display_ != nullptr)
        XCloseDisplay(static_cast<Display*>(display_));
}

bool XGrab::Take()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    display_ = display;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    // The grab waits for the window to be viewable.
    int keyboard = GrabNotViewable;
    for (int tries = 0; tries < 200 && keyboard != GrabSuccess; ++tries) {
        keyboard = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        if (keyboard != GrabSuccess)
            usleep(10000);
    }
    const int pointer = XGrabPointer(display, window, False, ButtonPressMask | ButtonReleaseMask, GrabModeAsync,
                                     GrabModeAsync, None, None, CurrentTime);
    XSync(display, False);
    return keyboard == GrabSuccess && pointer == GrabSuccess;
}

}  // namespace testsupport
