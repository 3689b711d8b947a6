// The confirmation popups and message boxes, headless: a main window holding
// the owner button opens them; the answers come back to it through the
// process's message loop.
#include "app/MessageBoxWnd.h"
#include "app/PopupMessageWnd.h"
#include "PopupOwnerFixture.h"

#include <string>
#include <vector>

namespace NeritApp {
namespace {

using namespace platform;
using SkinUI::CControlUI;

struct Answer {
    std::u16string type;
    CControlUI* sender;
    // Delivered while the popup still had the focus: before its window closed
    // and handed the focus (and a message) to the main window.
    bool beforeClose;
};

class PopupTest : public PopupOwnerFixture {
protected:
    std::vector<Answer> answers;

    void OnAnswer(SkinUI::NotifyMessage& message) override
    {
        answers.push_back({message.type, message.sender, system.GetFocus() == popupWindow});
    }
    // Only the named picture label shows.
    void ExpectOnlyVisible(CPopupWnd& popup, std::initializer_list<std::u16string_view> labels,
                           std::u16string_view visible)
    {
        for (std::u16string_view name : labels) {
            CControlUI* label = popup.GetManager().FindControl(name);
            ASSERT_NE(label, nullptr) << std::string(name.begin(), name.end());
            EXPECT_EQ(label->IsVisible(), name == visible) << std::string(name.begin(), name.end());
        }
    }
    // Exactly one answer, from the owner, and the popup gone.
    void ExpectAnswered(std::u16string_view type)
    {
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].type, type);
        EXPECT_EQ(answers[0].sender, owner);
        EXPECT_FALSE(system.IsWindow(popupWindow));
        answers.clear();
    }
};

const std::initializer_list<std::u16string_view> kQuestionLabels = {
    u"applynewsettinglabel",     u"resetallsettinglabel",     u"exitprogramlabel",
    u"keyboardnotdetectedlabel", u"resetprofiledefaultLabel", u"saveprofilesettingLabel"};

struct Expected {
    std::u16string_view label, ok, cancel;
};
constexpr Expected kExpected[] = {
    {u"applynewsettinglabel", u"apply_new_setting", u"apply_new_setting_cancel"},
    {u"resetallsettinglabel", u"reset_all_setting", u"reset_all_setting_cancel"},
    {u"exitprogramlabel", u"exit_program", u"exit_program_cancel"},
    {u"keyboardnotdetectedlabel", u"keyboard_not_detected", u"keyboard_not_detected_cancel"},
    {u"saveprofilesettingLabel", u"save_profile_setting", u"save_profile_setting_cancel"},
    {u"resetprofiledefaultLabel", u"reset_profile_default", u"reset_profile_default_cancel"},
};

TEST_F(PopupTest, EveryQuestionShowsItsPictureAndAnswersByMouseEnterAndEsc)
{
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(kind);
        const Expected& expected = kExpected[kind];
        enum Way { ClickOk, ClickCancel, Enter, Escape };
        for (Way way : {ClickOk, ClickCancel, Enter, Escape}) {
            SCOPED_TRACE(static_cast<int>(way));
            auto* popup = new CPopupMessageWnd(kind);
            Open(popup, owner);
            ExpectOnlyVisible(*popup, kQuestionLabels, expected.label);
            EXPECT_EQ(PopupState::Count(), 1);
            // Other keys and clicks beside the buttons answer nothing.
            Key('A');
            Key(VK_SPACE);
            system.InjectMouse(popupWindow, WM_LBUTTONDOWN, 300, 220, MK_LBUTTON);
            system.InjectMouse(popupWindow, WM_LBUTTONUP, 300, 220);
            Run();
            EXPECT_TRUE(answers.empty());
            ASSERT_TRUE(system.IsWindow(popupWindow));
            switch (way) {
            case ClickOk: Click(*popup, u"popup_message_ok_btn"); break;
            case ClickCancel: Click(*popup, u"popup_message_cancel_btn"); break;
            case Enter: Key(VK_RETURN); break;
            case Escape: Key(VK_ESCAPE); break;
            }
            ExpectAnswered(way == ClickOk || way == Enter ? expected.ok : expected.cancel);
            EXPECT_EQ(PopupState::Count(), 0);
        }
    }
}

// The desktop's close of a popup (its window manager's close button) is its
// cancel: the owner hears so and the main window is let go.
TEST_F(PopupTest, TheDesktopsCloseCancels)
{
    for (int kind : {PopupKind::kExitProgram, PopupKind::kApplySettings}) {
        Open(new CPopupMessageWnd(kind), owner);
        system.PostMessage(popupWindow, WM_CLOSE, 0, 0);
        Run();
        ExpectAnswered(kExpected[kind].cancel);
        EXPECT_EQ(PopupState::Count(), 0);
    }
}

