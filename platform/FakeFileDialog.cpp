#include "platform/FakeFileDialog.h"

namespace platform {

FileDialog::RequestId FakeFileDialog::Start(const FileDialogRequest& request, WindowId notify, unsigned message)
{
    requests_.push_back(request);
    if (failNextStart_) {
        failNextStart_ = false;
        return kNoRequest;
    }
    lastId_ = mailbox_.Open(request, notify, message);
    if (!script_.empty()) {
        const FileDialogAnswer answer = script_.front();
        script_.pop_front();
        mailbox_.Deliver(lastId_, answer);
    }
    return lastId_;
}

}  // namespace platform
