// An open handle on one of the simulated mouse's collections, or on the
// whole node when both collections share one. Checks what a real driver
// would refuse (wrong length, wrong report id, a report type the handle does
// not carry, a handle from before an unplug) and hands the rest to the mouse.
// A handle that receives input has its own host queue for as long as it is
// open.
#pragma once

#include "platform/hid.h"
#include "sim/SimulatedMouse.h"

#include <optional>

namespace sim {

class SimHidDevice final : public platform::HidDevice {
public:
    // wholeNode: the handle carries both collections' reports.
    SimHidDevice(SimulatedMouse& mouse, Collection collection, bool wholeNode = false);
    ~SimHidDevice() override;
    SimHidDevice(const SimHidDevice&) = delete;
    SimHidDevice& operator=(const SimHidDevice&) = delete;

    bool SendFeatureReport(const uint8_t* data, size_t length) override;
    bool GetFeatureReport(uint8_t* data, size_t length) override;
    bool WriteOutputReport(const uint8_t* data, size_t length) override;
    // Waits as the mouse's input timing says (at once without a clock).
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override;
    bool SetInputQueueLength(unsigned count) override;

private:
    bool Alive() const;
    bool Carries(Collection collection) const { return wholeNode_ || collection_ == collection; }
    bool Accepts(Collection collection, uint8_t reportId, const uint8_t* data, size_t length) const;

    SimulatedMouse& mouse_;
    Collection collection_;
    bool wholeNode_;
    unsigned generation_;  // the mouse's plug generation at open
    std::optional<size_t> inputQueue_;
};

}  // namespace sim
