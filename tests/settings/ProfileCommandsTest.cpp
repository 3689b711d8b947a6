#include "platform/FakeFileSystem.h"
#include "settings/MacroFiles.h"
#include "settings/ProfileCommands.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"
#include "sim/EchoTransfer.h"
#include "tests/settings/SettingsFixture.h"

namespace settings {
namespace {

namespace prof = layout::profile;

class CommandsTest : public test::SettingsFixture {
protected:
    platform::FakeFileSystem files;
    DataFolder folder{files, "/data"};
    ConfigFile config{files, folder};
    ProfileCommands commands{*store, sync, firmware, files, folder, config};

    void SetUp() override { folder.Create("profile"); }
};

TEST_F(CommandsTest, StartUpLoadThenSaveApplyAndFiles)
{
    config.SaveShownProfileIndex(2);
    int shown = -1;
    EXPECT_TRUE(commands.LoadFromMouse(shown).Empty());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(store->CurrentProfile(), 1);

    store->Profile(1).Set(prof::kReportRate, int32_t{250});
    ASSERT_TRUE(commands.SaveProfile(1).ok);
    EXPECT_EQ(mouse.State().profiles[1].reportRate, 1);
    const auto saved = files.Contents("/data/profile/profile2.vqp");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->size(), prof::kSize);
    EXPECT_EQ(store->Profile(1).Name(), "profile2.vqp");
    EXPECT_EQ(ShownProfileName(store->Profile(1).Name()), "profile2");

    ASSERT_TRUE(commands.Apply(3).ok);
    EXPECT_EQ(store->CurrentProfile(), 4);
    EXPECT_EQ(mouse.State().currentProfile, 3);
    EXPECT_EQ(files.Contents("/data/profile/AllProfile")->size(), SettingsStore::Size());
    EXPECT_EQ(files.Contents("/data/profile/Macros")->size(), kMacroFileSize);

    // Discard goes back to what was applied.
    store->Profile(0).Set(prof::kReportRate, int32_t{1000});
    EXPECT_TRUE(commands.Discard(0).ok);
    EXPECT_EQ(store->Profile(0).Get(prof::kReportRate), 125);

    ASSERT_TRUE(commands.ExportProfile(1, "/data/mine").ok);
    EXPECT_TRUE(files.Contents("/data/mine.vqp"));
    store->Profile(4).Set(prof::kReportRate, int32_t{500});
    ASSERT_TRUE(commands.ImportProfile(4, "/data/mine.vqp").ok);
    EXPECT_EQ(store->Profile(4).Get(prof::kReportRate), 250);
    EXPECT_EQ(store->Profile(4).Name(), "mine.vqp");

    int shownAfterReset = 4;
    EXPECT_TRUE(commands.ResetAll(shownAfterReset).ok);
    EXPECT_EQ(shownAfterReset, 0);
    EXPECT_EQ(store->Profile(4).Get(prof::kReportRate), 125);
    EXPECT_EQ(mouse.State().profiles[1].reportRate, 0);

