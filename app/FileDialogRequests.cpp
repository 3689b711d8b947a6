#include "app/FileDialogRequests.h"

#include "app/ProgramTexts.h"

namespace NeritApp {

using platform::FileDialogAnswer;
using platform::FileDialogStatus;

void FileDialogRequests::Use(platform::FileDialog* dialog, platform::WindowId window, unsigned message)
{
    dialog_ = dialog;
    window_ = window;
    message_ = message;
}

void FileDialogRequests::Start(const platform::FileDialogRequest& request, int action)
{
    if (dialog_ == nullptr || Open())
        return;
    const platform::FileDialog::RequestId id = dialog_->Start(request, window_, message_);
    if (id == platform::FileDialog::kNoRequest)
        ReportNoDialog();
    else
        requests_[id] = {action, request.mode};
}

std::optional<FileDialogRequests::Chosen> FileDialogRequests::Take(platform::FileDialog::RequestId id)
{
    const auto request = requests_.find(id);
    if (dialog_ == nullptr || request == requests_.end())
        return std::nullopt;
    const Pending pending = request->second;
    requests_.erase(request);
    const FileDialogAnswer answer = dialog_->TakeAnswer(id);
    if (answer.status == FileDialogStatus::Failed)
        ReportNoDialog();
    if (answer.status != FileDialogStatus::Chosen)
        return std::nullopt;
    // The dialog asked about the name the user typed, not about the one with
    // the extension added.
    if (pending.mode == platform::FileDialogMode::Save && answer.extensionAdded && files_.Exists(answer.path)
        && !ConfirmReplace(answer.path))
        return std::nullopt;
    return Chosen{pending.action, answer.path};
}

void FileDialogRequests::ReportNoDialog()
{
    host_.ShowNotice(std::string(kNoFileDialogText[static_cast<size_t>(host_.Language())]),
                     platform::MB_OK | platform::MB_ICONERROR);
}

bool FileDialogRequests::ConfirmReplace(const std::string& path)
{
    std::string text(kReplaceFileText[static_cast<size_t>(host_.Language())]);
    text.replace(text.find("%s"), 2, path);
    return host_.AskQuestion(text) == platform::IDOK;
}

}  // namespace NeritApp
