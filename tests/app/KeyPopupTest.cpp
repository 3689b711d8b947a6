// The single-key popup, headless: a main window holding the owner button
// opens it, keys arrive as the window system delivers them (sides and
// repeats included), and the answer comes back through the message loop.
#include "PopupOwnerFixture.h"
#include "app/KeysMessageWnd.h"
#include "app/PopupResult.h"
#include "app/PopupState.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/SdlWindowSystem.h"
#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"
#include "ui/ControlUI.h"
#include "ui/EditUI.h"
#include "ui/LabelUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace NeritApp {
namespace {

using namespace platform;
using SkinUI::CControlUI;
using SkinUI::CWindowWnd;

constexpr std::u16string_view kMainLayout =
    u"<Window size=\"1000,680\"><Container>"
    u"<Button name=\"ownerbtn\" float=\"true\" pos=\"10,10,110,40\" />"
    u"</Container></Window>";

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;
constexpr int VK_F5 = VK_F1 + 4;

using MainWnd = PopupOwnerWnd;

class KeyPopupTest : public ::testing::Test, public SkinUI::INotifyUI {
protected:
    HeadlessWindowSystem system;
    MainWnd main;
    CControlUI* owner = nullptr;
    std::vector<std::u16string> answers;
    CKeysMessageWnd* popup = nullptr;
    WindowId popupWindow = WindowId::None;
    std::filesystem::path folder;

    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "key-popup-test-XXXXXX").string();
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
        ASSERT_TRUE(main.manager.AttachDialog(builder.Create(kMainLayout, nullptr, &main.manager)));
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
            answers.push_back(message.type);
    }
    void Run() { SkinUI::CWindowUIManager::MessageLoop(system); }

    void Open(int language = 0, int32_t preselected = 0)
    {
        popup = new CKeysMessageWnd(language, preselected);
        ASSERT_TRUE(popup->Show(owner));
        popupWindow = popup->GetHWND();
        Run();
    }
    void Down(int vk, bool right = false)
    {
        system.InjectKey(popupWindow, vk, true, right);
        Run();
    }
    void Up(int vk, bool right = false)
    {
        system.InjectKey(popupWindow, vk, false, right);
        Run();
    }
    void Press(int vk, bool right = false)
    {
        Down(vk, right);
        Up(vk, right);
    }
    void Click(std::u16string_view button)
    {
        CControlUI* control = popup->GetManager().FindControl(button);
        ASSERT_NE(control, nullptr);
        const SkinUI::UIRect rect = control->GetItemRect();
        const int x = (rect.left + rect.right) / 2;
        const int y = (rect.top + rect.bottom) / 2;
        system.InjectMouse(popupWindow, WM_MOUSEMOVE, x, y);
        system.InjectMouse(popupWindow, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        system.InjectMouse(popupWindow, WM_LBUTTONUP, x, y);
        Run();
    }
    CControlUI& Control(std::u16string_view name)
    {
        CControlUI* control = popup->GetManager().FindControl(name);
        EXPECT_NE(control, nullptr) << std::string(name.begin(), name.end());
        static CControlUI none;
        return control != nullptr ? *control : none;
    }
    std::u16string EditText() { return Control(u"keyspopup_name_edit").GetText(); }
    // Shift, Ctrl, Alt label colours.
    std::vector<uint32_t> ModifierColors()
    {
        std::vector<uint32_t> colors;
        for (std::u16string_view name : {u"singlekeyshiftlabel", u"singlekeyctrllabel", u"singlekeyaltlabel"}) {
            auto* label = dynamic_cast<SkinUI::CLabelUI*>(&Control(name));
            colors.push_back(label != nullptr ? label->GetTextColor() : 0);
        }
        return colors;
    }
    // Exactly one answer, and the popup gone.
    void ExpectAnswered(std::u16string_view type)
    {
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0], type);
        EXPECT_FALSE(system.IsWindow(popupWindow));
        EXPECT_EQ(PopupState::Count(), 0);
        answers.clear();
    }
};

