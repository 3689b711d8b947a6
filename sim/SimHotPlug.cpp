#include "sim/SimHotPlug.h"

#include "sim/SimHidBackend.h"

#include <cstdio>
#include <string>

namespace sim {
namespace {

constexpr unsigned kBusUsb = 0x0003;

// HID_ID as the kernel prints it: bus, vendor, product.
std::string MouseHidId() {
    char text[32];
    std::snprintf(text, sizeof text, "%04X:%08X:%08X", kBusUsb, unsigned{SimHidBackend::kVendorId},
                  unsigned{SimHidBackend::kProductId});
    return text;
}

}  // namespace

SimHotPlug::SimHotPlug(SimulatedMouse& mouse, platform::FakeDeviceMonitor& monitor, unsigned firstNode)
    : mouse_(mouse),
      monitor_(monitor),
      firstNode_(firstNode),
      present_(mouse.Plugged()),
      generation_(mouse.PlugGeneration()) {}

void SimHotPlug::Unplug() {
    mouse_.Unplug();
    Report();
}

void SimHotPlug::Replug() {
    mouse_.Replug();
    Report();
}

void SimHotPlug::Report() {
    const bool wentAway = !mouse_.Plugged() || mouse_.PlugGeneration() != generation_;
    if (present_ && wentAway) {
        PushChanges(platform::DeviceChange::Kind::Removal);
        present_ = false;
    }
    if (!present_ && mouse_.Plugged()) {
        PushChanges(platform::DeviceChange::Kind::Arrival);
        present_ = true;
    }
    generation_ = mouse_.PlugGeneration();
}

void SimHotPlug::PushChanges(platform::DeviceChange::Kind kind) {
    const unsigned nodes = mouse_.SharedNode() ? 1 : 2;
    for (unsigned i = 0; i < nodes; ++i)
        monitor_.Push({kind, "/dev/hidraw" + std::to_string(firstNode_ + i), "hidraw", MouseHidId()});
}

}  // namespace sim
