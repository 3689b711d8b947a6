// File dialogs of the Linux desktop: the portal's FileChooser first, and
// `zenity --file-selection` when no portal takes the request; Failed when
// neither can be had. Each dialog runs on a worker thread of its own, so the
// window keeps its message loop; the answer comes back through the mailbox's
// posted message.
//
// Destroying the service closes the dialogs still open (without answering
// them) and waits for their workers; destroy it before the window system.
#pragma once

#include "platform/ChildProcess.h"
#include "platform/FileDialogMailbox.h"
#include "platform/PortalFileChooser.h"
#include "platform/file_dialog.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

class DesktopFileDialog final : public FileDialog {
public:
    struct Options {
        bool usePortal = true;
        std::string busAddress;  // empty: the session bus
        int portalCallTimeoutMs = 10000;  // for the portal to take the request
        std::string zenityProgram = "zenity";  // looked up on PATH unless it holds a '/'
    };

    explicit DesktopFileDialog(WindowSystem& windows) : DesktopFileDialog(windows, Options{}) {}
    DesktopFileDialog(WindowSystem& windows, Options options) : mailbox_(windows), options_(std::move(options)) {}
    ~DesktopFileDialog() override;

    RequestId Start(const FileDialogRequest& request, WindowId notify, unsigned message) override;
    FileDialogAnswer TakeAnswer(RequestId id) override { return mailbox_.Take(id); }

private:
    struct Job {
        Job(RequestId requestId, const FileDialogRequest& dialogRequest, const Options& options)
            : id(requestId), request(dialogRequest), portal(options.busAddress, options.portalCallTimeoutMs) {}

        RequestId id;
        FileDialogRequest request;
        PortalFileChooser portal;
        std::mutex mutex;  // guards the fields below
        bool closing = false;
        bool zenityRunning = false;
        ChildProcess zenity;
        std::atomic<bool> finished{false};
        std::thread worker;
    };

    void Run(Job& job);
    FileDialogAnswer RunZenity(Job& job);
    void JoinFinished();

    FileDialogMailbox mailbox_;
    Options options_;
    std::list<std::unique_ptr<Job>> jobs_;  // user-interface thread only
};

}  // namespace platform
