#include "platform/X11ErrorFilter.h"

#include <X11/Xlib.h>

namespace platform {
namespace {

XErrorHandler gPrevious = nullptr;

int FilterError(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        return 0;
    return gPrevious != nullptr ? gPrevious(display, error) : 0;
}

}  // namespace

void InstallX11ErrorFilter()
{
    const XErrorHandler previous = XSetErrorHandler(&FilterError);
    if (previous != &FilterError)
        gPrevious = previous;
}

}  // namespace platform
