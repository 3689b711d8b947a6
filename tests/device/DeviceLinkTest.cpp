#include "tests/device/DeviceFixture.h"

namespace device::test {
namespace {

// A backend listing chosen collections; counts the handles that are open.
class ListedBackend final : public platform::HidBackend {
public:
    struct Device final : platform::HidDevice {
        explicit Device(int& live) : live(live) { ++live; }
        ~Device() override { --live; }
        bool SendFeatureReport(const uint8_t*, size_t) override { return true; }
        bool GetFeatureReport(uint8_t*, size_t) override { return true; }
        bool WriteOutputReport(const uint8_t*, size_t) override { return true; }
        int ReadInputReport(uint8_t*, size_t, int) override { return 0; }
        bool SetInputQueueLength(unsigned) override { return true; }
        int& live;
    };

    std::vector<platform::HidCollectionInfo> collections;
    std::vector<std::string> unopenable;
    std::vector<std::string> opened;
    int live = 0;

    std::vector<platform::HidCollectionInfo> Enumerate() override { return collections; }
    std::unique_ptr<platform::HidDevice> Open(const std::string& path) override
    {
        if (std::find(unopenable.begin(), unopenable.end(), path) != unopenable.end())
            return nullptr;
        opened.push_back(path);
        return std::make_unique<Device>(live);
    }
    platform::HidOpenError LastOpenError() const override { return platform::HidOpenError::AccessDenied; }

    void Add(uint16_t page, uint16_t usage, std::string path, bool valid = true)
    {
        collections.push_back({kVendorId, kProductId, page, usage, std::move(path), valid});
    }
};

TEST(DeviceLinkMatch, TakesOnlyExactCollectionsAndSkipsUnusableInterfaces)
{
    platform::FakeClock clock;
    ListedBackend backend;
    DeviceLink link(backend, clock);
    backend.Add(kDataUsagePage, kCommandUsage, "wrong-usage");
    backend.collections.push_back({0x1234, kProductId, kCommandUsagePage, kCommandUsage, "other-vendor", true});
    backend.Add(kCommandUsagePage, kCommandUsage, "no-attributes", false);
    backend.Add(kCommandUsagePage, kCommandUsage, "locked");
    backend.unopenable.push_back("locked");
    backend.Add(kCommandUsagePage, kCommandUsage, "command");

    EXPECT_FALSE(link.OpenDevice());
    EXPECT_TRUE(link.HasCommandHandle());
    EXPECT_FALSE(link.HasDataHandle());
    EXPECT_EQ(backend.opened, std::vector<std::string>{"command"});
    EXPECT_EQ(link.LastProblem(), LinkProblem::AccessDenied);

    // A second open replaces the half-open link without leaking its handle.
    backend.Add(kDataUsagePage, kDataUsage, "data");
    EXPECT_TRUE(link.OpenDevice());
    EXPECT_EQ(backend.live, 2);
    link.CloseDevice();
    link.CloseDevice();
    EXPECT_EQ(backend.live, 0);
    EXPECT_TRUE(clock.Pauses().empty());
}

using DeviceLinkTest = DeviceFixture;

TEST_F(DeviceLinkTest, OpenReportsWhyItFailed)
{
    mouse.Unplug();
    EXPECT_FALSE(link.OpenDevice());
    EXPECT_FALSE(link.HasCommandHandle());
    EXPECT_FALSE(link.HasDataHandle());
    EXPECT_EQ(link.LastProblem(), LinkProblem::NoMouse);

    mouse.Replug();
    mouse.ExposeCollections(true, false);
    EXPECT_FALSE(link.OpenDevice());
    EXPECT_TRUE(link.HasCommandHandle());
    EXPECT_EQ(link.LastProblem(), LinkProblem::MissingCollection);

    mouse.ExposeCollections(true, true);
    mouse.SetAccessDenied(true);
    EXPECT_FALSE(link.OpenDevice());
    EXPECT_EQ(link.LastProblem(), LinkProblem::AccessDenied);

    mouse.SetAccessDenied(false);
    EXPECT_TRUE(link.EnsureOpen());
    EXPECT_EQ(link.LastProblem(), LinkProblem::None);
    EXPECT_TRUE(mouse.Log().empty());
}

TEST_F(DeviceLinkTest, RetriesThreeTimesWithFiveMillisecondPauses)
{
    OpenAndClear();
    mouse.FailNext(sim::ReportKind::FeatureSet, 2);
    EXPECT_TRUE(link.SetFeatureRetry({7, 0x79}));
    EXPECT_EQ(clock.Pauses(), (std::vector<unsigned>{5, 5, 5}));
    EXPECT_EQ(mouse.Log().size(), 3u);

    clock.ClearPauses();
    mouse.FailNext(sim::ReportKind::Output, 3);
    EXPECT_FALSE(link.SetOutputRetry({9, 1, 2, 3}));
    EXPECT_EQ(clock.Pauses(), (std::vector<unsigned>{5, 5, 5}));

    // The answer comes back in the caller's buffer, report id included.
    clock.ClearPauses();
    mouse.MutableState().firmwareMajor = 2;
    mouse.MutableState().firmwareMinor = 3;
    ASSERT_TRUE(link.SetFeatureRetry({7, 0x5E}));
    ReportBuffer answer{7};
    mouse.FailNext(sim::ReportKind::FeatureGet, 1);
    EXPECT_TRUE(link.GetFeatureRetry(answer));
    EXPECT_EQ(answer[0], 7);
    EXPECT_EQ(answer[1], 2);
    EXPECT_EQ(answer[2], 3);
    EXPECT_EQ(clock.Pauses(), (std::vector<unsigned>{5, 5, 5}));
}

TEST_F(DeviceLinkTest, InputReadFailsInsteadOfWaitingForever)
{
    OpenAndClear();
    uint8_t run[16] = {};
    EXPECT_FALSE(link.ReadInputStream(run, sizeof run));  // nothing queued
    EXPECT_FALSE(link.ReadInputStream(run, 7));           // not whole reports
    EXPECT_TRUE(clock.Pauses().empty());
}

TEST_F(DeviceLinkTest, StaleHandlesFailUntilReopened)
{
    ASSERT_TRUE(link.OpenDevice());
    mouse.Unplug();
    mouse.Replug();
    EXPECT_TRUE(link.EnsureOpen());  // the handles are still there, though dead
    int version = 0;
    EXPECT_FALSE(program.GetFirmwareVersion(version));
    link.CloseDevice();
    EXPECT_TRUE(program.GetFirmwareVersion(version));
    EXPECT_EQ(version, 107);
}

}  // namespace
}  // namespace device::test
