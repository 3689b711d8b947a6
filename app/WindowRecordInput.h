// Hands the main window's own messages to the recorder: pointer movement
// (so that the click on the stop button is recognised) and, for sessions
// without desktop-wide input, the keys, buttons and wheel notches the
// window receives, queued on the recorder's window source.
#pragma once

#include "app/MacroRecorder.h"
#include "platform/QueuedRawInput.h"

#include <cstdint>
#include <optional>

namespace app {

class WindowRecordInput {
public:
    WindowRecordInput(MacroRecorder& recorder, platform::QueuedRawInput& window)
        : recorder_(recorder), window_(window) {}

    // Records what arrived before the message with the pointer where it was,
    // then the message itself; returns the recorder's poll result (a full
    // macro ends the recording).
    PollResult OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam);

    // The transition a window message stands for; nothing for other messages.
    static std::optional<platform::RawInputEvent> Translate(unsigned message, uintptr_t wParam);

private:
    MacroRecorder& recorder_;
    platform::QueuedRawInput& window_;
};

}  // namespace app
