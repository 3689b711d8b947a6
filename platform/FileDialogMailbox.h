// The bookkeeping that every file dialog service shares: request ids, the
// answers waiting to be taken, the default extension of saved names, and the
// message that tells the window. Thread-safe: answers may come from workers.
#pragma once

#include "platform/file_dialog.h"

#include <map>
#include <mutex>
#include <string>

namespace platform {

class FileDialogMailbox {
public:
    explicit FileDialogMailbox(WindowSystem& windows) : windows_(windows) {}

    // A new request to wait for; its id is never kNoRequest.
    FileDialog::RequestId Open(const FileDialogRequest& request, WindowId notify, unsigned message);
    // Forgets a request that could not be started; nothing is posted.
    void Drop(FileDialog::RequestId id);
    // Stores the answer (a saved name completed with the default extension)
    // and posts the request's message. Later answers to the same id are
    // ignored.
    void Deliver(FileDialog::RequestId id, FileDialogAnswer answer);
    FileDialogAnswer Take(FileDialog::RequestId id);

    // `path` with ".extension" appended when its file name has no extension
    // (no dot after its first character); unchanged for an empty extension.
    static std::string WithDefaultExtension(const std::string& path, const std::string& extension);

private:
    struct Entry {
        WindowId notify = WindowId::None;
        unsigned message = 0;
        bool save = false;
        std::string defaultExtension;
        FileDialogAnswer answer;
    };

    WindowSystem& windows_;
    std::mutex mutex_;
    std::map<FileDialog::RequestId, Entry> entries_;
    FileDialog::RequestId lastId_ = FileDialog::kNoRequest;
};

}  // namespace platform
