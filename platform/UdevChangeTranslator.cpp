#include "platform/UdevChangeTranslator.h"

namespace platform {

void UdevChangeTranslator::Remember(const std::string& syspath, const std::string& hidId) {
    if (!syspath.empty() && !hidId.empty())
        hidIds_[syspath] = hidId;
}

std::optional<DeviceChange> UdevChangeTranslator::Translate(const UdevEvent& event) {
    const bool arrival = event.action == "add";
    if ((!arrival && event.action != "remove") || event.syspath.empty())
        return std::nullopt;
    DeviceChange change;
    change.kind = arrival ? DeviceChange::Kind::Arrival : DeviceChange::Kind::Removal;
    change.devicePath = event.devnode.empty() ? event.syspath : event.devnode;
    change.subsystem = event.subsystem;
    change.hidId = event.hidId;
    // A device seen before at this path is over: a new one may take it.
    const auto known = hidIds_.find(event.syspath);
    if (known != hidIds_.end()) {
        if (!arrival && change.hidId.empty())
            change.hidId = known->second;
        hidIds_.erase(known);
    }
    if (arrival)
        Remember(event.syspath, event.hidId);
    return change;
}

}  // namespace platform
