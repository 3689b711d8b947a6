// The main window's controls driven as the user drives them, headless over a
// simulated mouse: the profile workflow with its questions and file dialogs,
// the performance page reaching the mouse, the language change, the exit
// question and the support links.
#include "tests/app/MainWindowFixture.h"

namespace {

using namespace maintest;

class MainDispatchTest : public MainWindowFixture {};

TEST_F(MainDispatchTest, SavingAndResettingGoThroughTheirQuestions)
{
    Start();
    Click(u"profile2option");
    ASSERT_EQ(window.State().shownProfile, 1);
    settings::Store().Profile(1).Set(prof::kReportRate, int32_t{500});

    // Another profile's save button asks nothing and writes nothing.
    const size_t reports = mouse.Simulated()->Log().size();
    Click(u"profile3savebtn");
    EXPECT_FALSE(PopupState::IsOpen());
    EXPECT_EQ(window.State().popupFlags, 0u);
    EXPECT_EQ(mouse.Simulated()->Log().size(), reports);

    // Cancel leaves the mouse alone; OK writes profile 2 and its file.
    Click(u"profile2savebtn");
    EXPECT_EQ(window.State().popupFlags, PopupFlag::kApply);
    Answer(platform::VK_ESCAPE);
    EXPECT_EQ(Mouse().profiles[1].reportRate, sim::FirmwareState::Fresh().profiles[1].reportRate);
    EXPECT_FALSE(std::filesystem::exists(ProfileFolder("profile2.vqp")));
    Confirm(u"profile2savebtn");
    EXPECT_EQ(answers.types.back(), u"save_profile_setting");
    EXPECT_EQ(window.State().popupFlags, 0u);
    EXPECT_EQ(Mouse().profiles[1].reportRate, 2);  // the mouse's code for 500
    EXPECT_EQ(Mouse().profiles[0].reportRate, sim::FirmwareState::Fresh().profiles[0].reportRate);
    EXPECT_TRUE(system.MessageBoxCalls().empty());
    settings::SettingsStore saved;
    ASSERT_EQ(settings::LoadProfileFile(saved, platform::RealFileSystem(), ProfileFolder("profile2.vqp"), 1),
              settings::kProfileFileLoaded);
    EXPECT_EQ(saved.Profile(1).Get(prof::kReportRate), 500);

    // A write the mouse refuses is told, and the file is left alone.
    std::filesystem::remove(ProfileFolder("profile2.vqp"));
    settings::Store().Profile(1).Set(prof::kReportRate, int32_t{1000});
    Click(u"performancebtn");
    Click(u"kprofile2savebtn");  // the same question from the performance page's twin
    ASSERT_TRUE(PopupState::IsOpen());
    for (auto kind : {sim::ReportKind::FeatureSet, sim::ReportKind::FeatureGet, sim::ReportKind::Output,
                      sim::ReportKind::Input})
        mouse.Simulated()->FailNext(kind, 100000);
    Answer(platform::VK_RETURN);
    mouse.Simulated()->ClearFaults();
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_EQ(system.MessageBoxCalls()[0].text, "Failed to save the profile !");
    EXPECT_EQ(system.MessageBoxCalls()[0].caption, "Notice by App");
    EXPECT_EQ(Mouse().profiles[1].reportRate, 2);
    EXPECT_FALSE(std::filesystem::exists(ProfileFolder("profile2.vqp")));
    EXPECT_EQ(window.State().popupFlags, 0u);

    // Reset all: defaults everywhere, profile 1 shown and in use.
    settings::Store().Profile(3).Set(prof::kReportRate, int32_t{1000});
    Confirm(u"masterresetbtn", true);
    EXPECT_EQ(answers.types.back(), u"reset_all_setting");
    EXPECT_EQ(window.State().shownProfile, 0);
    EXPECT_TRUE(Selected(u"profile1option"));
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kInUse), 1);
    EXPECT_TRUE(Selected(u"profile1_inuse_option"));
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(settings::Store().Profile(static_cast<size_t>(p)).Get(prof::kReportRate), 125) << p;
        EXPECT_EQ(Mouse().profiles[static_cast<size_t>(p)], sim::FirmwareState::Fresh().profiles[static_cast<size_t>(p)])
            << p;
    }
    EXPECT_NE(Mouse().profiles[0].inUse, 0);
    settings::SettingsStore applied;
    ASSERT_EQ(settings::LoadAllProfilesFile(applied, platform::RealFileSystem(), ProfileFolder("AllProfile")),
              settings::kProfileFileLoaded);
    for (int p = 0; p < 5; ++p) {
        const uint8_t* bytes = applied.Profile(static_cast<size_t>(p)).Bytes();
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + kProfileBytes), ProfileBytes(p)) << p;
    }
    EXPECT_EQ(applied.Profile(0).Get(prof::kInUse), 1);
    EXPECT_EQ(system.MessageBoxCalls().size(), 1u);
}

