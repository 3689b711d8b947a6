// The macro play-option popup, headless: a main window holding the owner
// button opens it; the answers come back through the process's message loop.
#include "app/MacroPlayOptionWnd.h"
#include "PopupOwnerFixture.h"
#include "ui/ComboUI.h"

#include <string>
#include <vector>

namespace NeritApp {
namespace {

using namespace platform;
using SkinUI::CComboUI;
using SkinUI::CControlUI;

std::string Narrow(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

class PlayOptionPopupTest : public PopupOwnerFixture {
protected:
    std::vector<std::u16string> answers;
    CMacroPlayOptionWnd* popup = nullptr;

    void OnAnswer(SkinUI::NotifyMessage& message) override { answers.emplace_back(message.type); }

    void Open(int language, int playMode)
    {
        popup = new CMacroPlayOptionWnd(language, playMode);
        PopupOwnerFixture::Open(popup, owner);
    }
    CControlUI& Control(std::u16string_view name)
    {
        CControlUI* control = popup->GetManager().FindControl(name);
        EXPECT_NE(control, nullptr) << Narrow(name);
        return *control;
    }
    CComboUI& Combo() { return dynamic_cast<CComboUI&>(Control(u"macro_playback_combo")); }
    CControlUI& Edit() { return Control(u"macro_repeattimes_edit"); }
    void Click(std::u16string_view control) { PopupOwnerFixture::Click(*popup, control); }
    // OK by the button or by Enter.
    void Confirm(bool byEnter)
    {
        if (byEnter)
            Key(VK_RETURN);
        else
            Click(u"macroplay_ok_btn");
    }
    // Exactly one answer, and the popup gone and no longer blocking.
    void ExpectAnswered(std::u16string_view type)
    {
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0], type);
        EXPECT_FALSE(system.IsWindow(popupWindow));
        EXPECT_EQ(PopupState::Count(), 0);
        answers.clear();
    }
    // The range notice the popup opened over itself, if any.
    WindowId RangeBox() const
    {
        const WindowId focus = system.GetFocus();
        const WindowOptions* options = focus != popupWindow ? system.OptionsOf(focus) : nullptr;
        return options != nullptr && options->owner == popupWindow ? focus : WindowId::None;
    }
};

TEST_F(PlayOptionPopupTest, OpensOnTheButtonsStoredPlayMode)
{
    struct Case {
        int playMode, option;
        std::u16string_view count;  // the edit's text when shown
    };
    const Case cases[] = {
        {1, 0, u""},  {0, 0, u""},    {5, 1, u"5"},   {2, 1, u"2"},  {99, 1, u"99"},
        {241, 2, u""}, {242, 3, u""}, {150, 0, u""}, {100, 0, u""}, {-5, 0, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playMode);
        Open(0, c.playMode);
        EXPECT_EQ(PopupState::Count(), 1);
        EXPECT_EQ(Combo().GetCount(), 4);
        EXPECT_EQ(Combo().GetCurSel(), c.option);
        const bool repeat = c.option == PlayOption::kRepeat;
        EXPECT_EQ(Control(u"macro_repeattimes_label").IsVisible(), repeat);
        EXPECT_EQ(Edit().IsVisible(), repeat);
        if (repeat) {
            EXPECT_EQ(Edit().GetText(), c.count);
            EXPECT_EQ(popup->GetManager().GetFocus(), &Edit());
            EXPECT_EQ(Control(u"macro_repeattimes_label").GetText(), u" Define N : ");
        }
        // Opened and confirmed unchanged: the same mode comes back (an
        // undefined one as "play once").
        Key(VK_RETURN);
        ExpectAnswered(CMacroPlayOptionWnd::kAnswerOk);
        EXPECT_TRUE(CMacroPlayOptionWnd::LastChoice().chosen);
        EXPECT_EQ(CMacroPlayOptionWnd::LastChoice().PlayMode(), c.option == PlayOption::kOnce ? 1 : c.playMode);
    }
}

TEST_F(PlayOptionPopupTest, EachChoiceAnswersItsStoredValueAlikeByOkAndEnter)
{
    struct Case {
        int option;
        std::u16string_view typed;
        int stored;
    };
    const Case cases[] = {{0, u"", 1}, {1, u"12", 12}, {1, u"7", 7}, {1, u"99", 99}, {2, u"", 241}, {3, u"", 242}};
    for (bool byEnter : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.option << " " << Narrow(c.typed) << " enter " << byEnter);
            Open(0, 242 - c.option % 2);  // starts elsewhere
            ASSERT_TRUE(Combo().SelectItem(c.option) || Combo().GetCurSel() == c.option);
            Run();
            EXPECT_EQ(Edit().IsVisible(), c.option == PlayOption::kRepeat);
            if (c.option == PlayOption::kRepeat) {
                // Typed into the focused edit over the count it held.
                EXPECT_EQ(popup->GetManager().GetFocus(), &Edit());
                Edit().SetText(u"");
                system.InjectText(popupWindow, c.typed);
                Run();
                EXPECT_EQ(Edit().GetText(), c.typed);
            }
            Confirm(byEnter);
            ExpectAnswered(CMacroPlayOptionWnd::kAnswerOk);
            const MacroPlayChoice& choice = CMacroPlayOptionWnd::LastChoice();
            EXPECT_TRUE(choice.chosen);
            EXPECT_EQ(choice.option, c.option);
            EXPECT_EQ(choice.PlayMode(), c.stored);
        }
    }
}

