// The file dialogs a part of the main window has open: starts them, matches
// the posted answers to the action that asked, tells the user when the
// desktop shows no dialog, and asks before a save replaces a file the
// dialog did not ask about.
#pragma once

#include "platform/file_dialog.h"
#include "platform/file_system.h"

#include <map>
#include <optional>
#include <string>

namespace NeritApp {

// What the dialogs need of the main window.
class NoticeHost {
public:
    virtual ~NoticeHost() = default;
    virtual int Language() const = 0;
    // A message box over the main window with the caption "Notice by App".
    virtual void ShowNotice(const std::string& text, unsigned flags) = 0;
    // A yes/no question in a message box; IDOK or IDCANCEL.
    virtual int AskQuestion(const std::string& text) = 0;
};

class FileDialogRequests {
public:
    struct Chosen {
        int action = 0;
        std::string path;
    };

    FileDialogRequests(NoticeHost& host, platform::FileSystem& files) : host_(host), files_(files) {}

    // The dialogs answer by posting `message` to `window`; without a dialog
    // service nothing is started.
    void Use(platform::FileDialog* dialog, platform::WindowId window, unsigned message);
    // Starts a dialog for `action` unless one is open already.
    void Start(const platform::FileDialogRequest& request, int action);
    // The path chosen in a dialog of ours, once; nothing for another's
    // answer, a cancel, a failure (told) or a replace the user declined.
    std::optional<Chosen> Take(platform::FileDialog::RequestId id);
    bool Open() const { return !requests_.empty(); }

private:
    struct Pending {
        int action;
        platform::FileDialogMode mode;
    };

    void ReportNoDialog();
    bool ConfirmReplace(const std::string& path);

    NoticeHost& host_;
    platform::FileSystem& files_;
    platform::FileDialog* dialog_ = nullptr;
    platform::WindowId window_ = platform::WindowId::None;
    unsigned message_ = 0;
    std::map<platform::FileDialog::RequestId, Pending> requests_;
};

}  // namespace NeritApp
