#include "tests/device/DeviceFixture.h"

#include <memory>

namespace device::test {
namespace {

// A program-layout record with every kind of button.
struct RecordBuilder {
    DeviceProfileRecord bytes{};
    RecordView view{bytes.data(), kProgramLayout};

    RecordBuilder()
    {
        view.SetU8(1, 1);
        view.SetU8(8, 2);     // 500 Hz
        view.SetU8(9, 60);    // power save 60 s
        view.SetU8(10, 20);   // ambient 20 s
        for (int i = 0; i < 4; ++i)
            view.SetU8(kProgramLayout.stageCodes[i], static_cast<uint8_t>(40 + 4 * i));
    }
    RecordBuilder& Button(int j, uint8_t cat, uint8_t value, uint8_t extra = 0)
    {
        view.SetButton(j, {cat, value, extra});
        return *this;
    }
    RecordBuilder& Macro(int j, uint8_t mode, uint8_t number, int events)
    {
        Button(j, category::Macro, mode, number);
        for (int k = 0; k < events; ++k)
            view.SetMacroEventIn(j, k, {kEventKey, static_cast<uint16_t>(4 + k % 20), uint8_t(k % 2), 40u * k});
        view.SetMacroEventCount(j, static_cast<uint16_t>(events));
        return *this;
    }
};

using ProfileTransferTest = DeviceFixture;

TEST_F(ProfileTransferTest, ProgramWriteThenReadGivesTheReadForm)
{
    RecordBuilder in;
    in.Button(0, category::MouseButton, 1)
        .Button(1, category::Key, 0x04, 0x11 | 0x44)
        .Button(2, category::MouseButton, 8)
        .Macro(3, 5, 9, 3)
        .Button(4, category::DpiUp, 1)
        .Macro(5, kPlayWhileHeld, 2, 82)
        .Button(6, category::Wheel, 255);
    ASSERT_TRUE(programTransfer.WriteProfileRecord(1, in.bytes));

    const sim::ProfileState& mouseProfile = Profile(1);
    EXPECT_EQ(mouseProfile.keys[0], (sim::KeyEntry{0x02, 0xF0, 0, 0}));
    EXPECT_EQ(mouseProfile.keys[2], (sim::KeyEntry{0x03, 0x02, 0, 0}));
    EXPECT_EQ(mouseProfile.keys[1], (sim::KeyEntry{0x02, 0xF8, 0, 0}));
    EXPECT_EQ(mouseProfile.keys[6], (sim::KeyEntry{0x53, 0x00, 9, 6}));
    EXPECT_EQ(mouseProfile.keys[7], (sim::KeyEntry{0x02, 0xF4, 0, 0}));
    EXPECT_EQ(mouseProfile.combos[2], (sim::ComboSlot{0xE0, 0xE2, 0x04}));
    EXPECT_EQ(mouseProfile.macros[6][1], 5);
    EXPECT_EQ(mouseProfile.macros[5][0], 0xFF);
    EXPECT_EQ(mouseProfile.reportRate, 2);
    EXPECT_EQ(mouseProfile.powerSave, 1);
    EXPECT_EQ(mouse.State().ambient, 20);
    EXPECT_EQ(mouse.State().ledSwitch, 0xFF);

    DeviceProfileRecord out{};
    ASSERT_TRUE(programTransfer.ReadProfileRecord(1, out));
    RecordView view(out.data(), kProgramLayout);
    EXPECT_EQ(view.U8(1), 1);
    EXPECT_EQ(view.U8(8), 2);
    EXPECT_EQ(view.U8(9), 60);
    EXPECT_EQ(view.U8(10), 20);
    EXPECT_EQ(view.U8(26), 40);
    EXPECT_EQ(view.U8(32), 52);
    EXPECT_EQ(view.Button(1).value, 0x04);
    EXPECT_EQ(view.Button(1).extra, 0x05);
    EXPECT_EQ(view.Button(2).value, 16);  // browser buttons read back swapped
    EXPECT_EQ(view.Button(3).category, category::Macro);
    EXPECT_EQ(view.Button(3).value, 5);
    EXPECT_EQ(view.Button(3).extra, 9);
    EXPECT_EQ(view.MacroEventCount(3), 3);
    const MacroEventIn second = view.MacroEvent(3, 1);
    EXPECT_EQ(second.code, 0x0500);
    EXPECT_EQ(second.direction, 2);
    EXPECT_EQ(second.delayMs, SwapDelayBytes(40));
    EXPECT_EQ(view.Button(4).category, category::DpiUp);
    EXPECT_EQ(view.Button(4).value, 0);
    // 81 of the 82 events reach the mouse, 80 come back.
    EXPECT_EQ(view.Button(5).value, kPlayWhileHeld);
    EXPECT_EQ(view.MacroEventCount(5), 80);
    EXPECT_EQ(view.Button(6).value, 255);
}

TEST_F(ProfileTransferTest, ProgramWriteOfDisabledButtonsAndEmptyMacro)
{
    RecordBuilder in;
    for (int j = 0; j < 7; ++j)
        in.Button(j, category::Disabled, 0);
    OpenAndClear();
    ASSERT_TRUE(programTransfer.WriteProfileRecord(0, in.bytes));
    const auto outputs = Outputs();
    ASSERT_EQ(outputs.size(), 10u + 10u + 1u);
    for (int k = 0; k < 10; ++k) {
        const sim::Report expected = k == 7 ? R({9, 2, 0xF4}) : k == 8 ? R({9, 2, 0xF3}) : R({9});
        EXPECT_EQ(outputs[k], expected) << k;
        EXPECT_EQ(outputs[10 + k], R({9})) << k;
    }

    RecordBuilder empty;
    empty.Macro(0, kPlayToggle, 1, 0);
    mouse.ClearLog();
    ASSERT_TRUE(programTransfer.WriteProfileRecord(0, empty.bytes));
    const auto macroWrite = Outputs();
    ASSERT_EQ(macroWrite.size(), 10u + 10u + 35u + 1u);
    for (int k = 20; k < 55; ++k)
        EXPECT_EQ(macroWrite[k], R({9})) << k;
    EXPECT_EQ(Features()[10], R({7, 0x7A, 1, 0}));
}

TEST_F(ProfileTransferTest, ProgramWriteChangesOnlyItsOwnInUseFlag)
{
    Profile(0).inUse = 1;
    Profile(1).inUse = 0;
    Profile(3).inUse = 7;
    RecordBuilder in;
    in.view.SetU8(1, 0);
    ASSERT_TRUE(programTransfer.WriteProfileRecord(2, in.bytes));
    EXPECT_EQ(Features().back(), R({7, 0x6E, 1, 0, 0, 7, 1}));
}

TEST_F(ProfileTransferTest, ProgramReadOfAMacroEntryTakesItsSlot)
{
    Profile(0).keys[1] = {0x53, 0x00, 0x07, 0x01};
    Profile(0).macros[1] = {};
    Profile(0).macros[1][0] = 0xFF;
    Profile(0).macros[1][1] = 0x05;
    Profile(0).macros[1][2] = 0x80;
    Profile(0).macros[1][3] = 0x02;
    Profile(0).macros[1][4] = 0xB8;
    Profile(0).keys[6] = {0x53, 0x00, 0x03, 0x0C};  // slot 12 does not exist
    Profile(0).keys[3] = {0x02, 0xF6, 0, 0};
    DeviceProfileRecord out{};
    RecordView view(out.data(), kProgramLayout);
    view.SetButton(4, {category::DpiDown, 9, 0});
    ASSERT_TRUE(programTransfer.ReadProfileRecord(0, out));
    EXPECT_EQ(view.Button(2).category, category::Macro);
    EXPECT_EQ(view.Button(2).extra, 7);
    EXPECT_EQ(view.Button(2).value, 5);
    EXPECT_EQ(view.MacroEventCount(2), 1);
    EXPECT_EQ(view.MacroEvent(2, 0).kind, kEventMouseButton);
    EXPECT_EQ(view.MacroEvent(2, 0).code, 2);
    EXPECT_EQ(view.MacroEvent(2, 0).direction, 1);
    EXPECT_EQ(view.MacroEvent(2, 0).delayMs, SwapDelayBytes(40));
    EXPECT_EQ(view.Button(3).category, category::Macro);
    EXPECT_EQ(view.Button(3).value, 0);
    EXPECT_EQ(view.MacroEventCount(3), 0);
    EXPECT_EQ(view.Button(4).category, category::DpiDown);  // 02 F6 leaves the entry alone
    EXPECT_EQ(view.Button(4).value, 9);
}

TEST_F(ProfileTransferTest, ProgramReadStopsAtAFailedStepWithWhatItHad)
{
    mouse.MutableState().ambient = 60;
    OpenAndClear();
    // Positions: begin 0, select 1, LED query 2-3, rate query 4-5, power save 6.
    mouse.FailAt(6, 3);
    DeviceProfileRecord out{};
    EXPECT_FALSE(programTransfer.ReadProfileRecord(0, out));
    EXPECT_EQ(out[8], 5);
    EXPECT_EQ(out[10], 60);
    EXPECT_EQ(out[9], 0);
}

TEST_F(ProfileTransferTest, LibraryReadAndWriteUseTheirLayoutAndAllFlags)
{
    auto records = std::make_unique<std::array<DeviceProfileRecord, 5>>();
    Profile(2).inUse = 0;
    Profile(1).keys[0] = {0x03, 0x00, 0, 0};
    Profile(1).keys[2] = {0x53, 0x00, 0x09, 0x02};
    Profile(1).stage = {1, 2, 3, 4, 0x28, 0};
    auto& rec = *records;
    rec[1][12] = 0x77;  // outside what a read writes: kept
    ASSERT_TRUE(libraryTransfer.Read(1, rec[1].data()));
    EXPECT_EQ(rec[1][34], category::Key);
    EXPECT_EQ(rec[1][35], 0);
    EXPECT_EQ(rec[1][42], category::Macro);
    EXPECT_EQ(rec[1][43], 2);
    EXPECT_EQ(rec[1][25], 1);
    EXPECT_EQ(rec[1][31], 4);
    EXPECT_EQ(rec[1][12], 0x77);
    EXPECT_EQ(rec[1][1], 0);  // flags only with profile 4

    mouse.ClearLog();
    ASSERT_TRUE(libraryTransfer.Read(4, rec[4].data()));
    // The ten key-table reports the mouse sends (nine entries used), and the
    // stage-code run.
    EXPECT_EQ(Sent(sim::ReportKind::Input).size(), 9u + 1u + 2u);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(rec[k][1], k == 2 ? 0 : 1) << k;

    // Write: profile 1 leaves the flags alone, profile 4 sends all five bytes.
    for (auto& r : rec)
        r = {};
    RecordView view(rec[1].data(), kLibraryLayout);
    view.SetButton(0, {category::Macro, 3, 9});
    view.SetMacroEventIn(0, 0, {kEventMouseButton, 4, 0, 0});
    view.SetMacroEventIn(0, 1, {kEventMouseButton, 8, 0, 0});
    view.SetMacroEventCount(0, 2);
    mouse.ClearLog();
    ASSERT_TRUE(libraryTransfer.Write(1, rec[1].data()));
    EXPECT_EQ(Profile(1).keys[0], (sim::KeyEntry{0x53, 0, 0, 0}));
    EXPECT_EQ(Profile(1).macros[0][4], 0xF1);
    EXPECT_EQ(Profile(1).macros[0][7], 0);  // browser buttons are not encoded
    for (const sim::Report& feature : Features())
        EXPECT_NE(feature[1], 0x6E);
    for (const sim::Report& feature : Features())
        EXPECT_NE(feature[1], 0x84);  // nor the LEDs

    rec[0][1] = 2;
    rec[3][1] = 1;
    ASSERT_TRUE(libraryTransfer.Write(4, rec[4].data()));
    EXPECT_EQ(Features().back(), R({7, 0x6E, 2, 0, 0, 1, 0}));
}

TEST_F(ProfileTransferTest, ProtocolPauseFloorOfAFullProgramWrite)
{
    RecordBuilder in;
    for (int j = 0; j < 7; ++j)
        in.Macro(j, 1, uint8_t(j), 81);
    OpenAndClear();
    ASSERT_TRUE(programTransfer.WriteProfileRecord(0, in.bytes));
    // 2 + 2 + 1 + 4 + 11 + 11 + 7 x 36 + 2 + 3 reports, each followed by 5 ms,
    // and 20 ms before each of the seven macros.
    const size_t reports = mouse.Log().size();
    EXPECT_EQ(reports, 288u);
    EXPECT_EQ(clock.TotalPausedMs(), reports * 5 + 7 * 20);
}

// The four sequences over one mouse: the program's on profile 1, the
// library's on profile 4 (so that they handle the in-use flags too).
class SequenceTest : public DeviceFixture {
protected:
    enum Sequence { ProgramRead, ProgramWrite, LibraryRead, LibraryWrite };

