#include "settings/MacroText.h"
#include "settings/SettingsFileCheck.h"
#include "settings/WorkingMacros.h"
#include "tests/settings/SettingsFixture.h"

#include <cstring>

namespace settings {
namespace {

namespace prof = layout::profile;
using device::RecordView;
using device::kProgramLayout;

using ConversionTest = test::SettingsFixture;

TEST_F(ConversionTest, WriteAllThenReadAllWithMacros)
{
    ResetAllSettings(*store, firmware, program);
    MacroRecord macro = store->WorkingMacro(2);  // macro number 3
    macro.SetName("Reload");
    macro.AddEvent(kKindKey, " A ", kDirectionDown);
    macro.AddEvent(kKindDelay, "0.100", "");
    macro.AddEvent(kKindKey, " A ", kDirectionUp);
    macro.AddEvent(kKindMouse, ProgramMouseName(MouseAction::Left), kDirectionDown);
    macro.AddEvent(kKindDelay, "0.0299", "");
    macro.AddEvent(kKindMouse, ProgramMouseName(MouseAction::Middle), kDirectionDown);  // "Scroll Wheel Click"
    macro.AddEvent(kKindMouse, ProgramMouseName(MouseAction::BrowserForward), kDirectionUp);
    store->SetWorkingMacroCount(3);
    SetButton(0, 1, function::Macro, 3);
    Profile(0).Set(prof::kMacroPlayMode, 1, int32_t{5});
    SetButton(0, 2, function::SingleKey, SingleKeyParam(65, 0x01 | 0x40));
    SetButton(0, 3, function::BrowserForward);  // button 4 is always Profile Select
    SetButton(0, 4, function::Disable);
    SetButton(2, 6, function::ScrollDown);
    Profile(2).Set(prof::kReportRate, int32_t{500});
    Profile(2).Set(prof::kPowerSave, int32_t{60});
    Profile(2).Set(prof::kLaserLevels, 1, int32_t{12});  // beyond the table: the last code
    Profile(1).Set(prof::kInUse, uint8_t{0});
    store->SetCurrentProfile(2);  // not in use: profile 1 becomes current

    ASSERT_TRUE(sync.ApplyAllProfiles(0).Empty());
    EXPECT_EQ(sync.RememberedDeviceProfile(), 1);
    EXPECT_EQ(store->CurrentProfile(), 1);
    EXPECT_EQ(mouse.State().currentProfile, 0);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(Profile(0).Get(prof::kButtonFunction, 3), function::BrowserForward);
    const sim::ProfileState& first = mouse.State().profiles[0];
    EXPECT_EQ(first.keys[6], (sim::KeyEntry{0x70, 0x03, 0, 0}));
    EXPECT_EQ(first.keys[2], (sim::KeyEntry{0x53, 0, 3, 2}));
    EXPECT_EQ(first.combos[1], (sim::ComboSlot{0xE0, 0xE2, 0x04}));
    EXPECT_EQ(first.keys[3], (sim::KeyEntry{0, 0, 0, 0}));
    EXPECT_EQ(mouse.State().profiles[1].inUse, 0);
    EXPECT_EQ(mouse.State().profiles[2].stage[0], 68);
    EXPECT_EQ(mouse.State().ambient, 0);  // all profiles go without ambient light

    // The start-up load: everything from the mouse, profile 1 last.
    ResetAllSettings(*store, firmware, program);
    for (int p = 4; p >= 0; --p)
        ASSERT_TRUE(sync.ReadProfileFromDevice(p)) << p;
    EXPECT_EQ(store->CurrentProfile(), 1);
    EXPECT_EQ(Profile(0).Get(prof::kButtonFunction, 1), function::Macro);
    EXPECT_EQ(Profile(0).Get(prof::kButtonParam, 1), 1);  // macro 3 became macro 1
    EXPECT_EQ(Profile(0).Get(prof::kMacroPlayMode, 1), 5);
    EXPECT_EQ(Profile(0).Get(prof::kButtonFunction, 2), function::SingleKey);
    EXPECT_EQ(Profile(0).Get(prof::kButtonParam, 2), SingleKeyParam(65, 0x05));
    EXPECT_EQ(Profile(0).Get(prof::kButtonFunction, 3), function::ProfileSelect);
    EXPECT_EQ(Profile(0).Get(prof::kButtonFunction, 4), function::Disable);
    EXPECT_EQ(Profile(0).Get(prof::kButtonFunction, 5), function::BrowserForward);
    EXPECT_EQ(Profile(2).Get(prof::kButtonFunction, 6), function::ScrollDown);
    EXPECT_EQ(Profile(2).Get(prof::kReportRate), 500);
    EXPECT_EQ(Profile(2).Get(prof::kPowerSave), 60);
    EXPECT_EQ(Profile(2).Get(prof::kLaserLevels, 1), 9);
    EXPECT_EQ(Profile(1).Get(prof::kInUse), 0);
    // What the mouse does not keep comes back as a zeroed record gives it.
    EXPECT_EQ(Profile(0).Get(prof::kOpticalDpi, 0), 0);
    EXPECT_EQ(Profile(0).Get(prof::kAngleSnapping), 1);
    EXPECT_EQ(Profile(0).Get(prof::kLiftOffDistance), 1);
    EXPECT_EQ(Profile(0).Get(prof::kScrollSpeed), 3);  // from the desktop
    EXPECT_EQ(store->FirmwareVersion(), "V1.07");

    EXPECT_EQ(store->WorkingMacroCount(), 1);
    const MacroRecord read = store->WorkingMacro(0);
    EXPECT_EQ(read.Number(), 1);
    EXPECT_EQ(read.Name(), "MACRO_3");
    EXPECT_EQ(Events(read), (std::vector<std::string>{
                                "k| A |down", "t|0.100|", "k| A |up", "m|Left Click     |down", "t|0.020|",
                                "m|Middle Click   |down", "m|Browser Forward|up"}));
    EXPECT_EQ(Profile(0).Macro(0).Name(), "MACRO_3");  // the profile keeps its copy
}

TEST_F(ConversionTest, MacroBlocksFromWorkingSlots)
{
    auto bytes = std::make_unique<device::DeviceProfileRecord>();
    RecordView record(bytes->data(), kProgramLayout);
    MacroRecord slot = store->WorkingMacro(0);
    for (int k = 0; k < 200; ++k)
        slot.AddEvent(kKindKey, " B ", kDirectionDown);
    EXPECT_EQ(FillMacroBlock(slot, record, 0), 128);
    EXPECT_EQ(record.MacroEventCount(0), 128);

    slot.Clear();
    slot.AddEvent(kKindKey, " Num_0 ", kDirectionDown);
    slot.AddEvent(kKindDelay, "0.0299", "");
    slot.AddEvent(kKindKey, "no such key", "sideways");
    slot.AddEvent(kKindDelay, "soon", "");
    slot.AddEvent("x", "Left Click     ", kDirectionDown);
    slot.AddEvent(kKindMouse, "Scroll Wheel Down ", kDirectionUp);
    slot.AddEvent(kKindMouse, "Scroll Wheel Click", kDirectionUp);  // the recorder's middle button
    slot.AddEvent(kKindMouse, "Middle Click   ", kDirectionDown);     // a read one
    slot.AddEvent(kKindMouse, "Scroll Wheel", kDirectionDown);        // no button
    ASSERT_EQ(FillMacroBlock(slot, record, 1), 5);
    EXPECT_EQ(record.MacroEvent(1, 0).code, 98);
    EXPECT_EQ(record.MacroEvent(1, 0).delayMs, 29u);  // truncated, not rounded
    EXPECT_EQ(record.MacroEvent(1, 1).code, 0);
    EXPECT_EQ(record.MacroEvent(1, 1).direction, 0);
    EXPECT_EQ(record.MacroEvent(1, 1).delayMs, 0u);
    EXPECT_EQ(record.MacroEvent(1, 2).kind, device::kEventWheel);
    EXPECT_EQ(record.MacroEvent(1, 2).code, 255);
    EXPECT_EQ(record.MacroEvent(1, 2).direction, 1);
    for (int k : {3, 4}) {
        EXPECT_EQ(record.MacroEvent(1, k).kind, device::kEventMouseButton);
        EXPECT_EQ(record.MacroEvent(1, k).code, 4);
    }

    // Delay texts are read as the macro editor reads them: every text a read
    // macro carries gives back its milliseconds exactly.
    slot.Clear();
    const std::vector<std::pair<std::string, uint32_t>> delays = {
        {"4.020", 4020}, {"16.220", 16220}, {" 0.5 ", 500}, {"1.2s", 0}, {"1e3", 0}, {"-1", 0}};
    for (const auto& [text, ms] : delays) {
        slot.AddEvent(kKindKey, " C ", kDirectionDown);
        slot.AddEvent(kKindDelay, text, "");
    }
    ASSERT_EQ(FillMacroBlock(slot, record, 2), static_cast<int>(delays.size()));
    for (size_t k = 0; k < delays.size(); ++k)
        EXPECT_EQ(record.MacroEvent(2, static_cast<int>(k)).delayMs, delays[k].second) << delays[k].first;
}

TEST_F(ConversionTest, ReadRecordRules)
{
    auto bytes = std::make_unique<device::DeviceProfileRecord>();
    RecordView record(bytes->data(), kProgramLayout);
    record.SetU8(device::record::kLiftOff, 20);
    record.SetU8(device::record::kAngleSnapping, 40);
    record.SetU8(kProgramLayout.reportRate, 7);
    record.SetButton(0, {device::category::Macro, 241, 3});
    record.SetButton(1, {device::category::Macro, 2, 7});
    record.SetButton(2, {device::category::Macro, 9, 3});  // the same macro again
    record.SetButton(4, {device::category::Key, 0xE8, 0x02});  // no such usage in the table
    record.SetButton(5, {0, 3, 0});                            // mouse value not in the table
    record.SetMacroEvent(0, 0, {device::kEventKey, 0x0500, 1, device::SwapDelayBytes(1250)});
    record.SetMacroEvent(0, 1, {5, 0, 1, 0});  // kind 5 ends the block
    record.SetMacroEvent(0, 2, {device::kEventKey, 0x0600, 1, 0});
    record.SetMacroEventCount(0, 3);
    record.SetMacroEvent(1, 0, {device::kEventWheel, 1, 2, 0});
    record.SetMacroEvent(1, 1, {device::kEventMouseButton, 3, 9, 0});
    record.SetMacroEventCount(1, 2);
    record.SetMacroEventCount(2, 0);
    store->WorkingMacro(14).SetNumber(15);  // cleared by the read

    ReadRecord(*store, 3, *bytes, desktop, 203);
    EXPECT_EQ(record.U8(device::record::kAngleSnapping), 9);
    EXPECT_EQ(Profile(3).Get(prof::kAngleSnapping), 10);
    EXPECT_EQ(Profile(3).Get(prof::kLiftOffDistance), 5);
    EXPECT_EQ(Profile(3).Get(prof::kReportRate), 1000);
    EXPECT_EQ(store->CurrentProfile(), 4);
    EXPECT_EQ(store->FirmwareVersion(), "V2.03");
    EXPECT_EQ(store->AppVersion(), "V1.10");
    EXPECT_EQ(Profile(3).Get(prof::kButtonParam, 0), 1);
    EXPECT_EQ(Profile(3).Get(prof::kButtonParam, 1), 2);
    EXPECT_EQ(Profile(3).Get(prof::kButtonParam, 2), 1);
    EXPECT_EQ(Profile(3).Get(prof::kMacroPlayMode, 0), 241);
    EXPECT_EQ(Profile(3).Get(prof::kButtonFunction, 4), function::SingleKey);
    EXPECT_EQ(Profile(3).Get(prof::kButtonParam, 4), 0x200);
    EXPECT_EQ(Profile(3).Get(prof::kButtonFunction, 5), 0);
    EXPECT_EQ(store->WorkingMacroCount(), 2);
    EXPECT_EQ(store->WorkingMacro(0).Name(), "MACRO_3");
    EXPECT_EQ(Events(store->WorkingMacro(0)), std::vector<std::string>{});  // button 3 replaced the events
    EXPECT_EQ(store->WorkingMacro(1).Name(), "MACRO_7");
    EXPECT_EQ(store->WorkingMacro(1).Number(), 2);
    EXPECT_EQ(Events(store->WorkingMacro(1)),
              (std::vector<std::string>{"m|Scroll Wheel Up|up", "m|unknown|unknown"}));
    EXPECT_EQ(store->WorkingMacro(6).Number(), 0);  // the old slot was cleared
    EXPECT_EQ(store->WorkingMacro(14).Number(), 0);

    // The first block alone: kind 5 stops it after one key and its delay.
    auto again = std::make_unique<SettingsStore>();
    DecodeMacroBlock(record, 0, again->WorkingMacro(0));
    EXPECT_EQ(Events(again->WorkingMacro(0)), (std::vector<std::string>{"k| B |down", "t|1.250|"}));
}

TEST_F(ConversionTest, ValueTables)
{
    EXPECT_EQ(LiftOffLevel(20), 5);
    EXPECT_EQ(LiftOffLevel(25), 9);
    EXPECT_EQ(LiftOffLevel(7), 3);
    EXPECT_EQ(LiftOffLevel(4), 1);
    EXPECT_EQ(LiftOffLevel(255), 99);
    EXPECT_EQ(LiftOffByte(0), 5);
    EXPECT_EQ(LiftOffByte(1), 5);
    EXPECT_EQ(LiftOffByte(5), 9);
    EXPECT_EQ(LiftOffByte(10), 32);
    EXPECT_EQ(LiftOffByte(11), 32);
    EXPECT_EQ(LiftOffByte(-1), 32);
    EXPECT_EQ(LaserCode(-3), 36);
    EXPECT_EQ(LaserCode(12), 68);
    EXPECT_EQ(LaserIndex(44), 3);
    EXPECT_EQ(LaserIndex(45), 0);
    EXPECT_EQ(ReportRateByte(333), 1);
    EXPECT_EQ(ReportRateHz(3), 250);
}

TEST_F(ConversionTest, NoMouseLeavesTheStoreAlone)
{
    ResetAllSettings(*store, firmware, program);
    mouse.Unplug();
    mouse.ClearLog();
    const std::vector<uint8_t> before(store->Bytes(), store->Bytes() + SettingsStore::Size());
    EXPECT_EQ(sync.ApplyAllProfiles(0), ProfileSet::All());
    EXPECT_FALSE(sync.WriteProfileToDevice(1));
    EXPECT_FALSE(sync.ReadProfileFromDevice(1));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), store->Bytes()));
    EXPECT_TRUE(mouse.Log().empty());
}

