// One open or save dialog through the desktop portal's FileChooser over
// D-Bus. Run blocks its (worker) thread: it connects to the session bus on a
// private connection, asks the portal, and iterates a GLib main context of its
// own until the request object's Response signal arrives or Cancel is called
// from another thread. The context and the connection begin and end on the
// thread that runs the dialog: once Run has returned, nothing of GLib refers
// to that thread or its context, so the thread may end.
#pragma once

#include "platform/file_dialog.h"

#include <string>

struct _GCancellable;
struct _GMainContext;

namespace platform {

class PortalFileChooser {
public:
    struct Outcome {
        bool answered = false;  // false: no portal took the request
        FileDialogAnswer answer;
    };

    // `busAddress` empty: the session bus. `callTimeoutMs` bounds the wait
    // for the portal to take the request, not the user's answer.
    PortalFileChooser(std::string busAddress, int callTimeoutMs);
    ~PortalFileChooser();
    PortalFileChooser(const PortalFileChooser&) = delete;
    PortalFileChooser& operator=(const PortalFileChooser&) = delete;

    // `token` tells apart the requests of one connection.
    Outcome Run(const FileDialogRequest& request, unsigned token);
    // Ends a Run in progress (any thread; it only cancels): Run then answers
    // Cancelled and closes the dialog.
    void Cancel();

    // A "file://" address as a local path (percent escapes decoded); empty
    // when it names no local file.
    static std::string PathFromUri(const char* uri);

private:
    Outcome RunOnContext(const FileDialogRequest& request, unsigned token, _GMainContext* context);

    std::string busAddress_;
    int callTimeoutMs_;
    _GCancellable* cancellable_;
};

}  // namespace platform
