#include "LayoutWindowFixture.h"
#include "ui/ComboUI.h"
#include "ui/ComboWnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace SkinUI {
namespace {

using platform::WindowId;


// "type new old" for the combo's own notifications.
struct Log final : INotifyUI {
    void Notify(NotifyMessage& message) override
    {
        if (message.type != u"itemselect" && message.type != u"dropdown")
            return;
        lines.push_back(std::string(message.type.begin(), message.type.end()) + " " +
                        std::to_string(static_cast<intptr_t>(message.wParam)) + " " +
                        std::to_string(message.lParam));
    }
    std::vector<std::string> lines;
};

constexpr std::u16string_view kLayout =
    u"<Window><VerticalLayout><Combo name=\"c\" height=\"30\">"
    u"<ListLabelElement text=\"zero\" height=\"20\"/><ListLabelElement text=\"one\" height=\"20\"/>"
    u"<ListLabelElement text=\"two\" height=\"20\" enabled=\"false\"/>"
    u"<ListLabelElement text=\"three\" height=\"20\"/></Combo>"
    u"<Control/></VerticalLayout></Window>";

class ComboTest : public LayoutWindowFixture {
protected:
    Log log;
    CComboUI* combo = nullptr;

    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        Open(kLayout, log, 100, 50, 300, 200);
        combo = static_cast<CComboUI*>(window.manager.FindControl(u"c"));
        ASSERT_NE(combo, nullptr);
    }

    void ClickAt(WindowId target, int x, int y)
    {
        system.InjectMouse(target, platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(target, platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(target, platform::WM_LBUTTONUP, x, y);
        system.RunPending();
    }
    WindowId DropDown() const
    {
        return combo->GetDropDown() != nullptr ? combo->GetDropDown()->GetHWND() : WindowId::None;
    }
};

TEST_F(ComboTest, ClickOpensAPopupBelowTheComboAndAClickedRowIsSelected)
{
    ClickAt(window.GetHWND(), 50, 15);
    ASSERT_NE(DropDown(), WindowId::None);
    EXPECT_EQ(combo->GetCurSel(), -1);  // the press hit the combo, not an item laid over it
    const platform::Rect box = system.GetWindowRect(DropDown());
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.top, 80);
    EXPECT_EQ(box.Width(), 300);
    EXPECT_EQ(box.Height(), 80);

    // Row "one" is the second 20-pixel row; the hot row follows the mouse.
    system.InjectMouse(DropDown(), platform::WM_MOUSEMOVE, 10, 25);
    system.RunPending();
    EXPECT_EQ(combo->GetDropDown()->GetHotRow(), 1);
    ClickAt(DropDown(), 10, 25);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetSelectedText(), u"one");
    EXPECT_EQ(DropDown(), WindowId::None);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"dropdown 0 0", "itemselect 1 -1"}));
}

TEST_F(ComboTest, TheDropDownShowsEachRowsText)
{
    ClickAt(window.GetHWND(), 50, 15);
    ASSERT_NE(DropDown(), WindowId::None);
    system.RunPending();
    const auto* frame = system.LastFrame(DropDown());
    ASSERT_NE(frame, nullptr);
    // Each 20-pixel row holds some pixels of another colour than the
    // background: its text; the empty space below the rows holds none.
    auto inked = [&](int top, int bottom) {
        const uint32_t background = frame->At(frame->width - 1, top);
        int count = 0;
        for (int y = top; y < bottom && y < frame->height; ++y) {
            for (int x = 0; x < frame->width; ++x)
                count += frame->At(x, y) != background ? 1 : 0;
        }
        return count;
    };
    for (int row = 0; row < 4; ++row)
        EXPECT_GT(inked(row * 20, row * 20 + 20), 10) << "row " << row;
}

