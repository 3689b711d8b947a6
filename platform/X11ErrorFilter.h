// Keeps a harmless X error from ending the program. SDL wakes a waiting
// event loop from other threads (timers, posted messages) by sending an
// event to the newest of our windows over a second connection; when that
// window was destroyed a moment before, the server answers BadWindow, and
// Xlib's default handler would exit the process. Every other error goes on
// to the handler installed before.
#pragma once

namespace platform {

// Installs the filter in front of the handler in place; installing it again
// keeps the chain as it is.
void InstallX11ErrorFilter();

}  // namespace platform
