#include "tests/device/DeviceFixture.h"

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

    StageData programStage{}, libraryStage{};
    mouse.InjectForeignInput(0, 4);
    ASSERT_TRUE(program.ReadStageCodes(0, programStage));
    mouse.InjectForeignInput(0, 4);
    ASSERT_TRUE(library.ReadStageCodes(0, libraryStage));
    EXPECT_EQ(programStage, (StageData{40, 32, 48, 56, 0x28, 0}));
    EXPECT_EQ(libraryStage, StageData{});
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
    EXPECT_EQ(Sent(sim::ReportKind::Input).size(), 9u);
}

TEST_F(CommandSetTest, AFailedInputRunIsAnEmptyBlockNotAnError)
{
    OpenAndClear();
    mouse.FailNext(sim::ReportKind::Input, 1);
    KeyTable keys{};
    EXPECT_TRUE(program.ReadKeyTable(0, keys));
    EXPECT_EQ(keys, KeyTable{});

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
