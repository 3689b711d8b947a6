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
        simulated_ = std::make_unique<sim::PersistentMouse>(statePath, Environment("VIMO_SIMULATE_LOG"));
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
    const sim::StateFileResult loaded = simulated_->Load();
    if (loaded == sim::StateFileResult::Loaded || loaded == sim::StateFileResult::FreshMouse)
        return true;
    // What is left in memory from an earlier call is no mouse to talk to.
    simulated_->Mouse().Unplug();
    return false;
}

bool LibraryContext::EndCall(bool began)
{
    if (!simulated_)
        return true;
    // A file that could not be loaded is left as it is. The state file's
    // lock is held for one call only, so other programs sharing the
    // simulated mouse take turns with this one.
    const bool saved = began && simulated_->Save() == sim::StateFileResult::Saved;
    simulated_->Release();
    return saved;
}

}  // namespace hidlink