    RecordBuilder programRecord;
    std::unique_ptr<std::array<DeviceProfileRecord, 5>> libraryRecords =
        std::make_unique<std::array<DeviceProfileRecord, 5>>();
    std::unique_ptr<std::array<DeviceProfileRecord, 5>> readRecords =
        std::make_unique<std::array<DeviceProfileRecord, 5>>();

    SequenceTest()
    {
        // A key on button 1 (entry 2) and macros on buttons 3 (entry 6) and 5 (entry 5).
        programRecord.Button(1, category::Key, 0x04, 0x11).Macro(3, 2, 1, 5).Macro(5, 1, 2, 3);
        RecordView view((*libraryRecords)[4].data(), kLibraryLayout);
        view.SetButton(1, {category::Key, 0x04, 0x11});
        view.SetButton(3, {category::Macro, 2, 0});
        view.SetMacroEventIn(3, 0, {kEventKey, 4, 0, 40});
        view.SetMacroEventCount(3, 1);
        Profile(1).keys[6] = {0x53, 0, 1, 6};
        Profile(1).keys[5] = {0x53, 0, 2, 5};
    }

    bool Run(Sequence sequence)
    {
        DeviceProfileRecord out{};
        switch (sequence) {
        case ProgramRead:
            return programTransfer.ReadProfileRecord(1, out);
        case ProgramWrite:
            return programTransfer.WriteProfileRecord(1, programRecord.bytes);
        case LibraryRead:
            return libraryTransfer.Read(4, (*readRecords)[4].data());
        case LibraryWrite:
            return libraryTransfer.Write(4, (*libraryRecords)[4].data());
        }
        return false;
    }

