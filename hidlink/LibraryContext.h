// The library's process-wide state: its own device link over the real mouse
// (hidapi) or, when VIMO_SIMULATE names a state file, the simulated mouse.
#pragma once

#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "platform/hid.h"
#include "sim/PersistentMouse.h"

#include <memory>

namespace hidlink {

class LibraryContext {
public:
    static LibraryContext& Instance();

    device::DeviceLink& Link() { return *link_; }
    device::CommandSet& Commands() { return *commands_; }
    device::ProfileTransfer& Transfer() { return *transfer_; }

    // Around every export: the simulated mouse takes its state from its file
    // before the call and writes it back after.
    void BeginCall();
    void EndCall();

private:
    LibraryContext();

    std::unique_ptr<sim::PersistentMouse> simulated_;
    std::unique_ptr<platform::HidBackend> realBackend_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<device::CommandSet> commands_;
    std::unique_ptr<device::ProfileTransfer> transfer_;
};

// Runs one export's body between BeginCall and EndCall.
template <typename Body>
auto WithContext(Body body)
{
    LibraryContext& context = LibraryContext::Instance();
    context.BeginCall();
    auto result = body(context);
    context.EndCall();
    return result;
}

}  // namespace hidlink
