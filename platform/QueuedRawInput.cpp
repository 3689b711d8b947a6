#include "platform/QueuedRawInput.h"

namespace platform {

bool QueuedRawInput::Start() {
    started_ = true;
    return true;
}

void QueuedRawInput::Stop() {
    started_ = false;
    queue_.clear();
}

void QueuedRawInput::Poll(std::vector<RawInputEvent>& out) {
    out.insert(out.end(), queue_.begin(), queue_.end());
    queue_.clear();
}

void QueuedRawInput::Push(RawInputEvent event) {
    if (!started_)
        return;
    event.timeMicros = clock_.NowMicros();
    queue_.push_back(event);
}

}  // namespace platform