TEST_F(ComboTest, KeyboardOpensMovesSkippingDisabledAndClosesTheDropDown)
{
    combo->SetDropBoxSize({150, 50});
    window.manager.SetFocus(combo);
    Key(window.GetHWND(), platform::VK_DOWN);  // closed combo: arrows select
    EXPECT_EQ(combo->GetCurSel(), 0);
    Key(window.GetHWND(), platform::VK_RETURN);
    ASSERT_NE(DropDown(), WindowId::None);
    EXPECT_EQ(system.GetWindowRect(DropDown()).Width(), 150);
    EXPECT_EQ(system.GetWindowRect(DropDown()).Height(), 50);
    Key(DropDown(), platform::VK_DOWN);
    Key(DropDown(), platform::VK_DOWN);  // "two" is disabled: on to "three"
    EXPECT_EQ(combo->GetCurSel(), 3);
    Key(DropDown(), platform::VK_DOWN);  // already the last
    Key(DropDown(), platform::VK_RETURN);
    EXPECT_EQ(DropDown(), WindowId::None);
    EXPECT_EQ(combo->GetCurSel(), 3);

    // Esc closes without changing the selection; the wheel over the closed
    // combo moves it up.
    Key(window.GetHWND(), platform::VK_RETURN);
    ASSERT_NE(DropDown(), WindowId::None);
    Key(DropDown(), platform::VK_ESCAPE);
    EXPECT_EQ(DropDown(), WindowId::None);
    system.InjectWheel(window.GetHWND(), 50, 15, 120);
    system.RunPending();
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"itemselect 0 -1", "dropdown 0 0", "itemselect 1 0",
                                                   "itemselect 3 1", "dropdown 0 0", "itemselect 1 3"}));
}

// The wheel over the closed combo and over its drop-down: a step per 120,
// disabled items skipped, a delta of 0 (sideways scrolling) changes nothing.
TEST_F(ComboTest, WheelStepsPer120AndIgnoresZero)
{
    ASSERT_TRUE(combo->SelectItem(0));
    log.lines.clear();
    auto wheel = [&](WindowId target, int delta) {
        system.InjectWheel(target, 50, 15, delta);
        system.RunPending();
        return combo->GetCurSel();
    };
    EXPECT_EQ(wheel(window.GetHWND(), 0), 0);
    EXPECT_EQ(wheel(window.GetHWND(), -240), 3);  // two steps: one, then three
    EXPECT_EQ(wheel(window.GetHWND(), 60), 3);
    EXPECT_EQ(wheel(window.GetHWND(), 60), 1);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"itemselect 1 0", "itemselect 3 1", "itemselect 1 3"}));

    ClickAt(window.GetHWND(), 50, 15);
    ASSERT_NE(DropDown(), WindowId::None);
    // In the open drop-down the wheel scrolls the rows; the selection stays.
    EXPECT_EQ(wheel(DropDown(), 0), 1);
    EXPECT_EQ(wheel(DropDown(), 240), 1);
    EXPECT_EQ(wheel(DropDown(), -120), 1);
}

TEST_F(ComboTest, SelectionByTheProgramFollowsTheSameRules)
{
    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_TRUE(combo->SelectItem(1));  // the current index: nothing sent
    EXPECT_TRUE(combo->SelectItem(99));  // past the end: the last item
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_FALSE(combo->SelectItem(2));  // disabled: refused, and no selection left
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_TRUE(combo->SelectItem(-1));  // already none
    combo->GetItemAt(0)->SetVisible(false);
    EXPECT_FALSE(combo->SelectItem(0));
    EXPECT_EQ(combo->GetCurSel(), -1);
    system.RunPending();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"itemselect 1 -1", "itemselect 3 1"}));
}

