// The mouse pulled and plugged in again while the program runs, headless over
// the simulated mouse and its host's device changes: the notice opens once,
// the window waits for the mouse, and a returning mouse is asked for its
// firmware until it answers and has its profiles read again.
#include "app/PopupState.h"
#include "device/Protocol.h"
#include "platform/FakeDeviceMonitor.h"
#include "sim/SimHotPlug.h"
#include "tests/app/MainWindowFixture.h"
#include "ui/ListUI.h"

#include <algorithm>

namespace {

using namespace maintest;

class HotPlugTest : public MainWindowFixture {
protected:
    void StartWatching()
    {
        window.UseDeviceMonitor(&monitor, clock);
        Start();
    }

    // The window's poll timer takes what the monitor saw.
    void Poll()
    {
        system.AdvanceTime(DevicePresence::kPollIntervalMs);
        Run();
    }

    size_t Reports() { return mouse.Simulated()->Log().size(); }

    platform::FakeDeviceMonitor monitor;
    sim::SimHotPlug hotPlug{*mouse.Simulated(), monitor};
};

TEST_F(HotPlugTest, APulledMouseIsWaitedForAndReadAgainOnItsReturn)
{
    StartWatching();
    ASSERT_FALSE(window.State().deviceMissing);
    // Applied once, then a change not applied yet on profile 2.
    Confirm(u"profileokbtn");
    Click(u"profile2option");
    Click(u"performancebtn");
    Click(u"usb_rate_1000_option");
    // An arrival while the mouse is there changes nothing.
    hotPlug.Report();
    monitor.Push({platform::DeviceChange::Kind::Arrival, "/dev/hidraw0", "hidraw", "0003:0000251F:00001014"});
    size_t reports = Reports();
    Poll();
    EXPECT_EQ(Reports(), reports);

    // Two collections go: one notice.
    hotPlug.Unplug();
    Poll();
    EXPECT_TRUE(window.State().deviceMissing);
    EXPECT_EQ(PopupState::Count(), 1);
    EXPECT_NE(window.State().popupFlags & PopupFlag::kNoDevice, 0u);
    // Another device's comings and goings are none of ours.
    monitor.Push({platform::DeviceChange::Kind::Arrival, "/dev/hidraw5", "hidraw", "0003:0000046D:0000C52B"});
    Poll();
    EXPECT_TRUE(window.State().deviceMissing);

    // Meanwhile the mouse got other settings; it answers its firmware query
    // only the third time.
    sim::FirmwareState changed = Mouse();
    changed.profiles[0].powerSave = 2;  // 120 s
    changed.ledSwitch = 0;
    mouse.Simulated()->SetState(changed);
    clock.ClearPauses();
    hotPlug.Replug();
    // Each query tries its answer three times.
    mouse.Simulated()->FailNext(sim::ReportKind::FeatureGet, 2 * device::kAttemptsPerReport);
    reports = Reports();
    Poll();
    EXPECT_FALSE(window.State().deviceMissing);
    EXPECT_EQ(std::count(clock.Pauses().begin(), clock.Pauses().end(), DevicePresence::kFirmwareRetryMs), 2);
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kPowerSave), 120) << "the profiles were read again";
    EXPECT_EQ(settings::Store().Profile(1).Get(prof::kReportRate), 1000) << "the change not applied was kept";
    EXPECT_EQ(Mouse().ledSwitch, 0xFF) << "the lights were switched on";
    EXPECT_FALSE(PopupState::IsOpen()) << "the notice closed";
    EXPECT_EQ(window.State().popupFlags, 0u);
    // The window takes clicks again.
    Click(u"profile2option");
    EXPECT_EQ(window.State().shownProfile, 1);
}

TEST_F(HotPlugTest, AMousePulledDuringAWriteIsToldAndTheFileKeepsTheProfile)
{
    StartWatching();
    settings::Store().Profile(0).Set(prof::kPowerSave, int32_t{60});
    mouse.Simulated()->ClearLog();
    mouse.Simulated()->UnplugAt(20);
    Confirm(u"profile1savebtn");
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_EQ(system.MessageBoxCalls()[0].text, "Failed to save the profile !");
    // What the window shows is kept for the next try; no file is half written.
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kPowerSave), 60);
    EXPECT_FALSE(std::filesystem::exists(ProfileFolder("profile1.vqp")));
    // The host's removal comes after the write: the mouse is missing now.
    hotPlug.Report();
    Poll();
    EXPECT_TRUE(window.State().deviceMissing);
    EXPECT_EQ(PopupState::Count(), 1);
}