TEST_F(ConversionTest, OneProfileWriteCarriesAmbientLightAndAppliesPointerLevels)
{
    ResetAllSettings(*store, firmware, program);
    Profile(2).Set(prof::kAmbientLight, int32_t{60});
    Profile(2).Set(prof::kScrollSpeed, int32_t{9});
    store->WorkingMacro(0).SetName("Working");
    store->SetWorkingMacroCount(1);
    clock.ClearPauses();
    ASSERT_TRUE(sync.WriteProfileToDevice(2));
    EXPECT_EQ(mouse.State().ambient, 60);
    EXPECT_EQ(desktop.WheelScrollLines(), 9u);
    EXPECT_EQ(Profile(2).Macro(0).Name(), "Working");
    EXPECT_EQ(clock.Pauses().back(), 250u);

    // A failed write applies nothing.
    desktop.SetWheelScrollLines(1);
    mouse.FailNext(sim::ReportKind::FeatureSet, 3 * 200);
    EXPECT_FALSE(sync.WriteProfileToDevice(2));
    EXPECT_EQ(desktop.WheelScrollLines(), 1u);
}

TEST_F(ConversionTest, DeviceFunctionsBothWays)
{
    ResetAllSettings(*store, firmware, program);
    // Button 4 is always written as Profile Select, so profile 2 takes it.
    const int32_t functions[] = {function::DpiUp, function::DpiDown, function::DpiLevelSwitch, 0,
                                 function::DoubleClick, function::TripleClick, function::SniperSwitch};
    for (int b = 0; b < kButtons; ++b) {
        if (functions[b] != 0)
            SetButton(0, b, functions[b], 77);
    }
    SetButton(1, 0, function::ProfileSelect);
    ASSERT_TRUE(sync.ApplyAllProfiles(0).Empty());
    const auto& keys = mouse.State().profiles[0].keys;
    EXPECT_EQ(keys[device::kButtonSlot[0]], (sim::KeyEntry{0x71, 0x01, 0, 0}));
    EXPECT_EQ(keys[device::kButtonSlot[1]], (sim::KeyEntry{0x71, 0x02, 0, 0}));
    EXPECT_EQ(keys[device::kButtonSlot[2]], (sim::KeyEntry{0x71, 0xF0, 0, 0}));
    EXPECT_EQ(keys[device::kButtonSlot[4]], (sim::KeyEntry{0x02, 0xF7, 0, 0}));
    EXPECT_EQ(keys[device::kButtonSlot[5]], (sim::KeyEntry{0x02, 0xFA, 0, 0}));
    EXPECT_EQ(keys[device::kButtonSlot[6]], (sim::KeyEntry{0x71, 0x08, 0, 0}));
    EXPECT_EQ(mouse.State().profiles[1].keys[0], (sim::KeyEntry{0x70, 0x03, 0, 0}));

    for (int p = 4; p >= 0; --p)
        ASSERT_TRUE(sync.ReadProfileFromDevice(p));
    for (int b = 0; b < kButtons; ++b) {
        if (functions[b] != 0) {
            EXPECT_EQ(Profile(0).Get(prof::kButtonFunction, b), functions[b]) << b;
        }
    }
    EXPECT_EQ(Profile(1).Get(prof::kButtonFunction, 0), function::ProfileSelect);
}