TEST_F(PopupTest, AnswersArriveByThemselvesAndOnlyOnce)
{
    auto* popup = new CPopupMessageWnd(PopupKind::kExitProgram);
    Open(popup, owner);
    // Enter twice before the window is gone: one answer. The loop wakes for
    // the queued notification while the popup is still closing.
    system.InjectKey(popupWindow, VK_RETURN, true);
    system.InjectKey(popupWindow, VK_RETURN, false);
    system.InjectKey(popupWindow, VK_RETURN, true);
    system.InjectKey(popupWindow, VK_RETURN, false);
    Run();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers[0].beforeClose);
    ExpectAnswered(u"exit_program");
    EXPECT_EQ(PopupState::Count(), 0);
}

TEST_F(PopupTest, MessageBoxAnswersOkForOkCloseAndEnterButNotEsc)
{
    const std::initializer_list<std::u16string_view> labels = {u"msgbox_macroovermax_label",
                                                                   u"msgbox_macrorepeat1_99_label"};
    for (std::u16string_view way : {u"msgbox_ok_btn", u"msgbox_close_btn", u"enter"}) {
        auto* box = new CMessageBoxWnd(MessageBoxKind::kMacroLimit);
        Open(box, owner);
        ExpectOnlyVisible(*box, labels, u"msgbox_macroovermax_label");
        EXPECT_EQ(PopupState::Count(), 1);
        Key(VK_ESCAPE);
        EXPECT_TRUE(answers.empty());
        ASSERT_TRUE(system.IsWindow(popupWindow));
        if (way == u"enter")
            Key(VK_RETURN);
        else
            Click(*box, way);
        ExpectAnswered(u"msgbox_ok_btn");
        EXPECT_EQ(PopupState::Count(), 0);
    }
    // The repeat-range notice leaves the open count to the popup that opened it.
    PopupState::Opened(WindowId{4242});  // the popup that opened it
    auto* box = new CMessageBoxWnd(MessageBoxKind::kRepeatRange);
    Open(box, owner);
    ExpectOnlyVisible(*box, labels, u"msgbox_macrorepeat1_99_label");
    EXPECT_EQ(PopupState::Count(), 1);
    Click(*box, u"msgbox_ok_btn");
    ExpectAnswered(u"msgbox_ok_btn");
    EXPECT_EQ(PopupState::Count(), 1);
}

TEST_F(PopupTest, TwoOpenPopupsBlockUntilBothAreAnswered)
{
    auto* notice = new CPopupMessageWnd(PopupKind::kNoDevice);
    const WindowId noticeWindow = Open(notice, owner);
    auto* exit = new CPopupMessageWnd(PopupKind::kExitProgram);
    const WindowId exitWindow = Open(exit, owner);
    EXPECT_EQ(PopupState::Count(), 2);

    popupWindow = exitWindow;
    Key(VK_ESCAPE);
    ExpectAnswered(u"exit_program_cancel");
    EXPECT_EQ(PopupState::Count(), 1);
    EXPECT_TRUE(PopupState::IsOpen());

    popupWindow = noticeWindow;
    Click(*notice, u"popup_message_ok_btn");
    ExpectAnswered(u"keyboard_not_detected");
    EXPECT_FALSE(PopupState::IsOpen());

    // A popup whose owner window goes away unanswered blocks no more.
    Open(new CPopupMessageWnd(PopupKind::kNoDevice), owner);
    EXPECT_EQ(PopupState::Count(), 1);
    system.DestroyWindow(main.GetHWND());
    Run();
    EXPECT_FALSE(system.IsWindow(popupWindow));
    EXPECT_EQ(PopupState::Count(), 0);
}

