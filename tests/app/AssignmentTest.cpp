// The main control page's button assignment driven as the user drives it,
// headless over a simulated mouse: the menu chosen with the mouse and with
// the keyboard, the left-click guard and its warning, button 4, macros in
// the menu, and assignments reaching the mouse after a save.
#include "app/ButtonAssignment.h"
#include "app/MouseConnection.h"
#include "app/NeritMainWnd.h"
#include "app/PopupState.h"
#include "app/ProgramSettings.h"
#include "app/ProgramTexts.h"
#include "device/Protocol.h"
#include "platform/FakeClock.h"
#include "platform/HeadlessWindowSystem.h"
#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "settings/WorkingMacros.h"
#include "tests/TempFolder.h"
#include "ui/MenuUI.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace NeritApp;
using platform::WindowId;
using SkinUI::CMenuUI;
namespace prof = settings::layout::profile;

// Where the entries sit in the menu: the three sub-menus, then the three
// plain entries, each followed by a separator.
constexpr int kMouseMenu = 0, kGameMenu = 1, kMacroMenu = 2;
constexpr int kSingleKeyEntry = 3, kDisableEntry = 4, kDefaultEntry = 5;

// A menu path: a top-level entry and, for a sub-menu, the entry in it.
struct Choice {
    int top;
    int sub = -1;
};

// The key popup's buttons, as its layout places them.
constexpr platform::Rect kKeyPopupOk{381, 240, 491, 274};
constexpr platform::Rect kKeyPopupCancel{501, 240, 611, 274};

class AssignmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        PopupState::Reset();
        SkinUI::CWindowWnd::SetWindowSystem(&system);
        system.SetWorkArea({0, 0, 1600, 1200});
        mouse.Simulated()->SetState(sim::FirmwareState::Fresh());
    }

    void TearDown() override
    {
        if (window.GetHWND() != WindowId::None)
            system.DestroyWindow(window.GetHWND());
        system.RunPending();
        SkinUI::CWindowWnd::SetWindowSystem(nullptr);
        PopupState::Reset();
    }

    void Start()
    {
        std::ofstream(folder.File("config.ini")) << "[Configuration Option]\nnumber=00\nlang=00\n";
        ASSERT_EQ(settings.Open(), ProgramSettings::OpenResult::Ready);
        window.SetLanguage(settings.Language());
        window.Attach(settings, mouse);
        ASSERT_TRUE(window.Open());
        Run();
        ASSERT_EQ(window.State().shownProfile, 0);
    }

    void Run() { SkinUI::CWindowUIManager::MessageLoop(system); }

    SkinUI::CControlUI* Find(std::u16string_view name) { return window.Manager().FindControl(name); }
    static std::u16string ButtonName(int number)
    {
        return u"button_" + std::u16string(1, char16_t(u'0' + number)) + u"_btn";
    }
    std::u16string ButtonText(int number) { return Find(ButtonName(number))->GetText(); }
    std::u16string Hint(int number)
    {
        return Find(u"atleastoneleftLabel" + std::u16string(1, char16_t(u'0' + number)))->GetText();
    }
    int32_t Code(int number) { return settings::Store().Profile(0).Get(prof::kButtonFunction, size_t(number - 1)); }
    int32_t Param(int number) { return settings::Store().Profile(0).Get(prof::kButtonParam, size_t(number - 1)); }

    void ClickCenter(std::u16string_view name)
    {
        const SkinUI::UIRect rect = Find(name)->GetItemRect();
        ClickAt(window.GetHWND(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    void ClickAt(WindowId target, int x, int y)
    {
        system.InjectMouse(target, platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(target, platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(target, platform::WM_LBUTTONUP, x, y);
        Run();
    }

    // Clicks assignment button `number`; the menu it opened, if any.
    CMenuUI* OpenMenu(int number)
    {
        const SkinUI::UIRect rect = Find(ButtonName(number))->GetItemRect();
        EXPECT_GT(rect.right, rect.left);
        ClickAt(window.GetHWND(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return CMenuUI::OpenChain().empty() ? nullptr : CMenuUI::OpenChain().front();
    }

    // The menu row of the n-th entry that is not a separator.
    static int Row(CMenuUI* menu, int n)
    {
        for (int i = 0; i < menu->GetEntryCount(); ++i) {
            if (!menu->GetEntry(i)->IsSeparator() && n-- == 0)
                return i;
        }
        return -1;
    }
    static int RowY(CMenuUI* menu, int row)
    {
        int top = 0;
        for (int i = 0; i < row; ++i)
            top += menu->GetEntry(i)->IsSeparator() ? 2 : menu->GetItemHeight();
        return top + menu->GetItemHeight() / 2;
    }

    // The choice made with the pointer: hover the sub-menu's entry, click.
    void ChooseByMouse(int number, Choice choice)
    {
        CMenuUI* menu = OpenMenu(number);
        ASSERT_NE(menu, nullptr);
        const int row = Row(menu, choice.top);
        ASSERT_GE(row, 0);
        if (choice.sub < 0) {
            ClickAt(menu->GetHWND(), 90, RowY(menu, row));
            return;
        }
        system.InjectMouse(menu->GetHWND(), platform::WM_MOUSEMOVE, 90, RowY(menu, row));
        Run();
        CMenuUI* sub = menu->GetEntry(row)->GetSubMenu();
        ASSERT_NE(sub, nullptr);
        ASSERT_TRUE(system.IsWindowVisible(sub->GetHWND()));
        ClickAt(sub->GetHWND(), 90, RowY(sub, Row(sub, choice.sub)));
    }

    void Key(int key)
    {
        ASSERT_FALSE(CMenuUI::OpenChain().empty());
        const WindowId target = CMenuUI::OpenChain().back()->GetHWND();
        system.InjectKey(target, key, true);
        system.InjectKey(target, key, false);
        Run();
    }

    // The same choice with the arrow keys and Enter.
    void ChooseByKeyboard(int number, Choice choice)
    {
        ASSERT_NE(OpenMenu(number), nullptr);
        for (int i = 0; i <= choice.top; ++i)
            Key(platform::VK_DOWN);
        if (choice.sub >= 0) {
            Key(platform::VK_RIGHT);  // opens the sub-menu on its first entry
            for (int i = 0; i < choice.sub; ++i)
                Key(platform::VK_DOWN);
        }
        Key(platform::VK_RETURN);
    }

    void SetCode(int number, int32_t code)
    {
        settings::Store().Profile(0).Set(prof::kButtonFunction, size_t(number - 1), code);
    }

    void AddMacros(int count)
    {
        settings::Store().SetWorkingMacroCount(count);
        for (int i = 0; i < count; ++i)
            settings::Store().WorkingMacro(size_t(i)).SetName("Macro " + std::to_string(i + 1));
    }

    // Saves profile 1 through its question.
    void SaveProfile()
    {
        const SkinUI::UIRect rect = Find(u"profile1savebtn")->GetItemRect();
        ClickAt(window.GetHWND(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        AnswerWithEnter();
    }

    // Presses the keys (held together, released afterwards) in the key popup
    // and answers it with its OK or Cancel button, at their places in its
    // layout.
    void AnswerKeyPopup(std::vector<int> keys, platform::Rect button)
    {
        ASSERT_TRUE(PopupState::IsOpen());
        const WindowId popup = PopupState::Top();
        system.SetFocus(popup);
        for (int key : keys) {
            system.InjectKey(popup, key, true);
            Run();
        }
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
            system.InjectKey(popup, *key, false);
            Run();
        }
        ClickAt(popup, (button.left + button.right) / 2, (button.top + button.bottom) / 2);
        ASSERT_FALSE(PopupState::IsOpen());
    }

    // Takes the question opened last as it opened, with Enter.
    void AnswerWithEnter()
    {
        ASSERT_TRUE(PopupState::IsOpen());
        const WindowId popup = PopupState::Top();
        system.SetFocus(popup);
        system.InjectKey(popup, platform::VK_RETURN, true);
        system.InjectKey(popup, platform::VK_RETURN, false);
        Run();
        ASSERT_FALSE(PopupState::IsOpen());
    }

    sim::KeyEntry MouseKey(int number)
    {
        return mouse.Simulated()->State().profiles[0].keys[device::kButtonSlot[size_t(number - 1)]];
    }

    testsupport::TempFolder folder;
    platform::HeadlessWindowSystem system;
    platform::FakeClock clock;
    MouseConnection mouse{std::string(), clock};
    CNeritMainWnd window{NERIT_SKIN_DIR, 0};
    ProgramSettings settings{mouse, folder.Path().string(), true, window, clock};
};

std::u16string English(int32_t code)
{
    return std::u16string(kFunctionNames[size_t(code)][0]);
}

TEST_F(AssignmentTest, TheMenuAndTheKeyboardAssignTheSame)
{
    Start();
    CMenuUI* menu = OpenMenu(5);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(window.State().menuOpen);
    EXPECT_EQ(window.State().selectedButton, 4);
    EXPECT_EQ(menu->GetWidth(), 180);
    // Entries and separators alternate; the sub-menus hold their ids in order.
    const std::vector<int> topIds = {2000, 2001, 2002, 2030, 2031, 2032};
    ASSERT_EQ(menu->GetEntryCount(), 12);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(menu->GetEntry(2 * i)->GetCommand(), topIds[size_t(i)]);
        EXPECT_TRUE(menu->GetEntry(2 * i + 1)->IsSeparator());
    }
    EXPECT_EQ(menu->GetEntry(0)->GetLabel()->GetText(), u" Mouse Function      >> ");
    EXPECT_EQ(menu->GetEntry(10)->GetLabel()->GetText(), u"Default");
    CMenuUI* game = menu->GetEntry(2)->GetSubMenu();
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->GetEntryCount(), 7);
    EXPECT_EQ(game->GetEntry(6)->GetCommand(), 2026);
    EXPECT_EQ(game->GetEntry(6)->GetLabel()->GetText(), u"Sniper Switch");
    Key(platform::VK_ESCAPE);
    EXPECT_FALSE(window.State().menuOpen);

    struct Case {
        Choice choice;
        int32_t code;
    };
    std::vector<Case> cases;
    for (int i = 0; i < 7; ++i) {
        cases.push_back({{kMouseMenu, i}, 1 + i});
        cases.push_back({{kGameMenu, i}, 8 + i});
    }
    cases.push_back({{kDisableEntry}, settings::function::Disable});
    cases.push_back({{kDefaultEntry}, settings::function::DpiLevelSwitch});  // button 5's own function
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.choice.top) + "/" + std::to_string(c.choice.sub);
        SetCode(5, settings::function::ScrollDown);
        ChooseByMouse(5, c.choice);
        EXPECT_EQ(Code(5), c.code) << what;
        EXPECT_EQ(ButtonText(5), English(c.code)) << what;
        EXPECT_FALSE(window.State().menuOpen) << what;
        SetCode(5, settings::function::ScrollDown);
        Find(ButtonName(5))->SetText(u"");
        ChooseByKeyboard(5, c.choice);
        EXPECT_EQ(Code(5), c.code) << what;
        EXPECT_EQ(ButtonText(5), English(c.code)) << what;
    }
    // Other profiles and buttons are left alone.
    EXPECT_EQ(Code(6), settings::function::BrowserForward);
    EXPECT_EQ(settings::Store().Profile(1).Get(prof::kButtonFunction, 4), settings::function::DpiLevelSwitch);
}

TEST_F(AssignmentTest, TheLastLeftClickCannotBeTakenAway)
{
    Start();
    // Button 1 holds the only left click: it stays, and its hint warns.
    ChooseByMouse(1, {kMouseMenu, 1});
    EXPECT_EQ(Code(1), settings::function::LeftClick);
    EXPECT_EQ(Hint(1), kLeftClickWarning[0]);
    EXPECT_TRUE(window.State().keyHighlightActive);
    // Virtual time: the warning stays until 4 s have passed.
    system.AdvanceTime(3990);
    Run();
    EXPECT_EQ(Hint(1), kLeftClickWarning[0]);
    system.AdvanceTime(20);
    Run();
    EXPECT_EQ(Hint(1), u"");
    EXPECT_FALSE(window.State().keyHighlightActive);

    // Choosing Left Click again for it is allowed, and so is Default.
    ChooseByKeyboard(1, {kMouseMenu, 0});
    ChooseByMouse(1, {kDefaultEntry});
    EXPECT_FALSE(window.State().keyHighlightActive);
    EXPECT_EQ(Code(1), settings::function::LeftClick);

    // A stored left click on button 4 does not count: the mouse never gets it.
    SetCode(4, settings::function::LeftClick);
    ChooseByMouse(1, {kDisableEntry});
    EXPECT_EQ(Code(1), settings::function::LeftClick);
    EXPECT_EQ(Hint(1), kLeftClickWarning[0]);
    // The next click on an assignment button ends the warning at once.
    ChooseByMouse(2, {kMouseMenu, 0});
    EXPECT_EQ(Hint(1), u"");
    EXPECT_FALSE(window.State().keyHighlightActive);

    // Buttons 1 and 2 both left click: button 1 may change, then button 2 may not.
    EXPECT_EQ(Code(2), settings::function::LeftClick);
    ChooseByMouse(1, {kMouseMenu, 1});
    EXPECT_EQ(Code(1), settings::function::RightClick);
    EXPECT_EQ(Hint(1), u"");
    ChooseByKeyboard(2, {kMacroMenu, 0});  // a macro is refused as well
    ChooseByMouse(2, {kGameMenu, 3});
    EXPECT_EQ(Code(2), settings::function::LeftClick);
    EXPECT_EQ(ButtonText(2), English(settings::function::LeftClick));
    EXPECT_EQ(Hint(2), kLeftClickWarning[0]);
    system.AdvanceTime(4000);
    Run();
    EXPECT_EQ(Hint(2), u"");
}

TEST_F(AssignmentTest, ButtonFourOpensNoMenu)
{
    Start();
    ChooseByMouse(2, {kDisableEntry});
    EXPECT_EQ(window.State().selectedButton, 1);
    EXPECT_EQ(OpenMenu(4), nullptr);
    EXPECT_FALSE(window.State().menuOpen);
    EXPECT_EQ(window.State().selectedButton, 1);
    EXPECT_EQ(Code(4), settings::function::ProfileSelect);
    EXPECT_EQ(ButtonText(4), English(settings::function::ProfileSelect));
    // Even a stored other function shows Profile Select after a refresh.
    SetCode(4, settings::function::DpiUp);
    window.RefreshPages(0);
    EXPECT_EQ(ButtonText(4), English(settings::function::ProfileSelect));
}

TEST_F(AssignmentTest, TheMenuOffersAtMostTenMacros)
{
    Start();
    // No macros: one empty entry that changes nothing.
    CMenuUI* menu = OpenMenu(6);
    ASSERT_NE(menu, nullptr);
    CMenuUI* macros = menu->GetEntry(4)->GetSubMenu();
    ASSERT_NE(macros, nullptr);
    ASSERT_EQ(macros->GetEntryCount(), 1);
    EXPECT_EQ(macros->GetEntry(0)->GetCommand(), 2041);
    EXPECT_EQ(macros->GetEntry(0)->GetLabel()->GetText(), u"");
    Key(platform::VK_ESCAPE);
    ChooseByMouse(6, {kMacroMenu, 0});
    EXPECT_EQ(Code(6), settings::function::BrowserForward);

    AddMacros(12);
    menu = OpenMenu(6);
    ASSERT_NE(menu, nullptr);
    macros = menu->GetEntry(4)->GetSubMenu();
    ASSERT_EQ(macros->GetEntryCount(), 10);
    EXPECT_EQ(macros->GetEntry(9)->GetCommand(), 2050);
    EXPECT_EQ(macros->GetEntry(9)->GetLabel()->GetText(), u"Macro 10");
    Key(platform::VK_ESCAPE);
    ChooseByKeyboard(6, {kMacroMenu, 2});
    EXPECT_EQ(Code(6), settings::function::Macro);
    EXPECT_EQ(Param(6), 3);
    EXPECT_EQ(ButtonText(6), u"Macro 3");
    // The play-option question opens on "Play once"; Enter takes it.
    AnswerWithEnter();
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kMacroPlayMode, 5), 1);
    // A macro the menu does not offer cannot be chosen.
    system.PostMessage(window.GetHWND(), platform::WM_COMMAND, 2051, 0);
    Run();
    EXPECT_EQ(Param(6), 3);
    // The refresh shows the macro's name from the profile's macros.
    settings::StoreWorkingMacros(settings::Store(), 0);
    Find(ButtonName(6))->SetText(u"");
    window.RefreshPages(0);
    EXPECT_EQ(ButtonText(6), u"Macro 3");
}

TEST_F(AssignmentTest, AssignmentsReachTheMouseOnSave)
{
    Start();
    ChooseByMouse(2, {kGameMenu, 5});    // Triple Click
    ChooseByKeyboard(7, {kMouseMenu, 6}); // Scroll Down, then a macro played 12 times
    AddMacros(1);
    ASSERT_TRUE(settings::Store().WorkingMacro(0).AddEvent("k", " A ", "down"));
    // The question opens on what the button had: 12 times.
    settings::Store().Profile(0).Set(prof::kMacroPlayMode, 6, int32_t{12});
    ChooseByMouse(7, {kMacroMenu, 0});
    AnswerWithEnter();
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kMacroPlayMode, 6), 12);
    window.Manager().SendNotify(Find(ButtonName(7)), u"macro_playoption_cancel", 2u);
    Run();
    EXPECT_EQ(settings::Store().Profile(0).Get(prof::kMacroPlayMode, 6), 12);
    ChooseByMouse(6, {kDisableEntry});
    // Single Key: the code comes with the key popup's answer only.
    ChooseByMouse(3, {kSingleKeyEntry});
    EXPECT_EQ(Code(3), settings::function::ScrollWheelClick);
    AnswerKeyPopup({platform::VK_CONTROL, platform::VK_SHIFT, platform::VK_F1 + 4}, kKeyPopupOk);
    EXPECT_EQ(Code(3), settings::function::SingleKey);
    EXPECT_EQ(Param(3), 116 + 256 * 3);  // F5 with left Ctrl and left Shift
    EXPECT_EQ(ButtonText(3), u"  F5  Key ");
    EXPECT_EQ(window.State().popupFlags, 0u);
    // OK without a key, or a cancel, changes nothing; the popup starts on F5.
    ChooseByMouse(3, {kSingleKeyEntry});
    AnswerKeyPopup({platform::VK_F13}, kKeyPopupOk);
    ChooseByMouse(3, {kSingleKeyEntry});
    AnswerKeyPopup({'A'}, kKeyPopupCancel);
    EXPECT_EQ(Param(3), 116 + 256 * 3);

    SaveProfile();
    EXPECT_EQ(MouseKey(1), (sim::KeyEntry{0x02, 0xF0, 0, 0}));
    EXPECT_EQ(MouseKey(2), (sim::KeyEntry{0x02, 0xFA, 0, 0}));
    EXPECT_EQ(MouseKey(6)[0], 0x00);
    EXPECT_EQ(MouseKey(4), (sim::KeyEntry{0x70, 0x03, 0, 0}));
    EXPECT_EQ(MouseKey(5), (sim::KeyEntry{0x71, 0xF0, 0, 0}));
    // The key entry names the button's key-combination slot: Ctrl, Shift, F5.
    const uint8_t slot = device::kButtonSlot[2];
    EXPECT_EQ(MouseKey(3), (sim::KeyEntry{0x03, slot, 0, 0}));
    EXPECT_EQ(mouse.Simulated()->State().profiles[0].combos[slot], (sim::ComboSlot{0xE0, 0xE1, 0x3E, 0, 0, 0, 0}));
    // The macro entry and its slot's play-mode header: 12 times.
    const sim::MacroSlot& macro = mouse.Simulated()->State().profiles[0].macros[device::kButtonSlot[6]];
    EXPECT_EQ(MouseKey(7)[0], 0x53);
    EXPECT_EQ(macro[0], 0x00);
    EXPECT_EQ(macro[1], 12);

    // Another profile's buttons show their own functions, never the texts
    // shown before: a macro with no macros and a code outside the table
    // leave the box empty. Back on profile 1 the key reads as assigned.
    settings::ProfileSettings second = settings::Store().Profile(1);
    second.Set(prof::kButtonFunction, 6, int32_t{settings::function::Macro});
    second.Set(prof::kButtonFunction, 2, int32_t{99});
    ClickCenter(u"profile2option");
    EXPECT_EQ(ButtonText(7), u"");
    EXPECT_EQ(ButtonText(3), u"");
    ClickCenter(u"profile1option");
    EXPECT_EQ(ButtonText(3), u"  F5  Key ");
}

