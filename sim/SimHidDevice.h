// An open handle on one of the simulated mouse's collections. Checks what a
// real driver would refuse (wrong length, wrong report id, a report type the
// collection does not carry, a handle from before an unplug) and hands the
// rest to the mouse.
#pragma once

#include "platform/hid.h"
#include "sim/SimulatedMouse.h"

namespace sim {

class SimHidDevice final : public platform::HidDevice {
public:
    SimHidDevice(SimulatedMouse& mouse, Collection collection);

    bool SendFeatureReport(const uint8_t* data, size_t length) override;
    bool GetFeatureReport(uint8_t* data, size_t length) override;
    bool WriteOutputReport(const uint8_t* data, size_t length) override;
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override;
    bool SetInputQueueLength(unsigned count) override;

private:
    bool Alive() const;
    bool Accepts(Collection collection, uint8_t reportId, const uint8_t* data, size_t length) const;

    SimulatedMouse& mouse_;
    Collection collection_;
    unsigned generation_;  // the mouse's plug generation at open
};

}  // namespace sim