uint16_t IndexOf(uint8_t virtualKey)
{
    const settings::KeyName* key = settings::FindKeyByVirtualKey(virtualKey);
    return key != nullptr ? static_cast<uint16_t>(key - settings::KeyNames().data()) : PopupResult::kNoKey;
}

void ExpectKey(const PopupResult& result, uint8_t virtualKey, uint16_t modifiers)
{
    const settings::KeyName* key = settings::FindKeyByVirtualKey(virtualKey);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(result.HasKey());
    EXPECT_EQ(result.virtualKey, virtualKey);
    EXPECT_EQ(result.keyIndex, IndexOf(virtualKey));
    EXPECT_EQ(result.usageLow, key->usage & 0xFF);
    EXPECT_EQ(result.usageHigh, key->usage >> 8);
    EXPECT_EQ(result.modifiers, modifiers);
    EXPECT_EQ(result.SingleKey(), settings::SingleKeyParam(virtualKey, static_cast<uint8_t>(modifiers)));
}

TEST_F(KeyPopupTest, CtrlShiftF5HeldTogetherIsCapturedWithTheSidesPressed)
{
    struct Case {
        bool rightShift, rightCtrl;
        uint16_t modifiers;
    };
    for (const Case& c : {Case{false, false, 0x03}, Case{true, true, 0x30}, Case{false, true, 0x12}}) {
        SCOPED_TRACE(c.modifiers);
        Open();
        EXPECT_EQ(PopupState::Count(), 1);
        Down(VK_SHIFT, c.rightShift);
        Down(VK_CONTROL, c.rightCtrl);
        Down(VK_F5);
        EXPECT_EQ(EditText(), u" F5 ");
        EXPECT_EQ(ModifierColors(), (std::vector<uint32_t>{kWhite, kWhite, kBlack}));
        Up(VK_F5);
        Up(VK_CONTROL, c.rightCtrl);
        Up(VK_SHIFT, c.rightShift);
        EXPECT_TRUE(answers.empty());
        Click(u"keyspopup_ok_btn");
        ExpectAnswered(CKeysMessageWnd::kAnswerOk);
        ExpectKey(PopupResult::Current(), VK_F5, c.modifiers);
    }
}

TEST_F(KeyPopupTest, KeysBelowTheModifierCodesKeepTheirUsageWhileCtrlIsHeld)
{
    // Enter, Tab and BackSpace come before Ctrl in the walk of held keys.
    for (int vk : {VK_RETURN, VK_TAB, VK_BACK}) {
        SCOPED_TRACE(vk);
        Open();
        Down(VK_CONTROL);
        Press(vk);
        Up(VK_CONTROL);
        Click(u"keyspopup_ok_btn");
        ExpectAnswered(CKeysMessageWnd::kAnswerOk);
        ExpectKey(PopupResult::Current(), static_cast<uint8_t>(vk), 0x01);
    }
}

TEST_F(KeyPopupTest, ModifiersToggleByPressAndIgnoreRepeats)
{
    Open();
    // Right Ctrl twice: on, then off again.
    Press(VK_CONTROL, true);
    EXPECT_EQ(ModifierColors(), (std::vector<uint32_t>{kBlack, kWhite, kBlack}));
    EXPECT_EQ(popup->GetModifiers(), 0x10);
    Press(VK_CONTROL, true);
    EXPECT_EQ(ModifierColors(), (std::vector<uint32_t>{kBlack, kBlack, kBlack}));
    EXPECT_EQ(popup->GetModifiers(), 0);
    // A held Shift repeats its key down: it stays on.
    Down(VK_SHIFT);
    Down(VK_SHIFT);
    Up(VK_SHIFT);
    EXPECT_EQ(popup->GetModifiers(), 0x02);
    // Right Alt, then A alone.
    Press(VK_MENU, true);
    Press('A');
    EXPECT_EQ(EditText(), u" A ");
    EXPECT_EQ(ModifierColors(), (std::vector<uint32_t>{kWhite, kBlack, kWhite}));
    Click(u"keyspopup_ok_btn");
    ExpectAnswered(CKeysMessageWnd::kAnswerOk);
    ExpectKey(PopupResult::Current(), 'A', 0x42);
}

