// Leaving the program, headless over a simulated mouse: with changes not
// applied the exit question offers Apply, Discard and Cancel (also through
// the desktop's close), without them it only asks whether to leave; and a
// config.ini that cannot be written is said once when the language changes.
#include "MainWindowFixture.h"
#include "platform/StopSignals.h"
#include "ui/ListUI.h"

#include <csignal>
#include <unistd.h>

namespace maintest {
namespace {

class ExitQuestionTest : public MainWindowFixture {
protected:
    // The loop until it ends or nothing is left; true when the program quit.
    bool RunUntilQuit()
    {
        platform::Message message;
        while (system.GetMessage(message))
            system.DispatchMessage(message);
        return message.message == platform::WM_QUIT;
    }


    // A click on the question at a point of its layout; true when the program quit.
    bool ClickQuestion(int x, int y)
    {
        for (unsigned message : {platform::WM_MOUSEMOVE, platform::WM_LBUTTONDOWN, platform::WM_LBUTTONUP})
            system.InjectMouse(popup, message, x, y, message == platform::WM_LBUTTONDOWN ? platform::MK_LBUTTON : 0);
        return RunUntilQuit();
    }

    // The desktop's close of `target`, then the loop.
    void CloseByDesktop(WindowId target)
    {
        system.PostMessage(target, platform::WM_CLOSE, 0, 0);
        Run();
        NotePopup();
    }

    // Asked and cancelled: the window stays, nothing is kept blocked.
    void ExpectCancelled()
    {
        EXPECT_EQ(answers.types.back(), u"exit_program_cancel");
        EXPECT_EQ(window.State().popupFlags, 0u);
        EXPECT_FALSE(PopupState::IsOpen());
        EXPECT_TRUE(system.IsWindow(window.GetHWND()));
    }

    std::string Pending() { return ProfileFolder("PendingChanges"); }
    void LeaveStalePending()
    {
        std::filesystem::create_directories(ProfileFolder(""));
        std::ofstream(Pending()) << "left from before";
    }
};

// Showing another profile and page changes nothing, though the working
// macro list then holds that profile's macros; a pending-changes file left
// from before goes.
TEST_F(ExitQuestionTest, WithNothingUnappliedOnlyAsksWhetherToLeave)
{
    Start();
    Click(u"macromanagebtn");
    Click(u"macro_new_btn");
    ASSERT_EQ(settings::Store().WorkingMacroCount(), 1);
    Click(u"maincontrolbtn");
    Confirm(u"profileokbtn");
    Click(u"profile2option");
    ASSERT_EQ(window.State().shownProfile, 1);
    ASSERT_EQ(settings::Store().WorkingMacroCount(), 0);
    LeaveStalePending();
    Click(u"closebtn");
    ASSERT_TRUE(PopupState::IsOpen());
    EXPECT_TRUE(ClickQuestion(469, 255));  // OK
    EXPECT_EQ(answers.types.back(), u"exit_program");
    EXPECT_FALSE(std::filesystem::exists(Pending()));
}

// Pending changes that cannot be read are said and kept aside: leaving
// with nothing changed removes no file that may hold the user's work.
TEST_F(ExitQuestionTest, DamagedPendingChangesAreKeptAside)
{
    LeaveStalePending();
    Start();
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_NE(system.MessageBoxCalls()[0].text.find(Pending() + ".damaged"), std::string::npos);
    Click(u"closebtn");
    EXPECT_TRUE(ClickQuestion(469, 255));  // OK
    EXPECT_EQ(answers.types.back(), u"exit_program");
    EXPECT_TRUE(std::filesystem::exists(Pending() + ".damaged"));
}

// Changes left pending by neritctl are what the window starts from (and
// says so); with nothing applied yet they are changes all the same, so
// leaving asks about them instead of dropping their file; Apply ends them.
TEST_F(ExitQuestionTest, PendingChangesFromBeforeAreShownAskedAboutAndEndedByApply)
{
    WritePendingChanges(250);
    Start();
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_EQ(system.MessageBoxCalls()[0].text, kPendingChangesText[0]);
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kReportRate), 250);
    Click(u"closebtn");
    EXPECT_FALSE(ClickQuestion(589, 255));  // Cancel
    EXPECT_TRUE(std::filesystem::exists(Pending()));