    EXPECT_TRUE(commands.SetLeds(false).ok);
    EXPECT_EQ(mouse.State().ledSwitch, 0);
    EXPECT_FALSE(store->LedOn());
}

// Reset all empties the working macro list as well, with or without a
// mouse: neither the macro file nor a later apply brings old macros back.
TEST_F(CommandsTest, ResetAllLeavesNoOldMacros)
{
    int shown = 0;
    ASSERT_TRUE(commands.LoadFromMouse(shown).Empty());
    for (bool plugged : {true, false}) {
        store->WorkingMacro(0).SetName("OLDMACRO");
        store->SetWorkingMacroCount(1);
        ASSERT_TRUE(commands.Apply(0).ok);
        EXPECT_EQ(store->Profile(0).Get(prof::kMacroCount), 1);

        if (!plugged)
            mouse.Unplug();
        commands.ResetAll(shown);
        mouse.Replug();
        EXPECT_EQ(store->WorkingMacroCount(), 0) << plugged;
        EXPECT_EQ(store->WorkingMacro(0).Name(), "") << plugged;
        SettingsStore fromFile;
        ASSERT_EQ(LoadMacrosFile(fromFile, files, "/data/profile/Macros"), kMacroFileLoaded);
        EXPECT_EQ(fromFile.WorkingMacroCount(), 0) << plugged;
        EXPECT_EQ(fromFile.WorkingMacro(0).Name(), "") << plugged;

        commands.Apply(0);
        EXPECT_EQ(store->Profile(0).Get(prof::kMacroCount), 0) << plugged;
        EXPECT_EQ(store->Profile(0).Macro(0).Name(), "") << plugged;
    }
}

TEST_F(CommandsTest, FailuresTellTheUserWhatHappened)
{
    int shown = 0;
    mouse.Unplug();
    EXPECT_EQ(commands.LoadFromMouse(shown), ProfileSet::All());
    ProfileSet threeAndOne = ProfileSet::Of(2);
    threeAndOne.Add(0);
    EXPECT_EQ(FailedToLoadText(threeAndOne), "\r\nFailed to load profile : \r\n\r\n   1  3 . \r\n");

    const CommandResult save = commands.SaveProfile(2);
    EXPECT_FALSE(save.ok);
    EXPECT_EQ(MessageText(save.message, 0), "Failed to save the profile !");
    EXPECT_FALSE(files.Exists("/data/profile/profile3.vqp"));
    EXPECT_EQ(MessageText(commands.ResetProfileToDefault(2).message, 0), "Failed to reset the default profile !");
    EXPECT_EQ(store->Profile(2).Get(prof::kAmbientLight), 20);  // reset in the store all the same

    // An apply the mouse took nothing of starts no settings last applied;
    // the store stays pending.
    const CommandResult apply = commands.Apply(0);
    EXPECT_FALSE(apply.ok);
    EXPECT_EQ(apply.message, CommandMessage::None);
    EXPECT_EQ(apply.failedProfiles, ProfileSet::All());
    EXPECT_EQ(save.failedProfiles, ProfileSet::Of(2));
    EXPECT_FALSE(files.Exists("/data/profile/AllProfile"));
    EXPECT_TRUE(files.Exists("/data/profile/PendingChanges"));
    EXPECT_FALSE(commands.SetLeds(true).ok);

    for (int p = 0; p < 5; ++p)
        store->Profile(p).Set(prof::kInUse, uint8_t{0});
    const CommandResult none = commands.Apply(0);
    EXPECT_EQ(none.message, CommandMessage::NoActiveProfile);
    EXPECT_EQ(MessageText(none.message, 3), "Please select at least one of the five\n profiles to start customization.");
    EXPECT_EQ(MessageText(none.message, 2), "在启用自定义设定前，\n请至少激活五个配置文件中的其中一个配置文件。");

    files.AddFile("/data/empty.vqp", "");
    store->Profile(1).Set(prof::kReportRate, int32_t{500});
    EXPECT_EQ(MessageText(commands.ImportProfile(1, "/data/empty.vqp").message, 1), "Load the profile error .");
    EXPECT_EQ(store->Profile(1).Get(prof::kReportRate), 500);
    files.SetWritesFail(true);
    EXPECT_EQ(MessageText(commands.ExportProfile(1, "/data/x.vqp").message, 0), "Save the profile error .");
}

TEST_F(CommandsTest, FilesThatCannotBeWrittenAreNamedAfterTheMouseTookTheProfiles)
{
    int shown = 0;
    ASSERT_TRUE(commands.LoadFromMouse(shown).Empty());
    files.SetWritesFail(true);

    // The mouse took profile 2; its file did not come about.
    const CommandResult save = commands.SaveProfile(1);
    EXPECT_FALSE(save.ok);
    EXPECT_TRUE(save.failedProfiles.Empty());
    EXPECT_EQ(save.failedFiles, std::vector<std::string>{"/data/profile/profile2.vqp"});
    EXPECT_FALSE(commands.ResetProfileToDefault(1).ok);

    const CommandResult apply = commands.Apply(0);
    EXPECT_FALSE(apply.ok);
    EXPECT_TRUE(apply.failedProfiles.Empty());
    EXPECT_EQ(apply.failedFiles, (std::vector<std::string>{"/data/profile/AllProfile", "/data/profile/Macros"}));
    int first = 3;
    EXPECT_EQ(commands.ResetAll(first).failedFiles.size(), 2u);
    EXPECT_EQ(FailedToWriteText(ProfileSet::Of(2), apply.failedFiles, 0),
              "Failed to write profile  3  to the mouse !\r\n\r\nCannot write the file :\r\n  /data/profile/AllProfile"
              "\r\n\r\nCannot write the file :\r\n  /data/profile/Macros");
    EXPECT_EQ(FailedToWriteText(ProfileSet::Of(0), {}, 3), "Profil  1  konnte nicht auf die Maus geschrieben werden !");
    EXPECT_EQ(FailedToWriteText({}, {}, 1), "");

    files.SetWritesFail(false);
    EXPECT_TRUE(commands.SaveProfile(1).ok);
    EXPECT_TRUE(commands.Apply(1).ok);
}

TEST_F(CommandsTest, ProfilesThatCannotBeReadKeepTheirDefaults)
{
    int shown = 0;
    mouse.ClearLog();
    ASSERT_TRUE(commands.LoadFromMouse(shown).Empty());
    const size_t fifth = PositionOf(device::cmd::GetPowerSave, 4);
    const size_t third = PositionOf(device::cmd::GetPowerSave, 2);
    ASSERT_LT(third, mouse.Log().size());
    mouse.ClearLog();
    mouse.FailAt(fifth, device::kAttemptsPerReport);
    mouse.FailAt(third, device::kAttemptsPerReport);

    const ProfileSet failed = commands.LoadFromMouse(shown);
    ProfileSet threeAndFive = ProfileSet::Of(4);
    threeAndFive.Add(2);
    EXPECT_EQ(failed, threeAndFive);
    EXPECT_EQ(failed.Numbers(), (std::vector<int>{3, 5}));
    EXPECT_EQ(FailedToLoadText(failed), "\r\nFailed to load profile : \r\n\r\n   3  5 . \r\n");
    for (int p : {2, 4}) {
        EXPECT_EQ(Profile(p).Get(prof::kInUse), 1) << p;
        EXPECT_EQ(Profile(p).Get(prof::kReportRate), 125) << p;
        for (int b = 0; b < kButtons; ++b)
            EXPECT_EQ(Profile(p).Get(prof::kButtonFunction, b), kDefaultButtonFunctions[b]) << p << " " << b;
    }
    EXPECT_EQ(Profile(3).Get(prof::kOpticalDpi, 0), 0);  // read from the mouse, which keeps no DPI
}

// A restart takes back from the settings last applied what the mouse does
// not keep: names, every event and delay, a macro no button uses, the
// desktop's values and each profile's ambient light. A profile changed on
// the mouse elsewhere is taken from it with those values, and told once.
TEST_F(CommandsTest, ARestartKeepsWhatTheMouseDoesNotHold)
{
    sim::EchoTransfer echo;
    commands.UseEcho(&echo.Transfer());
    int shown = 0;
    ASSERT_TRUE(commands.LoadFromMouse(shown).Empty());
    MacroRecord gg = Profile(0).Macro(0);
    gg.SetNumber(1);
    gg.SetName("GG");
    for (int k = 0; k < 85; ++k) {
        gg.AddEvent(kKindKey, " A ", kDirectionDown);
        gg.AddEvent("t", "0.027", "");
        gg.AddEvent(kKindKey, " A ", kDirectionUp);
    }
    MacroRecord spare = Profile(0).Macro(1);
    spare.SetNumber(2);
    spare.SetName("Spare");
    spare.AddEvent(kKindKey, " B ", kDirectionDown);
    Profile(0).Set(prof::kMacroCount, int32_t{2});
    SetButton(0, 5, function::Macro, 1);
    Profile(0).Set(prof::kAmbientLight, int32_t{60});
    Profile(1).Set(prof::kInUse, uint8_t{1});
    Profile(1).Set(prof::kScrollSpeed, int32_t{6});
    Profile(1).Set(prof::kAmbientLight, int32_t{0});
    Profile(1).SetName("Desk");
    LoadWorkingMacros(*store, 0);
    ASSERT_TRUE(commands.Apply(0).ok);
    const auto applied = std::make_unique<SettingsStore>();
    std::copy_n(store->Bytes(), SettingsStore::Size(), applied->Bytes());

    ProfileSet changed = ProfileSet::All();
    ASSERT_TRUE(commands.LoadFromMouse(shown, &changed).Empty());
    EXPECT_TRUE(changed.Empty());
    for (int p = 0; p < 5; ++p)
        EXPECT_TRUE(std::equal(Profile(p).Bytes(), Profile(p).Bytes() + prof::kSize, applied->Profile(p).Bytes())) << p;

    // Another computer gives profile 2 another report rate and plays its
    // second macro (the first slot left empty) from button 7.
    Profile(1).Set(prof::kReportRate, int32_t{1000});
    LoadWorkingMacros(*store, 1);
    MacroRecord two = store->WorkingMacro(1);
    two.SetNumber(2);
    two.AddEvent(kKindKey, " D ", kDirectionDown);
    store->SetWorkingMacroCount(2);
    SetButton(1, 6, function::Macro, 2);
    ASSERT_TRUE(sync.WriteProfileToDevice(1));
    ASSERT_TRUE(commands.LoadFromMouse(shown, &changed).Empty());
    EXPECT_EQ(changed, ProfileSet::Of(1));
    EXPECT_EQ(Profile(1).Get(prof::kReportRate), 1000);
    EXPECT_EQ(Profile(1).Get(prof::kScrollSpeed), 6);
    EXPECT_EQ(Profile(1).Get(prof::kAmbientLight), 0);
    EXPECT_EQ(Profile(1).Name(), "Desk");
    EXPECT_EQ(Profile(0).Macro(0).EventCount(), 255);
    EXPECT_EQ(Profile(0).Macro(1).Name(), "Spare");
    ASSERT_TRUE(commands.LoadFromMouse(shown, &changed).Empty());
    EXPECT_TRUE(changed.Empty());
}

// Discard ends the pending changes and says when nothing was applied yet;
// a complete apply ends them (one the mouse did not take whole keeps them:
// the neritctl tests).
TEST_F(CommandsTest, PendingChangesEndWithDiscardAndACompleteApply)
{
    int shown = 0;
    ASSERT_TRUE(commands.LoadFromMouse(shown).Empty());
    const std::string pending = "/data/profile/PendingChanges";
    ASSERT_TRUE(SaveAllProfilesFile(*store, files, pending));
    Profile(0).Set(prof::kReportRate, int32_t{1000});
    const CommandResult nothing = commands.Discard(0);
    EXPECT_FALSE(nothing.ok);
    EXPECT_EQ(nothing.message, CommandMessage::NothingToDiscard);
    EXPECT_EQ(Profile(0).Get(prof::kReportRate), 1000);
    EXPECT_TRUE(files.Contents(pending));

    ASSERT_TRUE(commands.Apply(0).ok);
    EXPECT_FALSE(files.Contents(pending));
    ASSERT_TRUE(SaveAllProfilesFile(*store, files, pending));
    Profile(0).Set(prof::kReportRate, int32_t{500});
    EXPECT_TRUE(commands.Discard(0).ok);
    EXPECT_EQ(Profile(0).Get(prof::kReportRate), 1000);
    EXPECT_FALSE(files.Contents(pending));

    // An apply the mouse did not take keeps the settings last applied as the
    // mouse holds them and the change pending: the next start finds nothing
    // changed elsewhere and the change still there.
    sim::EchoTransfer echo;
    commands.UseEcho(&echo.Transfer());
    Profile(0).Set(prof::kReportRate, int32_t{250});
    mouse.Unplug();
    EXPECT_EQ(commands.Apply(0).failedProfiles, ProfileSet::All());
    mouse.Replug();
    ASSERT_TRUE(files.Contents(pending));
    ProfileSet changed = ProfileSet::All();
    ASSERT_TRUE(commands.LoadFromMouse(shown, &changed).Empty());
    EXPECT_TRUE(changed.Empty());
    EXPECT_EQ(Profile(0).Get(prof::kReportRate), 1000);
    ASSERT_EQ(LoadAllProfilesFile(*store, files, pending), kProfileFileLoaded);
    EXPECT_EQ(Profile(0).Get(prof::kReportRate), 250);
}

// Notes each profile it is told about and how many reports the mouse had
// seen by then.
class ProgressLog final : public TransferProgress {
public:
    struct Step {
        Direction direction;
        int index;
        int step;
        int total;
        size_t reportsBefore;
    };
    explicit ProgressLog(const sim::SimulatedMouse& mouse) : mouse_(mouse) {}
    void BeforeProfile(Direction direction, int index, int step, int total) override
    {
        steps.push_back({direction, index, step, total, mouse_.Log().size()});
    }
    std::vector<Step> steps;

private:
    const sim::SimulatedMouse& mouse_;
};

TEST_F(CommandsTest, EveryProfileOfALoadOrApplyIsAnnouncedBeforeItsTransfer)
{
    ProgressLog progress(mouse);
    sync.SetProgress(&progress);
    using Direction = TransferProgress::Direction;
    const auto checkSteps = [&](Direction direction, const std::vector<int>& order, uint8_t command) {
        ASSERT_EQ(progress.steps.size(), order.size());
        for (size_t k = 0; k < order.size(); ++k) {
            const ProgressLog::Step& step = progress.steps[k];
            EXPECT_EQ(step.direction, direction);
            EXPECT_EQ(step.index, order[k]);
            EXPECT_EQ(step.step, static_cast<int>(k) + 1);
            EXPECT_EQ(step.total, 5);
            // Told before its profile's traffic, after the one before it.
            EXPECT_LE(step.reportsBefore, PositionOf(command, order[k])) << k;
            if (k > 0) {
                EXPECT_GT(step.reportsBefore, PositionOf(command, order[k - 1])) << k;
            }
        }
        progress.steps.clear();
    };
    int shown = 0;
    mouse.ClearLog();
    ASSERT_TRUE(commands.LoadFromMouse(shown).Empty());
    checkSteps(Direction::Reading, {4, 3, 2, 1, 0}, device::cmd::GetPowerSave);
    mouse.ClearLog();
    ASSERT_TRUE(commands.Apply(1).ok);
    checkSteps(Direction::Writing, {0, 1, 2, 3, 4}, device::cmd::SetPowerSave);
    mouse.ClearLog();
    ASSERT_TRUE(commands.ResetAll(shown).ok);
    checkSteps(Direction::Writing, {0, 1, 2, 3, 4}, device::cmd::SetPowerSave);
    // Without an observer the transfers run as before.
    sync.SetProgress(nullptr);
    EXPECT_TRUE(commands.LoadFromMouse(shown).Empty());
    EXPECT_TRUE(progress.steps.empty());
}

}  // namespace
}  // namespace settings