TEST_F(MainDispatchTest, ApplyAndDiscard)
{
    Start();
    // The report rate chosen on the performance page reaches the mouse.
    Click(u"performancebtn");
    ASSERT_EQ(CurrentTab(), 1);
    Click(u"usb_rate_500_option");
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kReportRate), 500);
    EXPECT_NE(Mouse().profiles[0].reportRate, 2);
    Confirm(u"kprofileokbtn");
    EXPECT_EQ(answers.types.back(), u"apply_new_setting");
    EXPECT_EQ(Mouse().profiles[0].reportRate, 2);
    EXPECT_TRUE(system.MessageBoxCalls().empty());
    ASSERT_TRUE(std::filesystem::exists(ProfileFolder("AllProfile")));

    // Discard brings back what was applied.
    Click(u"usb_rate_1000_option");
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kReportRate), 1000);
    Click(u"kprofilecancelbtn");
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kReportRate), 500);
    EXPECT_TRUE(Selected(u"usb_rate_500_option"));
    EXPECT_FALSE(Selected(u"usb_rate_1000_option"));
    EXPECT_FALSE(PopupState::IsOpen());

    // With no profile in use only the box tells why nothing is applied.
    for (size_t p = 0; p < 5; ++p)
        settings::Store().Profile(p).Set(prof::kInUse, uint8_t{0});
    const size_t reports = mouse.Simulated()->Log().size();
    Click(u"kprofileokbtn");
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_NE(system.MessageBoxCalls()[0].flags & platform::MB_ICONERROR, 0u);
    EXPECT_EQ(system.MessageBoxCalls()[0].caption, "Notice by App");
    EXPECT_FALSE(PopupState::IsOpen());
    EXPECT_EQ(window.State().popupFlags, 0u);
    EXPECT_EQ(mouse.Simulated()->Log().size(), reports);
}

// Every profile card on both pages, clicked where the user clicks: the in-use
// switch lying on the card switches the profile without showing it, the card
// shows it, and its save and default buttons ask their own questions.
TEST_F(MainDispatchTest, EveryProfileCardAnswersOnBothPages)
{
    Start();
    for (const std::u16string page : {u"", u"k"}) {
        Click(page.empty() ? u"maincontrolbtn" : u"performancebtn");
        for (int n = 1; n <= 5; ++n) {
            SCOPED_TRACE(std::to_string(n) + (page.empty() ? " buttons page" : " performance page"));
            const std::u16string card = page + u"profile" + static_cast<char16_t>(u'0' + n);
            const int shown = window.State().shownProfile;
            const uint8_t inUse = settings::Store().Profile(n - 1).Get(prof::kInUse);
            Click(card + u"_inuse_option");
            EXPECT_NE(settings::Store().Profile(n - 1).Get(prof::kInUse), inUse);
            EXPECT_EQ(window.State().shownProfile, shown);
            Click(card + u"option");
            EXPECT_EQ(window.State().shownProfile, n - 1);
            for (const auto& [button, cancel] : {std::pair{u"savebtn", u"save_profile_setting_cancel"},
                                                 std::pair{u"defaultbtn", u"reset_profile_default_cancel"}}) {
                Click(card + button);
                ASSERT_TRUE(PopupState::IsOpen());
                Answer(platform::VK_ESCAPE);
                EXPECT_EQ(answers.types.back(), cancel);
            }
        }
    }
}

