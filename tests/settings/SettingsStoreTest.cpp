#include "device/LittleEndian.h"
#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsStore.h"
#include "settings/WorkingMacros.h"
#include "tests/device/DeviceFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace settings {
namespace {

using namespace layout;

int32_t I32At(const SettingsStore& store, size_t offset)
{
    return device::ReadI32(store.Bytes() + offset);
}

TEST(SettingsStore, FieldsStandAtTheirOffsets)
{
    EXPECT_EQ(SettingsStore::Size(), 7189486u);
    EXPECT_EQ(profile::kSize, 1027137u);
    EXPECT_EQ(macro::kSize, 102664u);
    EXPECT_EQ(event::kSize, 400u);

    auto store = std::make_unique<SettingsStore>();
    store->SetCurrentProfile(3);
    store->SetWorkingMacroCount(-2);
    store->SetLedOn(true);
    store->SetFirmwareVersion("V1.07");
    ProfileSettings second = store->Profile(1);
    second.Set(profile::kReportRate, int32_t{1000});
    second.Set(profile::kButtonParam, 6, int32_t{0x1234});
    second.Set(profile::kLaserLevels, 7, int32_t{9});
    second.Set(profile::kAngleTuning, int8_t{-30});
    second.Macro(9).SetNumber(15);
    store->WorkingMacro(19).Event(255).Set("t", "1.000", "");

    const size_t p2 = 4 + profile::kSize;
    EXPECT_EQ(I32At(*store, 0), 3);
    EXPECT_EQ(I32At(*store, 5135689), -2);
    EXPECT_EQ(store->Bytes()[7188973], 1);
    EXPECT_EQ(std::memcmp(store->Bytes() + 7189230, "V1.07", 6), 0);
    EXPECT_EQ(I32At(*store, p2 + 345), 1000);
    EXPECT_EQ(I32At(*store, p2 + 301 + 24), 0x1234);
    EXPECT_EQ(I32At(*store, p2 + 408 + 28), 9);
    EXPECT_EQ(static_cast<int8_t>(store->Bytes()[p2 + 440]), -30);
    EXPECT_EQ(I32At(*store, p2 + 497 + 9 * macro::kSize), 15);
    const size_t lastEvent = 5135693 + 19 * macro::kSize + 264 + 255 * 400;
    EXPECT_EQ(store->Bytes()[lastEvent], 't');
    EXPECT_EQ(std::memcmp(store->Bytes() + lastEvent + 100, "1.000", 6), 0);

    // Indexes beyond the records touch nothing.
    store->Profile(5).Set(profile::kReportRate, int32_t{7});
    store->WorkingMacro(20).SetNumber(1);
    store->WorkingMacro(0).Event(256).Set("k", " A ", "down");
    EXPECT_EQ(store->Profile(5).Get(profile::kReportRate), 0);
    EXPECT_EQ(store->WorkingMacro(0).Event(256).Kind(), "");
}

TEST(SettingsStore, TextsAreCutToTheirFields)
{
    auto store = std::make_unique<SettingsStore>();
    MacroRecord macro = store->WorkingMacro(0);
    macro.SetName(std::string(300, 'x'));
    EXPECT_EQ(macro.Name().size(), 255u);
    // A name cut at 255 bytes never ends inside a character.
    std::string wide;
    for (int i = 0; i < 100; ++i)
        wide += "\xC3\xA4";  // two-byte letter
    macro.SetName(wide);
    EXPECT_EQ(macro.Name().size(), 200u);
    std::string three;
    for (int i = 0; i < 100; ++i)
        three += "\xE5\xAE\x8F";
    macro.SetName(three);
    EXPECT_EQ(macro.Name().size(), 255u);
    macro.Event(0).Set("k", std::string(250, 'n'), "down");
    EXPECT_EQ(macro.Event(0).Name().size(), 199u);
}

class ResetTest : public device::test::DeviceFixture {
protected:
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>();
    FirmwareVersionCache firmware;
};

TEST_F(ResetTest, ResetAllGivesEveryProfileTheDefaults)
{
    store->Profile(2).Set(profile::kMacroPlayMode, 0, int32_t{7});
    store->Profile(2).SetName("old");
    store->SetCurrentProfile(4);
    mouse.MutableState().firmwareMinor = 9;
    ResetAllSettings(*store, firmware, program);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(store->FirmwareVersion(), "V1.09");
    EXPECT_EQ(store->AppVersion(), "V1.10");
    EXPECT_EQ(store->CurrentProfile(), 1);
    EXPECT_TRUE(store->LedOn());
    for (size_t p = 0; p < 5; ++p) {
        const ProfileSettings profile = store->Profile(p);
        EXPECT_EQ(profile.Get(profile::kInUse), 1);
        EXPECT_EQ(profile.Get(profile::kReportRate), 125);
        EXPECT_EQ(profile.Get(profile::kAmbientLight), 0);
        EXPECT_EQ(profile.Get(profile::kScrollSpeed), 3);
        EXPECT_EQ(profile.Get(profile::kDoubleClickSpeed), 5);
        for (int b = 0; b < 7; ++b)
            EXPECT_EQ(profile.Get(profile::kButtonFunction, b), kDefaultButtonFunctions[b]);
        EXPECT_EQ(profile.Get(profile::kOpticalDpi, 3), 3200);
        EXPECT_EQ(profile.Get(profile::kHdstDpi, 3), 4800);
        EXPECT_EQ(profile.Get(profile::kLaserLevels, 5), 4);
        EXPECT_EQ(profile.Get(profile::kMacroPlayMode, 0), 0);
        EXPECT_EQ(profile.Name(), "");
    }

    // Without a mouse the last version number stays.
    mouse.Unplug();
    ResetAllSettings(*store, firmware, program);
    EXPECT_EQ(store->FirmwareVersion(), "V1.09");
    FirmwareVersionCache never;
    ResetAllSettings(*store, never, program);
    EXPECT_EQ(store->FirmwareVersion(), "V0.00");
}

TEST_F(ResetTest, ResetProfileKeepsMacrosPlayModesAndTuning)
{
    ResetAllSettings(*store, firmware, program);
    ProfileSettings profile = store->Profile(1);
    profile.SetName("Shooter");
    profile.Set(profile::kReportRate, int32_t{1000});
    profile.Set(profile::kMacroPlayMode, 2, int32_t{241});
    profile.Set(profile::kAngleTuning, int8_t{12});
    profile.Set(profile::kMacroCount, int32_t{1});
    profile.Macro(0).SetName("Combo");
    ResetProfile(*store, 1);
    EXPECT_EQ(profile.Get(profile::kAmbientLight), 20);
    EXPECT_EQ(profile.Get(profile::kReportRate), 125);
    EXPECT_EQ(profile.Name(), "");
    EXPECT_EQ(profile.Bytes()[2], 'h');  // only the first byte of the name is cleared
    EXPECT_EQ(profile.Get(profile::kMacroPlayMode, 2), 241);
    EXPECT_EQ(profile.Get(profile::kAngleTuning), 12);
    EXPECT_EQ(profile.Get(profile::kMacroCount), 1);
    EXPECT_EQ(profile.Macro(0).Name(), "Combo");
    ResetProfile(*store, 5);  // no such profile: nothing happens
}

TEST(SettingsStore, CurrentProfileOutsideTheRangeCountsAsTheFirst)
{
    auto store = std::make_unique<SettingsStore>();
    for (int32_t number : {0, 6, -1}) {
        store->SetCurrentProfile(number);
        EXPECT_EQ(store->CurrentProfileIndex(), 0) << number;
    }
    store->SetCurrentProfile(5);
    EXPECT_EQ(store->CurrentProfileIndex(), 4);
}

TEST(ButtonFunctions, LabelsAndTheDefaultChoice)
{
    EXPECT_EQ(StoredFunctionFor(function::Default, 4), function::DpiLevelSwitch);
    EXPECT_EQ(StoredFunctionFor(function::DoubleClick, 4), function::DoubleClick);
    EXPECT_EQ(FunctionLabel(function::BrowserForward), "Browser Forward ");
    EXPECT_EQ(FunctionLabel(function::ScrollUp), "Scroll Up ");
    EXPECT_EQ(FunctionLabel(function::Macro, 12), "Macro_12");
    EXPECT_EQ(FunctionLabel(99), "");
    EXPECT_EQ(SingleKeyParam(0x41, 0x05), 0x541);
    EXPECT_EQ(SingleKeyModifiers(0x541), 0x05);
}

TEST(KeyNameTable, LookupsByCodeUsageAndExactName)
{
    EXPECT_EQ(KeyNames().size(), 104u);
    const KeyName* a = FindKeyByVirtualKey(65);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->usage, 4);
    EXPECT_STREQ(a->name, " A ");
    EXPECT_EQ(FindKeyByUsage(39)->virtualKey, 48);           // " 0 "
    EXPECT_EQ(FindKeyByUsage(98)->virtualKey, 96);           // " Num_0 "
    EXPECT_EQ(FindKeyByName(" Page UP ")->usage, 75);
    EXPECT_EQ(FindKeyByName(" \\ ")->usage, 49);
    EXPECT_EQ(FindKeyByName(" Num_  ")->virtualKey, 108);
    EXPECT_EQ(FindKeyByName(" page up "), nullptr);
    EXPECT_EQ(FindKeyByName("A"), nullptr);
    EXPECT_EQ(FindKeyByVirtualKey(0), nullptr);
    EXPECT_EQ(FindKeyByUsage(0), nullptr);
    // Every name is unique and carries a blank on each side.
    for (const KeyName& key : KeyNames()) {
        EXPECT_EQ(FindKeyByName(key.name), &key) << key.name;
        const std::string name = key.name;
        EXPECT_TRUE(name.size() >= 3 && name.front() == ' ' && name.back() == ' ') << name;
    }
}

