// The mouse neritctl talks to: the real one through hidapi, or the simulated
// one, optionally kept in a state file between runs (and shared with other
// programs, which hold it in turn for a command sequence each).
#pragma once

#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "platform/hid.h"
#include "sim/PersistentMouse.h"

#include <memory>
#include <optional>
#include <string>

namespace cli {

class MouseSession {
public:
    // simulate: no value for the real mouse, "" for a fresh simulated mouse,
    // a path for a simulated mouse kept in that file. VIMO_SIMULATE_LOG names
    // a file that receives the simulated mouse's traffic.
    explicit MouseSession(std::optional<std::string> simulate);
    // The name neritctl leaves for others waiting for the simulated mouse.
    static constexpr const char* kHolderName = "neritctl";
    ~MouseSession();
    MouseSession(const MouseSession&) = delete;
    MouseSession& operator=(const MouseSession&) = delete;

    // False with a message when the state file cannot be used.
    bool Prepare(std::string& error);
    // Ends a sequence left running; false with a message when its state was
    // not kept or the simulated mouse's log could not be written.
    bool Finish(std::string& error);

    device::DeviceLink& Link() { return *link_; }
    device::CommandSet& Commands() { return *commands_; }
    device::ProfileTransfer& Transfer() { return *transfer_; }

    // The message for a link that could not be opened, or whose mouse did
    // not keep what it was sent.
    std::string ProblemText() const;

private:
    // "<failure> the simulated mouse's state file PATH: <why>"
    std::string StateFileText(const std::string& failure, sim::StateFileResult result) const;
    // "the mouse is busy (NAME is using it)"
    std::string BusyText() const;

    std::unique_ptr<sim::PersistentMouse> simulated_;
    std::unique_ptr<platform::HidBackend> realBackend_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<device::CommandSet> commands_;
    std::unique_ptr<device::ProfileTransfer> transfer_;
};

}  // namespace cli
