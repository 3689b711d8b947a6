// The mouse the program talks to: the real one through hidapi, or the
// simulated one, optionally kept in a state file between runs.
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
    // a path for a simulated mouse kept in that file.
    MouseConnection(std::optional<std::string> simulate, platform::Clock& clock);
    ~MouseConnection();
    MouseConnection(const MouseConnection&) = delete;
    MouseConnection& operator=(const MouseConnection&) = delete;

    // Loads the simulated mouse's state; false when its file cannot be used.
    bool Prepare();
    // Writes the simulated mouse back to its state file, if it has one.
    bool Finish();

    // Null for the real mouse.
    sim::SimulatedMouse* Simulated() { return simulated_ ? &simulated_->Mouse() : nullptr; }
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
