// Open and save dialogs of the desktop, answered asynchronously.
//
// Start shows a dialog and returns at once with a request id (kNoRequest when
// no dialog could be started). The message loop keeps running meanwhile. When
// the user has answered, the service posts `message` to `notify` through
// WindowSystem::PostMessage with wParam = the request id and lParam = 0 (from
// whatever thread it runs on); the handler then calls TakeAnswer(id) once.
#pragma once

#include "platform/window_system.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One entry of the dialog's type list, e.g. {"VQ profile (*.vqp)", {"*.vqp"}}.
struct FileFilter {
    std::string name;  // UTF-8, shown to the user
    std::vector<std::string> patterns;  // shell globs on the file name
};

enum class FileDialogMode { Open, Save };

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::string title;  // UTF-8
    std::vector<FileFilter> filters;  // the first one is selected at start
    std::string folder;  // the folder shown at start; empty: the desktop's choice
    std::string fileName;  // the name proposed at start (save), without folder
    // Without dot, e.g. "vqp". A chosen save path whose file name has no
    // extension gets it appended; empty: nothing is appended.
    std::string defaultExtension;
    // Save only: the dialog asks before an existing file is replaced. A save
    // dialog never requires the file to exist; an open dialog always does.
    bool confirmOverwrite = true;
};

enum class FileDialogStatus {
    Pending,  // not answered yet, already taken, or an unknown id
    Chosen,
    Cancelled,  // the user closed the dialog without choosing
    Failed,  // no dialog could be shown, or its answer was unusable
};

struct FileDialogAnswer {
    FileDialogStatus status = FileDialogStatus::Pending;
    std::string path;  // Chosen only: an absolute local path (UTF-8 or raw bytes)
    // Save only: the default extension was added to the name the user gave,
    // so the dialog did not ask about replacing a file of this path.
    bool extensionAdded = false;
    friend bool operator==(const FileDialogAnswer&, const FileDialogAnswer&) = default;
};

class FileDialog {
public:
    using RequestId = uint32_t;
    static constexpr RequestId kNoRequest = 0;

    virtual ~FileDialog() = default;

    virtual RequestId Start(const FileDialogRequest& request, WindowId notify, unsigned message) = 0;
    // The answer of a finished request, handed out once.
    virtual FileDialogAnswer TakeAnswer(RequestId id) = 0;
};

}  // namespace platform