TEST_F(ConversionTest, HostOnlyBytesPlayModesAndInUse)
{
    ResetAllSettings(*store, firmware, program);
    auto bytes = std::make_unique<device::DeviceProfileRecord>();
    RecordView record(bytes->data(), kProgramLayout);
    Profile(1).Set(prof::kOpticalDpi, 0, int32_t{799});  // truncated to 1
    Profile(1).Set(prof::kLiftOffDistance, int32_t{7});
    Profile(1).Set(prof::kInUse, uint8_t{2});
    const int32_t modes[kButtons] = {0, 100, 243, 1, 99, 241, 242};
    const uint8_t written[kButtons] = {1, 1, 1, 1, 99, 241, 242};
    for (int b = 0; b < kButtons; ++b) {
        SetButton(1, b, function::Macro, 1);
        Profile(1).Set(prof::kMacroPlayMode, b, modes[b]);
    }
    FillRecord(*store, 1, MacroSource::ProfileCopy, *bytes);
    const std::vector<uint8_t> hostOnly(bytes->begin() + 17, bytes->begin() + 25);
    EXPECT_EQ(hostOnly, (std::vector<uint8_t>{1, 2, 4, 8, 1, 2, 4, 12}));
    EXPECT_EQ(record.U8(device::record::kAngleSnapping), 4);
    EXPECT_EQ(record.U8(device::record::kLiftOff), 12);
    EXPECT_EQ(record.U8(kProgramLayout.inUse), 0);
    for (int b = 0; b < kButtons; ++b) {
        if (b != 3) {  // always Profile Select
            EXPECT_EQ(record.Button(b).value, written[b]) << b;
        }
    }

    Profile(1).Set(prof::kAngleSnapping, int32_t{-2});
    *bytes = {};
    FillRecord(*store, 1, MacroSource::ProfileCopy, *bytes);
    EXPECT_EQ(record.U8(device::record::kAngleSnapping), 0);

    // The same bytes back into the model.
    for (size_t k = 0; k < 8; ++k)
        record.SetU8(17 + k, static_cast<uint8_t>(k + 1));
    record.SetU8(device::record::kAngleSnapping, 3);
    ReadRecord(*store, 1, *bytes, desktop, 107);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(Profile(1).Get(prof::kOpticalDpi, k), static_cast<int32_t>(400 * (k + 1)));
        EXPECT_EQ(Profile(1).Get(prof::kHdstDpi, k), static_cast<int32_t>(400 * (k + 5)));
    }
    EXPECT_EQ(Profile(1).Get(prof::kAngleSnapping), 4);
    EXPECT_EQ(Profile(1).Get(prof::kLiftOffDistance), 7);
}

