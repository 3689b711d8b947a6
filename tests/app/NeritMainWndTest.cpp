// The program's main window on the headless window system with a simulated
// mouse: the start-up load of the five profiles, the failure notice, the
// language's skin and font, and the program's screenshot.
#include "app/InstanceCheck.h"
#include "app/MouseConnection.h"
#include "app/NeritMainWnd.h"
#include "app/ProgramSettings.h"
#include "app/ProgramTexts.h"
#include "app/StartupOptions.h"
#include "platform/FakeClock.h"
#include "platform/FakeLockService.h"
#include "platform/FakeSingleInstance.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/Utf16.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "tests/RunShell.h"
#include "tests/TempFolder.h"
#include "ui/OptionUI.h"
#include "ui/TabLayoutUI.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <vector>

namespace {

using namespace NeritApp;
using platform::WindowId;

constexpr size_t kProfileBytes = settings::layout::profile::kSize;

std::vector<uint8_t> ProfileBytes(int index)
{
    const uint8_t* bytes = settings::Store().Profile(static_cast<size_t>(index)).Bytes();
    return {bytes, bytes + kProfileBytes};
}

// The main window that makes the simulated mouse fail the reads of chosen
// profiles, and notes each profile as it was just before its read.
class FailingReadsWnd final : public CNeritMainWnd {
public:
    using CNeritMainWnd::CNeritMainWnd;

    void RefreshPages(int index) override
    {
        CNeritMainWnd::RefreshPages(index);
        refreshed.push_back(index);
        if (refreshed.size() > settings::layout::store::kProfileCount)
            return;  // the reads are over
        mouse->ClearFaults();
        // Profiles are read from the fifth down: `index - 1` comes next.
        const int next = index - 1;
        if (next >= 0)
            before[next] = ProfileBytes(next);
        if (failing.count(next) != 0)
            FailEverything();
    }

    void FailEverything()
    {
        for (auto kind : {sim::ReportKind::FeatureSet, sim::ReportKind::FeatureGet, sim::ReportKind::Output,
                          sim::ReportKind::Input})
            mouse->FailNext(kind, 100000);
    }

    sim::SimulatedMouse* mouse = nullptr;
    std::set<int> failing;
    std::vector<int> refreshed;
    std::map<int, std::vector<uint8_t>> before;
};

class NeritMainWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        SkinUI::CWindowWnd::SetWindowSystem(&system);
        // Every profile holds something other than the defaults.
        sim::FirmwareState state = sim::FirmwareState::Fresh();
        for (sim::ProfileState& profile : state.profiles) {
            profile.colour = {11, 22, 33};
            profile.inUse = 1;
        }
        state.firmwareMajor = 1;
        state.firmwareMinor = 9;
        mouse.Simulated()->SetState(state);
        window.mouse = mouse.Simulated();
    }

    void TearDown() override
    {
        if (window.GetHWND() != WindowId::None)
            system.DestroyWindow(window.GetHWND());
        system.RunPending();
        SkinUI::CWindowWnd::SetWindowSystem(nullptr);
    }

    void WriteConfig(const std::string& text)
    {
        std::ofstream(folder.File("config.ini")) << text;
    }

    // Starts as the program does: settings, language, window, first paint.
    void Start()
    {
        Create();
        system.RunPending();
    }

    // The window before its first paint, which loads the profiles.
    void Create()
    {
        ASSERT_EQ(settings.Open(), ProgramSettings::OpenResult::Ready);
        window.SetLanguage(settings.Language());
        window.Attach(settings, mouse);
        ASSERT_TRUE(window.Open());
    }

    std::u16string TextOf(std::u16string_view name)
    {
        SkinUI::CControlUI* control = window.Manager().FindControl(name);
        return control != nullptr ? control->GetText() : u"<missing>";
    }

    bool Selected(std::u16string_view name)
    {
        auto* option = dynamic_cast<SkinUI::COptionUI*>(window.Manager().FindControl(name));
        return option != nullptr && option->IsSelected();
    }

    testsupport::TempFolder folder;
    platform::HeadlessWindowSystem system;
    platform::FakeClock clock;
    MouseConnection mouse{std::string(), clock};
    FailingReadsWnd window{NERIT_SKIN_DIR, 0};
    ProgramSettings settings{mouse, folder.Path().string(), true, window, clock};
};

