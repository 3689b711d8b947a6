#include "LayoutWindowFixture.h"
#include "ui/ContainerUI.h"

#include <string>
#include <vector>

namespace SkinUI {
namespace {

struct ScrollLog final : INotifyUI {
    void Notify(NotifyMessage& message) override { scrolls += message.type == u"scroll" ? 1 : 0; }
    int scrolls = 0;
};

// Ten 50-pixel rows in a 200-pixel window: a range of 300. The bar is 16
// wide at x 184; its arrows are 16-pixel squares, the rail 168 long, the
// thumb 168 * 200 / 500 = 67 long.
std::u16string Layout()
{
    std::u16string layout = u"<Window><VerticalLayout name=\"box\" vscrollbar=\"true\">";
    for (int i = 0; i < 10; ++i)
        layout += u"<Label height=\"50\"/>";
    return layout + u"</VerticalLayout></Window>";
}

class ScrollBarTest : public LayoutWindowFixture {
protected:
    ScrollLog log;
    CContainerUI* box = nullptr;
    CScrollBarUI* bar = nullptr;

    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        Open(Layout(), log, 0, 0, 200, 200);
        box = static_cast<CContainerUI*>(window.manager.FindControl(u"box"));
        ASSERT_NE(box, nullptr);
        bar = box->GetVerticalScrollBar();
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(bar->IsVisible());
        ASSERT_EQ(bar->GetScrollRange(), 300);
    }
    void Mouse(unsigned message, int x, int y, unsigned flags = 0)
    {
        system.InjectMouse(window.GetHWND(), message, x, y, flags);
        system.RunPending();
    }
    void Click(int x, int y)
    {
        Mouse(platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        Mouse(platform::WM_LBUTTONUP, x, y);
    }
    int FirstRowTop() const { return box->GetItemAt(0)->GetItemRect().top; }
};

TEST_F(ScrollBarTest, ArrowsAndRailClicksScrollTheContentAndNotify)
{
    Click(190, 190);  // down arrow: one line
    EXPECT_EQ(bar->GetScrollPos(), 8);
    EXPECT_EQ(FirstRowTop(), -8);
    Click(190, 5);  // up arrow
    EXPECT_EQ(bar->GetScrollPos(), 0);
    Click(190, 5);  // already at the top: nothing moves, nothing sent
    EXPECT_EQ(log.scrolls, 2);
    Click(190, 150);  // rail below the thumb: a page
    EXPECT_EQ(bar->GetScrollPos(), 200);
    Click(190, 170);
    EXPECT_EQ(bar->GetScrollPos(), 300);  // kept within the range
    EXPECT_EQ(FirstRowTop(), -300);
    Click(190, 20);  // rail above the thumb
    EXPECT_EQ(bar->GetScrollPos(), 100);
    EXPECT_EQ(log.scrolls, 5);
}

TEST_F(ScrollBarTest, ThumbFollowsTheMouseWhileHeldAndTheWheelScrollsOverChildren)
{
    const UIRect thumb = bar->GetPartRect(CScrollBarUI::Part::Thumb);
    ASSERT_EQ(thumb.top, 16);
    Mouse(platform::WM_MOUSEMOVE, 190, 46);
    Mouse(platform::WM_LBUTTONDOWN, 190, 46, platform::MK_LBUTTON);
    Mouse(platform::WM_MOUSEMOVE, 150, 46 + 200, platform::MK_LBUTTON);  // far below, off the bar
    EXPECT_EQ(bar->GetScrollPos(), 300);
    Mouse(platform::WM_MOUSEMOVE, 190, 46 + 51, platform::MK_LBUTTON);  // 51 of the 101 free pixels
    EXPECT_EQ(bar->GetScrollPos(), 51 * 300 / 101);
    Mouse(platform::WM_LBUTTONUP, 190, 97);
    Mouse(platform::WM_MOUSEMOVE, 190, 10);  // released: the thumb stays
    EXPECT_EQ(bar->GetScrollPos(), 151);

    // The wheel over a row (which leaves it alone) scrolls three lines a notch.
    system.InjectWheel(window.GetHWND(), 50, 50, 120);
    system.RunPending();
    EXPECT_EQ(bar->GetScrollPos(), 151 - 24);
    system.InjectWheel(window.GetHWND(), 50, 50, -120);
    system.RunPending();
    EXPECT_EQ(bar->GetScrollPos(), 151);
}

// A wheel step is 120 of delta: two notches at once make two steps, fine
// touchpad deltas step once they add up, a turn the other way drops the
// rest, and a delta of 0 (sideways scrolling) moves nothing.
TEST_F(ScrollBarTest, TheWheelStepsPer120AndIgnoresZero)
{
    auto wheel = [&](int delta) {
        system.InjectWheel(window.GetHWND(), 50, 50, delta);
        system.RunPending();
        return bar->GetScrollPos();
    };
    EXPECT_EQ(wheel(0), 0);
    EXPECT_EQ(wheel(-240), 48);
    EXPECT_EQ(wheel(0), 48);
    EXPECT_EQ(wheel(-40), 48);
    EXPECT_EQ(wheel(-40), 48);
    EXPECT_EQ(wheel(-40), 72);
    EXPECT_EQ(wheel(-100), 72);
    EXPECT_EQ(wheel(100), 72);  // the other way: the 100 down are dropped
    EXPECT_EQ(wheel(20), 48);
}

// Holding the mouse on an arrow or the rail repeats the scroll after a delay,
// until the button is released or the pointer leaves the bar.
TEST_F(ScrollBarTest, HeldArrowsAndRailRepeatUntilReleaseOrLeave)
{
    auto wait = [&](int ms) {
        for (int done = 0; done < ms; done += 10) {
            system.AdvanceTime(10);
            system.RunPending();
        }
    };
    Mouse(platform::WM_MOUSEMOVE, 190, 190);
    Mouse(platform::WM_LBUTTONDOWN, 190, 190, platform::MK_LBUTTON);  // down arrow
    EXPECT_EQ(bar->GetScrollPos(), 8);
    wait(300);
    EXPECT_EQ(bar->GetScrollPos(), 8);  // not yet
    wait(200);
    const int repeated = bar->GetScrollPos();
    EXPECT_GT(repeated, 8);
    wait(200);
    EXPECT_GT(bar->GetScrollPos(), repeated);  // goes on while held
    Mouse(platform::WM_LBUTTONUP, 190, 190);
    const int released = bar->GetScrollPos();
    wait(1000);
    EXPECT_EQ(bar->GetScrollPos(), released);

    // Leaving the bar while held stops it too.
    Mouse(platform::WM_LBUTTONDOWN, 190, 5, platform::MK_LBUTTON);  // up arrow
    EXPECT_EQ(bar->GetScrollPos(), released - 8);
    Mouse(platform::WM_MOUSEMOVE, 50, 5, platform::MK_LBUTTON);
    wait(1000);
    EXPECT_EQ(bar->GetScrollPos(), released - 8);
    Mouse(platform::WM_MOUSEMOVE, 190, 5, platform::MK_LBUTTON);  // back, still held: stays stopped
    wait(1000);
    EXPECT_EQ(bar->GetScrollPos(), released - 8);
    Mouse(platform::WM_MOUSEMOVE, 50, 5, platform::MK_LBUTTON);
    Mouse(platform::WM_LBUTTONUP, 50, 5);  // released off the bar
    Mouse(platform::WM_MOUSEMOVE, 190, 5);
    wait(1000);
    EXPECT_EQ(bar->GetScrollPos(), released - 8);
    EXPECT_FALSE(bar->IsDragging());

    // The rail repeats a page at a time, up to the end of the range.
    bar->ScrollTo(0);
    Mouse(platform::WM_MOUSEMOVE, 190, 170);
    Mouse(platform::WM_LBUTTONDOWN, 190, 170, platform::MK_LBUTTON);
    EXPECT_EQ(bar->GetScrollPos(), 200);
    wait(600);
    EXPECT_EQ(bar->GetScrollPos(), 300);
    Mouse(platform::WM_LBUTTONUP, 190, 170);
}

// Without images the thumb and the arrows are drawn darker while the pointer
// is over them and darker still while they are held.
TEST_F(ScrollBarTest, PartsShowWhetherThePointerIsOverThemOrHoldsThem)
{
    const auto pixel = [&](int x, int y) { return system.LastFrame(window.GetHWND())->At(x, y); };
    Mouse(platform::WM_MOUSEMOVE, 190, 100);  // the rail
    const uint32_t thumbNormal = pixel(190, 46);
    const uint32_t arrowNormal = pixel(190, 190);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Thumb), CScrollBarUI::State::Normal);
    Mouse(platform::WM_MOUSEMOVE, 190, 46);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Thumb), CScrollBarUI::State::Hot);
    const uint32_t thumbHot = pixel(190, 46);
    EXPECT_NE(thumbHot, thumbNormal);
    Mouse(platform::WM_LBUTTONDOWN, 190, 46, platform::MK_LBUTTON);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Thumb), CScrollBarUI::State::Pushed);
    EXPECT_NE(pixel(190, 46), thumbHot);
    EXPECT_NE(pixel(190, 46), thumbNormal);
    Mouse(platform::WM_MOUSEMOVE, 50, 46, platform::MK_LBUTTON);  // dragging off the bar: still held
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Thumb), CScrollBarUI::State::Pushed);
    Mouse(platform::WM_LBUTTONUP, 50, 46);
    Mouse(platform::WM_MOUSEMOVE, 190, 100);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Thumb), CScrollBarUI::State::Normal);
    EXPECT_EQ(pixel(190, 46), thumbNormal);

    Mouse(platform::WM_MOUSEMOVE, 190, 190);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Button2), CScrollBarUI::State::Hot);
    EXPECT_NE(pixel(190, 190), arrowNormal);
    Mouse(platform::WM_LBUTTONDOWN, 190, 190, platform::MK_LBUTTON);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Button2), CScrollBarUI::State::Pushed);
    Mouse(platform::WM_LBUTTONUP, 190, 190);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Button2), CScrollBarUI::State::Hot);
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSELEAVE, 0, 0);
    system.RunPending();
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Button2), CScrollBarUI::State::Normal);
    bar->SetEnabled(false);
    EXPECT_EQ(bar->GetPartState(CScrollBarUI::Part::Button2), CScrollBarUI::State::Disabled);
}

