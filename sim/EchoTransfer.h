// A profile transfer to a simulated mouse of its own, in memory and without
// pauses: what a mouse gives back for the records written to it, without
// touching the real one.
#pragma once

#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "platform/PauselessClock.h"
#include "sim/SimHidBackend.h"
#include "sim/SimulatedMouse.h"

namespace sim {

class EchoTransfer {
public:
    EchoTransfer() = default;
    EchoTransfer(const EchoTransfer&) = delete;
    EchoTransfer& operator=(const EchoTransfer&) = delete;

    device::ProfileTransfer& Transfer() { return transfer_; }

private:
    platform::PauselessClock clock_;
    SimulatedMouse mouse_;
    SimHidBackend backend_{mouse_};
    device::DeviceLink link_{backend_, clock_};
    device::CommandSet commands_{link_, device::ProtocolVariant::Program};
    device::ProfileTransfer transfer_{commands_};
};

}  // namespace sim
