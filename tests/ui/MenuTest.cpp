#include "platform/HeadlessWindowSystem.h"
#include "ui/ControlFactory.h"
#include "ui/LabelUI.h"
#include "ui/MenuUI.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace SkinUI {
namespace {

using platform::WindowId;

// The window that opens menus: it records the commands it receives.
class OwnerWnd final : public CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"MenuOwner"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t) override
    {
        if (message == platform::WM_COMMAND)
            commands.push_back(static_cast<int>(wParam));
        return 0;
    }
    std::vector<int> commands;
};

class MenuTest : public ::testing::Test {
protected:
    platform::HeadlessWindowSystem system;
    OwnerWnd owner;

    void SetUp() override
    {
        CWindowWnd::SetWindowSystem(&system);
        system.SetWorkArea({0, 0, 1000, 700});
        ASSERT_NE(owner.Create(WindowId::None, "owner", WindowStyle::kNormal, 0, 0, 0, 800, 600), WindowId::None);
        owner.ShowWindow();
        system.RunPending();
    }
    void TearDown() override
    {
        system.DestroyWindow(owner.GetHWND());
        system.RunPending();
        CWindowWnd::SetWindowSystem(nullptr);
    }

    // A button-assignment style menu: two commands, a separator, and an entry
    // that opens a sub-menu with 2010 and 2011.
    CMenuUI* MakeChain()
    {
        auto* menu = new CMenuUI();
        menu->SetWidth(180);
        menu->AddItem(u"Left click", 2001);
        menu->AddItem(u"Right click", 2002);
        menu->AddSeparator();
        CMenuElementUI* more = menu->AddItem(u"Macros", 0);
        auto sub = std::make_unique<CMenuUI>();
        sub->SetWidth(180);
        sub->AddItem(u"Macro 1", 2010);
        sub->AddItem(u"Macro 2", 2011);
        EXPECT_TRUE(menu->AttachSubMenu(more, std::move(sub)));
        return menu;
    }

    // The chain of MakeChain, open at a screen point.
    CMenuUI* OpenChainAt(int x, int y)
    {
        CMenuUI* menu = MakeChain();
        menu->Show(x, y, owner.GetHWND());
        system.RunPending();
        return menu;
    }

    // Moves the pointer to the middle of an entry of an open menu.
    void Hover(CMenuUI* menu, int index)
    {
        system.InjectMouse(menu->GetHWND(), platform::WM_MOUSEMOVE, 90, EntryY(menu, index));
        system.RunPending();
    }
    void ClickEntry(CMenuUI* menu, int index)
    {
        const int y = EntryY(menu, index);
        system.InjectMouse(menu->GetHWND(), platform::WM_MOUSEMOVE, 90, y);
        system.InjectMouse(menu->GetHWND(), platform::WM_LBUTTONDOWN, 90, y, platform::MK_LBUTTON);
        system.InjectMouse(menu->GetHWND(), platform::WM_LBUTTONUP, 90, y);
        system.RunPending();
    }
    static int EntryY(CMenuUI* menu, int index)
    {
        int top = 0;
        for (int i = 0; i < index; ++i)
            top += menu->GetEntry(i)->IsSeparator() ? 2 : menu->GetItemHeight();
        return top + 1;
    }
    void Key(WindowId window, int key)
    {
        system.InjectKey(window, key, true);
        system.InjectKey(window, key, false);
        system.RunPending();
    }
};

TEST_F(MenuTest, AChosenEntryDeliversItsCommandThenTheClosingOne)
{
    CMenuUI* menu = MakeChain();
    EXPECT_EQ(menu->GetTotalHeight(), 20 + 20 + 2 + 20);
    menu->Show(100, 100, owner.GetHWND());
    system.RunPending();
    const WindowId window = menu->GetHWND();
    ASSERT_TRUE(system.IsWindowVisible(window));
    EXPECT_EQ(system.GetWindowRect(window), (platform::Rect{100, 100, 280, 162}));

    // Hovering the separator chooses nothing; clicking it closes nothing.
    ClickEntry(menu, 2);
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_TRUE(system.IsWindow(window));

    ClickEntry(menu, 1);
    EXPECT_EQ(owner.commands, (std::vector<int>{2002, kMenuClosedCommand}));
    EXPECT_FALSE(system.IsWindow(window));
    EXPECT_TRUE(CMenuUI::OpenChain().empty());
}

