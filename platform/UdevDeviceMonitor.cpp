#include "platform/UdevDeviceMonitor.h"

#include <fcntl.h>
#include <libudev.h>

#include <array>
#include <string>

namespace platform {
namespace {

constexpr std::array<const char*, 2> kSubsystems = {"hidraw", "hid"};
// A burst larger than this is left for the next poll so that the loop
// stays responsive; the descriptor stays readable meanwhile.
constexpr int kMaxEventsPerPoll = 64;

std::string Text(const char* value) {
    return value != nullptr ? std::string(value) : std::string();
}

// The device's own HID_ID, else its parent HID device's (a hidraw node has
// none of its own). The parent belongs to the device: no unref.
std::string HidIdOf(udev_device* device) {
    const char* own = udev_device_get_property_value(device, "HID_ID");
    if (own != nullptr)
        return own;
    udev_device* parent = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
    return parent != nullptr ? Text(udev_device_get_property_value(parent, "HID_ID")) : std::string();
}

UdevEvent EventOf(udev_device* device) {
    UdevEvent event;
    event.action = Text(udev_device_get_action(device));
    event.subsystem = Text(udev_device_get_subsystem(device));
    event.syspath = Text(udev_device_get_syspath(device));
    event.devnode = Text(udev_device_get_devnode(device));
    event.hidId = HidIdOf(device);
    return event;
}

bool MakeNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

UdevDeviceMonitor::~UdevDeviceMonitor() {
    Stop();
}

bool UdevDeviceMonitor::Start() {
    if (monitor_ != nullptr)
        return true;
    if (!OpenMonitor()) {
        Stop();
        return false;
    }
    RememberPresentDevices();
    return true;
}

bool UdevDeviceMonitor::OpenMonitor() {
    udev_ = udev_new();
    if (udev_ == nullptr)
        return false;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr)
        return false;
    for (const char* subsystem : kSubsystems) {
        if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, subsystem, nullptr) < 0)
            return false;
    }
    return udev_monitor_enable_receiving(monitor_) >= 0 && MakeNonBlocking(udev_monitor_get_fd(monitor_));
}

void UdevDeviceMonitor::RememberPresentDevices() {
    udev_enumerate* enumerate = udev_enumerate_new(udev_);
    if (enumerate == nullptr)
        return;
    for (const char* subsystem : kSubsystems)
        udev_enumerate_add_match_subsystem(enumerate, subsystem);
    udev_enumerate_scan_devices(enumerate);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
        udev_device* device = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
        if (device == nullptr)
            continue;
        translator_.Remember(Text(udev_device_get_syspath(device)), HidIdOf(device));
        udev_device_unref(device);
    }
    udev_enumerate_unref(enumerate);
}

void UdevDeviceMonitor::Stop() {
    if (monitor_ != nullptr)
        udev_monitor_unref(monitor_);
    if (udev_ != nullptr)
        udev_unref(udev_);
    monitor_ = nullptr;
    udev_ = nullptr;
    translator_ = UdevChangeTranslator();
}

void UdevDeviceMonitor::Poll(std::vector<DeviceChange>& out) {
    if (monitor_ == nullptr)
        return;
    for (int i = 0; i < kMaxEventsPerPoll; ++i) {
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (device == nullptr)
            return;
        std::optional<DeviceChange> change = translator_.Translate(EventOf(device));
        udev_device_unref(device);
        if (change)
            out.push_back(std::move(*change));
    }
}

int UdevDeviceMonitor::FileDescriptor() const {
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

}  // namespace platform