TEST_F(NeritMainWndTest, StartupReadsTheFiveProfilesAndShowsTheRemembered)
{
    WriteConfig("[Configuration Option]\nnumber=03\nlang=00\n");
    Start();
    EXPECT_EQ(window.refreshed, (std::vector<int>{4, 3, 2, 1, 0, 3}));
    EXPECT_TRUE(system.MessageBoxCalls().empty());
    EXPECT_EQ(window.State().shownProfile, 3);
    EXPECT_TRUE(Selected(u"profile4option"));
    EXPECT_TRUE(Selected(u"kprofile4option"));
    // The mouse works with the profile shown, and its lights are on.
    EXPECT_EQ(mouse.Simulated()->State().currentProfile, 3);
    EXPECT_EQ(mouse.Simulated()->State().ledSwitch, 0xFF);
    EXPECT_EQ(settings::Store().Profile(3).Get(settings::layout::profile::kInUse), 1);
    // What the mouse holds has replaced the defaults.
    for (int index = 0; index < 4; ++index)
        EXPECT_NE(ProfileBytes(index), window.before[index]) << "profile " << index + 1;
    EXPECT_EQ(TextOf(u"fwversionlabel"), std::u16string(kFirmwareVersionCaption[0]) + u"V1.09 ");
    EXPECT_EQ(TextOf(u"apversionlabel"), std::u16string(kSoftwareVersionCaption[0]) + u"V1.10");
    // The assignment buttons name the functions the mouse has; button 4 is
    // always the profile switch.
    EXPECT_EQ(TextOf(u"button_1_btn"), u"Left Click");
    EXPECT_EQ(TextOf(u"button_2_btn"), u"Right Click");
    EXPECT_EQ(TextOf(u"button_4_btn"), u"Profile Select");
    // The first tab is shown, and the tabs switch the pages.
    auto* tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(window.Manager().FindControl(u"Tabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    auto* macros = dynamic_cast<SkinUI::COptionUI*>(window.Manager().FindControl(u"macromanagebtn"));
    ASSERT_NE(macros, nullptr);
    macros->Selected(true, true);
    system.RunPending();
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_EQ(window.State().currentTab, 2);
}

TEST_F(NeritMainWndTest, TheRememberedProfileIsShownWithoutItsOption)
{
    WriteConfig("[Configuration Option]\nnumber=04\nlang=00\n");
    Create();
    for (const char16_t* name : {u"profile5option", u"kprofile5option"}) {
        SkinUI::CControlUI* option = window.Manager().FindControl(name);
        ASSERT_NE(option, nullptr);
        ASSERT_TRUE(option->GetParent()->GetContainer()->Remove(option));
    }
    system.RunPending();
    EXPECT_EQ(window.State().shownProfile, 4);
    EXPECT_EQ(settings::Store().Profile(4).Get(settings::layout::profile::kInUse), 1);
    EXPECT_FALSE(Selected(u"profile1option"));
}

TEST_F(NeritMainWndTest, TheWindowTakesItsClassTitleAndMaskSizeCentred)
{
    Start();
    EXPECT_EQ(window.GetWindowClassName(), u"MSUIMainFrame");
    const platform::Rect rect = system.GetWindowRect(window.GetHWND());
    const platform::Rect work = system.GetWorkArea(window.GetHWND());
    EXPECT_EQ(rect.Width(), 1000);
    EXPECT_EQ(rect.Height(), 680);
    EXPECT_LE(std::abs((rect.left + rect.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - (work.top + work.bottom)), 1);
}

TEST_F(NeritMainWndTest, FailedReadsAreNamedInTheNoticeAndKeepTheirDefaults)
{
    window.failing = {3, 1};  // profiles 4 and 2
    Start();
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    const auto& box = system.MessageBoxCalls()[0];
    EXPECT_EQ(box.text, "\r\nFailed to load profile : \r\n\r\n   4  2 . \r\n");
    EXPECT_EQ(box.caption, "Notice by App");
    EXPECT_EQ(box.flags, platform::MB_OKCANCEL);
    EXPECT_EQ(box.owner, window.GetHWND());
    EXPECT_EQ(ProfileBytes(3), window.before[3]);
    EXPECT_EQ(ProfileBytes(1), window.before[1]);
    EXPECT_NE(ProfileBytes(2), window.before[2]);
    // The remembered first profile is shown all the same.
    EXPECT_EQ(window.State().shownProfile, 0);
}

TEST_F(NeritMainWndTest, AnUnreadableFirmwareVersionShowsNoNumber)
{
    Start();
    ASSERT_EQ(TextOf(u"fwversionlabel"), std::u16string(kFirmwareVersionCaption[0]) + u"V1.09 ");
    // Every page change to a profile page asks the mouse again.
    window.FailEverything();
    dynamic_cast<SkinUI::COptionUI*>(window.Manager().FindControl(u"performancebtn"))->Selected(true, true);
    system.RunPending();
    EXPECT_EQ(TextOf(u"fwversionlabel"), std::u16string(kFirmwareVersionCaption[0]) + u"V-.-- ");
}

TEST_F(NeritMainWndTest, TheLanguageOfTheConfigurationPicksSkinAndFont)
{
    WriteConfig("[Configuration Option]\nnumber=00\nlang=02\n");
    Start();
    EXPECT_EQ(window.Language(), 2);
    EXPECT_EQ(window.Manager().GetResourcePath(), std::string(NERIT_SKIN_DIR) + "/VimoSkin2");
    const SkinUI::FontInfo* font = window.Manager().GetFont(3);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(window.Manager().GetDefaultFont().face, font->face);
    EXPECT_EQ(TextOf(u"fwversionlabel").substr(0, kFirmwareVersionCaption[2].size()), kFirmwareVersionCaption[2]);
}

TEST_F(NeritMainWndTest, ALanguageOutOfRangeReadsEnglish)
{
    WriteConfig("[Configuration Option]\nnumber=09\nlang=07\n");
    Start();
    EXPECT_EQ(window.Language(), 0);
    EXPECT_EQ(window.Manager().GetResourcePath(), std::string(NERIT_SKIN_DIR) + "/VimoSkin");
    EXPECT_EQ(window.State().shownProfile, 0);
}

TEST(StartupOptionsTest, CommandLine)
{
    using Action = StartupOptions::Action;
    StartupOptions options = StartupOptions::Parse({"--simulate=/x/state", "--data-dir", "/d"}, nullptr);
    EXPECT_EQ(options.action, Action::Run);
    EXPECT_EQ(options.simulate, "/x/state");
    EXPECT_EQ(options.dataDir, "/d");
    EXPECT_EQ(StartupOptions::Parse({"--simulate"}, "env").simulate, "");
    EXPECT_EQ(StartupOptions::Parse({}, "env").simulate, "env");
    EXPECT_FALSE(StartupOptions::Parse({}, "").simulate.has_value());
    EXPECT_FALSE(StartupOptions::Parse({}, nullptr).simulate.has_value());
    EXPECT_EQ(StartupOptions::Parse({"--data-dir"}, nullptr).action, Action::Error);
    EXPECT_EQ(StartupOptions::Parse({"--screenshot", "a.png"}, nullptr).action, Action::Error);
    EXPECT_EQ(StartupOptions::Parse({"--wrong"}, nullptr).action, Action::Error);
    EXPECT_EQ(StartupOptions::Parse({"--headless", "--screenshot", "a.png", "--page", "macros"}, nullptr).page, 2);
    EXPECT_EQ(StartupOptions::Parse({"--headless", "--screenshot", "a.png", "--page", "Macros"}, nullptr).action,
              Action::Error);
    EXPECT_EQ(StartupOptions::Parse({"--headless", "--page", "support"}, nullptr).action, Action::Error);
    EXPECT_EQ(StartupOptions::Parse({"--headless", "--screenshot", "a.png", "--page"}, nullptr).action, Action::Error);
    EXPECT_EQ(StartupOptions::Parse({"--version"}, nullptr).action, Action::Version);
    EXPECT_EQ(StartupOptions::Parse({"--help"}, nullptr).action, Action::Help);
}

TEST(NeritMiceProgramTest, HeadlessScreenshotWritesAPng)
{
    testsupport::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string shot = folder.File("main.png");
    const testsupport::RunResult run = testsupport::RunShell(std::string(NERITMICE_EXE) + " --headless --simulate --data-dir '"
                                                             + folder.File("data") + "' --screenshot '" + shot + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    std::ifstream file(shot, std::ios::binary);
    char signature[8] = {};
    file.read(signature, sizeof signature);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("data/profile")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("data/macro_files")));

    // --page draws another page: another picture of the same size.
    const std::string macros = folder.File("macros.png");
    const testsupport::RunResult page = testsupport::RunShell(std::string(NERITMICE_EXE) + " --headless --simulate --data-dir '"
                                                              + folder.File("data") + "' --screenshot '" + macros
                                                              + "' --page macros");
    ASSERT_EQ(page.status, 0) << page.out;
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes(macros).substr(16, 8), bytes(shot).substr(16, 8));  // width and height
    EXPECT_NE(bytes(macros), bytes(shot));
}

}  // namespace