TEST_F(MenuTest, ASubMenuOpensOnHoverAndItsEntryIsChosen)
{
    CMenuUI* menu = OpenChainAt(100, 100);
    const WindowId window = menu->GetHWND();
    CMenuElementUI* more = menu->GetEntry(3);
    CMenuUI* sub = more->GetSubMenu();

    Hover(menu, 0);
    EXPECT_EQ(menu->GetEntry(0)->GetLabel()->GetTextColor(), CMenuUI::kLabelHoverColor);
    // The hovered entry on the hot colour, the others on the menu's colour.
    const auto* frame = system.LastFrame(window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->At(2, 2), 0xFFC1E3FFu);
    EXPECT_EQ(frame->At(2, 22), 0xFF202020u);
    EXPECT_EQ(sub->GetHWND(), WindowId::None);

    Hover(menu, 3);
    EXPECT_EQ(menu->GetEntry(0)->GetLabel()->GetTextColor(), CMenuUI::kLabelLeaveColor);
    ASSERT_NE(sub->GetHWND(), WindowId::None);
    EXPECT_TRUE(system.IsWindowVisible(sub->GetHWND()));
    // Beside the parent, level with the entry.
    EXPECT_EQ(system.GetWindowRect(sub->GetHWND()), (platform::Rect{280, 142, 460, 182}));
    EXPECT_EQ(CMenuUI::OpenChain().size(), 2u);

    // Another entry of the parent closes the sub-menu; coming back opens it.
    Hover(menu, 1);
    EXPECT_FALSE(system.IsWindowVisible(sub->GetHWND()));
    EXPECT_TRUE(system.IsWindowVisible(window));
    Hover(menu, 3);
    ASSERT_TRUE(system.IsWindowVisible(sub->GetHWND()));
    EXPECT_TRUE(owner.commands.empty());

    const WindowId subWindow = sub->GetHWND();
    ClickEntry(sub, 0);
    EXPECT_EQ(owner.commands, (std::vector<int>{2010, kMenuClosedCommand}));
    EXPECT_FALSE(system.IsWindow(window));
    EXPECT_FALSE(system.IsWindow(subWindow));
}

TEST_F(MenuTest, DismissingDeliversOnlyTheClosingCommand)
{
    // A click in the owner window.
    CMenuUI* menu = OpenChainAt(100, 100);
    Hover(menu, 3);
    WindowId window = menu->GetHWND();
    system.InjectMouse(owner.GetHWND(), platform::WM_LBUTTONDOWN, 700, 500, platform::MK_LBUTTON);
    system.InjectMouse(owner.GetHWND(), platform::WM_LBUTTONUP, 700, 500);
    system.RunPending();
    EXPECT_EQ(owner.commands, (std::vector<int>{kMenuClosedCommand}));
    EXPECT_FALSE(system.IsWindow(window));

    // Another program taking the focus.
    owner.commands.clear();
    menu = OpenChainAt(100, 100);
    window = menu->GetHWND();
    system.InjectDesktopFocus(window, false);
    system.RunPending();
    EXPECT_EQ(owner.commands, (std::vector<int>{kMenuClosedCommand}));
    EXPECT_FALSE(system.IsWindow(window));

    // Escape.
    owner.commands.clear();
    menu = OpenChainAt(100, 100);
    window = menu->GetHWND();
    Key(window, platform::VK_ESCAPE);
    EXPECT_EQ(owner.commands, (std::vector<int>{kMenuClosedCommand}));
    EXPECT_FALSE(system.IsWindow(window));

    // A menu without entries closes at once.
    owner.commands.clear();
    (new CMenuUI())->Show(10, 10, owner.GetHWND());
    system.RunPending();
    EXPECT_EQ(owner.commands, (std::vector<int>{kMenuClosedCommand}));
    EXPECT_TRUE(CMenuUI::OpenChain().empty());
}

TEST(MenuPlacement, KeepsOffTheWorkAreaEdges)
{
    const platform::Rect area{0, 0, 1000, 700};
    // 100 pixels from the right edge: one width to the left, two for a sub-menu.
    EXPECT_EQ(MenuPlacement(900, 100, 180, 60, area, false), (platform::Rect{720, 100, 900, 160}));
    EXPECT_EQ(MenuPlacement(900, 100, 180, 60, area, true), (platform::Rect{540, 100, 720, 160}));
    EXPECT_EQ(MenuPlacement(820, 100, 180, 60, area, false), (platform::Rect{820, 100, 1000, 160}));
    // Near the bottom: one menu height above, or just below the top when
    // that would leave the work area.
    EXPECT_EQ(MenuPlacement(10, 680, 180, 60, area, false), (platform::Rect{10, 620, 190, 680}));
    EXPECT_EQ(MenuPlacement(10, 680, 180, 690, area, false), (platform::Rect{10, 4, 190, 694}));
    EXPECT_EQ(MenuPlacement(10, 640, 180, 60, area, false), (platform::Rect{10, 640, 190, 700}));
}