    Click(u"performancebtn");
    Click(u"usb_rate_1000_option");
    Click(u"closebtn");
    EXPECT_TRUE(ClickQuestion(349, 255));  // Apply
    EXPECT_EQ(answers.types.back(), u"exit_apply_changes");
    EXPECT_EQ(Mouse().profiles[0].reportRate, 3);  // the mouse's code for 1000
    EXPECT_FALSE(std::filesystem::exists(Pending()));
}

// A new macro lives in the working list only; it counts. Cancelled three
// ways (the first during a recording), then discarded: nothing reaches the
// mouse or the files.
TEST_F(ExitQuestionTest, UnappliedChangesCanBeCancelledAndDiscarded)
{
    Start();
    Confirm(u"profileokbtn");
    const std::vector<uint8_t> applied = ProfileBytes(0);
    Click(u"macromanagebtn");
    Click(u"macro_new_btn");
    ASSERT_EQ(settings::Store().WorkingMacroCount(), 1);
    LeaveStalePending();
    // A recording ends with the desktop's close: its answer is heard.
    auto* names = dynamic_cast<SkinUI::CListUI*>(Find(u"macro_name_list"));
    ASSERT_NE(names, nullptr);
    const SkinUI::UIRect row = names->GetItemAt(0)->GetItemRect();
    for (unsigned message : {platform::WM_MOUSEMOVE, platform::WM_LBUTTONDOWN, platform::WM_LBUTTONUP})
        system.InjectMouse(window.GetHWND(), message, (row.left + row.right) / 2, (row.top + row.bottom) / 2,
                           message == platform::WM_LBUTTONDOWN ? platform::MK_LBUTTON : 0);
    Run();
    Click(u"macro_record_btn");
    ASSERT_TRUE(window.State().recording);

    CloseByDesktop(window.GetHWND());
    ASSERT_TRUE(PopupState::IsOpen());
    Answer(platform::VK_ESCAPE);
    ExpectCancelled();
    Click(u"quitbtn");
    ASSERT_TRUE(PopupState::IsOpen());
    CloseByDesktop(popup);
    ExpectCancelled();
    Click(u"closebtn");
    EXPECT_FALSE(ClickQuestion(589, 255));  // Cancel
    ExpectCancelled();

    Click(u"closebtn");
    EXPECT_TRUE(ClickQuestion(469, 255));  // Discard
    EXPECT_EQ(answers.types.back(), u"exit_discard_changes");
    EXPECT_FALSE(std::filesystem::exists(Pending()));
    settings::SettingsStore files;
    ASSERT_EQ(settings::LoadAllProfilesFile(files, platform::RealFileSystem(), ProfileFolder("AllProfile")),
              settings::kProfileFileLoaded);
    const uint8_t* bytes = files.Profile(0).Bytes();
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + kProfileBytes), applied);
}

// Apply applies as the Apply button does; with no profile in use it says
// why and the program stays.
TEST_F(ExitQuestionTest, ApplyWritesTheMouseAndTheFilesThenLeaves)
{
    Start();
    LeaveStalePending();
    for (size_t p = 0; p < 5; ++p)
        settings::Store().Profile(p).Set(prof::kInUse, uint8_t{0});
    Click(u"closebtn");
    EXPECT_FALSE(ClickQuestion(349, 255));  // Apply
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_EQ(window.State().popupFlags, 0u);
    EXPECT_FALSE(std::filesystem::exists(ProfileFolder("AllProfile")));

    settings::Store().Profile(0).Set(prof::kInUse, uint8_t{1});
    Click(u"performancebtn");
    Click(u"usb_rate_500_option");
    ASSERT_NE(Mouse().profiles[0].reportRate, 2);
    Click(u"closebtn");
    EXPECT_TRUE(ClickQuestion(349, 255));  // Apply
    EXPECT_EQ(answers.types.back(), u"exit_apply_changes");
    EXPECT_EQ(Mouse().profiles[0].reportRate, 2);
    EXPECT_TRUE(std::filesystem::exists(ProfileFolder("AllProfile")));
    EXPECT_FALSE(std::filesystem::exists(Pending()));
    EXPECT_EQ(system.MessageBoxCalls().size(), 1u);
}