namespace {

// A later start raises the running window, or tells the user when the
// running one does not answer.
TEST_F(NeritMainWndTest, OnlyOneProgramRuns)
{
    platform::FakeSingleInstance instances(clock);
    std::unique_ptr<platform::InstanceGuard> first, second;
    const std::string fallback = folder.Path().string();
    ASSERT_EQ(InstanceCheck::Start(instances, system, fallback, first), InstanceCheck::Outcome::Run);
    Start();
    window.WatchRaiseRequests(*first, 7, 250);
    system.ShowWindow(window.GetHWND(), false, false);
    system.SetFocus(WindowId::None);

    EXPECT_EQ(InstanceCheck::Start(instances, system, fallback, second), InstanceCheck::Outcome::Leave);
    EXPECT_EQ(second, nullptr);
    EXPECT_TRUE(system.MessageBoxCalls().empty());
    system.AdvanceTime(250);
    system.RunPending();
    EXPECT_TRUE(system.IsWindowVisible(window.GetHWND()));
    EXPECT_EQ(system.GetFocus(), window.GetHWND());

    instances.SetAnswering(false);
    EXPECT_EQ(InstanceCheck::Start(instances, system, fallback, second), InstanceCheck::Outcome::Leave);
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_EQ(system.MessageBoxCalls()[0].text, "AP have been opened, please load it from the right-bottom corner ! ");
    EXPECT_EQ(system.MessageBoxCalls()[0].caption, "Notice by App");
    EXPECT_EQ(system.MessageBoxCalls()[0].flags, platform::MB_OK);

    instances.SetFailure(platform::InstanceResult::Error);
    EXPECT_EQ(InstanceCheck::Start(instances, system, fallback, second), InstanceCheck::Outcome::Failed);
}

}  // namespace

