// Another X client that holds the keyboard and the pointer, as a game or an
// open menu does. Kept apart from the tests: Xlib's macros clash with
// GoogleTest's names.
#pragma once

namespace testsupport {

class XGrab {
public:
    XGrab() = default;
    ~XGrab();
    XGrab(const XGrab&) = delete;
    XGrab& operator=(const XGrab&) = delete;

    // Maps a small window on the display of the environment and grabs both
    // devices for it; false when that did not work.
    bool Take();

private:
    void* display_ = nullptr;
};

}  // namespace testsupport