// Signals while profile 3 is being written, the stop timer then due.
class SignalsDuringWrite final : public settings::TransferProgress {
public:
    explicit SignalsDuringWrite(platform::HeadlessWindowSystem& system) : system_(system) {}
    void BeforeProfile(Direction direction, int index, int, int) override
    {
        if (direction != Direction::Writing || index != 2)
            return;
        std::raise(SIGTERM);
        std::raise(SIGTERM);
        system_.AdvanceTime(kStopIntervalMs);
    }
    static constexpr unsigned kStopIntervalMs = 100;

private:
    platform::HeadlessWindowSystem& system_;
};

// SIGTERM during an apply: the apply ends, the files are written, then the
// program ends; the further signal is said once.
TEST_F(ExitQuestionTest, ASignalDuringAnApplyEndsTheProgramOnceItIsDone)
{
    Start();
    std::vector<std::string> said;
    ASSERT_TRUE(platform::StopSignals::Watch());
    window.WatchStopSignals(900, SignalsDuringWrite::kStopIntervalMs, [&](const std::string& line) { said.push_back(line); });
    Click(u"performancebtn");
    Click(u"usb_rate_500_option");
    settings::Store().Profile(4).Set(prof::kReportRate, int32_t{250});
    SignalsDuringWrite signals(system);
    window.progress = &signals;
    Click(u"kprofileokbtn");
    Answer(platform::VK_RETURN);
    system.AdvanceTime(SignalsDuringWrite::kStopIntervalMs);
    EXPECT_TRUE(RunUntilQuit());
    EXPECT_EQ(window.StopSignal(), SIGTERM);
    EXPECT_EQ(Mouse().profiles[0].reportRate, 2);
    EXPECT_EQ(Mouse().profiles[4].reportRate, 1);  // the mouse's code for 250
    EXPECT_TRUE(std::filesystem::exists(ProfileFolder("AllProfile")));
    EXPECT_FALSE(std::filesystem::exists(Pending()));
    EXPECT_EQ(said, std::vector<std::string>{std::string(kStillTransferringLine)});
}

// A config.ini of 3 GB is never read whole nor written over.
TEST_F(ExitQuestionTest, AConfigFileThatCannotBeWrittenIsSaidOnceAndTheLanguageStillChanges)
{
    Start();
    const std::string config = folder.File("config.ini");
    constexpr off_t kThreeGigabytes = off_t{3} << 30;
    ASSERT_EQ(::truncate(config.c_str(), kThreeGigabytes), 0);
    auto* languages = dynamic_cast<SkinUI::CComboUI*>(Find(u"selectlanguagecmb"));
    ASSERT_NE(languages, nullptr);
    for (int language : {3, 0, 1}) {
        ASSERT_TRUE(languages->SelectItem(language));
        Run();
        EXPECT_EQ(window.Language(), language);
    }
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    const std::string& text = system.MessageBoxCalls()[0].text;
    EXPECT_NE(text.find(config), std::string::npos) << text;
    EXPECT_NE(text.find("zu groß"), std::string::npos) << text;
    EXPECT_EQ(std::filesystem::file_size(config), static_cast<uintmax_t>(kThreeGigabytes));
}

}  // namespace
}  // namespace maintest
