#include "tests/device/DeviceFixture.h"

#include <memory>

namespace device::test {
namespace {

using CommandSetTest = DeviceFixture;

TEST_F(CommandSetTest, SendsEveryCommandByteForByte)
{
    OpenAndClear();
    uint8_t a = 0, b = 0;
    int version = 0;
    ProfileFlagSet flags{1, 0, 1, 0, 2};
    EXPECT_TRUE(program.SetLedSwitch(0xFF, 20));
    EXPECT_TRUE(program.GetLedState(a, b));
    EXPECT_TRUE(program.ProfileFlags(false, flags));
    EXPECT_TRUE(program.ProfileFlags(true, flags));
    EXPECT_TRUE(library.GetCurrentProfile(a));
    EXPECT_TRUE(program.SetCurrentProfile(2));
    EXPECT_TRUE(program.SetCurrentProfile(7));
    EXPECT_TRUE(program.GetFirmwareVersion(version));
    EXPECT_TRUE(program.BeginTransfer());
    EXPECT_TRUE(program.GetReportRate(a));
    EXPECT_TRUE(program.SetReportRate(1, 5));
    EXPECT_TRUE(program.GetPowerSave(3, a));
    EXPECT_TRUE(program.SetPowerSave(3, 2));
    EXPECT_TRUE(program.SetProfileColour(4));
    EXPECT_TRUE(program.SetProfileAux(0));
    EXPECT_TRUE(program.WriteStageCodes(1, 40, 32, 48, 56));
    EXPECT_TRUE(program.WriteKeyComboTable(KeyComboTable{}));

    const std::vector<sim::Report> expected = {
        R({7, 0x04, 0xFF, 0, 20}), R({7, 0x84}), R({7, 0x6E, 1, 0, 1, 0, 2}), R({7, 0x0F}), R({7, 0x5C}),
        R({7, 0x7C, 3}), R({7, 0x7C, 1}), R({7, 0x5E}), R({7, 0x79}), R({7, 0x5D}), R({7, 0x7D, 2, 0, 3}),
        R({7, 0x53, 4}), R({7, 0x73, 4, 0, 2}), R({7, 0x76, 5, 0, 128, 0, 255}), R({7, 0x74, 1, 0, 0x10}),
        R({7, 0x77, 2, 0x10}), R({7, 0x6F}),
    };
    EXPECT_EQ(Features(), expected);
    EXPECT_EQ(Outputs().front(), R({9, 40, 32, 48, 56, 0x28}));
    EXPECT_EQ(Outputs().size(), 11u);
    // Every get-feature request is a bare report id 7.
    for (const sim::Report& request : Sent(sim::ReportKind::FeatureGet))
        EXPECT_EQ(request, R({7}));
}

TEST_F(CommandSetTest, DecodesAnswers)
{
    OpenAndClear();
    mouse.MutableState().firmwareMajor = 1;
    mouse.MutableState().firmwareMinor = 7;
    mouse.MutableState().ledSwitch = 0;
    mouse.MutableState().ambient = 60;
    mouse.MutableState().currentProfile = 2;
    Profile(2).reportRate = 9;
    Profile(2).powerSave = 2;
    Profile(1).inUse = 0;

    int version = 0;
    uint8_t state = 1, ambient = 0, current = 0, rate = 0, power = 0;
    ProfileFlagSet flags{};
    ASSERT_TRUE(program.GetFirmwareVersion(version));
    ASSERT_TRUE(program.GetLedState(state, ambient));
    ASSERT_TRUE(library.GetCurrentProfile(current));
    ASSERT_TRUE(program.GetReportRate(rate));
    ASSERT_TRUE(program.GetPowerSave(2, power));
    ASSERT_TRUE(program.GetProfileFlags(flags));
    EXPECT_EQ(version, 107);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(ambient, 60);
    EXPECT_EQ(current, 3);
    EXPECT_EQ(rate, 3);  // 9 is taken as the highest code
    EXPECT_EQ(power, 2);
    EXPECT_EQ(flags, (ProfileFlagSet{1, 0, 1, 1, 1}));
}

TEST_F(CommandSetTest, OpeningCommandsSendNothingWithoutAMouse)
{
    mouse.Unplug();
    int version = 0;
    uint8_t s = 0, a = 0;
    EXPECT_FALSE(program.GetFirmwareVersion(version));
    EXPECT_FALSE(program.GetLedState(s, a));
    EXPECT_FALSE(program.SetLedSwitch(0, 0));
    EXPECT_FALSE(library.SetCurrentProfile(0));
    EXPECT_FALSE(program.BeginTransfer());
    EXPECT_TRUE(mouse.Log().empty());
}

TEST_F(CommandSetTest, ProgramSkipsForeignInputReportsAndTheLibraryDoesNot)
{
    Profile(0).keys[0] = {0x02, 0xF0, 0, 0};
    Profile(0).keys[1] = {0x02, 0xF1, 0, 0};
    Profile(0).stage = {40, 32, 48, 56, 0x28, 0};
    OpenAndClear();

    KeyTable programKeys{}, libraryKeys{};
    mouse.InjectForeignInput(0, 1);
    ASSERT_TRUE(program.ReadKeyTable(0, programKeys));
    mouse.InjectForeignInput(0, 1);
    ASSERT_TRUE(library.ReadKeyTable(0, libraryKeys));
    EXPECT_EQ(programKeys[0], (KeyEntry{0x02, 0xF0, 0, 0}));
    EXPECT_EQ(programKeys[1], (KeyEntry{0x02, 0xF1, 0, 0}));
    EXPECT_EQ(libraryKeys[0], (KeyEntry{0, 0, 0, 0}));  // the foreign report
    EXPECT_EQ(libraryKeys[1], (KeyEntry{0x02, 0xF0, 0, 0}));

    // Several foreign reports: every one is skipped, wherever it stands
    // ([F, a, F, b, ...] and [F, F, a, ...]).
    for (const std::vector<size_t>& at : {std::vector<size_t>{0, 2}, std::vector<size_t>{0, 0}}) {
        for (size_t index : at)
            mouse.InjectForeignInput(index, 1);
        programKeys = {};
        ASSERT_TRUE(program.ReadKeyTable(0, programKeys));
        for (size_t k = 0; k < 9; ++k)
            EXPECT_EQ(programKeys[k], Profile(0).keys[k]) << at[1] << " " << k;
    }

    StageData programStage{}, libraryStage{};
    mouse.InjectForeignInput(0, 4);
    ASSERT_TRUE(program.ReadStageCodes(0, programStage));
    mouse.InjectForeignInput(0, 4);
    ASSERT_TRUE(library.ReadStageCodes(0, libraryStage));
    EXPECT_EQ(programStage, (StageData{40, 32, 48, 56, 0x28, 0}));
    EXPECT_EQ(libraryStage, StageData{});
}

// The mouse sends nine or ten reports for the key and combination tables.
// Both variants read either length right and leave nothing that the next
// read could take for its own; a nine-report run costs one quiet period.
TEST_F(CommandSetTest, BothVariantsReadNineAndTenReportRuns)
{
    for (uint8_t k = 0; k < 10; ++k) {
        Profile(2).keys[k] = {0x02, uint8_t(0xE0 + k), 0, k};
        Profile(2).combos[k] = {0xE0, uint8_t(4 + k), 0, 0, 0, 0, k};
    }
    Profile(2).stage = {41, 42, 43, 44, 0x28, 0};
    for (bool sharedNode : {false, true}) {
        mouse.SetSharedNode(sharedNode);
        OpenAndClear();
        for (size_t runLength : {9u, 10u}) {
            mouse.SetRunReports(sim::RunBlock::Keys, runLength);
            mouse.SetRunReports(sim::RunBlock::Combos, runLength);
            for (CommandSet* commands : {&program, &library}) {
                const bool isProgram = commands == &program;
                SCOPED_TRACE(testing::Message() << "run " << runLength << (isProgram ? " program" : " library")
                                                << (sharedNode ? " shared node" : ""));
                KeyTable keys{};
                KeyComboTable combos{};
                StageData stage{};
                ASSERT_TRUE(commands->ReadKeyTable(2, keys));
                ASSERT_TRUE(commands->ReadKeyComboTable(2, combos));
                ASSERT_TRUE(commands->ReadStageCodes(2, stage));
                for (size_t k = 0; k < 9; ++k) {
                    EXPECT_EQ(keys[k], Profile(2).keys[k]) << k;
                    EXPECT_EQ(combos[k], Profile(2).combos[k]) << k;
                }
                EXPECT_EQ(keys[9], KeyEntry{});
                EXPECT_EQ(combos[9], ComboSlot{});
                EXPECT_EQ(stage, (StageData{41, 42, 43, 44, 0x28, 0}));
            }
        }
        link.CloseDevice();
    }
    EXPECT_EQ(mouse.InputWaitMs(), 2u * 2u * 2u * kInputQuietMs);
}

// The mouse sends a run report by report, a few ms apart, as an interrupt-IN
// endpoint does: its last report may reach the host after the reader has
// what it wanted. It still belongs to that run, never to the next read.
TEST_F(CommandSetTest, RunsArrivingReportByReportStayWithTheirRead)
{
    for (uint8_t k = 0; k < 10; ++k) {
        Profile(3).keys[k] = {0x02, uint8_t(0xE0 + k), 0, k};
        Profile(3).combos[k] = {0xE0, uint8_t(4 + k), 0, 0, 0, 0, k};
    }
    for (uint8_t m = 0; m < 9; ++m)
        Profile(3).macros[m].fill(uint8_t(0x30 + m));
    const StageData stage{41, 42, 43, 44, 0x28, 0};
    Profile(3).stage = stage;
    OpenAndClear();
    for (unsigned intervalMs : {1u, 4u, 8u}) {
        mouse.SetInputTiming(&clock, intervalMs);
        for (size_t runLength : {9u, 10u}) {
            mouse.SetRunReports(sim::RunBlock::Keys, runLength);
            mouse.SetRunReports(sim::RunBlock::Combos, runLength);
            for (CommandSet* commands : {&program, &library}) {
                SCOPED_TRACE(testing::Message() << intervalMs << " ms, run " << runLength
                                                << (commands == &program ? " program" : " library"));
                KeyTable keys{};
                StageData read{};
                ASSERT_TRUE(commands->ReadKeyTable(3, keys));
                ASSERT_TRUE(commands->ReadStageCodes(3, read));
                for (size_t k = 0; k < 9; ++k)
                    EXPECT_EQ(keys[k], Profile(3).keys[k]) << k;
                EXPECT_EQ(read, stage);
                if (commands == &library)
                    continue;
                KeyComboTable combos{};
                auto slots = std::make_unique<MacroReadBuffer>();
                ASSERT_TRUE(program.ReadKeyComboTable(3, combos));
                read = {};
                ASSERT_TRUE(program.ReadStageCodes(3, read));
                EXPECT_EQ(combos[8], Profile(3).combos[8]);
                EXPECT_EQ(read, stage);
                ASSERT_TRUE(program.ReadMacroSlots(3, *slots));
                read = {};
                ASSERT_TRUE(program.ReadStageCodes(3, read));
                EXPECT_EQ(read, stage);
                for (uint8_t m = 0; m < 9; ++m)
                    EXPECT_EQ((*slots)[m][241], 0x30 + m) << int(m);
            }
        }
    }
}

TEST_F(CommandSetTest, LeftoversOfEarlierRunsAreNotTakenForTheNext)
{
    Profile(0).keys[0] = {0x02, 0xF0, 0, 0};
    Profile(0).stage = {40, 32, 48, 56, 0x28, 0};
    OpenAndClear();
    for (CommandSet* commands : {&program, &library}) {
        // A stray report, and the rest of a run read only in part.
        mouse.SendInput({9, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77});
        KeyTable keys{};
        ASSERT_TRUE(commands->ReadKeyTable(0, keys));
        EXPECT_EQ(keys[0], (KeyEntry{0x02, 0xF0, 0, 0}));
        mouse.SetRunReports(sim::RunBlock::Stage, 5);
        StageData stage{};
        ASSERT_TRUE(commands->ReadStageCodes(0, stage));
        mouse.SetRunReports(sim::RunBlock::Stage, 2);
        KeyComboTable combos{};
        ASSERT_TRUE(commands->ReadKeyComboTable(0, combos));
        EXPECT_EQ(combos, KeyComboTable{});
        stage = {};
        ASSERT_TRUE(commands->ReadStageCodes(0, stage));
        EXPECT_EQ(stage, (StageData{40, 32, 48, 56, 0x28, 0}));
    }
}

TEST_F(CommandSetTest, ShortRunsKeepWhatArrivedAndForeignLengthsAreSkipped)
{
    for (uint8_t k = 0; k < 10; ++k)
        Profile(0).keys[k] = {0x02, 0xF0, k, 0};
    OpenAndClear();
    mouse.SetRunReports(sim::RunBlock::Keys, 6);
    KeyTable keys{};
    keys[7] = {1, 2, 3, 4};
    ASSERT_TRUE(program.ReadKeyTable(0, keys));
    EXPECT_EQ(keys[5], (KeyEntry{0x02, 0xF0, 5, 0}));
    EXPECT_EQ(keys[6], KeyEntry{});
    EXPECT_EQ(keys[7], (KeyEntry{1, 2, 3, 4}));  // as the caller prepared it
    EXPECT_EQ(mouse.InputWaitMs(), 1000u);         // one deadline, not one per report

    // A report of another collection on the node, even one starting with 9.
    mouse.SetRunReports(sim::RunBlock::Keys, 10);
    mouse.InjectForeignInput(3, 9, 4);
    keys = {};
    ASSERT_TRUE(program.ReadKeyTable(0, keys));
    for (uint8_t k = 0; k < 9; ++k)
        EXPECT_EQ(keys[k], (KeyEntry{0x02, 0xF0, k, 0})) << int(k);
}

TEST_F(CommandSetTest, AForeignReportInAMacroRunAndAFailedMacroRun)
{
    for (uint8_t m = 0; m < 9; ++m) {
        for (size_t i = 0; i < Profile(1).macros[m].size(); ++i)
            Profile(1).macros[m][i] = uint8_t(m * 16 + i);
    }
    OpenAndClear();
    mouse.InjectForeignInput(20, 0x55);
    MacroReadBuffer slots{};
    ASSERT_TRUE(program.ReadMacroSlots(1, slots));
    for (uint8_t m = 0; m < 9; ++m)
        EXPECT_TRUE(std::equal(slots[m].begin(), slots[m].end(), Profile(1).macros[m].begin())) << int(m);

    // Each slot costs a command, its request and 36 input reports: the
    // first input report of slot 3 fails, then one part-way through. Either
    // way slot 3 stays zero and the rest of its run is not taken for slot 4.
    for (size_t inRun : {0u, 10u}) {
        SCOPED_TRACE(inRun);
        mouse.ClearLog();
        mouse.FailAt(3 * 38 + 2 + inRun);
        slots = {};
        ASSERT_TRUE(program.ReadMacroSlots(1, slots));
        for (uint8_t m = 0; m < 9; ++m) {
            if (m == 3)
                EXPECT_EQ(slots[m], MacroSlotRead{});
            else
                EXPECT_TRUE(std::equal(slots[m].begin(), slots[m].end(), Profile(1).macros[m].begin())) << int(m);
        }
        mouse.ClearFaults();
    }

    // A short run (the rest never comes) keeps the reports that arrived.
    mouse.SetRunReports(sim::RunBlock::Macro, 20);
    slots = {};
    ASSERT_TRUE(program.ReadMacroSlots(1, slots));
    for (uint8_t m = 0; m < 9; ++m) {
        EXPECT_TRUE(std::equal(slots[m].begin(), slots[m].begin() + 140, Profile(1).macros[m].begin())) << int(m);
        EXPECT_TRUE(std::all_of(slots[m].begin() + 140, slots[m].end(), [](uint8_t b) { return b == 0; }));
    }
}

TEST_F(CommandSetTest, BlockReadPacingAndLengthsDifferByVariant)
{
    OpenAndClear();
    KeyTable keys{};
    ASSERT_TRUE(program.ReadKeyTable(0, keys));
    EXPECT_EQ(clock.Pauses(), (std::vector<unsigned>{5, 5, 50}));
    EXPECT_EQ(Sent(sim::ReportKind::Input).size(), 10u);

    mouse.ClearLog();
    clock.ClearPauses();
    ASSERT_TRUE(library.ReadKeyTable(0, keys));
    EXPECT_EQ(clock.Pauses(), (std::vector<unsigned>{5, 5}));
    EXPECT_EQ(Sent(sim::ReportKind::Input).size(), 10u);  // nine entries of a ten-report run
}

TEST_F(CommandSetTest, AFailedInputRunIsAnEmptyBlockNotAnError)
{
    OpenAndClear();
    mouse.FailNext(sim::ReportKind::Input, 1);
    KeyTable keys{};
    EXPECT_TRUE(program.ReadKeyTable(0, keys));
    EXPECT_EQ(keys, KeyTable{});

    // A read that fails part-way leaves the block as the caller prepared it.
    for (CommandSet* commands : {&program, &library}) {
        link.DrainInput();
        mouse.ClearLog();
        mouse.FailAt(2 + 4);  // command, request, then the fifth input report
        keys = {};
        EXPECT_TRUE(commands->ReadKeyTable(0, keys));
        EXPECT_EQ(keys, KeyTable{});
        mouse.ClearFaults();
    }

    mouse.FailNext(sim::ReportKind::FeatureGet, 3);
    EXPECT_FALSE(program.ReadKeyTable(0, keys));
}

TEST_F(CommandSetTest, BlockWriteStopsAtTheFirstFailingReport)
{
    OpenAndClear();
    mouse.FailAt(4, 3);  // positions: feature 0, outputs 1, 2, 3, then the fourth output
    KeyTable keys{};
    EXPECT_FALSE(program.WriteKeyTable(0, keys));
    EXPECT_EQ(Features().size(), 1u);
    EXPECT_EQ(Outputs().size(), 3u);
    EXPECT_EQ(mouse.Log().size(), 7u);
}

TEST_F(CommandSetTest, ReadsAllNineMacroSlotsWithTheirPacing)
{
    for (uint8_t m = 0; m < 9; ++m) {
        Profile(1).macros[m].fill(0);
        Profile(1).macros[m][0] = m;
        Profile(1).macros[m][241] = 0xAA;
        Profile(1).macros[m][242] = 0xBB;  // beyond what a read keeps
    }
    OpenAndClear();
    mouse.InjectForeignInput(3, 0x55);
    MacroReadBuffer slots{};
    ASSERT_TRUE(program.ReadMacroSlots(1, slots));
    for (uint8_t m = 0; m < 9; ++m) {
        EXPECT_EQ(slots[m][0], m);
        EXPECT_EQ(slots[m][241], 0xAA) << int(m);
    }
    const std::vector<sim::Report> features = Features();
    ASSERT_EQ(features.size(), 9u);
    EXPECT_EQ(features[4], R({7, 0x5A, 2, 4, 0x18, 0x10}));
    EXPECT_EQ(Sent(sim::ReportKind::FeatureGet)[4], R({7, 0, 0, 0, 0x18, 0x10}));
    EXPECT_EQ(mouse.InputQueueLength(), 512u);
    EXPECT_EQ(clock.TotalPausedMs(), 9u * 55);
}

}  // namespace
}  // namespace device::test