TEST_F(AssignmentTest, AButtonsPictureLightsUnderThePointer)
{
    Start();
    const auto picture = [&](std::u16string_view name) { return Find(name)->GetBkImage(); };
    const auto moveTo = [&](std::u16string_view name) {
        const SkinUI::UIRect rect = Find(name)->GetItemRect();
        system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, (rect.left + rect.right) / 2,
                           (rect.top + rect.bottom) / 2);
        Run();
    };
    moveTo(u"button_2_btn");
    EXPECT_EQ(picture(u"rightclickimage_label"), u"file='MCBox2.bmp' source='452,247,498,342' ");
    EXPECT_EQ(picture(u"leftclickimage_label"), u"file='MCBox.bmp' source='387,247,433,342' ");
    moveTo(u"button7_label");
    EXPECT_EQ(picture(u"rightclickimage_label"), u"file='MCBox.bmp' source='452,247,498,342' ");
    EXPECT_EQ(picture(u"iebackwardimage_label"), u"file='MCBox2.bmp' source='590,365,607,398' ");
    // While the menu is open the pictures stay as they are.
    ASSERT_NE(OpenMenu(1), nullptr);
    moveTo(u"button_6_btn");
    EXPECT_EQ(picture(u"ieforwardimage_label"), u"file='MCBox.bmp' source='590,333,607,365' ");
}

}  // namespace