TEST_F(MenuTest, ASubMenuAtTheRightEdgeOpensLeftOfItsParent)
{
    CMenuUI* menu = OpenChainAt(900, 100);
    EXPECT_EQ(system.GetWindowRect(menu->GetHWND()).left, 720);
    Hover(menu, 3);
    CMenuUI* sub = menu->GetEntry(3)->GetSubMenu();
    EXPECT_EQ(system.GetWindowRect(sub->GetHWND()), (platform::Rect{540, 142, 720, 182}));
    Key(menu->GetHWND(), platform::VK_ESCAPE);
}

TEST_F(MenuTest, TheKeyboardWalksTheChain)
{
    CMenuUI* menu = OpenChainAt(100, 100);
    const WindowId window = menu->GetHWND();
    CMenuUI* sub = menu->GetEntry(3)->GetSubMenu();

    // Down skips the separator and wraps; Up wraps back.
    Key(window, platform::VK_DOWN);
    EXPECT_EQ(menu->GetHotEntry(), menu->GetEntry(0));
    Key(window, platform::VK_DOWN);
    Key(window, platform::VK_DOWN);
    EXPECT_EQ(menu->GetHotEntry(), menu->GetEntry(3));
    Key(window, platform::VK_DOWN);
    EXPECT_EQ(menu->GetHotEntry(), menu->GetEntry(0));
    Key(window, platform::VK_UP);
    EXPECT_EQ(menu->GetHotEntry(), menu->GetEntry(3));

    // Right opens the sub-menu on its first entry and gives it the keys;
    // Left closes it again and the keys return to the parent.
    Key(window, platform::VK_RIGHT);
    ASSERT_NE(sub->GetHWND(), WindowId::None);
    EXPECT_TRUE(system.IsWindowVisible(sub->GetHWND()));
    EXPECT_EQ(system.GetFocus(), sub->GetHWND());
    EXPECT_EQ(sub->GetHotEntry(), sub->GetEntry(0));
    Key(sub->GetHWND(), platform::VK_LEFT);
    EXPECT_FALSE(system.IsWindowVisible(sub->GetHWND()));
    EXPECT_TRUE(system.IsWindow(window));
    EXPECT_EQ(system.GetFocus(), window);
    EXPECT_TRUE(owner.commands.empty());

    // Escape in a sub-menu closes only it.
    Key(window, platform::VK_RIGHT);
    Key(sub->GetHWND(), platform::VK_ESCAPE);
    EXPECT_FALSE(system.IsWindowVisible(sub->GetHWND()));
    EXPECT_TRUE(system.IsWindowVisible(window));
    EXPECT_TRUE(owner.commands.empty());

    // Enter chooses.
    Key(window, platform::VK_RIGHT);
    Key(sub->GetHWND(), platform::VK_DOWN);
    Key(sub->GetHWND(), platform::VK_RETURN);
    EXPECT_EQ(owner.commands, (std::vector<int>{2011, kMenuClosedCommand}));
    EXPECT_FALSE(system.IsWindow(window));
}

