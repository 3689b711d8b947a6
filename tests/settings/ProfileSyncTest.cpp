#include "settings/WorkingMacros.h"
#include "tests/settings/SettingsFixture.h"

namespace settings {
namespace {

namespace prof = layout::profile;
namespace cmd = device::cmd;

constexpr uint8_t kUsageB = 5;
constexpr uint8_t kUsageC = 6;
constexpr uint8_t kUsageD = 7;

class ProfileSyncTest : public test::SettingsFixture {
protected:
    void SetUp() override { ResetAllSettings(*store, firmware, program); }

    // A macro of one key going down.
    static void OneKeyMacro(MacroRecord macro, const char* name, const char* key)
    {
        macro.Clear();
        macro.SetName(name);
        macro.AddEvent(kKindKey, key, kDirectionDown);
    }
    // The key of the first event in the macro slot the mouse keeps for
    // button b of profile p (0 when the slot holds no event).
    uint8_t FirstMacroKey(int p, int b) const
    {
        return mouse.State().profiles[p].macros[device::kButtonSlot[b]][4];
    }
    // The position in the log of the last command of a kind.
    size_t LastPositionOf(uint8_t command) const
    {
        const auto& log = mouse.Log();
        size_t found = log.size();
        for (size_t i = 0; i < log.size(); ++i) {
            if (log[i].kind == sim::ReportKind::FeatureSet && log[i].bytes[1] == command)
                found = i;
        }
        return found;
    }
    // The ambient value of every LED switch command in the log.
    std::vector<uint8_t> AmbientValuesSent() const
    {
        std::vector<uint8_t> values;
        for (const sim::Report& report : Features()) {
            if (report[1] == cmd::SetLedSwitch)
                values.push_back(report[4]);
        }
        return values;
    }
};

TEST_F(ProfileSyncTest, ApplyGoesOnPastAFailedWriteAndNamesIt)
{
    for (int p = 0; p < 5; ++p)
        Profile(p).Set(prof::kReportRate, int32_t{500});
    Profile(0).Set(prof::kScrollSpeed, int32_t{8});
    mouse.ClearLog();
    ASSERT_TRUE(sync.ApplyAllProfiles(0).Empty());
    const size_t third = PositionOf(cmd::SetReportRate, 2);
    ASSERT_LT(third, mouse.Log().size());

    // Profile 3's write fails at its report rate: every attempt of it.
    mouse.ResetToFresh();
    desktop.SetWheelScrollLines(1);
    mouse.ClearLog();
    mouse.FailAt(third, device::kAttemptsPerReport);
    EXPECT_EQ(sync.ApplyAllProfiles(0), ProfileSet::Of(2));
    EXPECT_EQ(mouse.State().profiles[2].reportRate, sim::FirmwareState::Fresh().profiles[2].reportRate);
    for (int p : {0, 1, 3, 4})
        EXPECT_EQ(mouse.State().profiles[p].reportRate, 2) << p;  // 500 Hz
    EXPECT_EQ(mouse.State().currentProfile, 0);
    EXPECT_EQ(desktop.WheelScrollLines(), 1u);  // not all written: the desktop stays

    mouse.Unplug();
    EXPECT_EQ(sync.ApplyAllProfiles(0), ProfileSet::All());
}

TEST_F(ProfileSyncTest, EachProfileWritesItsOwnMacros)
{
    // Profile 2 is shown: its macros are the working list, and its copy
    // still holds an older version.
    OneKeyMacro(store->WorkingMacro(0), "Shown", " B ");
    store->SetWorkingMacroCount(1);
    OneKeyMacro(Profile(1).Macro(0), "Old", " D ");
    OneKeyMacro(Profile(0).Macro(0), "First", " C ");
    Profile(0).Set(prof::kMacroCount, int32_t{1});
    SetButton(0, 1, function::Macro, 1);
    SetButton(1, 1, function::Macro, 1);
    SetButton(2, 1, function::Macro, 1);  // its copy is empty
    SetButton(3, 1, function::Macro, 12);  // beyond a copy's ten slots
    OneKeyMacro(store->WorkingMacro(11), "Twelfth", " D ");

    ASSERT_TRUE(sync.ApplyAllProfiles(1).Empty());
    EXPECT_EQ(FirstMacroKey(0, 1), kUsageC);
    EXPECT_EQ(FirstMacroKey(1, 1), kUsageB);
    EXPECT_EQ(FirstMacroKey(2, 1), 0);
    EXPECT_EQ(FirstMacroKey(3, 1), 0);
    EXPECT_EQ(Profile(1).Macro(0).Name(), "Shown");
    EXPECT_EQ(Profile(1).Get(prof::kMacroCount), 1);
    EXPECT_EQ(Profile(0).Macro(0).Name(), "First");

    // The one-profile write and the shown profile take macro 12 from the
    // working list.
    ASSERT_TRUE(sync.WriteProfileToDevice(3));
    EXPECT_EQ(FirstMacroKey(3, 1), kUsageD);
    ASSERT_TRUE(sync.ApplyAllProfiles(3).Empty());
    EXPECT_EQ(FirstMacroKey(3, 1), kUsageD);
}

TEST_F(ProfileSyncTest, EachWriteCarriesItsAmbientLightAndTheCurrentOneStays)
{
    const int32_t ambient[5] = {0, 20, 60, 20, 0};
    for (int p = 0; p < 5; ++p)
        Profile(p).Set(prof::kAmbientLight, ambient[p]);
    store->SetCurrentProfile(3);
    mouse.ClearLog();
    ASSERT_TRUE(sync.ApplyAllProfiles(2).Empty());
    EXPECT_EQ(AmbientValuesSent(), (std::vector<uint8_t>{0, 20, 60, 20, 0, 60}));
    EXPECT_EQ(mouse.State().ambient, 60);
    EXPECT_EQ(mouse.State().currentProfile, 2);

    // The last profile written is the current one: nothing more to send.
    store->SetCurrentProfile(5);
    Profile(4).Set(prof::kAmbientLight, int32_t{20});
    mouse.ClearLog();
    ASSERT_TRUE(sync.ApplyAllProfiles(4).Empty());
    EXPECT_EQ(AmbientValuesSent(), (std::vector<uint8_t>{0, 20, 60, 20, 20}));
    EXPECT_EQ(mouse.State().ambient, 20);

    // When the mouse will not take the current profile's value, apply fails
    // for that profile.
    store->SetCurrentProfile(2);
    mouse.ClearLog();
    ASSERT_TRUE(sync.ApplyAllProfiles(1).Empty());
    const size_t switchCommand = LastPositionOf(cmd::SetCurrentProfile);
    store->SetCurrentProfile(3);
    mouse.ClearLog();
    mouse.FailAt(switchCommand + 1, 100);
    EXPECT_EQ(sync.ApplyAllProfiles(2), ProfileSet::Of(2));
}

TEST_F(ProfileSyncTest, CurrentProfileChosenForApply)
{
    for (int p = 0; p < 5; ++p)
        Profile(p).Set(prof::kInUse, uint8_t{0});
    store->SetCurrentProfile(3);  // none in use: the current one stays
    sync.ApplyAllProfiles(std::nullopt);
    EXPECT_EQ(store->CurrentProfile(), 3);
    EXPECT_EQ(mouse.State().currentProfile, 2);

    store->SetCurrentProfile(9);  // out of range, none in use
    sync.ApplyAllProfiles(std::nullopt);
    EXPECT_EQ(store->CurrentProfile(), 1);

    Profile(3).Set(prof::kInUse, uint8_t{1});
    Profile(4).Set(prof::kInUse, uint8_t{1});
    store->SetCurrentProfile(2);  // not in use: the lowest in use
    sync.ApplyAllProfiles(std::nullopt);
    EXPECT_EQ(store->CurrentProfile(), 4);
    EXPECT_EQ(sync.RememberedDeviceProfile(), 4);
    EXPECT_EQ(mouse.State().currentProfile, 3);
}

TEST_F(ProfileSyncTest, FailedReadLeavesTheProfileAsItWas)
{
    for (int p = 4; p >= 0; --p)
        ASSERT_TRUE(sync.ReadProfileFromDevice(p));
    Profile(2).Set(prof::kReportRate, int32_t{250});
    SetButton(2, 0, function::DpiUp);
    OneKeyMacro(Profile(2).Macro(0), "Kept", " C ");
    Profile(2).Set(prof::kMacroCount, int32_t{1});
    const std::vector<uint8_t> before(Profile(2).Bytes(), Profile(2).Bytes() + prof::kSize);

    mouse.ClearLog();
    ASSERT_TRUE(sync.ReadProfileFromDevice(2));
    const size_t powerSave = PositionOf(cmd::GetPowerSave, 2);
    ASSERT_LT(powerSave, mouse.Log().size());
    std::copy(before.begin(), before.end(), Profile(2).Bytes());
    OneKeyMacro(store->WorkingMacro(0), "Working", " B ");
    mouse.ClearLog();
    mouse.FailAt(powerSave, device::kAttemptsPerReport);
    EXPECT_FALSE(sync.ReadProfileFromDevice(2));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Profile(2).Bytes()));
    // The working list is the profile's copy, as after a read that succeeds.
    EXPECT_EQ(store->WorkingMacro(0).Name(), "Kept");
    EXPECT_EQ(store->WorkingMacroCount(), 1);
}

}  // namespace
}  // namespace settings
