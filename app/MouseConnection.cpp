#include "app/MouseConnection.h"

#include "platform/HidapiBackend.h"

namespace NeritApp {

MouseConnection::MouseConnection(std::optional<std::string> simulate, platform::Clock& clock)
{
    platform::HidBackend* backend = nullptr;
    if (simulate) {
        simulated_ = std::make_unique<sim::PersistentMouse>(*simulate, "");
        backend = &simulated_->Backend();
    } else {
        realBackend_ = std::make_unique<platform::HidapiBackend>();
        backend = realBackend_.get();
    }
    link_ = std::make_unique<device::DeviceLink>(*backend, clock);
    commands_ = std::make_unique<device::CommandSet>(*link_, device::ProtocolVariant::Program);
    transfer_ = std::make_unique<device::ProfileTransfer>(*commands_);
}

MouseConnection::~MouseConnection()
{
    link_->CloseDevice();
}

bool MouseConnection::Prepare()
{
    if (!simulated_)
        return true;
    const sim::StateFileResult result = simulated_->Load();
    return result == sim::StateFileResult::Loaded || result == sim::StateFileResult::FreshMouse;
}

bool MouseConnection::Finish()
{
    return !simulated_ || simulated_->Save() == sim::StateFileResult::Saved;
}

}  // namespace NeritApp
