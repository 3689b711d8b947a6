#include "app/DevicePresence.h"

#include "device/DeviceRecognition.h"

namespace NeritApp {

bool DevicePresence::Use(platform::DeviceMonitor* monitor)
{
    if (monitor_ != nullptr)
        monitor_->Stop();
    monitor_ = monitor;
    return monitor_ != nullptr && monitor_->Start();
}

void DevicePresence::Poll()
{
    if (monitor_ == nullptr || host_.DeviceBusyNow())
        return;
    changes_.clear();
    monitor_->Poll(changes_);
    // Handling a change may pump messages (the busy state): work on a copy.
    const std::vector<platform::DeviceChange> changes = changes_;
    for (const platform::DeviceChange& change : changes)
        OnDeviceChange(change);
}

void DevicePresence::OnDeviceChange(const platform::DeviceChange& change)
{
    if (!device::IsVimoDevice(change))
        return;
    if (change.kind == platform::DeviceChange::Kind::Removal)
        OnRemoval();
    else
        OnArrival();
}

// Another collection of the mouse may still be there, or the mouse may be
// back already: only a mouse that cannot be opened is missing.
void DevicePresence::OnRemoval()
{
    if (host_.CheckDevicePresent())
        return;
    state_.deviceMissing = true;
    host_.MouseGone();
}

void DevicePresence::OnArrival()
{
    if (!state_.deviceMissing || !host_.CheckDevicePresent())
        return;
    state_.deviceMissing = false;
    host_.RunDeviceWork([this] { WaitForFirmware(); });
    host_.MouseBack();
}

// A mouse just plugged in may need a moment before it answers.
bool DevicePresence::WaitForFirmware()
{
    for (int retry = 0;; ++retry) {
        if (host_.ReadFirmwareVersion())
            return true;
        if (retry == kFirmwareRetries)
            return false;
        clock_.SleepMs(kFirmwareRetryMs);
    }
}

}  // namespace NeritApp