TEST_F(PopupTest, PopupIsCentredRoundedAndOwnedByTheOwnersWindow)
{
    auto* popup = new CPopupMessageWnd(PopupKind::kSaveProfile);
    Open(popup, owner);
    // Over the main window (100,100 1000x680).
    EXPECT_EQ(system.GetWindowRect(popupWindow), (Rect{270, 293, 930, 587}));
    const WindowOptions* options = system.OptionsOf(popupWindow);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->owner, main.GetHWND());
    EXPECT_TRUE(options->toolWindow);
    const Region* region = system.RegionOf(popupWindow);
    ASSERT_NE(region, nullptr);
    // The rounded rectangle reaches one pixel past the window, and follows
    // its size.
    EXPECT_TRUE(region->Contains(330, 147));
    EXPECT_TRUE(region->Contains(660, 147));
    EXPECT_TRUE(region->Contains(330, 294));
    system.MoveWindow(popupWindow, {270, 293, 670, 493});
    region = system.RegionOf(popupWindow);
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(region->Contains(400, 100));
    EXPECT_FALSE(region->Contains(401, 100));
    Key(VK_ESCAPE);
    ExpectAnswered(u"save_profile_setting_cancel");

    // Without an owner: over the work area, and the answer goes nowhere.
    auto* lone = new CPopupMessageWnd(PopupKind::kExitProgram);
    Open(lone, nullptr);
    EXPECT_EQ(system.GetWindowRect(popupWindow), (Rect{630, 393, 1290, 687}));
    EXPECT_EQ(PopupState::Count(), 1);
    Key(VK_RETURN);
    EXPECT_TRUE(answers.empty());
    EXPECT_FALSE(system.IsWindow(popupWindow));
    EXPECT_EQ(PopupState::Count(), 0);
}

TEST_F(PopupTest, CaptionDragsTheWindowButItsButtonsDoNot)
{
    auto* popup = new CPopupMessageWnd(PopupKind::kApplySettings);
    Open(popup, owner);
    const Rect start = system.GetWindowRect(popupWindow);
    system.InjectMouse(popupWindow, WM_MOUSEMOVE, 100, 10);
    system.InjectMouse(popupWindow, WM_LBUTTONDOWN, 100, 10, MK_LBUTTON);
    Run();
    system.InjectMouse(popupWindow, WM_MOUSEMOVE, 150, 30, MK_LBUTTON);
    Run();
    system.InjectMouse(popupWindow, WM_MOUSEMOVE, 90, -10, MK_LBUTTON);  // client point after the first move
    Run();
    system.InjectMouse(popupWindow, WM_LBUTTONUP, 90, -10);
    Run();
    EXPECT_EQ(system.GetWindowRect(popupWindow),
              (Rect{start.left + 40, start.top, start.right + 40, start.bottom}));
    EXPECT_EQ(system.GetCapture(), WindowId::None);
    // Below the caption nothing moves.
    system.InjectMouse(popupWindow, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    system.InjectMouse(popupWindow, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    system.InjectMouse(popupWindow, WM_LBUTTONUP, 200, 150);
    Run();
    EXPECT_EQ(system.GetWindowRect(popupWindow).left, start.left + 40);
    Key(VK_ESCAPE);
    ExpectAnswered(u"apply_new_setting_cancel");

    // The message box's close button lies in its caption: it is a button.
    auto* box = new CMessageBoxWnd(MessageBoxKind::kMacroLimit);
    Open(box, owner);
    const Rect boxStart = system.GetWindowRect(popupWindow);
    system.InjectMouse(popupWindow, WM_MOUSEMOVE, 290, 15);
    system.InjectMouse(popupWindow, WM_LBUTTONDOWN, 290, 15, MK_LBUTTON);
    system.InjectMouse(popupWindow, WM_MOUSEMOVE, 250, 60, MK_LBUTTON);
    Run();
    EXPECT_EQ(system.GetWindowRect(popupWindow), boxStart);
    system.InjectMouse(popupWindow, WM_MOUSEMOVE, 291, 16, MK_LBUTTON);
    system.InjectMouse(popupWindow, WM_LBUTTONUP, 291, 16);
    Run();
    ExpectAnswered(u"msgbox_ok_btn");
}

TEST_F(PopupTest, PopupWhoseLayoutCannotBeBuiltStaysTheCallersAndBlocksNothing)
{
    CPopupWnd broken(9999, 0);
    EXPECT_FALSE(broken.Show(owner));
    EXPECT_EQ(broken.GetHWND(), WindowId::None);
    EXPECT_EQ(PopupState::Count(), 0);
}

TEST_F(PopupTest, PopupReadsItsPicturesFromTheOwnersSkinFolder)
{
    main.manager.SetResourcePath((std::filesystem::path(NERIT_SKIN_DIR) / "VimoSkin").string());
    auto* popup = new CPopupMessageWnd(PopupKind::kResetAll);
    Open(popup, owner);
    EXPECT_EQ(popup->GetManager().GetResourcePath(), main.manager.GetResourcePath());
    EXPECT_NE(popup->GetManager().GetImageEx(u"popup_confirm_bg.png"), nullptr);
    Key(VK_RETURN);
    ExpectAnswered(u"reset_all_setting");
}

}  // namespace
}  // namespace NeritApp
