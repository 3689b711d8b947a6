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

TEST_F(DeviceLinkTest, InputReadNeverWaitsOnAnEmptyQueueBeyondItsDeadline)
{
    OpenAndClear();
    uint8_t run[16] = {0xEE, 0xEE};
    EXPECT_EQ(link.ReadInputStream(run, sizeof run, 1, 2).reports, 0u);  // nothing queued
    EXPECT_EQ(run[0], 0xEE);
    EXPECT_EQ(mouse.InputWaitMs(), 1000u);
    EXPECT_TRUE(clock.Pauses().empty());

    // Draining takes what is queued; having found something, it waits for
    // the queue to stay quiet a moment; an empty queue costs no wait.
    mouse.SendInput({9, 1});
    mouse.SendInput({9, 2});
    EXPECT_EQ(link.DrainInput(), 2u);
    EXPECT_EQ(mouse.QueuedInputCount(), 0u);
    EXPECT_EQ(mouse.InputWaitMs(), 1000u + kInputQuietMs);
    EXPECT_EQ(link.DrainInput(), 0u);
    EXPECT_EQ(mouse.InputWaitMs(), 1000u + kInputQuietMs);
}

// A data handle whose reports arrive after scripted delays on the fake clock.
class DelayedDevice final : public platform::HidDevice {
public:
    struct Arrival {
        unsigned delayMs;
        std::vector<uint8_t> bytes;
    };
    DelayedDevice(platform::FakeClock& clock, std::vector<Arrival> arrivals, std::vector<int>& timeouts)
        : clock_(clock), arrivals_(std::move(arrivals)), timeouts_(timeouts)
    {
    }
    bool SendFeatureReport(const uint8_t*, size_t) override { return true; }
    bool GetFeatureReport(uint8_t*, size_t) override { return true; }
    bool WriteOutputReport(const uint8_t*, size_t) override { return true; }
    bool SetInputQueueLength(unsigned) override { return true; }
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override
    {
        timeouts_.push_back(timeoutMs);
        if (next_ == arrivals_.size() || arrivals_[next_].delayMs > unsigned(timeoutMs)) {
            if (next_ < arrivals_.size())
                arrivals_[next_].delayMs -= unsigned(timeoutMs);
            clock_.SleepMs(unsigned(timeoutMs));
            return 0;
        }
        const Arrival& arrival = arrivals_[next_++];
        clock_.SleepMs(arrival.delayMs);
        const size_t n = std::min(length, arrival.bytes.size());
        std::copy_n(arrival.bytes.begin(), n, data);
        return int(n);
    }

private:
    platform::FakeClock& clock_;
    std::vector<Arrival> arrivals_;
    size_t next_ = 0;
    std::vector<int>& timeouts_;
};

class DelayedBackend final : public platform::HidBackend {
public:
    DelayedBackend(platform::FakeClock& clock, std::vector<DelayedDevice::Arrival> arrivals)
        : clock_(clock), arrivals_(std::move(arrivals))
    {
    }
    std::vector<platform::HidCollectionInfo> Enumerate() override
    {
        return {{kVendorId, kProductId, kCommandUsagePage, kCommandUsage, "c", true},
                {kVendorId, kProductId, kDataUsagePage, kDataUsage, "d", true}};
    }
    std::unique_ptr<platform::HidDevice> Open(const std::string&) override
    {
        return std::make_unique<DelayedDevice>(clock_, arrivals_, timeouts);
    }
    platform::HidOpenError LastOpenError() const override { return platform::HidOpenError::None; }
    std::vector<int> timeouts;

private:
    platform::FakeClock& clock_;
    std::vector<DelayedDevice::Arrival> arrivals_;
};

TEST(DeviceLinkRun, ReadsReportByReportWithinOneDeadline)
{
    platform::FakeClock clock;
    DelayedBackend backend(clock, {{400, {9, 1}}, {400, {9, 2}}, {400, {9, 3}}});
    DeviceLink link(backend, clock);
    ASSERT_TRUE(link.OpenDevice());
    uint8_t run[80] = {};
    run[16] = 0xEE;
    EXPECT_EQ(link.ReadInputStream(run, sizeof run, 9, 10).reports, 2u);  // the third comes too late
    EXPECT_EQ(run[1], 1);
    EXPECT_EQ(run[9], 2);
    EXPECT_EQ(run[16], 0xEE);  // kept as the caller prepared it
    EXPECT_EQ(backend.timeouts, (std::vector<int>{1000, 600, 200}));
    EXPECT_EQ(clock.TotalPausedMs(), 1000u);
}

TEST(DeviceLinkRun, ReportsOfAnotherLengthAreForeignAndAfterEnoughDataAQuietQueueEndsTheRun)
{
    platform::FakeClock clock;
    const std::vector<uint8_t> longReport(12, 9);
    const std::vector<uint8_t> one{9, 1, 0, 0, 0, 0, 0, 0}, two{9, 2, 0, 0, 0, 0, 0, 0}, three{9, 3, 0, 0, 0, 0, 0, 0};
    DelayedBackend backend(clock, {{0, {9, 4, 4, 4}}, {0, longReport}, {0, one}, {0, two}, {50, three}});
    DeviceLink link(backend, clock);
    ASSERT_TRUE(link.OpenDevice());
    uint8_t run[80] = {};
    EXPECT_EQ(link.ReadInputStream(run, sizeof run, 2, 10).reports, 4u);
    EXPECT_EQ(run[0], kForeignReportMark);
    EXPECT_EQ(run[1], 4);
    EXPECT_EQ(run[4], 0);  // past the short report: zero
    EXPECT_EQ(run[8], kForeignReportMark);
    EXPECT_EQ(run[16], 9);
    EXPECT_EQ(run[25], 2);
    // Once two data reports are in, a queue quiet for a moment ends the run.
    EXPECT_EQ(backend.timeouts, (std::vector<int>{1000, 1000, 1000, 1000, int(kInputQuietMs)}));
    EXPECT_EQ(clock.TotalPausedMs(), kInputQuietMs);
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