// The settings last applied hold what the mouse took; the rest stays pending.
TEST_F(MainDispatchTest, AFailedWriteIsNamedAndWhatTheMouseDidNotTakeStaysPending)
{
    Start();
    Confirm(u"profileokbtn");
    const size_t told = system.MessageBoxCalls().size();
    settings::Store().Profile(2).Set(prof::kReportRate, int32_t{250});
    settings::Store().Profile(3).Set(prof::kReportRate, int32_t{250});
    failing.failing = 2;
    window.progress = &failing;
    Confirm(u"profileokbtn");
    ASSERT_EQ(system.MessageBoxCalls().size(), told + 1);
    EXPECT_EQ(system.MessageBoxCalls().back().text, "Failed to write profile  3  to the mouse !");
    EXPECT_EQ(Mouse().profiles[3].reportRate, 1);  // the mouse's code for 250
    EXPECT_NE(Mouse().profiles[2].reportRate, 1);
    settings::SettingsStore applied, pending;
    ASSERT_EQ(settings::LoadAllProfilesFile(applied, platform::RealFileSystem(), ProfileFolder("AllProfile")),
              settings::kProfileFileLoaded);
    EXPECT_NE(applied.Profile(2).Get(prof::kReportRate), 250);
    EXPECT_EQ(applied.Profile(3).Get(prof::kReportRate), 250);
    ASSERT_EQ(settings::LoadAllProfilesFile(pending, platform::RealFileSystem(), ProfileFolder("PendingChanges")),
              settings::kProfileFileLoaded);
    EXPECT_EQ(pending.Profile(2).Get(prof::kReportRate), 250);
}

TEST_F(MainDispatchTest, PointerSlidersReachTheDesktopOnApply)
{
    Start();
    platform::FilePointerSettings desktop(folder.File("pointer_settings"));
    const unsigned before = desktop.MouseSpeed();
    Click(u"performancebtn");
    Release(u"pointer_acceleration_slider", 4);  // level 2
    Release(u"scroll_wheel_speed_slider", 10);   // level 6
    EXPECT_EQ(desktop.MouseSpeed(), before);
    Confirm(u"kprofileokbtn");
    EXPECT_EQ(desktop.MouseSpeed(), 4u);
    EXPECT_EQ(desktop.WheelScrollLines(), 6u);
}

TEST_F(MainDispatchTest, GermanMovesTheControlsAndReadsItsOwnSkin)
{
    Start();
    const SkinUI::ImageEntry* picture = window.Manager().GetImage(u"Profile01-1.png");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->image, nullptr);
    const std::vector<uint32_t> english = picture->image->pixels;
    EXPECT_EQ(ExpectGeometry(false), static_cast<int>(std::size(kLanguageGeometry)));

    auto* languages = dynamic_cast<SkinUI::CComboUI*>(Find(u"selectlanguagecmb"));
    ASSERT_NE(languages, nullptr);
    ASSERT_TRUE(languages->SelectItem(3));
    Run();
    EXPECT_EQ(window.Language(), 3);
    EXPECT_EQ(window.Manager().GetResourcePath(), std::string(NERIT_SKIN_DIR) + "/VimoSkin3");
    ExpectGeometry(true);
    picture = window.Manager().GetImage(u"Profile01-1.png");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->image, nullptr);
    EXPECT_NE(picture->image->pixels, english);
    EXPECT_EQ(settings.Language(), 3);

    // And back.
    ASSERT_TRUE(languages->SelectItem(0));
    Run();
    ExpectGeometry(false);
    EXPECT_EQ(window.Manager().GetImage(u"Profile01-1.png")->image->pixels, english);
    EXPECT_EQ(settings.Language(), 0);
}

