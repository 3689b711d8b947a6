// Cancelling every open popup at once (the mouse came back): each answers its
// owner as if the user had cancelled it, a notice opened over another popup
// included, and windows that are no popups of ours stay.
#include "app/KeysMessageWnd.h"
#include "app/MacroPlayOptionWnd.h"
#include "app/MessageBoxWnd.h"
#include "app/PopupMessageWnd.h"
#include "PopupOwnerFixture.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace NeritApp {
namespace {

using namespace platform;
using Answers = std::vector<std::u16string>;

// A window of ours that is no popup, though its class name is the popups'.
class PlainWnd final : public SkinUI::CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"PopupWnd"; }
};

class PopupCloseAllTest : public PopupOwnerFixture {
protected:
    Answers answers;
    std::function<void()> onAnswer;  // runs inside the main window's handling

    void OnAnswer(SkinUI::NotifyMessage& message) override
    {
        EXPECT_EQ(message.sender, owner);
        answers.emplace_back(message.type);
        if (onAnswer)
            onAnswer();
    }
    Answers TakeSorted()
    {
        Answers taken = std::move(answers);
        answers.clear();
        std::sort(taken.begin(), taken.end());
        return taken;
    }
    // A play-option popup with the range notice open over it; the notice's
    // window is returned.
    WindowId OpenPlayOptionWithRangeBox(CMacroPlayOptionWnd*& play)
    {
        play = new CMacroPlayOptionWnd(0, 5);
        Open(play, owner);
        SkinUI::CControlUI* edit = play->GetManager().FindControl(u"macro_repeattimes_edit");
        EXPECT_NE(edit, nullptr);
        if (edit != nullptr)
            edit->SetText(u"0");
        Click(*play, u"macroplay_ok_btn");
        const WindowId focus = system.GetFocus();
        const WindowOptions* options = system.OptionsOf(focus);
        EXPECT_TRUE(options != nullptr && options->owner == play->GetHWND());
        return focus;
    }
};

TEST_F(PopupCloseAllTest, CancelsEachOpenPopupOnceAndLeavesOtherWindows)
{
    PlainWnd plain;
    ASSERT_NE(plain.Create(WindowId::None, "plain", SkinUI::WindowStyle::kNormal, 0, 0, 0, 200, 100),
              WindowId::None);
    plain.ShowWindow(true, false);

    const WindowId notice = Open(new CPopupMessageWnd(PopupKind::kNoDevice), owner);
    const WindowId keys = Open(new CKeysMessageWnd(0), owner);
    CMacroPlayOptionWnd* play = nullptr;
    const WindowId rangeBox = OpenPlayOptionWithRangeBox(play);
    const WindowId playWindow = play->GetHWND();
    const WindowId limitBox = Open(new CMessageBoxWnd(MessageBoxKind::kMacroLimit), owner);
    ASSERT_TRUE(answers.empty());
    EXPECT_EQ(CPopupWnd::OpenCount(), 5);
    EXPECT_EQ(PopupState::Count(), 4);  // the range notice blocks nothing of its own

    CPopupWnd::CloseAll();
    for (WindowId popup : {notice, keys, playWindow, rangeBox, limitBox})
        EXPECT_FALSE(system.IsWindow(popup));
    EXPECT_TRUE(system.IsWindow(main.GetHWND()));
    EXPECT_TRUE(system.IsWindow(plain.GetHWND()));
    EXPECT_EQ(CPopupWnd::OpenCount(), 0);
    EXPECT_EQ(PopupState::Count(), 0);

    Run();
    const Answers expected = {u"button_singlekey_cancel", u"keyboard_not_detected_cancel",
                              u"macro_playoption_cancel", u"msgbox_ok_btn"};
    EXPECT_EQ(TakeSorted(), expected);

    // Nothing is left to cancel.
    CPopupWnd::CloseAll();
    Run();
    EXPECT_TRUE(answers.empty());

    // Popups opened afterwards are listed, block and answer once.
    auto* question = new CPopupMessageWnd(PopupKind::kExitProgram);
    Open(question, owner);
    EXPECT_EQ(CPopupWnd::OpenCount(), 1);
    EXPECT_EQ(PopupState::Count(), 1);
    Key(VK_RETURN);
    EXPECT_EQ(TakeSorted(), Answers{u"exit_program"});
    EXPECT_EQ(CPopupWnd::OpenCount(), 0);
    EXPECT_EQ(PopupState::Count(), 0);

    // A new play-option popup takes clicks again once its notice is gone.
    const WindowId box = OpenPlayOptionWithRangeBox(play);
    KeyTo(box, VK_RETURN);
    EXPECT_FALSE(system.IsWindow(box));
    play->GetManager().FindControl(u"macro_repeattimes_edit")->SetText(u"7");
    Click(*play, u"macroplay_ok_btn");
    EXPECT_EQ(TakeSorted(), Answers{u"macro_playoption_ok"});
    EXPECT_EQ(CMacroPlayOptionWnd::LastChoice().PlayMode(), 7);
}

// The user's own answer and the mouse's return cross: the popup answered
// already (its window not yet closed) answers no more; the others still do.
TEST_F(PopupCloseAllTest, PopupAnsweredAlreadyIsClosedWithoutASecondAnswer)
{
    const WindowId first = Open(new CPopupMessageWnd(PopupKind::kApplySettings), owner);
    const WindowId second = Open(new CPopupMessageWnd(PopupKind::kSaveProfile), owner);
    bool closed = false;
    onAnswer = [&] {
        if (closed)
            return;
        closed = true;
        EXPECT_TRUE(system.IsWindow(second));  // its close is still queued
        CPopupWnd::CloseAll();
    };
    Key(VK_RETURN);  // to the second popup, opened last
    EXPECT_EQ(TakeSorted(), (Answers{u"apply_new_setting_cancel", u"save_profile_setting"}));
    EXPECT_FALSE(system.IsWindow(first));
    EXPECT_FALSE(system.IsWindow(second));
    EXPECT_EQ(CPopupWnd::OpenCount(), 0);
    EXPECT_EQ(PopupState::Count(), 0);
}

}  // namespace
}  // namespace NeritApp
