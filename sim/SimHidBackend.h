// platform::HidBackend over a SimulatedMouse: lists its command and data
// collections (while plugged and exposed) and opens handles on them. With a
// shared node both are listed with the node's one path, as hidapi lists the
// collections of one hidraw node.
// The mouse must outlive the backend and every handle it opened.
#pragma once

#include "platform/hid.h"
#include "sim/SimulatedMouse.h"

#include <cstdint>

namespace sim {

class SimHidBackend final : public platform::HidBackend {
public:
    static constexpr uint16_t kVendorId = 0x251F;
    static constexpr uint16_t kProductId = 0x1014;
    static constexpr const char* kCommandPath = "sim:command";
    static constexpr const char* kDataPath = "sim:data";
    // Both collections when the mouse puts them on one node.
    static constexpr const char* kNodePath = "sim:node";

    explicit SimHidBackend(SimulatedMouse& mouse) : mouse_(mouse) {}

    std::vector<platform::HidCollectionInfo> Enumerate() override;
    std::unique_ptr<platform::HidDevice> Open(const std::string& path) override;
    platform::HidOpenError LastOpenError() const override { return lastError_; }

private:
    SimulatedMouse& mouse_;
    platform::HidOpenError lastError_ = platform::HidOpenError::None;
};

}  // namespace sim