    // Whether the sequence goes on when every attempt of this report fails:
    // BeginTransfer and SetCurrentProfile are not checked, the macro read's
    // request is fire-and-forget, and an input run that breaks off is short.
    static bool Survives(const sim::LoggedReport& entry)
    {
        switch (entry.kind) {
        case sim::ReportKind::FeatureSet:
            return entry.bytes[1] == 0x79 || entry.bytes[1] == 0x7C;
        case sim::ReportKind::FeatureGet:
            return entry.bytes[4] == 0x18;
        case sim::ReportKind::Output:
            return false;
        case sim::ReportKind::Input:
            return true;
        }
        return false;
    }
};

TEST_F(SequenceTest, EachSequenceSendsItsCommandsInOrder)
{
    const auto macroReads = [] {
        std::vector<sim::Report> reads;
        for (uint8_t m = 0; m < 9; ++m)
            reads.push_back(R({7, 0x5A, 2, m, 0x18, 0x10}));
        return reads;
    };
    std::vector<sim::Report> programRead = {R({7, 0x79}), R({7, 0x7C, 2}), R({7, 0x84}), R({7, 0x5D}),
                                            R({7, 0x53, 2}), R({7, 0x5B, 2, 0x28}), R({7, 0x44, 2, 0x28})};
    const std::vector<sim::Report> slots = macroReads();
    programRead.insert(programRead.end(), slots.begin(), slots.end());
    programRead.push_back(R({7, 0x57, 2, 0x10}));
    programRead.push_back(R({7, 0x0F}));

    const std::vector<sim::Report> programWrite = {
        R({7, 0x79}), R({7, 0x7C, 2}), R({7, 0x84}), R({7, 0x04, 0xFF, 0, 20}), R({7, 0x7D, 2, 0, 2}),
        R({7, 0x73, 2, 0, 1}), R({7, 0x76, 2, 0, 255, 255, 0}), R({7, 0x74, 2, 0, 0x10}), R({7, 0x7B, 2, 0x28}),
        R({7, 0x6F}), R({7, 0x7A, 2, 6}), R({7, 0x7A, 2, 5}), R({7, 0x77, 2, 0x10}), R({7, 0x0F}),
        R({7, 0x6E, 1, 1, 1, 1, 1})};
    const std::vector<sim::Report> libraryRead = {R({7, 0x79}), R({7, 0x7C, 5}), R({7, 0x5D}), R({7, 0x53, 5}),
                                                  R({7, 0x5B, 5, 0x28}), R({7, 0x57, 5, 0x10}), R({7, 0x0F})};
    const std::vector<sim::Report> libraryWrite = {
        R({7, 0x79}), R({7, 0x7C, 5}), R({7, 0x7D, 5, 0, 3}), R({7, 0x73, 5, 0, 0}),
        R({7, 0x76, 5, 0, 128, 0, 255}), R({7, 0x74, 5, 0, 0x10}), R({7, 0x7B, 5, 0x28}), R({7, 0x6F}),
        R({7, 0x7A, 5, 6}), R({7, 0x77, 5, 0x10}), R({7, 0x6E, 0, 0, 0, 0, 0})};

    struct Expected {
        Sequence sequence;
        const std::vector<sim::Report>* features;
        size_t outputs;
        size_t inputs;
    };
    const Expected all[] = {
        {ProgramRead, &programRead, 0, 10 + 10 + 9 * 36 + 2},
        {ProgramWrite, &programWrite, 10 + 10 + 2 * 35 + 1, 0},
        {LibraryRead, &libraryRead, 0, 10 + 2},
        {LibraryWrite, &libraryWrite, 10 + 10 + 35 + 1, 0},
    };
    for (const Expected& expected : all) {
        SCOPED_TRACE(expected.sequence);
        OpenAndClear();
        ASSERT_TRUE(Run(expected.sequence));
        EXPECT_EQ(Features(), *expected.features);
        EXPECT_EQ(Outputs().size(), expected.outputs);
        EXPECT_EQ(Sent(sim::ReportKind::Input).size(), expected.inputs);
        for (const sim::LoggedReport& entry : mouse.Log())
            EXPECT_FALSE(entry.failed);
    }
}

// Every attempt of one report fails, at each report of each sequence in
// turn: the sequence fails unless that report is one whose failure is
// ignored, sends nothing after the failed attempts, and the link works for
// the next run.
TEST_F(SequenceTest, AFailureAtEachStepEndsTheSequence)
{
    for (Sequence sequence : {ProgramRead, ProgramWrite, LibraryRead, LibraryWrite}) {
        // The clean run as every later one sees the mouse (after a write).
        ASSERT_TRUE(link.OpenDevice());
        ASSERT_TRUE(Run(sequence));
        mouse.ClearLog();
        ASSERT_TRUE(Run(sequence));
        const std::vector<sim::LoggedReport> clean = mouse.Log();
        size_t failures = 0;
        for (size_t position = 0; position < clean.size(); ++position) {
            mouse.ClearLog();
            mouse.FailAt(position, 3);
            const bool result = Run(sequence);
            EXPECT_EQ(result, Survives(clean[position])) << "sequence " << sequence << " report " << position;
            if (!Survives(clean[position])) {
                // The clean run up to the failed report, its three failed
                // attempts, and nothing more.
                std::vector<sim::LoggedReport> expected(clean.begin(), clean.begin() + std::ptrdiff_t(position));
                sim::LoggedReport attempt = clean[position];
                attempt.answer = {};
                attempt.failed = true;
                expected.insert(expected.end(), 3, attempt);
                EXPECT_EQ(mouse.Log(), expected) << "sequence " << sequence << " report " << position;
            }
            failures += result ? 0 : 1;
            mouse.ClearFaults();
            ASSERT_TRUE(Run(sequence)) << "sequence " << sequence << " after report " << position;
        }
        EXPECT_GT(failures, 0u);
    }
}

TEST_F(SequenceTest, IgnoredFailuresOfBeginTransferAndSetCurrentProfile)
{
    OpenAndClear();
    mouse.MutableState().currentProfile = 3;
    mouse.FailAt(0, 6);  // BeginTransfer and SetCurrentProfile, three attempts each
    DeviceProfileRecord out{};
    EXPECT_TRUE(programTransfer.ReadProfileRecord(1, out));
    EXPECT_EQ(Features().front(), R({7, 0x84}));
    EXPECT_EQ(mouse.State().currentProfile, 3);  // not selected
}

TEST_F(ProfileTransferTest, UnplugInTheMiddleOfATransfer)
{
    RecordBuilder in;
    in.Macro(0, 1, 1, 40);
    OpenAndClear();
    mouse.UnplugAt(30);
    EXPECT_FALSE(programTransfer.WriteProfileRecord(0, in.bytes));
    EXPECT_FALSE(programTransfer.WriteProfileRecord(0, in.bytes));  // stale handles
    mouse.Replug();
    link.CloseDevice();
    EXPECT_TRUE(programTransfer.WriteProfileRecord(0, in.bytes));
}

}  // namespace
}  // namespace device::test
