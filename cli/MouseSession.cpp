#include "cli/MouseSession.h"

#include "cli/MessageText.h"
#include "platform/HidapiBackend.h"

#include <cstdio>
#include <cstdlib>

namespace cli {

namespace {

// Test hook: VIMO_SIMULATE_FAIL_AT="POSITION,COUNT" fails that many reports
// of the simulated mouse from that position on (0 = the run's first report),
// so that tests can see how neritctl reports a transfer that fails part-way.
void InjectFaults(sim::SimulatedMouse& mouse)
{
    const char* faults = std::getenv("VIMO_SIMULATE_FAIL_AT");
    if (faults == nullptr)
        return;
    unsigned long position = 0, count = 1;
    if (std::sscanf(faults, "%lu,%lu", &position, &count) >= 1)
        mouse.FailAt(position, count);
}

}  // namespace

MouseSession::MouseSession(std::optional<std::string> simulate)
{
    platform::HidBackend* backend = nullptr;
    if (simulate) {
        const char* log = std::getenv("VIMO_SIMULATE_LOG");
        simulated_ = std::make_unique<sim::PersistentMouse>(*simulate, log != nullptr ? log : "", kHolderName);
        InjectFaults(simulated_->Mouse());
        backend = &simulated_->Backend();
    } else {
        realBackend_ = std::make_unique<platform::HidapiBackend>();
        backend = realBackend_.get();
    }
    link_ = std::make_unique<device::DeviceLink>(*backend, platform::SystemClock());
    commands_ = std::make_unique<device::CommandSet>(*link_, device::ProtocolVariant::Program);
    transfer_ = std::make_unique<device::ProfileTransfer>(*commands_);
}

MouseSession::~MouseSession()
{
    link_->CloseDevice();
}

std::string MouseSession::StateFileText(const std::string& failure, sim::StateFileResult result) const
{
    std::string reason = StateFileProblemText(result);
    if (result == sim::StateFileResult::IoError)
        reason = FileErrorText(simulated_->StateError());
    else if (result == sim::StateFileResult::LockFailed)
        reason += " (" + FileErrorText(simulated_->StateError()) + ")";
    return failure + " the simulated mouse's state file " + FileText(simulated_->StatePath(), reason);
}

bool MouseSession::Prepare(std::string& error)
{
    if (!simulated_)
        return true;
    const sim::StateFileResult result = simulated_->Check();
    if (sim::StateUsable(result))
        return true;
    error = StateFileText("cannot use", result);
    return false;
}

bool MouseSession::Finish(std::string& error)
{
    if (!simulated_)
        return true;
    link_->CloseDevice();
    if (const sim::StateFileResult result = simulated_->Release(); result != sim::StateFileResult::Saved) {
        error = StateFileText("cannot save", result);
        return false;
    }
    if (simulated_->LogError() != platform::FileError::None) {
        error = "cannot write the simulated mouse's log "
              + FileText(simulated_->LogPath(), FileErrorText(simulated_->LogError()));
        return false;
    }
    return true;
}

std::string MouseSession::BusyText() const
{
    const std::string holder = simulated_ ? simulated_->BusyHolder() : "";
    return "the mouse is busy (" + (holder.empty() ? std::string("another program") : holder) + " is using it)";
}

std::string MouseSession::ProblemText() const
{
    switch (link_->LastProblem()) {
    case device::LinkProblem::Busy:
        return BusyText();
    case device::LinkProblem::NotKept:
        return StateFileText("cannot save", simulated_ ? simulated_->LastResult() : sim::StateFileResult::IoError);
    case device::LinkProblem::AccessDenied:
        return "the Vimo mouse is present but its hidraw nodes cannot be opened (permission denied); "
               "install the udev rule packaging/60-neritmice.rules into /etc/udev/rules.d/ "
               "(cmake --install does), then unplug and replug the mouse";
    case device::LinkProblem::MissingCollection:
        return "the Vimo mouse was found, but only one of its two HID collections could be opened";
    case device::LinkProblem::NoMouse:
    case device::LinkProblem::None:
        break;
    }
    const sim::StateFileResult last = simulated_ ? simulated_->LastResult() : sim::StateFileResult::Saved;
    if (last != sim::StateFileResult::Saved && !sim::StateUsable(last))
        return StateFileText("cannot use", last);
    return "no Vimo mouse found (USB 251f:1014); plug it in, or try --simulate";
}

}  // namespace cli