TEST_F(MainDispatchTest, ProfileFilesThroughTheDialog)
{
    Start();
    settings::Store().Profile(0).Set(prof::kReportRate, int32_t{1000});
    dialog.QueueChosen(folder.File("mine"));
    Click(u"profilesavebtn");
    ASSERT_EQ(dialog.Requests().size(), 1u);
    EXPECT_EQ(dialog.Requests()[0].mode, platform::FileDialogMode::Save);
    ASSERT_TRUE(std::filesystem::exists(folder.File("mine.vqp")));
    EXPECT_EQ(NameLabel(), u"mine");
    const std::vector<uint8_t> saved = ProfileBytes(0);

    // Loaded back over other settings, the same settings come back.
    settings::Store().Profile(0).Set(prof::kReportRate, int32_t{250});
    settings::Store().Profile(0).SetName("other.vqp");
    dialog.QueueChosen(folder.File("mine.vqp"));
    Click(u"profileloadbtn");
    EXPECT_EQ(dialog.Requests().back().mode, platform::FileDialogMode::Open);
    EXPECT_EQ(ProfileBytes(0), saved);
    EXPECT_TRUE(Selected(u"usb_rate_1000_option"));
    EXPECT_EQ(NameLabel(), u"mine");
    EXPECT_TRUE(system.MessageBoxCalls().empty());

    // A name with its own extension keeps it; the labels show it without.
    dialog.QueueChosen(folder.File("My.VQP"));
    Click(u"profilesavebtn");
    ASSERT_TRUE(std::filesystem::exists(folder.File("My.VQP")));
    EXPECT_EQ(NameLabel(), u"My");
    dialog.QueueChosen(folder.File("mine.vqp"));
    Click(u"profileloadbtn");
    EXPECT_EQ(NameLabel(), u"mine");
    dialog.QueueChosen(folder.File("My.VQP"));
    Click(u"profileloadbtn");
    EXPECT_EQ(NameLabel(), u"My");
    EXPECT_EQ(Find(u"kProfilenamelabel")->GetText(), u"My");
    dialog.QueueChosen(folder.File("mine.vqp"));
    Click(u"profileloadbtn");
    EXPECT_TRUE(system.MessageBoxCalls().empty());

    // A file that is no profile changes nothing, the labels included.
    std::ofstream(folder.File("bad.vqp")) << std::string(5000, 'x');
    settings::Store().Profile(0).Set(prof::kReportRate, int32_t{500});
    const std::vector<uint8_t> edited = ProfileBytes(0);
    const std::string macros = settings::MacrosFilePath(settings.Folder(), "");
    std::filesystem::remove(macros);
    dialog.QueueChosen(folder.File("bad.vqp"));
    Click(u"profileloadbtn");
    EXPECT_FALSE(std::filesystem::exists(macros));
    EXPECT_EQ(ProfileBytes(0), edited);
    EXPECT_EQ(NameLabel(), u"mine");
    EXPECT_EQ(system.MessageBoxCalls().size(), 1u);

    // A file that cannot be written is told, and the labels keep the name.
    dialog.QueueChosen(folder.File("missing/other"));
    Click(u"profilesavebtn");
    EXPECT_EQ(dialog.Requests().back().mode, platform::FileDialogMode::Save);
    EXPECT_TRUE(dialog.Requests().back().confirmOverwrite);
    EXPECT_EQ(ProfileBytes(0), edited);
    EXPECT_EQ(NameLabel(), u"mine");
    EXPECT_EQ(Find(u"kProfilenamelabel")->GetText(), u"mine");
    ASSERT_EQ(system.MessageBoxCalls().size(), 2u);
    EXPECT_EQ(system.MessageBoxCalls()[1].caption, "Notice by App");

    // A cancelled dialog changes nothing either.
    dialog.QueueCancelled();
    Click(u"profileloadbtn");
    EXPECT_EQ(ProfileBytes(0), edited);
    EXPECT_EQ(NameLabel(), u"mine");
    EXPECT_EQ(system.MessageBoxCalls().size(), 2u);

    // A dialog that cannot be shown says so and leaves the window usable.
    dialog.FailNextStart();
    Click(u"profileloadbtn");
    dialog.QueueFailed();
    Click(u"profilesavebtn");
    EXPECT_EQ(ProfileBytes(0), edited);
    EXPECT_EQ(NameLabel(), u"mine");
    ASSERT_EQ(system.MessageBoxCalls().size(), 4u);
    EXPECT_EQ(system.MessageBoxCalls()[2].text, std::string(kNoFileDialogText[0]));
    EXPECT_EQ(system.MessageBoxCalls()[3].text, std::string(kNoFileDialogText[0]));

    // "mine" became "mine.vqp" after the dialog's own question about "mine":
    // replacing the existing mine.vqp is asked first, and a no keeps it.
    const auto mineBefore = std::filesystem::last_write_time(folder.File("mine.vqp"));
    std::filesystem::last_write_time(folder.File("mine.vqp"), mineBefore - std::chrono::hours(1));
    const auto aged = std::filesystem::last_write_time(folder.File("mine.vqp"));
    system.QueueMessageBoxAnswer(platform::IDCANCEL);
    dialog.QueueChosen(folder.File("mine"));
    Click(u"profilesavebtn");
    ASSERT_EQ(system.MessageBoxCalls().size(), 5u);
    EXPECT_NE(system.MessageBoxCalls()[4].text.find(folder.File("mine.vqp")), std::string::npos);
    EXPECT_EQ(system.MessageBoxCalls()[4].flags, platform::MB_OKCANCEL | platform::MB_ICONQUESTION);
    EXPECT_EQ(std::filesystem::last_write_time(folder.File("mine.vqp")), aged);
    system.QueueMessageBoxAnswer(platform::IDOK);
    dialog.QueueChosen(folder.File("mine"));
    Click(u"profilesavebtn");
    EXPECT_NE(std::filesystem::last_write_time(folder.File("mine.vqp")), aged);
    // A name the user gave with its extension was asked about by the dialog.
    dialog.QueueChosen(folder.File("mine.vqp"));
    Click(u"profilesavebtn");
    EXPECT_EQ(system.MessageBoxCalls().size(), 6u);

    // While a dialog is open the window takes no clicks.
    const size_t requests = dialog.Requests().size();
    Click(u"profileloadbtn");
    ASSERT_EQ(dialog.Requests().size(), requests + 1);
    Click(u"performancebtn");
    Click(u"closebtn");
    Click(u"profileloadbtn");
    EXPECT_EQ(CurrentTab(), 0);
    EXPECT_FALSE(PopupState::IsOpen());
    EXPECT_EQ(dialog.Requests().size(), requests + 1);
    dialog.Answer(dialog.LastId(), {platform::FileDialogStatus::Cancelled, {}});
    Run();
    EXPECT_EQ(ProfileBytes(0), edited);
    Click(u"performancebtn");
    EXPECT_EQ(CurrentTab(), 1);
}

