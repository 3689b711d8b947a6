#include "platform/FileDialogMailbox.h"

#include <utility>

namespace platform {

FileDialog::RequestId FileDialogMailbox::Open(const FileDialogRequest& request, WindowId notify, unsigned message)
{
    std::lock_guard lock(mutex_);
    do
        ++lastId_;
    while (lastId_ == FileDialog::kNoRequest || entries_.count(lastId_) != 0);
    Entry& entry = entries_[lastId_];
    entry.notify = notify;
    entry.message = message;
    entry.save = request.mode == FileDialogMode::Save;
    entry.defaultExtension = request.defaultExtension;
    return lastId_;
}

void FileDialogMailbox::Drop(FileDialog::RequestId id)
{
    std::lock_guard lock(mutex_);
    entries_.erase(id);
}

void FileDialogMailbox::Deliver(FileDialog::RequestId id, FileDialogAnswer answer)
{
    WindowId notify;
    unsigned message;
    {
        std::lock_guard lock(mutex_);
        const auto found = entries_.find(id);
        if (found == entries_.end() || found->second.answer.status != FileDialogStatus::Pending)
            return;
        Entry& entry = found->second;
        if (answer.status == FileDialogStatus::Chosen && answer.path.empty())
            answer.status = FileDialogStatus::Failed;
        if (answer.status != FileDialogStatus::Chosen)
            answer.path.clear();
        else if (entry.save) {
            std::string extended = WithDefaultExtension(answer.path, entry.defaultExtension);
            answer.extensionAdded = extended != answer.path;
            answer.path = std::move(extended);
        }
        entry.answer = std::move(answer);
        notify = entry.notify;
        message = entry.message;
    }
    windows_.PostMessage(notify, message, id, 0);
}

FileDialogAnswer FileDialogMailbox::Take(FileDialog::RequestId id)
{
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(id);
    if (found == entries_.end() || found->second.answer.status == FileDialogStatus::Pending)
        return {};
    FileDialogAnswer answer = std::move(found->second.answer);
    entries_.erase(found);
    return answer;
}

std::string FileDialogMailbox::WithDefaultExtension(const std::string& path, const std::string& extension)
{
    if (extension.empty())
        return path;
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > nameStart)
        return path;
    return path + "." + extension;
}

}  // namespace platform