TEST(WorkingMacros, CopiesBetweenTheListAndAProfile)
{
    auto store = std::make_unique<SettingsStore>();
    for (int k = 0; k < 12; ++k)
        store->WorkingMacro(k).SetName("Macro_" + std::to_string(k + 1));
    store->SetWorkingMacroCount(12);
    StoreWorkingMacros(*store, 2);
    EXPECT_EQ(store->Profile(2).Get(layout::profile::kMacroCount), 10);  // a profile keeps ten
    EXPECT_EQ(store->Profile(2).Macro(9).Name(), "Macro_10");

    LoadWorkingMacros(*store, 2);
    EXPECT_EQ(store->WorkingMacroCount(), 10);  // macros 11, 12 are gone, and the count says so
    EXPECT_EQ(store->WorkingMacro(9).Name(), "Macro_10");
    EXPECT_EQ(store->WorkingMacro(10).Name(), "");
}

TEST(WorkingMacros, NameTakenIsExactAndLimitedToTheUsedSlots)
{
    auto store = std::make_unique<SettingsStore>();
    store->WorkingMacro(0).SetName("Jump");
    store->WorkingMacro(1).SetName("jump");
    store->WorkingMacro(5).SetName("Jump");
    store->SetWorkingMacroCount(2);
    EXPECT_FALSE(IsMacroNameTaken(*store, 0, false));
    EXPECT_TRUE(IsMacroNameTaken(*store, 0, true));
    store->SetWorkingMacroCount(1000000);
    EXPECT_FALSE(IsMacroNameTaken(*store, 1, false));
    EXPECT_TRUE(IsMacroNameTaken(*store, 5, false));
    EXPECT_FALSE(IsMacroNameTaken(*store, 25, true));
}

TEST(MacroRecord, AFullMacroTakesNoMoreEvents)
{
    auto store = std::make_unique<SettingsStore>();
    MacroRecord macro = store->WorkingMacro(3);
    for (int k = 0; k < 256; ++k)
        ASSERT_TRUE(macro.AddEvent("k", " A ", k % 2 ? "up" : "down"));
    EXPECT_FALSE(macro.AddEvent("t", "0.100", ""));
    EXPECT_EQ(macro.EventCount(), 256);
    EXPECT_EQ(store->WorkingMacro(4).Bytes()[0], 0);  // the next slot is untouched

    macro.SetEventCount(-5);
    EXPECT_EQ(macro.EventCount(), 0);
    EXPECT_TRUE(macro.AddEvent("t", "0.100", ""));
    EXPECT_EQ(macro.StoredEventCount(), 1);
}

}  // namespace
}  // namespace settings
