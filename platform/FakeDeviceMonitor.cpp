#include "platform/FakeDeviceMonitor.h"

#include <utility>

namespace platform {

bool FakeDeviceMonitor::Start() {
    started_ = !startFails_;
    return started_;
}

void FakeDeviceMonitor::Stop() {
    started_ = false;
    queue_.clear();
}

void FakeDeviceMonitor::Poll(std::vector<DeviceChange>& out) {
    out.insert(out.end(), queue_.begin(), queue_.end());
    queue_.clear();
}

void FakeDeviceMonitor::Push(DeviceChange change) {
    if (started_)
        queue_.push_back(std::move(change));
}

}  // namespace platform