TEST_F(KeyPopupTest, TypedTextNeverReachesTheNameEdit)
{
    Open();
    Press('A');
    ASSERT_EQ(EditText(), u" A ");
    // The edit has the focus; made writable (a skin may leave out its
    // read-only flag), text that got past the popup would land in it.
    auto* edit = dynamic_cast<SkinUI::CEditUI*>(&Control(u"keyspopup_name_edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(popup->GetManager().GetFocus(), edit);
    edit->SetReadOnly(false);
    system.InjectText(popupWindow, u"typed");
    Run();
    EXPECT_EQ(EditText(), u" A ");
    // Alt+Q: a system key and character; its release and Alt's are swallowed
    // too, so the edit keeps the name.
    Down(VK_MENU);
    Press('Q');
    Up(VK_MENU);
    EXPECT_EQ(EditText(), u" Q ");
    system.InjectText(popupWindow, u"xyz");
    Run();
    EXPECT_EQ(EditText(), u" Q ");
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(system.IsWindow(popupWindow));
}

TEST_F(KeyPopupTest, OkWithoutAKeyReportsNoKey)
{
    // Nothing pressed.
    Open();
    EXPECT_EQ(EditText(), u"");
    Click(u"keyspopup_ok_btn");
    ExpectAnswered(CKeysMessageWnd::kAnswerOk);
    EXPECT_FALSE(PopupResult::Current().HasKey());
    EXPECT_EQ(PopupResult::Current().keyIndex, PopupResult::kNoKey);

    // A key the table lacks empties what was captured before.
    Open();
    Press('B');
    ASSERT_EQ(EditText(), u" B ");
    Press(VK_F13);
    EXPECT_EQ(EditText(), u"");
    EXPECT_EQ(PopupResult::Current().keyIndex, PopupResult::kNoKey);
    Click(u"keyspopup_ok_btn");
    ExpectAnswered(CKeysMessageWnd::kAnswerOk);
    EXPECT_FALSE(PopupResult::Current().HasKey());
}

TEST_F(KeyPopupTest, EnterAndEscAreKeysOnlyCancelCancels)
{
    Open();
    Press(VK_ESCAPE);
    EXPECT_EQ(EditText(), u" Esc ");
    EXPECT_TRUE(system.IsWindow(popupWindow));
    Press(VK_RETURN);
    EXPECT_EQ(EditText(), u" Enter ");
    Press(VK_RETURN, true);  // the keypad Enter is a key of its own
    EXPECT_EQ(PopupResult::Current().virtualKey, VK_SEPARATOR);
    EXPECT_TRUE(answers.empty());
    Click(u"keyspopup_cancel_btn");
    ExpectAnswered(CKeysMessageWnd::kAnswerCancel);
}

TEST_F(KeyPopupTest, PreselectedKeyShowsAndIsTheAnswerUntilChanged)
{
    Open(3, settings::SingleKeyParam(VK_F5, 0x21));
    EXPECT_EQ(EditText(), u" F5 ");
    EXPECT_EQ(Control(u"keysmessagetitlelabel").GetText(), u"Einzelne Taste Einstellungen");
    EXPECT_EQ(Control(u"singlekeyctrllabel").GetText(), u" Ctrl");
    EXPECT_EQ(ModifierColors(), (std::vector<uint32_t>{kWhite, kWhite, kBlack}));
    Click(u"keyspopup_ok_btn");
    ExpectAnswered(CKeysMessageWnd::kAnswerOk);
    ExpectKey(PopupResult::Current(), VK_F5, 0x21);

    // A value whose key the table lacks preselects nothing.
    Open(0, settings::SingleKeyParam(VK_F13, 0x01));
    EXPECT_EQ(EditText(), u"");
    EXPECT_EQ(ModifierColors(), (std::vector<uint32_t>{kBlack, kBlack, kBlack}));
    EXPECT_EQ(Control(u"keysmessagetitlelabel").GetText(), u"Single    Key    Setting");
    Click(u"keyspopup_ok_btn");
    ExpectAnswered(CKeysMessageWnd::kAnswerOk);
    EXPECT_FALSE(PopupResult::Current().HasKey());
}

// The key message that brings each table key: its own code, except the
// keypad Enter, which comes as the right-hand Enter.
std::pair<int, bool> MessageFor(uint8_t virtualKey)
{
    return virtualKey == VK_SEPARATOR ? std::pair{VK_RETURN, true} : std::pair{static_cast<int>(virtualKey), false};
}

TEST_F(KeyPopupTest, EveryKeyOfTheTableIsCapturedFromItsKeyMessage)
{
    Open();
    for (const settings::KeyName& key : settings::KeyNames()) {
        SCOPED_TRACE(key.name);
        if (key.virtualKey == VK_SHIFT || key.virtualKey == VK_CONTROL || key.virtualKey == VK_MENU)
            continue;  // modifiers, not keys of their own
        const auto [vk, right] = MessageFor(key.virtualKey);
        PopupResult::Current() = {};
        Press(vk, right);
        ASSERT_TRUE(system.IsWindow(popupWindow));
        ExpectKey(PopupResult::Current(), key.virtualKey, 0);
        std::string name(key.name);
        EXPECT_EQ(EditText(), std::u16string(name.begin(), name.end()));
    }
}

// Keys of the main block are taken by their place: on a German layout ü (on
// the US "[" key) arrives, and the key that types "z" there is the US Y key.
TEST(SdlKeyMessages, MainBlockKeysFollowTheirPlaceNotTheLayout)
{
    EXPECT_EQ(SdlWindowSystem::KeyMessageOf(0xFC, SDL_SCANCODE_LEFTBRACKET).virtualKey, VK_OEM_4);
    EXPECT_EQ(SdlWindowSystem::KeyMessageOf(0xF6, SDL_SCANCODE_SEMICOLON).virtualKey, VK_OEM_1);
    EXPECT_EQ(SdlWindowSystem::KeyMessageOf('z', SDL_SCANCODE_Y).virtualKey, 'Y');
    EXPECT_EQ(SdlWindowSystem::KeyMessageOf('y', SDL_SCANCODE_Z).virtualKey, 'Z');
    // Keys outside the main block keep their own codes.
    EXPECT_EQ(SdlWindowSystem::KeyMessageOf(SDLK_F5, SDL_SCANCODE_F5).virtualKey, VK_F1 + 4);
    EXPECT_TRUE(SdlWindowSystem::KeyMessageOf(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER).rightHand);
}

// Every key of the table reaches the program from the real keyboard: some
// SDL key code or scancode gives its key message.
TEST(SdlKeyMessages, EveryKeyOfTheTableHasAnSdlKey)
{
    std::set<std::pair<int, bool>> produced;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const auto [vk, right] = SdlWindowSystem::KeyMessageOf(SDL_SCANCODE_TO_KEYCODE(scancode), scancode);
        produced.insert({vk, right});
    }
    for (int ascii = 0; ascii < 128; ++ascii) {
        const auto [vk, right] = SdlWindowSystem::KeyMessageOf(ascii, SDL_SCANCODE_UNKNOWN);
        produced.insert({vk, right});
    }
    for (const settings::KeyName& key : settings::KeyNames())
        EXPECT_TRUE(produced.contains(MessageFor(key.virtualKey))) << key.name;
    // Both sides of each modifier.
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        EXPECT_TRUE(produced.contains({vk, false})) << vk;
        EXPECT_TRUE(produced.contains({vk, true})) << vk;
    }
}

}  // namespace
}  // namespace NeritApp
