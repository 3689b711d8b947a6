// The mouse the program talks to: the real one through hidapi, or the
// simulated one, optionally kept in a state file between runs (and shared
// with other programs, which hold it in turn for a command sequence each).
#pragma once

#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "platform/clock.h"
#include "platform/hid.h"
#include "sim/PersistentMouse.h"

#include <memory>
#include <optional>
#include <string>

namespace NeritApp {

class MouseConnection {
public:
    // simulate: no value for the real mouse, "" for a fresh simulated mouse,
    // a path for a simulated mouse kept in that file, taken in turn with
    // other programs through `locks`.
    MouseConnection(std::optional<std::string> simulate, platform::Clock& clock,
                    platform::LockService& locks = platform::RealLockService());
    ~MouseConnection();
    MouseConnection(const MouseConnection&) = delete;
    MouseConnection& operator=(const MouseConnection&) = delete;

    // The name the program leaves for others waiting for the simulated mouse.
    static constexpr const char* kHolderName = "NeritMice";

    // Checks the simulated mouse's state file; false when it cannot be used.
    bool Prepare();
    // Ends a sequence left running; false when its state was not kept.
    bool Finish();

    // Null for the real mouse.
    sim::SimulatedMouse* Simulated() { return simulated_ ? &simulated_->Mouse() : nullptr; }
    sim::PersistentMouse* Persistent() { return simulated_.get(); }
    // What the program's own messages do not tell about the last failure
    // with the mouse: that another program held it, or that the simulated
    // mouse's state file could not be written. Empty otherwise.
    std::string ProblemText() const;
    device::DeviceLink& Link() { return *link_; }
    device::CommandSet& Commands() { return *commands_; }
    device::ProfileTransfer& Transfer() { return *transfer_; }

private:
    std::unique_ptr<sim::PersistentMouse> simulated_;
    std::unique_ptr<platform::HidBackend> realBackend_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<device::CommandSet> commands_;
    std::unique_ptr<device::ProfileTransfer> transfer_;
};

}  // namespace NeritApp
