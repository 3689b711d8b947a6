// Needs a display: run through with_xvfb.sh (sdl_window_xvfb).
#include "platform/SdlWindowSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>

namespace platform {
namespace {

int gX11Errors = 0;
int CountX11Error(Display*, XErrorEvent*)
{
    ++gX11Errors;
    return 0;
}

// SDL wakes its waiting loop from timer threads by sending an event to our
// newest window; when that window has just gone the server answers
// BadWindow, which must not reach Xlib's default handler (it exits the
// program). Other errors still go to the handler that was there before.
TEST(SdlWindowSystemTest, AnEventSentToAWindowJustGoneIsNoFatalError)
{
    XSetErrorHandler(&CountX11Error);
    std::string error;
    auto ws = SdlWindowSystem::Create(&error);
    if (!ws && std::getenv("NERIT_REQUIRE_DISPLAY"))
        FAIL() << "no video: " << error;
    if (!ws)
        GTEST_SKIP() << "no video: " << error;
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const ::Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, gone);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = gone;
    event.xclient.format = 32;
    gX11Errors = 0;
    XSendEvent(display, gone, False, NoEventMask, &event);
    XSync(display, False);
    EXPECT_EQ(gX11Errors, 0);
    // Nor any other request on a window another client destroyed; other
    // errors reach the handler installed before.
    XMapWindow(display, gone);
    XSync(display, False);
    EXPECT_EQ(gX11Errors, 0);
    EXPECT_EQ(XGetAtomName(display, static_cast<Atom>(0x7FFFFFF)), nullptr);
    XSync(display, False);
    EXPECT_EQ(gX11Errors, 1);
    XCloseDisplay(display);
    ws.reset();
    XSetErrorHandler(nullptr);
}

}  // namespace
}  // namespace platform