TEST_F(MainDispatchTest, TheExitQuestion)
{
    Start();
    Click(u"closebtn");
    EXPECT_EQ(window.State().popupFlags, PopupFlag::kExit);
    EXPECT_EQ(PopupState::Count(), 1);
    // The window takes no click meanwhile, and no second question opens; a
    // press gives the question the keyboard back, so Esc below needs no help.
    const WindowId question = popup;
    Click(u"profileokbtn");
    Click(u"performancebtn");
    EXPECT_EQ(CurrentTab(), 0);
    EXPECT_EQ(system.GetFocus(), question);
    // Nor the wheel or keys, which would move a slider or an option.
    auto* stage = dynamic_cast<SkinUI::CSliderUI*>(Find(u"laser_level1_y_slider"));
    ASSERT_NE(stage, nullptr);
    const int before = stage->GetValue();
    const SkinUI::UIRect rect = stage->GetItemRect();
    for (int delta : {platform::WHEEL_DELTA, -platform::WHEEL_DELTA, -platform::WHEEL_DELTA})
        system.InjectWheel(window.GetHWND(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, delta);
    Run();
    EXPECT_EQ(stage->GetValue(), before);
    window.Manager().SendNotify(Find(u"masterresetbtn"), u"click");
    window.Manager().SendNotify(Find(u"profile1savebtn"), u"click");
    Run();
    EXPECT_EQ(window.State().popupFlags, PopupFlag::kExit);
    EXPECT_EQ(PopupState::Count(), 1);
    system.InjectKey(question, platform::VK_ESCAPE, true);
    system.InjectKey(question, platform::VK_ESCAPE, false);
    Run();
    EXPECT_EQ(answers.types, (std::vector<std::u16string>{u"exit_program_cancel"}));
    EXPECT_EQ(window.State().popupFlags, 0u);
    EXPECT_TRUE(system.IsWindow(window.GetHWND()));
    EXPECT_FALSE(PopupState::IsOpen());

    // The main window's clicks work again; OK leaves.
    Click(u"closebtn");
    EXPECT_EQ(window.State().popupFlags, PopupFlag::kExit);
    ASSERT_TRUE(system.IsWindow(popup));
    // The question's OK button, where its layout puts it.
    for (unsigned message : {platform::WM_MOUSEMOVE, platform::WM_LBUTTONDOWN, platform::WM_LBUTTONUP})
        system.InjectMouse(popup, message, 469, 255, message == platform::WM_LBUTTONDOWN ? platform::MK_LBUTTON : 0);
    platform::Message message;
    while (system.GetMessage(message))
        system.DispatchMessage(message);
    EXPECT_EQ(message.message, platform::WM_QUIT);
    EXPECT_EQ(answers.types.back(), u"exit_program");
    EXPECT_EQ(window.State().popupFlags, 0u);
}

TEST_F(MainDispatchTest, TheCaptionMinimisesAndOffersNoMaximise)
{
    Start();
    // The skin is drawn for one size.
    EXPECT_FALSE(Find(u"maxbtn")->IsVisible());
    EXPECT_FALSE(Find(u"restorebtn")->IsVisible());
    Click(u"minbtn");
    EXPECT_TRUE(system.IsMinimized(window.GetHWND()));
    EXPECT_TRUE(system.IsWindow(window.GetHWND()));
}

TEST_F(MainDispatchTest, WithTheMouseGoneTheLightsStayAndAResetProfileIsShown)
{
    Start();
    auto* led = dynamic_cast<SkinUI::COptionUI*>(Find(u"ledlightonoffoption"));
    ASSERT_NE(led, nullptr);
    ASSERT_TRUE(led->IsSelected());
    mouse.Simulated()->Unplug();
    // The switch the mouse could not take shows the lights as they are.
    Click(u"ledlightonoffoption");
    EXPECT_TRUE(led->IsSelected());
    EXPECT_TRUE(settings::Store().LedOn());

    // The reset profile is shown although the mouse did not take it.
    settings::Store().Profile(0).Set(prof::kReportRate, int32_t{250});
    Click(u"performancebtn");
    ASSERT_TRUE(Selected(u"usb_rate_250_option"));
    Click(u"kprofile1defaultbtn");
    ASSERT_TRUE(PopupState::IsOpen());
    Answer(platform::VK_RETURN);
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_EQ(system.MessageBoxCalls()[0].text, "Failed to reset the default profile !");
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kReportRate), 125);  // the default
    EXPECT_TRUE(Selected(u"usb_rate_125_option"));
}

