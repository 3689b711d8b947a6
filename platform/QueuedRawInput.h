// A raw input source fed by hand: the window's own key and button events
// when no desktop-wide source is reachable, and the injected input of tests.
// Events pushed while not started are dropped, as a real source would not
// see them.
#pragma once

#include "platform/clock.h"
#include "platform/raw_input.h"

namespace platform {

class QueuedRawInput final : public RawInput {
public:
    explicit QueuedRawInput(Clock& clock) : clock_(clock) {}

    bool Start() override;
    void Stop() override;
    void Poll(std::vector<RawInputEvent>& out) override;

    // Stamps the event with the clock's time and queues it.
    void Push(RawInputEvent event);
    bool Started() const { return started_; }

private:
    Clock& clock_;
    bool started_ = false;
    std::vector<RawInputEvent> queue_;
};

}  // namespace platform