TEST_F(ComboTest, ADisabledOrEmptyComboDoesNotOpen)
{
    combo->SetEnabled(false);
    ClickAt(window.GetHWND(), 50, 15);
    EXPECT_EQ(DropDown(), WindowId::None);
    combo->SetEnabled(true);
    combo->RemoveAll();
    ClickAt(window.GetHWND(), 50, 15);
    EXPECT_EQ(DropDown(), WindowId::None);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(ComboTest, TheDropDownLeavesDisabledRowsAloneAndForgetsTheHotRowWhenThePointerLeaves)
{
    ClickAt(window.GetHWND(), 50, 15);
    const WindowId drop = DropDown();
    ASSERT_NE(drop, WindowId::None);
    system.InjectMouse(drop, platform::WM_MOUSEMOVE, 10, 5);
    system.RunPending();
    EXPECT_EQ(combo->GetDropDown()->GetHotRow(), 0);
    system.InjectMouse(drop, platform::WM_MOUSELEAVE, 0, 0);
    system.RunPending();
    EXPECT_EQ(combo->GetDropDown()->GetHotRow(), -1);

    // "two" is disabled: not hot, and a click on it neither selects nor closes.
    combo->SelectItem(1);
    system.InjectMouse(drop, platform::WM_MOUSEMOVE, 10, 45);
    system.RunPending();
    EXPECT_EQ(combo->GetDropDown()->GetHotRow(), -1);
    ClickAt(drop, 10, 45);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(DropDown(), drop);
    ClickAt(drop, 10, 65);
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_EQ(DropDown(), WindowId::None);
}

TEST_F(ComboTest, ACutDropDownScrollsTheSelectedRowIntoView)
{
    combo->SetDropBoxSize({0, 50});  // room for two and a half rows of four
    window.manager.SetFocus(combo);
    Key(window.GetHWND(), platform::VK_END);  // closed: End selects the last
    EXPECT_EQ(combo->GetCurSel(), 3);
    Key(window.GetHWND(), platform::VK_HOME);
    EXPECT_EQ(combo->GetCurSel(), 0);
    Key(window.GetHWND(), platform::VK_RETURN);
    ASSERT_NE(DropDown(), WindowId::None);
    Key(DropDown(), platform::VK_DOWN);
    Key(DropDown(), platform::VK_DOWN);
    ASSERT_EQ(combo->GetCurSel(), 3);
    const UIRect last = combo->GetItemAt(3)->GetItemRect();
    EXPECT_EQ(last.bottom, 50);  // scrolled up by 30
    EXPECT_EQ(combo->GetDropDown()->RowAt(10, 5), 1);
    ClickAt(DropDown(), 10, 5);  // the row now at the top
    EXPECT_EQ(combo->GetCurSel(), 1);

    // Opening again shows the selected row; Home and End move within the list.
    Key(window.GetHWND(), platform::VK_END);
    EXPECT_EQ(combo->GetCurSel(), 3);
    Key(window.GetHWND(), platform::VK_RETURN);
    ASSERT_NE(DropDown(), WindowId::None);
    EXPECT_EQ(combo->GetItemAt(3)->GetItemRect().bottom, 50);
    Key(DropDown(), platform::VK_HOME);
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(combo->GetItemAt(0)->GetItemRect().top, 0);
    Key(DropDown(), platform::VK_END);
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_EQ(combo->GetItemAt(3)->GetItemRect().bottom, 50);
}

// The four 20-pixel rows make an 80-pixel drop-down; the combo is the top 30
// pixels of the window.
TEST_F(ComboTest, TheDropDownOpensWhereTheWorkAreaHasRoomAndIsCutOtherwise)
{
    const auto openAt = [&](const platform::Rect& work, int x, int y) {
        combo->CloseDropDown();
        system.RunPending();
        system.SetWorkArea(work);
        system.MoveWindow(window.GetHWND(), {x, y, x + 300, y + 200});
        system.RunPending();
        ClickAt(window.GetHWND(), 50, 15);
        return DropDown() != WindowId::None ? system.GetWindowRect(DropDown()) : platform::Rect{};
    };
    // Near the bottom edge: above the combo.
    platform::Rect box = openAt({0, 0, 1920, 1040}, 100, 1000);
    EXPECT_EQ(box.top, 920);
    EXPECT_EQ(box.bottom, 1000);
    EXPECT_FALSE(combo->GetDropDown()->GetScrollBar().IsVisible());
    // Room on neither side: the larger one, cut to it.
    box = openAt({0, 100, 1920, 200}, 100, 140);  // 40 above, 30 below
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(box.bottom, 140);
    EXPECT_TRUE(combo->GetDropDown()->GetScrollBar().IsVisible());
    box = openAt({0, 130, 1920, 230}, 100, 140);  // 10 above, 60 below
    EXPECT_EQ(box.top, 170);
    EXPECT_EQ(box.bottom, 230);
    // Past the right edge: moved left into the work area.
    box = openAt({0, 0, 350, 1040}, 100, 50);
    EXPECT_EQ(box.left, 50);
    EXPECT_EQ(box.top, 80);
    EXPECT_EQ(box.Width(), 300);
}

TEST_F(ComboTest, ACutDropDownScrollsWithTheWheelAndItsScrollBarAndKeepsTheSelection)
{
    combo->SetDropBoxSize({0, 50});
    combo->SetDropBoxAttributes(u"bkcolor=\"#FF112233\" bordersize=\"1\"");
    combo->SetCurSel(3);
    ClickAt(window.GetHWND(), 50, 15);
    ASSERT_NE(DropDown(), WindowId::None);
    CComboWnd* dropDown = combo->GetDropDown();
    EXPECT_EQ(dropDown->GetList().GetBkColor(), 0xFF112233u);
    EXPECT_EQ(dropDown->GetList().GetBorderSize(), 1);
    EXPECT_EQ(dropDown->GetScrollPos(), 30);  // the selected last row in view
    const CScrollBarUI& bar = dropDown->GetScrollBar();
    ASSERT_TRUE(bar.IsVisible());
    EXPECT_EQ(bar.GetItemRect().left, 300 - CComboWnd::kScrollBarWidth);
    EXPECT_EQ(combo->GetItemAt(0)->GetItemRect().right, bar.GetItemRect().left);

    // The wheel scrolls within the rows and leaves the selection alone.
    system.InjectWheel(DropDown(), 100 + 10, 80 + 10, 120);
    system.RunPending();
    EXPECT_EQ(dropDown->GetScrollPos(), 0);
    system.InjectWheel(DropDown(), 100 + 10, 80 + 10, -120);
    system.RunPending();
    EXPECT_EQ(dropDown->GetScrollPos(), 30);
    EXPECT_EQ(combo->GetCurSel(), 3);
    ASSERT_EQ(DropDown(), dropDown->GetHWND());

    // The bar's down arrow scrolls a line; a click on the bar selects nothing.
    system.InjectWheel(DropDown(), 110, 90, 120);
    system.RunPending();
    const UIRect down = bar.GetPartRect(CScrollBarUI::Part::Button2);
    ClickAt(DropDown(), down.left + 2, down.top + 2);
    EXPECT_EQ(dropDown->GetScrollPos(), CComboWnd::kDefaultRowHeight);
    EXPECT_EQ(DropDown(), dropDown->GetHWND());
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"dropdown 0 0"}));
}