TEST_F(MainDispatchTest, SupportLinks)
{
    Start();
    Click(u"techsupportbtn");
    ASSERT_EQ(CurrentTab(), 3);
    Click(u"update_fw_btn");
    Click(u"update_app_btn");
    ASSERT_EQ(opener.Opened().size(), 2u);
    EXPECT_EQ(opener.Opened()[0], settings::ToNarrow(kSupportAddress[0]));
    EXPECT_EQ(opener.Opened()[1], opener.Opened()[0]);

    // Without a program for web pages the address is shown.
    opener.SetResult(platform::UrlOpenResult::NoOpener);
    Click(u"update_fw_btn");
    ASSERT_EQ(system.MessageBoxCalls().size(), 1u);
    EXPECT_NE(system.MessageBoxCalls()[0].text.find(settings::ToNarrow(kSupportAddress[0])), std::string::npos);
    EXPECT_EQ(system.MessageBoxCalls()[0].caption, "Notice by App");
}

TEST_F(MainDispatchTest, GermanSocialLinkIsTheEnglishPage)
{
    Start(3);
    Click(u"techsupportbtn");
    Click(u"link_socialnetwork_btn");
    Click(u"link_website_btn");
    ASSERT_EQ(opener.Opened().size(), 2u);
    EXPECT_EQ(opener.Opened()[0], "https://social.vimo.example/en");
    EXPECT_EQ(opener.Opened()[1], settings::ToNarrow(kWebsiteAddress[3]));
}

TEST_F(MainDispatchTest, TheCaptionMovesTheWindowItsButtonsDoNot)
{
    Start();
    const platform::Rect before = system.GetWindowRect(window.GetHWND());
    system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, 300, 20, platform::MK_LBUTTON);
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, 330, 40, platform::MK_LBUTTON);
    system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, 330, 40);
    Run();
    const platform::Rect moved = system.GetWindowRect(window.GetHWND());
    EXPECT_EQ(moved.left, before.left + 30);
    EXPECT_EQ(moved.top, before.top + 20);
    EXPECT_EQ(moved.Width(), before.Width());

    // The language list in the caption opens its list instead.
    const SkinUI::UIRect list = Find(u"selectlanguagecmb")->GetItemRect();
    const int x = (list.left + list.right) / 2, y = (list.top + list.bottom) / 2;
    system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, x + 30, y + 20, platform::MK_LBUTTON);
    system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x + 30, y + 20);
    Run();
    EXPECT_EQ(system.GetWindowRect(window.GetHWND()).left, moved.left);
    EXPECT_EQ(system.GetWindowRect(window.GetHWND()).top, moved.top);

    // The close button in the caption asks its question instead.
    Click(u"closebtn");
    EXPECT_EQ(system.GetWindowRect(window.GetHWND()).left, moved.left);
    EXPECT_TRUE(PopupState::IsOpen());
}

}  // namespace
