#include "sim/SimHidBackend.h"
#include "sim/SimulatedMouse.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace sim {
namespace {

using platform::HidOpenError;

class SimulatedMouseTest : public ::testing::Test {
protected:
    bool Send(Report report) { return command->SendFeatureReport(report.data(), report.size()); }

    Report Query(Report report)
    {
        EXPECT_TRUE(Send(report));
        Report answer{kCommandReportId};
        EXPECT_TRUE(command->GetFeatureReport(answer.data(), answer.size()));
        return answer;
    }

    bool Write(Report report) { return data->WriteOutputReport(report.data(), report.size()); }

    std::vector<Report> ReadRun()
    {
        std::vector<Report> run;
        Report report;
        while (data->ReadInputReport(report.data(), report.size(), 100) == 8)
            run.push_back(report);
        return run;
    }

    SimulatedMouse mouse;
    SimHidBackend backend{mouse};
    std::unique_ptr<platform::HidDevice> command = backend.Open(SimHidBackend::kCommandPath);
    std::unique_ptr<platform::HidDevice> data = backend.Open(SimHidBackend::kDataPath);
};

TEST_F(SimulatedMouseTest, FreshMouseAnswersQueries)
{
    EXPECT_EQ(Query({7, 0x5C}), (Report{7, 1}));
    EXPECT_EQ(Query({7, 0x5E}), (Report{7, 1, 7}));
    EXPECT_EQ(Query({7, 0x84}), (Report{7, 0xFF, 0, 0}));
    EXPECT_EQ(Query({7, 0x0F}), (Report{7, 1, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(Query({7, 0x5D}), (Report{7}));
    EXPECT_EQ(Query({7, 0x99, 1, 2, 3}), (Report{7}));  // unknown command

    ASSERT_EQ(Query({7, 0x5B, 5, 0x28}), (Report{7}));
    const std::vector<Report> keys = ReadRun();
    ASSERT_EQ(keys.size(), 10u);
    EXPECT_EQ(keys[3], (Report{9, 0x71, 0xF0}));
    EXPECT_EQ(keys[6], (Report{9, 0x70, 0x03}));
    EXPECT_EQ(keys[9], (Report{9}));

    EXPECT_EQ(mouse.State().profiles[4].colour, (std::array<uint8_t, 3>{128, 0, 255}));
    EXPECT_EQ(mouse.State().profiles[0].stage, (std::array<uint8_t, 6>{40, 32, 48, 56, 0x28, 0}));
}

TEST_F(SimulatedMouseTest, SetCommandsChangeOnlyTheirTarget)
{
    Send({7, 0x04, 0x00, 0, 20});
    EXPECT_EQ(Query({7, 0x84}), (Report{7, 0x00, 0, 20}));

    Send({7, 0x6E, 1, 0, 1, 0, 2});
    EXPECT_EQ(Query({7, 0x0F}), (Report{7, 1, 0, 1, 0, 2, 0, 0}));

    Send({7, 0x7C, 3});
    Send({7, 0x7C, 0});
    Send({7, 0x7C, 6});
    EXPECT_EQ(Query({7, 0x5C}), (Report{7, 3}));

    // Rate is set in byte 4 and answered in byte 3, for the current profile only.
    Send({7, 0x7D, 3, 0, 9});
    Send({7, 0x7D, 2, 0, 2});
    EXPECT_EQ(Query({7, 0x5D}), (Report{7, 0, 0, 9}));

    Send({7, 0x73, 5, 0, 2});
    EXPECT_EQ(Query({7, 0x53, 5}), (Report{7, 0, 0, 2}));
    EXPECT_EQ(Query({7, 0x53, 4}), (Report{7}));

    Send({7, 0x76, 2, 0, 1, 2, 3});
    mouse.MutableState().profiles[1].aux = 0;
    EXPECT_TRUE(Send({7, 0x74, 2, 0, 0x10}));
    EXPECT_EQ(mouse.State().profiles[1].colour, (std::array<uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(mouse.State().profiles[1].aux, 0x10);

    // Out-of-range profile numbers touch nothing, and their queries answer zero.
    const FirmwareState before = mouse.State();
    const std::vector<Report> perProfile = {
        {7, 0x7D, 0, 0, 1}, {7, 0x73, 0, 0, 1}, {7, 0x76, 0, 0, 0x55, 0x55, 0x55}, {7, 0x74, 0, 0, 0x10},
        {7, 0x77, 0, 0x10}, {7, 0x7B, 0, 0x28}, {7, 0x7A, 0, 1},
    };
    for (uint8_t p : {0, 6, 0xFF}) {
        for (Report command : perProfile) {
            command[2] = p;
            EXPECT_TRUE(Send(command));
            EXPECT_TRUE(Write({9, 0x66, 0x66, 0x66, 0x66, 0x28, 0, 0}));
        }
        EXPECT_EQ(Query({7, 0x53, p, 0}), (Report{7}));
    }
    Send({7, 0x7A, 1, 9});  // macro slot 9 does not exist
    Write({9, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66});
    EXPECT_EQ(mouse.State(), before);
}

TEST_F(SimulatedMouseTest, BlockWritesReadBack)
{
    Send({7, 0x7B, 2, 0x28});
    for (uint8_t k = 0; k < 10; ++k)
        ASSERT_TRUE(Write({9, k, uint8_t(k + 1), uint8_t(k + 2), uint8_t(k + 3), 0, 0, 0}));
    EXPECT_FALSE(mouse.BlockWritePending());
    Query({7, 0x5B, 2, 0x28});
    const std::vector<Report> keys = ReadRun();
    ASSERT_EQ(keys.size(), 10u);
    for (uint8_t k = 0; k < 10; ++k)
        EXPECT_EQ(keys[k], (Report{9, k, uint8_t(k + 1), uint8_t(k + 2), uint8_t(k + 3), 0, 0, 0}));

    Send({7, 0x77, 1, 0x10});
    EXPECT_TRUE(Write({9, 1, 2, 3, 4, 0x28, 0, 0}));
    Query({7, 0x57, 1, 0x10});
    EXPECT_EQ(ReadRun(), (std::vector<Report>{{9, 1, 2, 3, 4, 0x28, 0, 0}, {9}}));

    // The combination table goes to the current profile.
    Send({7, 0x7C, 4});
    Send({7, 0x6F});
    for (uint8_t k = 0; k < 10; ++k)
        Write({9, 0xE0, 0xE2, k, 0, 0, 0, 0x70});
    EXPECT_EQ(mouse.State().profiles[3].combos[9], (ComboSlot{0xE0, 0xE2, 9, 0, 0, 0, 0x70}));
    Query({7, 0x44, 4, 0x28});
    const std::vector<Report> combos = ReadRun();
    ASSERT_EQ(combos.size(), 10u);
    EXPECT_EQ(combos[4], (Report{9, 0xE0, 0xE2, 4, 0, 0, 0, 0x70}));

    MacroSlot macro;
    for (size_t i = 0; i < macro.size(); ++i)
        macro[i] = static_cast<uint8_t>(i + 1);
    Send({7, 0x7A, 5, 8});
    for (size_t r = 0; r < 35; ++r) {
        Report report{9};
        std::copy_n(macro.begin() + 7 * r, 7, report.begin() + 1);
        Write(report);
    }
    Query({7, 0x5A, 5, 8, 0x18, 0x10});
    const std::vector<Report> run = ReadRun();
    ASSERT_EQ(run.size(), 36u);
    std::vector<uint8_t> back;
    for (size_t r = 0; r < 35; ++r)
        back.insert(back.end(), run[r].begin() + 1, run[r].end());
    EXPECT_TRUE(std::equal(macro.begin(), macro.end(), back.begin(), back.end()));
    EXPECT_EQ(run[35], (Report{9}));

    // Reading a slot that does not exist gives a run of zeros.
    Query({7, 0x5A, 5, 9, 0x18, 0x10});
    const std::vector<Report> zeros = ReadRun();
    EXPECT_EQ(zeros, std::vector<Report>(36, Report{9}));
}

TEST_F(SimulatedMouseTest, BrokenOffAndStrayBlockTraffic)
{
    const FirmwareState before = mouse.State();
    EXPECT_TRUE(Write({9, 1, 1, 1, 1}));  // no write pending: ignored
    EXPECT_EQ(mouse.State(), before);
    EXPECT_EQ(mouse.Log().size(), 1u);

    // A new command abandons the write; what arrived stays written.
    Send({7, 0x7B, 1, 0x28});
    for (uint8_t k = 0; k < 3; ++k)
        Write({9, 0x53, 0, 0, k});
    Send({7, 0x79});
    Write({9, 0x53, 0, 0, 3});
    const auto& keys = mouse.State().profiles[0].keys;
    EXPECT_EQ(keys[2], (KeyEntry{0x53, 0, 0, 2}));
    EXPECT_EQ(keys[3], before.profiles[0].keys[3]);

    // A read queues its run behind what is left; an empty queue times out at once.
    Query({7, 0x5B, 1, 0x28});
    Query({7, 0x57, 1, 0x10});
    EXPECT_EQ(mouse.QueuedInputCount(), 12u);
    const std::vector<Report> both = ReadRun();
    ASSERT_EQ(both.size(), 12u);
    EXPECT_EQ(both[0], (Report{9, 0x53}));  // written above
    EXPECT_EQ(both[10][1], 40);
    Report report;
    EXPECT_EQ(data->ReadInputReport(report.data(), report.size(), 1000), 0);
}

TEST_F(SimulatedMouseTest, RefusesCommandsWhoseFixedBytesAreWrong)
{
    const std::vector<Report> wrong = {
        {7, 0x57, 1, 0x28}, {7, 0x77, 1, 0x00}, {7, 0x5B, 1, 0x10}, {7, 0x7B, 1, 0x29},
        {7, 0x44, 1, 0x00}, {7, 0x5A, 1, 0, 0x10, 0x18}, {7, 0x5A, 1, 0, 0x18, 0x00},
        // Fixed values and unused bytes of the other commands.
        {7, 0x74, 1, 0, 0x11}, {7, 0x6F, 1}, {7, 0x6F, 0, 0, 0, 0, 0, 1}, {7, 0x04, 0, 1, 20},
        {7, 0x7C, 2, 0, 0, 0, 0, 9}, {7, 0x7D, 1, 0, 2, 1}, {7, 0x73, 1, 1, 2}, {7, 0x76, 1, 0, 1, 2, 3, 4},
        {7, 0x6E, 1, 1, 1, 1, 1, 1}, {7, 0x5E, 1}, {7, 0x0F, 0, 0, 0, 0, 0, 2}, {7, 0x53, 1, 1},
        {7, 0x5B, 1, 0x28, 1}, {7, 0x5A, 1, 0, 0x18, 0x10, 0, 1}, {7, 0x7A, 1, 0, 1},
    };
    const FirmwareState before = mouse.State();
    for (const Report& command : wrong) {
        EXPECT_FALSE(Send(command));
        EXPECT_TRUE(Write({9, 1, 2, 3, 4, 5, 6, 7}));  // no write was begun
        EXPECT_TRUE(mouse.Log()[mouse.Log().size() - 2].failed);
    }
    EXPECT_EQ(mouse.QueuedInputCount(), 0u);
    EXPECT_EQ(mouse.State(), before);
    for (const Report& command : std::vector<Report>{{7, 0x57, 1, 0x10}, {7, 0x5B, 1, 0x28}, {7, 0x44, 1, 0x28},
                                                     {7, 0x5A, 1, 8, 0x18, 0x10}})
        EXPECT_TRUE(Send(command));
    EXPECT_EQ(mouse.QueuedInputCount(), 2u + 10u + 10u + 36u);

    // Output reports of a block write with their fixed bytes wrong: the
    // stage codes' 0x28, the key table's unused bytes. Nothing is stored and
    // the write waits for the right report.
    ASSERT_TRUE(Send({7, 0x77, 1, 0x10}));
    EXPECT_FALSE(Write({9, 1, 2, 3, 4, 0x29, 0, 0}));
    EXPECT_FALSE(Write({9, 1, 2, 3, 4, 0x28, 0, 1}));
    EXPECT_EQ(mouse.State(), before);
    EXPECT_TRUE(Write({9, 1, 2, 3, 4, 0x28, 0, 0}));
    EXPECT_EQ(mouse.State().profiles[0].stage, (std::array<uint8_t, 6>{1, 2, 3, 4, 0x28, 0}));
    ASSERT_TRUE(Send({7, 0x7B, 1, 0x28}));
    EXPECT_FALSE(Write({9, 1, 2, 3, 4, 0, 5, 0}));
    EXPECT_TRUE(mouse.BlockWritePending());
    EXPECT_EQ(mouse.State().profiles[0].keys[0], before.profiles[0].keys[0]);
}

TEST_F(SimulatedMouseTest, HostQueuesPerHandleAndOnASharedNode)
{
    // Every open data handle gets every report; a full queue drops new ones.
    auto second = backend.Open(SimHidBackend::kDataPath);
    for (int i = 0; i < 70; ++i)
        mouse.SendInput({9, uint8_t(i), 0, 0, 0, 0, 0, 0});
    std::vector<Report> run = ReadRun();
    ASSERT_EQ(run.size(), 63u);  // what hidraw's ring of 64 keeps
    EXPECT_EQ(run.back()[1], 62);
    EXPECT_EQ(mouse.QueuedInputCount(), 63u);  // still waiting on the second handle
    second.reset();
    EXPECT_EQ(mouse.QueuedInputCount(), 0u);

    // A report is handed over cut to the reader's buffer, as hidraw does.
    mouse.SendInput({3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    std::array<uint8_t, 16> big{};
    EXPECT_EQ(data->ReadInputReport(big.data(), big.size(), 0), 11);
    mouse.SendInput({3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(data->ReadInputReport(big.data(), 4, 0), 4);

    // One node for both collections: one path, and both handles read input.
    command.reset();
    data.reset();
    mouse.SetSharedNode(true);
    const auto list = backend.Enumerate();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, SimHidBackend::kNodePath);
    EXPECT_EQ(list[1].path, SimHidBackend::kNodePath);
    EXPECT_EQ(backend.Open(SimHidBackend::kDataPath), nullptr);
    command = backend.Open(SimHidBackend::kNodePath);
    data = backend.Open(SimHidBackend::kNodePath);
    Query({7, 0x57, 1, 0x10});
    EXPECT_EQ(ReadRun().size(), 2u);
    Report report;
    EXPECT_EQ(command->ReadInputReport(report.data(), 8, 0), 8);
    EXPECT_TRUE(Write({9}));
}

TEST_F(SimulatedMouseTest, ForeignInputIsInsertedIntoNextRunOnly)
{
    mouse.InjectForeignInput(0, 1);
    mouse.InjectForeignInput(99, 4);
    Query({7, 0x57, 1, 0x10});
    const std::vector<Report> run = ReadRun();
    ASSERT_EQ(run.size(), 4u);
    EXPECT_EQ(run[0], (Report{1}));
    EXPECT_EQ(run[1][0], 9);
    EXPECT_EQ(run[1][1], 40);
    EXPECT_EQ(run[3], (Report{4}));

    Query({7, 0x57, 1, 0x10});
    EXPECT_EQ(ReadRun().size(), 2u);
}

TEST_F(SimulatedMouseTest, InjectedFaultsFailWithoutEffect)
{
    mouse.ClearLog();
    mouse.FailAt(2, 2);
    Send({7, 0x7B, 1, 0x28});                       // 0
    EXPECT_TRUE(Write({9, 0, 0, 0, 1}));            // 1
    EXPECT_FALSE(Write({9, 0, 0, 0, 2}));           // 2
    EXPECT_FALSE(Write({9, 0, 0, 0, 2}));           // 3
    EXPECT_EQ(mouse.State().profiles[0].keys[1], (KeyEntry{0x02, 0xF1, 0, 0}));
    EXPECT_TRUE(Write({9, 0, 0, 0, 2}));            // 4
    EXPECT_EQ(mouse.State().profiles[0].keys[1], (KeyEntry{0, 0, 0, 2}));

    mouse.FailNext(ReportKind::FeatureGet, 1);
    EXPECT_TRUE(Send({7, 0x5E}));                   // 5
    Report answer{7};
    EXPECT_FALSE(command->GetFeatureReport(answer.data(), 8));  // 6
    EXPECT_TRUE(command->GetFeatureReport(answer.data(), 8));   // 7
    EXPECT_EQ(answer, (Report{7, 1, 7}));

    const auto& log = mouse.Log();
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[0], (LoggedReport{ReportKind::FeatureSet, Collection::Command, {7, 0x7B, 1, 0x28}, {}, false}));
    EXPECT_EQ(log[3], (LoggedReport{ReportKind::Output, Collection::Data, {9, 0, 0, 0, 2}, {}, true}));
    EXPECT_EQ(log[6], (LoggedReport{ReportKind::FeatureGet, Collection::Command, {7}, {}, true}));
    EXPECT_EQ(log[7], (LoggedReport{ReportKind::FeatureGet, Collection::Command, {7}, {7, 1, 7}, false}));

    // A failed set changes nothing; a failed input read leaves the report queued.
    mouse.FailNext(ReportKind::FeatureSet, 1);
    EXPECT_FALSE(Send({7, 0x7C, 5}));
    EXPECT_EQ(mouse.State().currentProfile, 0);
    Query({7, 0x57, 1, 0x10});
    mouse.FailNext(ReportKind::Input, 1);
    Report report;
    EXPECT_EQ(data->ReadInputReport(report.data(), 8, 0), -1);
    EXPECT_EQ(mouse.Log().back(), (LoggedReport{ReportKind::Input, Collection::Data, {}, {}, true}));
    EXPECT_EQ(ReadRun().size(), 2u);

    // Positions count again from ResetPositions.
    mouse.ResetPositions();
    mouse.FailAt(0);
    EXPECT_FALSE(Send({7, 0x79}));
    EXPECT_TRUE(Send({7, 0x79}));
    // A count that runs past the largest position fails everything after.
    mouse.ClearFaults();
    mouse.FailAt(3, SIZE_MAX);
    EXPECT_TRUE(Send({7, 0x79}));   // 2
    EXPECT_FALSE(Send({7, 0x79}));  // 3
    EXPECT_FALSE(Send({7, 0x79}));  // 4
}

TEST_F(SimulatedMouseTest, EnumerationOpeningAndUnplug)
{
    auto list = backend.Enumerate();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].vendorId, 0x251F);
    EXPECT_EQ(list[0].productId, 0x1014);
    EXPECT_EQ(list[0].usagePage, 0xFF01);
    EXPECT_EQ(list[0].usage, 0x0001);
    EXPECT_EQ(list[1].usagePage, 0xFF03);
    EXPECT_EQ(list[1].usage, 0xFF00);
    EXPECT_EQ(list[1].path, "sim:data");

    mouse.ExposeCollections(true, false);
    list = backend.Enumerate();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].path, "sim:command");
    EXPECT_EQ(backend.Open("sim:data"), nullptr);
    EXPECT_EQ(backend.LastOpenError(), HidOpenError::NotFound);
    mouse.ExposeCollections(true, true);

    mouse.SetAccessDenied(true);
    EXPECT_EQ(backend.Enumerate().size(), 2u);
    EXPECT_EQ(backend.Open("sim:command"), nullptr);
    EXPECT_EQ(backend.LastOpenError(), HidOpenError::AccessDenied);
    mouse.SetAccessDenied(false);

    mouse.Unplug();
    EXPECT_TRUE(backend.Enumerate().empty());
    EXPECT_EQ(backend.Open("sim:command"), nullptr);
    EXPECT_EQ(backend.LastOpenError(), HidOpenError::NotFound);
    mouse.Replug();
    Report report{7, 0x79};
    EXPECT_FALSE(command->SendFeatureReport(report.data(), 8));
    EXPECT_EQ(data->ReadInputReport(report.data(), 8, 0), -1);
    EXPECT_FALSE(data->SetInputQueueLength(512));
    auto fresh = backend.Open("sim:command");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(backend.LastOpenError(), HidOpenError::None);
    EXPECT_TRUE(fresh->SendFeatureReport(report.data(), 8));
    EXPECT_EQ(backend.Open("sim:nothing"), nullptr);

    // Unplugging at a log position: that report is lost, not logged.
    mouse.ClearLog();
    mouse.UnplugAt(1);
    EXPECT_TRUE(fresh->SendFeatureReport(report.data(), 8));
    EXPECT_FALSE(fresh->SendFeatureReport(report.data(), 8));
    EXPECT_FALSE(mouse.Plugged());
    EXPECT_EQ(mouse.Log().size(), 1u);
}

TEST_F(SimulatedMouseTest, HandlesRefuseMalformedCalls)
{
    std::array<uint8_t, 9> longReport{7, 0x79};
    EXPECT_FALSE(command->SendFeatureReport(longReport.data(), longReport.size()));
    Report report{9, 0x79};
    EXPECT_FALSE(command->SendFeatureReport(report.data(), 8));  // wrong id
    EXPECT_FALSE(command->WriteOutputReport(report.data(), 8));  // output on command collection
    EXPECT_EQ(command->ReadInputReport(report.data(), 8, 0), -1);
    report = {7, 0x79};
    EXPECT_FALSE(data->SendFeatureReport(report.data(), 8));     // feature on data collection
    EXPECT_FALSE(data->GetFeatureReport(report.data(), 8));
    EXPECT_FALSE(data->WriteOutputReport(report.data(), 8));     // wrong id
    EXPECT_FALSE(data->WriteOutputReport(report.data(), 7));
    EXPECT_TRUE(mouse.Log().empty());

    EXPECT_TRUE(data->SetInputQueueLength(512));
    EXPECT_EQ(mouse.InputQueueLength(), 512u);
}

}  // namespace
}  // namespace sim
