#include "platform/FakeDeviceMonitor.h"
#include "platform/UdevChangeTranslator.h"
#include "platform/UdevDeviceMonitor.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace platform {
namespace {

using Kind = DeviceChange::Kind;

constexpr const char* kMouseId = "0003:0000251F:00001014";
constexpr const char* kNodeSyspath = "/sys/devices/pci0000:00/usb1/1-2/1-2:1.1/0003:251F:1014.0004/hidraw/hidraw1";
constexpr const char* kHidSyspath = "/sys/devices/pci0000:00/usb1/1-2/1-2:1.1/0003:251F:1014.0004";

UdevEvent NodeEvent(const char* action, const char* hidId) {
    return {action, "hidraw", kNodeSyspath, "/dev/hidraw1", hidId};
}

TEST(FakeDeviceMonitorTest, QueuesInOrderOnlyWhileStarted) {
    FakeDeviceMonitor monitor;
    const DeviceChange gone{Kind::Removal, "/dev/hidraw0", "hidraw", kMouseId};
    const DeviceChange back{Kind::Arrival, "/dev/hidraw0", "hidraw", kMouseId};
    monitor.Push(gone);  // not listening yet
    EXPECT_EQ(monitor.FileDescriptor(), -1);
    ASSERT_TRUE(monitor.Start());
    monitor.Push(gone);
    monitor.Push(back);

    std::vector<DeviceChange> out{back};  // Poll appends
    monitor.Poll(out);
    EXPECT_EQ(out, (std::vector<DeviceChange>{back, gone, back}));
    out.clear();
    monitor.Poll(out);
    EXPECT_TRUE(out.empty());

    monitor.Push(gone);
    monitor.Stop();
    ASSERT_TRUE(monitor.Start());
    monitor.Poll(out);
    EXPECT_TRUE(out.empty()) << "Stop drops what was not polled";

    monitor.Stop();
    monitor.SetStartFails(true);
    EXPECT_FALSE(monitor.Start());
    monitor.Push(gone);
    monitor.Poll(out);
    EXPECT_TRUE(out.empty());
}

TEST(UdevChangeTranslatorTest, ANodeRemovalGetsTheHidIdSeenAtItsArrival) {
    UdevChangeTranslator translator;
    const std::optional<DeviceChange> arrival = translator.Translate(NodeEvent("add", kMouseId));
    ASSERT_TRUE(arrival);
    EXPECT_EQ(*arrival, (DeviceChange{Kind::Arrival, "/dev/hidraw1", "hidraw", kMouseId}));

    // The parent is gone by now: the event carries no HID_ID of its own.
    const std::optional<DeviceChange> removal = translator.Translate(NodeEvent("remove", ""));
    ASSERT_TRUE(removal);
    EXPECT_EQ(*removal, (DeviceChange{Kind::Removal, "/dev/hidraw1", "hidraw", kMouseId}));

    // Forgotten once removed: another device may come to the same node.
    EXPECT_EQ(translator.Translate(NodeEvent("remove", ""))->hidId, "");
    translator.Translate(NodeEvent("add", "0003:0000046D:0000C077"));
    EXPECT_EQ(translator.Translate(NodeEvent("remove", ""))->hidId, "0003:0000046D:0000C077");
    // A new device there whose HID_ID could not be read does not inherit an old one.
    translator.Translate(NodeEvent("add", kMouseId));
    translator.Translate(NodeEvent("add", ""));
    EXPECT_EQ(translator.Translate(NodeEvent("remove", ""))->hidId, "");
}

TEST(UdevChangeTranslatorTest, DevicesThereAtStartAndHidDevicesAndOtherActions) {
    UdevChangeTranslator translator;
    translator.Remember(kNodeSyspath, kMouseId);
    EXPECT_EQ(translator.Translate(NodeEvent("remove", ""))->hidId, kMouseId);

    // A HID device has no node: its sysfs path stands for it; its own
    // HID_ID wins over a remembered one.
    translator.Remember(kHidSyspath, "0003:0000046D:0000C077");
    const std::optional<DeviceChange> hid = translator.Translate({"remove", "hid", kHidSyspath, "", kMouseId});
    ASSERT_TRUE(hid);
    EXPECT_EQ(*hid, (DeviceChange{Kind::Removal, kHidSyspath, "hid", kMouseId}));

    for (const char* action : {"bind", "unbind", "change", "move", "online", "offline", ""})
        EXPECT_FALSE(translator.Translate(NodeEvent(action, kMouseId))) << action;
    EXPECT_FALSE(translator.Translate({"add", "hidraw", "", "/dev/hidraw1", kMouseId}));
    // Actions other than add leave what is remembered alone.
    translator.Remember(kNodeSyspath, kMouseId);
    translator.Translate(NodeEvent("change", ""));
    EXPECT_EQ(translator.Translate(NodeEvent("remove", ""))->hidId, kMouseId);
}

// In a container there may be no udev daemon: the monitor then either
// reports false or listens and hears nothing; it never blocks or crashes.
TEST(UdevDeviceMonitorTest, StartsOrRefusesCleanlyAndPollsWithoutBlocking) {
    UdevDeviceMonitor monitor;
    std::vector<DeviceChange> out;
    EXPECT_EQ(monitor.FileDescriptor(), -1);
    monitor.Poll(out);  // before Start: nothing to read
    EXPECT_TRUE(out.empty());

    if (!monitor.Start()) {
        EXPECT_EQ(monitor.FileDescriptor(), -1);
        monitor.Poll(out);
        EXPECT_TRUE(out.empty());
        GTEST_SKIP() << "libudev made no monitor here";
    }
    const int fd = monitor.FileDescriptor();
    ASSERT_GE(fd, 0);
    EXPECT_NE(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_TRUE(monitor.Start());
    EXPECT_EQ(monitor.FileDescriptor(), fd) << "a second Start keeps the first monitor";

    monitor.Poll(out);
    monitor.Poll(out);
    for (const DeviceChange& change : out)  // a device of the host may come or go meanwhile
        EXPECT_TRUE(change.subsystem == "hidraw" || change.subsystem == "hid") << change.subsystem;

    monitor.Stop();
    EXPECT_EQ(monitor.FileDescriptor(), -1);
    out.clear();
    monitor.Poll(out);
    EXPECT_TRUE(out.empty());
    monitor.Stop();
    EXPECT_TRUE(monitor.Start()) << "a stopped monitor starts again";
}

}  // namespace
}  // namespace platform