TEST_F(HotPlugTest, ARecordingEndsAsTheStopButtonEndsItWhenTheMouseGoes)
{
    window.UseRecorderInput(nullptr, clock);
    StartWatching();
    Click(u"macromanagebtn");
    Click(u"macro_new_btn");
    auto* names = dynamic_cast<SkinUI::CListUI*>(Find(u"macro_name_list"));
    ASSERT_NE(names, nullptr);
    names->SelectItem(0);
    Click(u"macro_record_btn");
    ASSERT_TRUE(window.State().recording);
    system.InjectKey(window.GetHWND(), 'C', true);
    system.InjectKey(window.GetHWND(), 'C', false);
    Run();
    hotPlug.Unplug();
    Poll();
    EXPECT_FALSE(window.State().recording);
    EXPECT_TRUE(window.State().deviceMissing);
    // Kept, committed and written as a stop would.
    EXPECT_EQ(settings::Store().Profile(0).Macro(0).EventCount(), 3);
    settings::SettingsStore fromFile;
    ASSERT_EQ(settings::LoadMacrosFile(fromFile, settings.Files(), folder.File("profile/Macros")),
              settings::kMacroFileLoaded);
    EXPECT_EQ(fromFile.WorkingMacro(0).EventCount(), 3);
}

TEST_F(HotPlugTest, AMouseMissingAtStartIsReadWhenItArrives)
{
    hotPlug.Unplug();
    window.UseDeviceMonitor(&monitor, clock);
    std::ofstream(folder.File("config.ini")) << "[Configuration Option]\nnumber=02\nlang=00\n";
    ASSERT_EQ(settings.Open(), ProgramSettings::OpenResult::Ready);
    window.Attach(settings, mouse);
    window.UseDesktop(&dialog, &opener);
    ASSERT_TRUE(window.Open());
    Run();
    EXPECT_TRUE(window.State().deviceMissing);
    const size_t reports = Reports();

    hotPlug.Replug();
    Poll();
    EXPECT_FALSE(window.State().deviceMissing);
    EXPECT_GT(Reports(), reports + 100) << "all five profiles read";
    EXPECT_EQ(window.State().shownProfile, 2) << "the remembered profile shown";
}

// Device notifications that cannot be used are said once, at the start.
TEST_F(HotPlugTest, AMonitorThatCannotStartIsSaidOnce)
{
    monitor.SetStartFails(true);
    StartWatching();
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_EQ(system.MessageBoxCalls()[0].text, NeritApp::kHotPlugUnwatchedText[0]);
    Click(u"profile2option");
    EXPECT_EQ(system.MessageBoxCalls().size(), 1u);
}

TEST_F(HotPlugTest, WhileTheMouseIsMissingOnlyTheQuitButtonWorks)
{
    StartWatching();
    hotPlug.Unplug();
    Poll();
    ASSERT_EQ(PopupState::Count(), 1);
    popup = PopupState::Top();
    Answer(platform::VK_ESCAPE);
    ASSERT_FALSE(PopupState::IsOpen());
    // A click on the page says again why nothing happens.
    Click(u"profile2option");
    EXPECT_EQ(window.State().shownProfile, 0);
    EXPECT_EQ(PopupState::Count(), 1);
    Answer(platform::VK_ESCAPE);
    // The quit button asks its question.
    Click(u"quitbtn");
    EXPECT_NE(window.State().popupFlags & PopupFlag::kExit, 0u);
    EXPECT_EQ(window.State().popupFlags & PopupFlag::kNoDevice, 0u);
}

// Pulls the mouse in the middle of the second profile's write, the window's
// timers running meanwhile as the busy state runs them.
class PullDuringWrite final : public settings::TransferProgress {
public:
    void BeforeProfile(Direction direction, int index, int, int) override
    {
        if (direction != Direction::Writing || index != 1 || pulled)
            return;
        pulled = true;
        hotPlug->Unplug();
        system->AdvanceTime(DevicePresence::kPollIntervalMs);
    }

    sim::SimHotPlug* hotPlug = nullptr;
    platform::HeadlessWindowSystem* system = nullptr;
    bool pulled = false;
};

TEST_F(HotPlugTest, AChangeDuringATransferWaitsUntilItEnds)
{
    StartWatching();
    PullDuringWrite pull;
    pull.hotPlug = &hotPlug;
    pull.system = &system;
    window.progress = &pull;
    Confirm(u"profileokbtn");
    ASSERT_TRUE(pull.pulled);
    // The write failed and says so; nothing was read in its middle.
    ASSERT_FALSE(system.MessageBoxCalls().empty());
    for (const auto& box : system.MessageBoxCalls())
        EXPECT_EQ(box.text.find("Failed to load"), std::string::npos) << box.text;
    Poll();
    EXPECT_TRUE(window.State().deviceMissing);
    EXPECT_EQ(PopupState::Count(), 1);
}

TEST_F(HotPlugTest, ThePresenceCheckLeavesNoHandleOpen)
{
    StartWatching();
    mouse.Simulated()->ExposeCollections(true, false);
    monitor.Push({platform::DeviceChange::Kind::Removal, "/dev/hidraw1", "hidraw", "0003:0000251F:00001014"});
    Poll();
    EXPECT_TRUE(window.State().deviceMissing);
    EXPECT_FALSE(mouse.Link().HasCommandHandle());
}

}  // namespace