TEST_F(PlayOptionPopupTest, CountOutsideOneToNinetyNineOpensTheRangeNoticeAndAnswersNothing)
{
    bool byDesktop = false;
    for (std::u16string_view bad : {u"-5", u"0", u"00", u"100", u"abc", u"", u" 5", u"5 ", u"1e2", u"+5", u"-0"}) {
        SCOPED_TRACE(Narrow(bad));
        byDesktop = !byDesktop;
        Open(0, 5);
        Edit().SetText(bad);
        Click(u"macroplay_ok_btn");
        EXPECT_TRUE(answers.empty());
        ASSERT_TRUE(system.IsWindow(popupWindow));
        const WindowId box = RangeBox();
        ASSERT_NE(box, WindowId::None);
        // The popup keeps the main window blocked; the notice adds nothing.
        EXPECT_EQ(PopupState::Count(), 1);

        // While the notice is open: OK, Enter, Esc, Cancel, a new choice and
        // the combo's list do nothing.
        Click(u"macroplay_ok_btn");
        Key(VK_RETURN);
        Key(VK_ESCAPE);
        Click(u"macroplay_cancel_btn");
        const SkinUI::UIRect combo = Combo().GetItemRect();
        ClickAt((combo.left + combo.right) / 2, (combo.top + combo.bottom) / 2);
        EXPECT_FALSE(Combo().IsDroppedDown());
        Combo().SelectItem(PlayOption::kToggle);
        Run();
        EXPECT_TRUE(Edit().IsVisible());
        Combo().SelectItem(PlayOption::kRepeat);
        EXPECT_TRUE(answers.empty());
        ASSERT_TRUE(system.IsWindow(popupWindow));
        EXPECT_TRUE(system.IsWindow(box));
        EXPECT_EQ(Edit().GetText(), bad);

        // Dismissed by Enter or by the desktop's close, the count can be
        // corrected.
        if (byDesktop) {
            system.PostMessage(box, WM_CLOSE, 0, 0);
            Run();
        } else {
            system.SetFocus(box);
            KeyTo(box, VK_RETURN);
        }
        EXPECT_FALSE(system.IsWindow(box));
        EXPECT_TRUE(answers.empty());
        Edit().SetText(u"8");
        Click(u"macroplay_ok_btn");
        ExpectAnswered(CMacroPlayOptionWnd::kAnswerOk);
        EXPECT_EQ(CMacroPlayOptionWnd::LastChoice().PlayMode(), 8);
    }

    // The main window going away with the notice open takes both along,
    // unanswered.
    Open(0, 5);
    Edit().SetText(u"0");
    Click(u"macroplay_ok_btn");
    const WindowId box = RangeBox();
    ASSERT_NE(box, WindowId::None);
    system.DestroyWindow(main.GetHWND());
    Run();
    EXPECT_FALSE(system.IsWindow(box));
    EXPECT_FALSE(system.IsWindow(popupWindow));
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(PopupState::Count(), 0);
}

TEST_F(PlayOptionPopupTest, CancelCloseAndEscAnswerCancelWithNoChoice)
{
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        Open(0, 241);
        Combo().SelectItem(PlayOption::kToggle);
        Run();
        switch (way) {
        case 0: Click(u"macroplay_cancel_btn"); break;
        case 1: Click(u"macroplay_close_btn"); break;
        default: Key(VK_ESCAPE); break;
        }
        ExpectAnswered(CMacroPlayOptionWnd::kAnswerCancel);
        EXPECT_FALSE(CMacroPlayOptionWnd::LastChoice().chosen);
    }
}

TEST_F(PlayOptionPopupTest, ItemsAndRepeatLabelFollowTheLanguage)
{
    const std::u16string_view german[] = {u" Einmal abspielen ", u" n-mal abspielen ",
                                           u" Abspielen, während Taste gedrückt wird ",
                                           u" Ununterbrochenes Abspielen einschalten/ausschalten "};
    Open(3, 30);
    ASSERT_EQ(Combo().GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Combo().GetItemAt(i)->GetText(), german[i]) << i;
    EXPECT_EQ(Combo().GetSelectedText(), u" n-mal abspielen ");
    EXPECT_EQ(Control(u"macro_repeattimes_label").GetText(), u" n definieren ");
    EXPECT_EQ(Edit().GetText(), u"30");
    Key(VK_ESCAPE);
    ExpectAnswered(CMacroPlayOptionWnd::kAnswerCancel);

    // Traditional Chinese; a language outside the four shows English.
    Open(1, 1);
    EXPECT_EQ(Combo().GetSelectedText(), u" 播放一次 ");
    Key(VK_ESCAPE);
    ExpectAnswered(CMacroPlayOptionWnd::kAnswerCancel);
    Open(7, 242);
    EXPECT_EQ(Combo().GetSelectedText(), u" Toggle continuous play on/off ");
    Key(VK_ESCAPE);
    ExpectAnswered(CMacroPlayOptionWnd::kAnswerCancel);
}

}  // namespace
}  // namespace NeritApp
