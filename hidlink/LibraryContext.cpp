#include "hidlink/LibraryContext.h"

#include "platform/HidapiBackend.h"
#include "platform/clock.h"

#include <cstdlib>

namespace hidlink {
namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

LibraryContext& LibraryContext::Instance()
{
    static LibraryContext context;
    return context;
}

LibraryContext::LibraryContext()
{
    platform::HidBackend* backend = nullptr;
    const std::string statePath = Environment("VIMO_SIMULATE");
    if (!statePath.empty()) {
        simulated_ = std::make_unique<sim::PersistentMouse>(statePath, Environment("VIMO_SIMULATE_LOG"), kHolderName);
        backend = &simulated_->Backend();
    } else {
        realBackend_ = std::make_unique<platform::HidapiBackend>();
        backend = realBackend_.get();
    }
    link_ = std::make_unique<device::DeviceLink>(*backend, platform::SystemClock());
    commands_ = std::make_unique<device::CommandSet>(*link_, device::ProtocolVariant::Library);
    transfer_ = std::make_unique<device::ProfileTransfer>(*commands_);
}

bool LibraryContext::BeginCall()
{
    if (!simulated_)
        return true;
    // Without the mouse, the call's reports fail on the handles it kept.
    return sim::StateUsable(simulated_->Hold());
}

bool LibraryContext::EndCall(bool began)
{
    if (!simulated_)
        return true;
    // A file that could not be loaded is left as it is. The mouse is held
    // for one call only, so other programs sharing the simulated mouse take
    // turns with this one.
    const bool saved = simulated_->Release() == sim::StateFileResult::Saved;
    return began && saved && simulated_->LogError() == platform::FileError::None;
}

}  // namespace hidlink