// F4 and Alt+Down or Alt+Up open the drop-down of a focused combo and close
// it again, leaving the selection as it is.
TEST_F(ComboTest, F4AndAltArrowsOpenAndCloseTheDropDown)
{
    constexpr int kF4 = platform::VK_F1 + 3;
    auto loopKey = [&](WindowId target, int vk, bool alt) {
        if (alt)
            system.InjectKey(target, platform::VK_MENU, true);
        system.InjectKey(target, vk, true);
        system.InjectKey(target, vk, false);
        if (alt)
            system.InjectKey(target, platform::VK_MENU, false);
        CWindowUIManager::MessageLoop(system);  // with the loop's pre-translation
    };
    window.manager.SetFocus(combo);
    combo->SelectItem(1);
    loopKey(window.GetHWND(), kF4, false);
    ASSERT_NE(DropDown(), WindowId::None);
    loopKey(DropDown(), kF4, false);
    EXPECT_EQ(DropDown(), WindowId::None);
    loopKey(window.GetHWND(), platform::VK_DOWN, true);
    ASSERT_NE(DropDown(), WindowId::None);
    loopKey(DropDown(), platform::VK_UP, true);
    EXPECT_EQ(DropDown(), WindowId::None);
    loopKey(window.GetHWND(), platform::VK_UP, true);
    EXPECT_NE(DropDown(), WindowId::None);
    loopKey(DropDown(), platform::VK_DOWN, true);
    EXPECT_EQ(DropDown(), WindowId::None);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(window.manager.GetFocus(), combo);
}