namespace {

// While the program runs, the data folder's lock is taken and names the
// program, so that neritctl refuses to change the files meanwhile.
TEST_F(NeritMainWndTest, TheDataFolderIsLockedWhileRunning)
{
    Start();
    std::unique_ptr<platform::FileLock> other;
    EXPECT_EQ(platform::RealLockService().Acquire(folder.File(".lock"), 0, other), platform::LockResult::Busy);
    std::ifstream note(folder.File(std::string(settings::DataFolder::kHolderNote)));
    std::string holder;
    std::getline(note, holder);
    EXPECT_EQ(holder, settings::DataFolder::kProgramHolder);
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("profile")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("macro_files")));
}

}  // namespace

namespace {

// A simulated mouse whose state file cannot be written (here: no file may
// grow past 11 KiB) fails the transfers that changed it, and the program's
// notice names the file.
TEST(NeritMiceProgramTest, AStateFileThatCannotBeWrittenFailsTheTransfers)
{
    testsupport::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string state = folder.File("mouse");
    const testsupport::RunResult run = testsupport::RunShell(
        "trap '' XFSZ; ulimit -f 11 && exec " + std::string(NERITMICE_EXE) + " --headless --simulate='" + state
        + "' --data-dir '" + folder.File("data") + "'");
    EXPECT_NE(run.out.find("NeritMice: Notice by App: Failed to load profile : 5 4 3 2 1 . "
                           "cannot save the simulated mouse's state file " + state + "\n"),
              std::string::npos)
        << run.out;
    EXPECT_FALSE(std::filesystem::exists(state));
}

// A data folder that cannot be made ends the start with its path and why.
TEST(NeritMiceProgramTest, AStartThatCannotMakeItsDataFolderSaysWhy)
{
    testsupport::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    std::ofstream(folder.File("file")) << "in the way";
    const std::string data = folder.File("file/data");
    const testsupport::RunResult run =
        testsupport::RunShell(std::string(NERITMICE_EXE) + " --headless --simulate --data-dir '" + data + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("NeritMice: cannot create the data folder " + data + " (a file stands where a folder belongs)"),
              std::string::npos)
        << run.out;
}

// While another program (neritctl) holds the simulated mouse for its
// command, the window's transfers fail after the lock's wait and say who
// holds it; the mouse counts as present all the same.
TEST(NeritMainWndSharedMouseTest, TransfersWhileNeritctlHoldsTheMouseNameIt)
{
    testsupport::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    platform::HeadlessWindowSystem system;
    SkinUI::CWindowWnd::SetWindowSystem(&system);
    platform::FakeClock clock;
    platform::FakeLockService locks(clock);
    const std::string state = folder.File("mouse");
    sim::PersistentMouse neritctl(state, "", "neritctl", platform::RealFileSystem(), locks);
    ASSERT_EQ(neritctl.Hold(), sim::StateFileResult::FreshMouse);
    {
        MouseConnection mouse{state, clock, locks};
        CNeritMainWnd window{NERIT_SKIN_DIR, 0};
        ProgramSettings settings{mouse, folder.File("data"), true, window, clock};
        ASSERT_TRUE(mouse.Prepare());
        ASSERT_EQ(settings.Open(), ProgramSettings::OpenResult::Ready);
        window.Attach(settings, mouse);
        ASSERT_TRUE(window.Open());
        system.RunPending();
        EXPECT_FALSE(window.State().deviceMissing);
        ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
        EXPECT_EQ(system.MessageBoxCalls()[0].text, "\r\nFailed to load profile : \r\n\r\n   5  4  3  2  1 . \r\n"
                                                    "\r\nthe mouse is busy (neritctl is using it)\r\n");
        EXPECT_GE(clock.TotalPausedMs(), 5 * sim::PersistentMouse::kLockWaitMs);
        system.DestroyWindow(window.GetHWND());
        system.RunPending();
    }
    SkinUI::CWindowWnd::SetWindowSystem(nullptr);
}

}  // namespace