// Whatever the mouse sends, what the read stores passes the program's own
// check: play modes the write side would not send read as 1, and macro
// numbers outside the profile's ten take free numbers (one per number sent).
TEST_F(ConversionTest, OddMacroButtonsReadAsValidSettings)
{
    auto bytes = std::make_unique<device::DeviceProfileRecord>();
    RecordView record(bytes->data(), kProgramLayout);
    record.SetButton(0, {device::category::Macro, 150, 12});
    record.SetButton(1, {device::category::Macro, 0, 200});
    record.SetButton(2, {device::category::Macro, 242, 12});  // the same macro as button 1
    record.SetButton(4, {device::category::Macro, 5, 1});
    record.SetButton(5, {device::category::Macro, 243, 255});
    record.SetMacroEvent(0, 0, {device::kEventWheel, 1, 1, 0});
    record.SetMacroEventCount(0, 1);
    record.SetMacroEvent(1, 0, {device::kEventWheel, 255, 1, 0});
    record.SetMacroEventCount(1, 1);
    record.SetMacroEventCount(2, 0);
    record.SetMacroEvent(5, 0, {device::kEventMouseButton, 1, 1, 0});
    record.SetMacroEventCount(5, 1);

    ReadRecord(*store, 2, *bytes, desktop, 107);
    const int32_t modes[kButtons] = {1, 1, 242, 0, 5, 1, 0};
    for (int b = 0; b < kButtons; ++b)
        EXPECT_EQ(Profile(2).Get(prof::kMacroPlayMode, b), modes[b]) << b;
    // Numbers 12, 200 and 255 took 2, 3 and 4 (1 is button 5's); the list
    // is then compacted in number order.
    EXPECT_EQ(store->WorkingMacroCount(), 4);
    EXPECT_EQ(Profile(2).Get(prof::kButtonParam, 4), 1);
    EXPECT_EQ(Profile(2).Get(prof::kButtonParam, 0), 2);
    EXPECT_EQ(Profile(2).Get(prof::kButtonParam, 2), 2);
    EXPECT_EQ(Profile(2).Get(prof::kButtonParam, 1), 3);
    EXPECT_EQ(Profile(2).Get(prof::kButtonParam, 5), 4);
    EXPECT_EQ(Events(store->WorkingMacro(2)), std::vector<std::string>{"m|Scroll Wheel Down|down"});
    EXPECT_EQ(Events(store->WorkingMacro(3)), std::vector<std::string>{"m|Left Click     |down"});
    for (int b = 0; b < kButtons; ++b) {
        const int32_t number = Profile(2).Get(prof::kButtonParam, b);
        if (Profile(2).Get(prof::kButtonFunction, b) == function::Macro) {
            EXPECT_TRUE(number >= 1 && number <= 10) << b;
        }
    }
    EXPECT_TRUE(SettingsFileCheck::CheckProfile(Profile(2).Bytes(), prof::kSize).Ok());
}

}  // namespace
}  // namespace settings
