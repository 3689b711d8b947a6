// The macro play-option popup, headless: a main window holding the owner
// button opens it; the answers come back through the process's message loop.
#include "app/MacroPlayOptionWnd.h"
#include "app/PopupState.h"
#include "app/ProgramTexts.h"
#include "platform/HeadlessWindowSystem.h"
#include "ui/ComboUI.h"
#include "ui/ControlUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace NeritApp {
namespace {

using namespace platform;
using SkinUI::CComboUI;
using SkinUI::CControlUI;
using SkinUI::CWindowWnd;

constexpr std::u16string_view kOwnerLayout =
    u"<Window size=\"1000,680\"><Container>"
    u"<Button name=\"ownerbtn\" float=\"true\" pos=\"10,10,110,40\" />"
    u"</Container></Window>";

class OwnerWnd final : public CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"PlayOptionTestMain"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = 0;
        return manager.MessageHandler(message, wParam, lParam, result) ? result : 0;
    }
    SkinUI::CWindowUIManager manager;
};

std::string Narrow(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

class PlayOptionPopupTest : public ::testing::Test, public SkinUI::INotifyUI {
protected:
    HeadlessWindowSystem system;
    OwnerWnd main;
    CControlUI* owner = nullptr;
    std::vector<std::u16string> answers;
    CMacroPlayOptionWnd* popup = nullptr;
    WindowId popupWindow = WindowId::None;
    std::filesystem::path folder;

    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "playoption-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        PopupState::Reset();
        CWindowWnd::SetWindowSystem(&system);
        system.SetWorkArea({0, 0, 1920, 1080});
        ASSERT_NE(main.Create(WindowId::None, "main", SkinUI::WindowStyle::kNormal, 0, 100, 100, 1000, 680),
                  WindowId::None);
        main.manager.Init(&system, main.GetHWND());
        main.manager.SetResourcePath(folder.string());
        SkinUI::CLayoutBuilder builder;
        ASSERT_TRUE(main.manager.AttachDialog(builder.Create(kOwnerLayout, nullptr, &main.manager)));
        main.manager.AddNotifier(this);
        main.ShowWindow();
        Run();
        owner = main.manager.FindControl(u"ownerbtn");
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override
    {
        if (main.GetHWND() != WindowId::None)
            system.DestroyWindow(main.GetHWND());
        CWindowWnd::SetWindowSystem(nullptr);
        PopupState::Reset();
        std::filesystem::remove_all(folder);
    }
    void Notify(SkinUI::NotifyMessage& message) override
    {
        if (message.type != u"windowinit" && message.type != u"click")
            answers.emplace_back(message.type);
    }
    void Run() { SkinUI::CWindowUIManager::MessageLoop(system); }

    void Open(int language, int playMode)
    {
        popup = new CMacroPlayOptionWnd(language, playMode);
        ASSERT_TRUE(popup->Show(owner));
        popupWindow = popup->GetHWND();
        Run();
    }
    CControlUI& Control(std::u16string_view name)
    {
        CControlUI* control = popup->GetManager().FindControl(name);
        EXPECT_NE(control, nullptr) << Narrow(name);
        return *control;
    }
    CComboUI& Combo() { return dynamic_cast<CComboUI&>(Control(u"macro_playback_combo")); }
    CControlUI& Edit() { return Control(u"macro_repeattimes_edit"); }
    void Key(WindowId window, int vk)
    {
        system.InjectKey(window, vk, true);
        system.InjectKey(window, vk, false);
        Run();
    }
    void ClickAt(WindowId window, int x, int y)
    {
        system.InjectMouse(window, WM_MOUSEMOVE, x, y);
        system.InjectMouse(window, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        system.InjectMouse(window, WM_LBUTTONUP, x, y);
        Run();
    }
    void Click(std::u16string_view button)
    {
        const SkinUI::UIRect rect = Control(button).GetItemRect();
        ClickAt(popupWindow, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    // OK by the button or by Enter.
    void Confirm(bool byEnter)
    {
        if (byEnter)
            Key(popupWindow, VK_RETURN);
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
        Key(popupWindow, VK_RETURN);
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
    for (std::u16string_view bad : {u"-5", u"0", u"00", u"100", u"abc", u"", u" 5", u"5 ", u"1e2", u"+5", u"-0"}) {
        SCOPED_TRACE(Narrow(bad));
        Open(0, 5);
        Edit().SetText(bad);
        Click(u"macroplay_ok_btn");
        EXPECT_TRUE(answers.empty());
        ASSERT_TRUE(system.IsWindow(popupWindow));
        const WindowId box = RangeBox();
        ASSERT_NE(box, WindowId::None);
        // The popup keeps the main window blocked; the notice adds nothing.
        EXPECT_EQ(PopupState::Count(), 1);

        // While the notice is open: OK, Enter, Cancel, a new choice and the
        // combo's list do nothing, and no second notice opens.
        Click(u"macroplay_ok_btn");
        Key(popupWindow, VK_RETURN);
        Click(u"macroplay_cancel_btn");
        const SkinUI::UIRect combo = Combo().GetItemRect();
        ClickAt(popupWindow, (combo.left + combo.right) / 2, (combo.top + combo.bottom) / 2);
        EXPECT_FALSE(Combo().IsDroppedDown());
        Combo().SelectItem(PlayOption::kToggle);
        Run();
        EXPECT_TRUE(Edit().IsVisible());
        Combo().SelectItem(PlayOption::kRepeat);
        EXPECT_TRUE(answers.empty());
        ASSERT_TRUE(system.IsWindow(popupWindow));
        EXPECT_TRUE(system.IsWindow(box));
        EXPECT_EQ(Edit().GetText(), bad);

        // Dismissed, the count can be corrected.
        system.SetFocus(box);
        Key(box, VK_RETURN);
        EXPECT_FALSE(system.IsWindow(box));
        EXPECT_TRUE(answers.empty());
        Edit().SetText(u"8");
        Click(u"macroplay_ok_btn");
        ExpectAnswered(CMacroPlayOptionWnd::kAnswerOk);
        EXPECT_EQ(CMacroPlayOptionWnd::LastChoice().PlayMode(), 8);
    }
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
        default: Key(popupWindow, VK_ESCAPE); break;
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
    Key(popupWindow, VK_ESCAPE);
    ExpectAnswered(CMacroPlayOptionWnd::kAnswerCancel);

    // Traditional Chinese; a language outside the four shows English.
    Open(1, 1);
    EXPECT_EQ(Combo().GetSelectedText(), u" 播放一次 ");
    Key(popupWindow, VK_ESCAPE);
    ExpectAnswered(CMacroPlayOptionWnd::kAnswerCancel);
    Open(7, 242);
    EXPECT_EQ(Combo().GetSelectedText(), u" Toggle continuous play on/off ");
    Key(popupWindow, VK_ESCAPE);
    ExpectAnswered(CMacroPlayOptionWnd::kAnswerCancel);
}

}  // namespace
}  // namespace NeritApp