// Five 100-pixel columns in a 200-pixel window: the horizontal bar shows
// along the bottom (16 high) and scrolls the columns sideways.
class HScrollBarTest : public LayoutWindowFixture {
protected:
    ScrollLog log;
};

TEST_F(HScrollBarTest, AWideLayoutShowsAHorizontalBarThatScrollsSideways)
{
    Open(u"<Window><HorizontalLayout name=\"box\" hscrollbar=\"true\"><Label width=\"100\"/>"
         u"<Label width=\"100\"/><Label width=\"100\"/><Label width=\"100\"/><Label width=\"100\"/>"
         u"</HorizontalLayout></Window>",
         log, 0, 0, 200, 200);
    auto* box = static_cast<CContainerUI*>(window.manager.FindControl(u"box"));
    ASSERT_NE(box, nullptr);
    CScrollBarUI* bar = box->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetItemRect(), (UIRect{0, 184, 200, 200}));
    EXPECT_EQ(bar->GetScrollRange(), 300);
    EXPECT_EQ(box->GetItemAt(0)->GetItemRect().bottom, 184);  // the bar takes its height

    auto click = [&](int x, int y) {
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        system.RunPending();
    };
    click(190, 190);  // right arrow
    EXPECT_EQ(bar->GetScrollPos(), 8);
    EXPECT_EQ(box->GetItemAt(0)->GetItemRect().left, -8);
    click(150, 190);  // rail right of the thumb: a page
    EXPECT_EQ(bar->GetScrollPos(), 208);
    click(5, 190);  // left arrow
    EXPECT_EQ(bar->GetScrollPos(), 200);
    EXPECT_EQ(box->GetItemAt(2)->GetItemRect().left, 0);
    EXPECT_EQ(log.scrolls, 3);

    // Content that fits shows no bar.
    box->GetItemAt(0)->SetFixedWidth(0);
    for (int i = 4; i >= 1; --i)
        box->Remove(box->GetItemAt(i));
    box->SetItemRect(box->GetItemRect());
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(box->GetItemAt(0)->GetItemRect(), (UIRect{0, 0, 200, 200}));
}

}  // namespace
}  // namespace SkinUI