// The chain goes with its owner window, sub-menus included, and frees itself.
TEST_F(MenuTest, AnOpenChainGoesWithItsOwner)
{
    CMenuUI* menu = OpenChainAt(100, 100);
    Hover(menu, 3);
    const WindowId window = menu->GetHWND();
    const WindowId subWindow = menu->GetEntry(3)->GetSubMenu()->GetHWND();
    system.DestroyWindow(owner.GetHWND());
    system.RunPending();
    EXPECT_FALSE(system.IsWindow(window));
    EXPECT_FALSE(system.IsWindow(subWindow));
    EXPECT_TRUE(CMenuUI::OpenChain().empty());
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(MenuTest, TheHotMarkGoesWhenThePointerLeavesAndTheKeyboardStillWorks)
{
    CMenuUI* menu = OpenChainAt(100, 100);
    const WindowId window = menu->GetHWND();
    Hover(menu, 1);
    ASSERT_EQ(menu->GetHotEntry(), menu->GetEntry(1));
    system.InjectMouse(window, platform::WM_MOUSELEAVE, 0, 0);
    system.RunPending();
    EXPECT_EQ(menu->GetHotEntry(), nullptr);
    EXPECT_FALSE(menu->GetEntry(1)->IsHover());
    Key(window, platform::VK_DOWN);
    EXPECT_EQ(menu->GetHotEntry(), menu->GetEntry(0));

    // Into an open sub-menu: the parent entry is left (its label turns white
    // again) and the sub-menu stays; leaving the sub-menu clears its mark.
    Hover(menu, 3);
    CMenuUI* sub = menu->GetEntry(3)->GetSubMenu();
    ASSERT_TRUE(system.IsWindowVisible(sub->GetHWND()));
    EXPECT_EQ(menu->GetEntry(3)->GetLabel()->GetTextColor(), CMenuUI::kLabelHoverColor);
    Hover(sub, 1);
    EXPECT_EQ(menu->GetHotEntry(), nullptr);
    EXPECT_EQ(menu->GetEntry(3)->GetLabel()->GetTextColor(), CMenuUI::kLabelLeaveColor);
    EXPECT_TRUE(system.IsWindowVisible(sub->GetHWND()));
    EXPECT_EQ(sub->GetHotEntry(), sub->GetEntry(1));
    system.InjectMouse(sub->GetHWND(), platform::WM_MOUSELEAVE, 0, 0);
    system.RunPending();
    EXPECT_EQ(sub->GetHotEntry(), nullptr);
    Key(sub->GetHWND(), platform::VK_DOWN);
    EXPECT_EQ(sub->GetHotEntry(), sub->GetEntry(0));
    Key(sub->GetHWND(), platform::VK_RETURN);
    EXPECT_EQ(owner.commands, (std::vector<int>{2010, kMenuClosedCommand}));
}

// An owner that frees itself when its window goes and destroys its window
// when it gets a command.
class ClosingOwnerWnd final : public CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"ClosingMenuOwner"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t) override
    {
        if (message == platform::WM_COMMAND && static_cast<int>(wParam) == closeOn)
            System()->DestroyWindow(GetHWND());
        return 0;
    }
    void OnFinalMessage(WindowId) override { delete this; }
    int closeOn = 0;
};

TEST_F(MenuTest, ACommandHandlerMayDestroyTheOwnerWindow)
{
    for (const int closeOn : {2010, 2001, static_cast<int>(kMenuClosedCommand)}) {
        auto* closing = new ClosingOwnerWnd;
        closing->closeOn = closeOn;
        const WindowId closingId = closing->Create(WindowId::None, "owner", WindowStyle::kNormal, 0, 0, 0, 400, 300);
        ASSERT_NE(closingId, WindowId::None);
        closing->ShowWindow();
        system.RunPending();
        CMenuUI* menu = MakeChain();
        menu->Show(100, 100, closingId);
        system.RunPending();
        const WindowId window = menu->GetHWND();
        if (closeOn == 2010) {
            Hover(menu, 3);
            CMenuUI* sub = menu->GetEntry(3)->GetSubMenu();
            ClickEntry(sub, 0);
        } else if (closeOn == 2001) {
            Key(window, platform::VK_DOWN);
            Key(window, platform::VK_RETURN);
        } else {
            Key(window, platform::VK_ESCAPE);
        }
        system.RunPending();
        EXPECT_FALSE(system.IsWindow(closingId)) << closeOn;
        EXPECT_FALSE(system.IsWindow(window)) << closeOn;
        EXPECT_TRUE(CMenuUI::OpenChain().empty());
    }
}

TEST_F(MenuTest, IconsSitBesideTheText)
{
    auto* menu = new CMenuUI();
    menu->SetWidth(180);
    CMenuElementUI* entry = menu->AddItem(u"Copy", 7);
    EXPECT_TRUE(entry->SetIcon(u"copy.png"));
    EXPECT_FALSE(entry->SetIcon(u"again.png"));
    EXPECT_TRUE(entry->SetRightIcon(u"arrow.png", 30));
    menu->AddSeparator();
    EXPECT_FALSE(menu->GetEntry(1)->SetIcon(u"copy.png"));
    menu->Show(10, 10, owner.GetHWND());
    system.RunPending();
    EXPECT_EQ(entry->GetIcon()->GetText(), u"{i copy.png }");
    EXPECT_EQ(entry->GetRightIcon()->GetText(), u"{x 4}{i arrow.png }");
    EXPECT_EQ(entry->GetIcon()->GetItemRect().right, 20);
    EXPECT_EQ(entry->GetLabel()->GetItemRect().left, 20);
    EXPECT_EQ(entry->GetLabel()->GetItemRect().right, 150);
    EXPECT_EQ(entry->GetRightIcon()->GetItemRect().right, 180);
    Key(menu->GetHWND(), platform::VK_ESCAPE);
    EXPECT_EQ(owner.commands, (std::vector<int>{kMenuClosedCommand}));
}

TEST_F(MenuTest, MenuElementsAreMadeForTheirTag)
{
    auto control = CreateControl(u"MenuElement");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetClass(), u"MenuElementUI");
}

}  // namespace
}  // namespace SkinUI
