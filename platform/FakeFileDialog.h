// A file dialog for tests. Each Start records its request and takes the next
// scripted answer, which is delivered at once (posted like the real one's, so
// it arrives through the message loop). Without a scripted answer the request
// stays open until the test answers it with Answer.
#pragma once

#include "platform/FileDialogMailbox.h"
#include "platform/file_dialog.h"

#include <deque>
#include <vector>

namespace platform {

class FakeFileDialog final : public FileDialog {
public:
    explicit FakeFileDialog(WindowSystem& windows) : mailbox_(windows) {}

    RequestId Start(const FileDialogRequest& request, WindowId notify, unsigned message) override;
    FileDialogAnswer TakeAnswer(RequestId id) override { return mailbox_.Take(id); }

    // ---- what a test drives ----
    void QueueChosen(const std::string& path) { script_.push_back({FileDialogStatus::Chosen, path}); }
    void QueueCancelled() { script_.push_back({FileDialogStatus::Cancelled, {}}); }
    void QueueFailed() { script_.push_back({FileDialogStatus::Failed, {}}); }
    // The next Start returns kNoRequest and posts nothing.
    void FailNextStart() { failNextStart_ = true; }
    // Answers a request that is still open.
    void Answer(RequestId id, const FileDialogAnswer& answer) { mailbox_.Deliver(id, answer); }

    const std::vector<FileDialogRequest>& Requests() const { return requests_; }
    RequestId LastId() const { return lastId_; }

private:
    FileDialogMailbox mailbox_;
    std::deque<FileDialogAnswer> script_;
    std::vector<FileDialogRequest> requests_;
    RequestId lastId_ = kNoRequest;
    bool failNextStart_ = false;
};

}  // namespace platform
