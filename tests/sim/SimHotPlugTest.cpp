#include "sim/SimHotPlug.h"

#include "device/DeviceRecognition.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

using Kind = platform::DeviceChange::Kind;

struct Seen {
    Kind kind;
    std::string path;
};

class SimHotPlugTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(monitor.Start()); }

    // The changes polled since the last call; each must name the mouse.
    std::vector<Seen> Poll() {
        std::vector<platform::DeviceChange> changes;
        monitor.Poll(changes);
        std::vector<Seen> seen;
        for (const platform::DeviceChange& change : changes) {
            EXPECT_TRUE(device::IsVimoDevice(change)) << change.hidId;
            EXPECT_EQ(change.subsystem, "hidraw");
            seen.push_back({change.kind, change.devicePath});
        }
        return seen;
    }

    static std::vector<Seen> Both(Kind kind) { return {{kind, "/dev/hidraw3"}, {kind, "/dev/hidraw4"}}; }

    SimulatedMouse mouse;
    platform::FakeDeviceMonitor monitor;
    SimHotPlug plug{mouse, monitor, 3};
};

bool operator==(const Seen& a, const Seen& b) {
    return a.kind == b.kind && a.path == b.path;
}

TEST_F(SimHotPlugTest, UnplugAndReplugGiveTwoRemovalsThenTwoArrivals) {
    plug.Unplug();
    EXPECT_FALSE(mouse.Plugged());
    plug.Unplug();  // already gone: the host hears nothing more
    EXPECT_EQ(Poll(), Both(Kind::Removal));

    plug.Replug();
    EXPECT_TRUE(mouse.Plugged());
    plug.Replug();
    plug.Report();
    EXPECT_EQ(Poll(), Both(Kind::Arrival));
}

TEST_F(SimHotPlugTest, UnplugsThatHappenOnTheMouseItselfAreReported) {
    // Pulled out in the middle of a command.
    mouse.UnplugAt(0);
    Report report{kCommandReportId, 0x5E};
    EXPECT_FALSE(mouse.FeatureSet(report));
    plug.Report();
    EXPECT_EQ(Poll(), Both(Kind::Removal));

    // Out and in again between two reports: gone, then back.
    mouse.Replug();
    plug.Report();
    Poll();
    mouse.Unplug();
    mouse.Replug();
    plug.Report();
    std::vector<Seen> expected = Both(Kind::Removal);
    for (const Seen& seen : Both(Kind::Arrival))
        expected.push_back(seen);
    EXPECT_EQ(Poll(), expected);
}

TEST_F(SimHotPlugTest, BothCollectionsOnOneNodeGiveOneChange) {
    mouse.SetSharedNode(true);
    plug.Unplug();
    plug.Replug();
    EXPECT_EQ(Poll(), (std::vector<Seen>{{Kind::Removal, "/dev/hidraw3"}, {Kind::Arrival, "/dev/hidraw3"}}));
}

}  // namespace
}  // namespace sim