// Typing a letter selects the next item that starts with it, in the closed
// combo and in its drop-down.
TEST_F(ComboTest, ALetterSelectsTheNextItemStartingWithIt)
{
    window.manager.SetFocus(combo);
    system.InjectText(window.GetHWND(), u"T");  // "two" is disabled
    system.RunPending();
    EXPECT_EQ(combo->GetCurSel(), 3);
    system.InjectText(window.GetHWND(), u"t");  // only "three": stays
    system.RunPending();
    EXPECT_EQ(combo->GetCurSel(), 3);
    system.InjectText(window.GetHWND(), u"x");  // none: stays
    system.RunPending();
    EXPECT_EQ(combo->GetCurSel(), 3);
    Key(window.GetHWND(), platform::VK_RETURN);
    ASSERT_NE(DropDown(), WindowId::None);
    system.InjectText(DropDown(), u"o");
    system.RunPending();
    EXPECT_EQ(combo->GetCurSel(), 1);
    system.InjectText(DropDown(), u"z");
    system.RunPending();
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_NE(DropDown(), WindowId::None);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"itemselect 3 -1", "dropdown 0 0", "itemselect 1 3",
                                                   "itemselect 0 1"}));
}

// Runs an action on the first "itemselect".
struct OnSelect final : INotifyUI {
    void Notify(NotifyMessage& message) override
    {
        if (message.type == u"itemselect" && action)
            std::exchange(action, nullptr)();
    }
    std::function<void()> action;
};

TEST_F(ComboTest, AnItemSelectHandlerMayDestroyTheComboWhileTheDropDownHandlesTheClick)
{
    OnSelect handler;
    window.manager.AddNotifier(&handler);
    CContainerUI* parent = static_cast<CContainerUI*>(combo->GetParent());
    handler.action = [&] { parent->Remove(combo); };
    ClickAt(window.GetHWND(), 50, 15);
    const WindowId drop = DropDown();
    ASSERT_NE(drop, WindowId::None);
    ClickAt(drop, 10, 25);
    EXPECT_EQ(window.manager.FindControl(u"c"), nullptr);
    EXPECT_FALSE(system.IsWindow(drop));
}

// A window that frees itself (and its controls) once it is destroyed, as
// the program's windows do.
class SelfFreeingWnd final : public CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"SelfFreeingWnd"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = 0;
        return manager.MessageHandler(message, wParam, lParam, result) ? result : 0;
    }
    void OnFinalMessage(WindowId) override { delete this; }
    CWindowUIManager manager;
};

TEST_F(ComboTest, AnItemSelectHandlerMayDestroyTheWholeWindow)
{
    for (const bool byKey : {false, true}) {
        auto* owner = new SelfFreeingWnd;
        ASSERT_NE(owner->Create(WindowId::None, "owner", WindowStyle::kNormal, 0, 0, 0, 200, 100), WindowId::None);
        owner->manager.Init(&system, owner->GetHWND());
        CLayoutBuilder builder;
        ASSERT_TRUE(owner->manager.AttachDialog(builder.CreateDetached(kLayout, nullptr, &owner->manager)));
        owner->ShowWindow();
        system.RunPending();
        OnSelect handler;
        owner->manager.AddNotifier(&handler);
        const WindowId ownerId = owner->GetHWND();
        handler.action = [&] { system.DestroyWindow(ownerId); };
        auto* c = static_cast<CComboUI*>(owner->manager.FindControl(u"c"));
        ASSERT_NE(c, nullptr);
        ClickAt(ownerId, 50, 15);
        ASSERT_NE(c->GetDropDown(), nullptr);
        const WindowId drop = c->GetDropDown()->GetHWND();
        if (byKey)
            Key(drop, platform::VK_DOWN);
        else
            ClickAt(drop, 10, 25);
        EXPECT_FALSE(system.IsWindow(ownerId));
        EXPECT_FALSE(system.IsWindow(drop));
    }
}

}  // namespace
}  // namespace SkinUI
