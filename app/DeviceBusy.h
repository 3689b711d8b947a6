// The main window's busy state while it works with the mouse: a progress
// label over the frame, the wait cursor, and the window system pumped between
// profiles so that the window keeps painting. Meanwhile mouse and keyboard
// input is dropped; every other message (a close among them) waits until the
// work has ended, and a quit request stays pending for the message loop.
#pragma once

#include "platform/window_system.h"
#include "settings/TransferProgress.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {
class CControlUI;
class CWindowUIManager;
}  // namespace SkinUI

namespace NeritApp {

class DeviceBusy final : public settings::TransferProgress {
public:
    static constexpr std::u16string_view kLabelName = u"deviceprogresslabel";
    // At most this many messages are handled per pump, so that a stream of
    // events cannot hold the work up.
    static constexpr int kMaxMessagesPerPump = 256;

    explicit DeviceBusy(SkinUI::CWindowUIManager& manager) : manager_(manager) {}

    // Runs `work` with the indication shown in `language` (0..3); a call
    // made while busy just runs it.
    void Run(int language, const std::function<void()>& work);
    bool Active() const { return active_; }

    // Shows which profile comes next and repaints; nothing while not busy.
    void BeforeProfile(Direction direction, int index, int step, int total) override;
    // Handles what is waiting: paints and timers are dispatched, input is
    // dropped, the rest is kept for after the work.
    void Pump();

private:
    void Begin();
    void End();
    void ShowLabel();
    void SetText(std::u16string_view text);

    SkinUI::CWindowUIManager& manager_;
    int language_ = 0;
    bool active_ = false;
    SkinUI::CControlUI* label_ = nullptr;
    std::vector<platform::Message> deferred_;
};

}  // namespace NeritApp
