// A simulated mouse on virtual time with both command-set variants over it.
#pragma once

#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "platform/FakeClock.h"
#include "sim/SimHidBackend.h"
#include "sim/SimulatedMouse.h"

#include <gtest/gtest.h>

#include <vector>

namespace device::test {

inline sim::Report R(std::initializer_list<uint8_t> bytes)
{
    sim::Report report{};
    std::copy(bytes.begin(), bytes.end(), report.begin());
    return report;
}

class DeviceFixture : public ::testing::Test {
protected:
    platform::FakeClock clock;
    sim::SimulatedMouse mouse;
    sim::SimHidBackend backend{mouse};
    DeviceLink link{backend, clock};
    CommandSet program{link, ProtocolVariant::Program};
    CommandSet library{link, ProtocolVariant::Library};
    ProfileTransfer programTransfer{program};
    ProfileTransfer libraryTransfer{library};

    // Opens the link and forgets what opening logged and paused.
    void OpenAndClear()
    {
        ASSERT_TRUE(link.OpenDevice());
        mouse.ClearLog();
        clock.ClearPauses();
    }

    // Bytes of every logged report of one kind, in order.
    std::vector<sim::Report> Sent(sim::ReportKind kind) const
    {
        std::vector<sim::Report> out;
        for (const sim::LoggedReport& entry : mouse.Log()) {
            if (entry.kind == kind && !entry.failed)
                out.push_back(entry.bytes);
        }
        return out;
    }
    std::vector<sim::Report> Features() const { return Sent(sim::ReportKind::FeatureSet); }
    std::vector<sim::Report> Outputs() const { return Sent(sim::ReportKind::Output); }

    sim::ProfileState& Profile(int p) { return mouse.MutableState().profiles[p]; }
};

}  // namespace device::test
