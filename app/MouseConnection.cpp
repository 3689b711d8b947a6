#include "app/MouseConnection.h"

#include "platform/HidapiBackend.h"

namespace NeritApp {

MouseConnection::MouseConnection(std::optional<std::string> simulate, platform::Clock& clock,
                                 platform::LockService& locks)
{
    platform::HidBackend* backend = nullptr;
    if (simulate) {
        simulated_ = std::make_unique<sim::PersistentMouse>(*simulate, "", kHolderName, platform::RealFileSystem(), locks);
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
    return sim::StateUsable(simulated_->Check());
}

bool MouseConnection::Finish()
{
    link_->CloseDevice();
    return !simulated_ || simulated_->Release() == sim::StateFileResult::Saved;
}

std::string MouseConnection::ProblemText() const
{
    switch (link_->LastProblem()) {
    case device::LinkProblem::Busy: {
        const std::string holder = simulated_ ? simulated_->BusyHolder() : "";
        return "the mouse is busy (" + (holder.empty() ? std::string("another program") : holder) + " is using it)";
    }
    case device::LinkProblem::NotKept:
        return "cannot save the simulated mouse's state file " + (simulated_ ? simulated_->StatePath() : "");
    default:
        return "";
    }
}

}  // namespace NeritApp
