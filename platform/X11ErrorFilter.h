// Keeps a harmless X error from ending the program: a request on one of our
// windows that is gone. SDL wakes a waiting event loop from other threads
// (timers, posted messages) by sending an event to the newest of our windows
// over a second connection, and another client may destroy a window of ours
// (a popup) under us; the server then answers BadWindow or BadDrawable, and
// Xlib's default handler would exit the process. Every other error goes on
// to the handler installed before.
#pragma once

namespace platform {

// Installs the filter in front of the handler in place; installing it again
// keeps the chain as it is.
void InstallX11ErrorFilter();

}  // namespace platform
