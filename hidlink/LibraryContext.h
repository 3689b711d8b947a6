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

    // The name the library leaves for others waiting for the simulated mouse.
    static constexpr const char* kHolderName = "libhidlink";

    // Around every export: the simulated mouse is held for the call, taking
    // its state from its file before and writing it back after when it
    // changed. BeginCall is false when the file cannot be used; the mouse is
    // then absent for the call. EndCall is false when the state could not be
    // kept (so the call's effect is lost).
    bool BeginCall();
    bool EndCall(bool began);

private:
    LibraryContext();

    std::unique_ptr<sim::PersistentMouse> simulated_;
    std::unique_ptr<platform::HidBackend> realBackend_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<device::CommandSet> commands_;
    std::unique_ptr<device::ProfileTransfer> transfer_;
};

// Runs one export's body between BeginCall and EndCall. A simulated mouse
// whose state file cannot be loaded answers like no mouse at all; one whose
// state cannot be saved turns the result into `failure`.
template <typename Result, typename Body>
Result WithContext(Result failure, Body body)
{
    LibraryContext& context = LibraryContext::Instance();
    const bool began = context.BeginCall();
    const Result result = body(context);
    return context.EndCall(began) ? result : failure;
}

}  // namespace hidlink
