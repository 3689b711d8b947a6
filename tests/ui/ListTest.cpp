#include "LayoutWindowFixture.h"
#include "ui/ListContainerElementUI.h"
#include "ui/ListUI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

using platform::WindowId;


// "type sender new old" of the list's notifications.
struct Log final : INotifyUI {
    void Notify(NotifyMessage& message) override
    {
        if (message.type == u"setfocus" || message.type == u"killfocus" || message.type == u"windowinit"
            || message.type == u"scroll")
            return;
        const std::u16string name = message.sender != nullptr ? message.sender->GetName() : u"-";
        std::string line(message.type.begin(), message.type.end());
        line += " " + std::string(name.begin(), name.end());
        if (message.type == u"itemselect")
            line += " " + std::to_string(static_cast<intptr_t>(message.wParam)) + " " + std::to_string(message.lParam);
        lines.push_back(line);
    }
    std::vector<std::string> lines;
};

// Rows 0..3 of 30 pixels; row 2 is disabled; a label covers part of row 1.
constexpr std::u16string_view kLayout =
    u"<Window><List name=\"list\">"
    u"<ListContainerElement name=\"r0\" height=\"30\"/>"
    u"<ListContainerElement name=\"r1\" height=\"30\"><Label name=\"l1\" text=\"one\"/></ListContainerElement>"
    u"<ListContainerElement name=\"r2\" height=\"30\" enabled=\"false\"/>"
    u"<ListContainerElement name=\"r3\" height=\"30\"/>"
    u"<Label name=\"notarow\" height=\"30\"/></List></Window>";

class ListTest : public LayoutWindowFixture {
protected:
    Log log;
    CListUI* list = nullptr;

    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        Open(kLayout, log, 0, 0, 200, 300);
        list = static_cast<CListUI*>(window.manager.FindControl(u"list"));
        ASSERT_NE(list, nullptr);
    }
    CListContainerElementUI* Row(std::u16string_view name)
    {
        return static_cast<CListContainerElementUI*>(window.manager.FindControl(name));
    }
    void Mouse(unsigned message, int y, unsigned flags = 0)
    {
        system.InjectMouse(window.GetHWND(), message, 20, y, flags);
        system.RunPending();
    }
    void Key(int vk) { LayoutWindowFixture::Key(window.GetHWND(), vk); }
};

TEST_F(ListTest, ARowClickedThroughItsLabelIsSelectedAndEnterActivatesIt)
{
    Mouse(platform::WM_MOUSEMOVE, 45);
    Mouse(platform::WM_LBUTTONDOWN, 45, platform::MK_LBUTTON);
    Mouse(platform::WM_LBUTTONUP, 45);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_TRUE(Row(u"r1")->IsSelected());
    Key(platform::VK_RETURN);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"itemclick r1", "itemselect list 1 -1", "itemactivate r1"}));

    // A right press selects too; the old row loses its mark.
    log.lines.clear();
    Mouse(platform::WM_RBUTTONDOWN, 105, platform::MK_RBUTTON);
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_FALSE(Row(u"r1")->IsSelected());
    EXPECT_TRUE(Row(u"r3")->IsSelected());
    // A double click activates; a disabled row neither clicks nor selects.
    Mouse(platform::WM_LBUTTONDBLCLK, 15, platform::MK_LBUTTON);
    Mouse(platform::WM_LBUTTONUP, 15);
    Mouse(platform::WM_LBUTTONDOWN, 75, platform::MK_LBUTTON);
    Mouse(platform::WM_LBUTTONUP, 75);
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"itemclick r3", "itemselect list 3 1", "itemactivate r0"}));
}

TEST_F(ListTest, HotRowFollowsTheMouseAndArrowsSkipDisabledRows)
{
    Mouse(platform::WM_MOUSEMOVE, 15);
    EXPECT_TRUE(Row(u"r0")->IsHot());
    Mouse(platform::WM_MOUSEMOVE, 105);
    EXPECT_FALSE(Row(u"r0")->IsHot());
    EXPECT_TRUE(Row(u"r3")->IsHot());

    Mouse(platform::WM_LBUTTONDOWN, 15, platform::MK_LBUTTON);
    Mouse(platform::WM_LBUTTONUP, 15);
    Key(platform::VK_DOWN);
    Key(platform::VK_DOWN);  // past the disabled row
    EXPECT_EQ(list->GetCurSel(), 3);
    Key(platform::VK_DOWN);  // the label after it is no row
    EXPECT_EQ(list->GetCurSel(), 3);
    Key(platform::VK_RETURN);
    EXPECT_EQ(log.lines.back(), "itemactivate r3");
}

// Tab stops once in a list: on its selected row, or on the first row that
// can be selected while none is.
TEST_F(ListTest, TabStopsOnceInTheList)
{
    auto tab = [&] {
        system.InjectKey(window.GetHWND(), platform::VK_TAB, true);
        system.InjectKey(window.GetHWND(), platform::VK_TAB, false);
        CWindowUIManager::MessageLoop(system);  // Tab is handled by the loop's pre-translation
    };
    tab();
    EXPECT_EQ(window.manager.GetFocus(), Row(u"r0"));
    tab();
    EXPECT_EQ(window.manager.GetFocus(), Row(u"r0"));  // the only stop
    Row(u"r0")->SetEnabled(false);
    tab();
    EXPECT_EQ(window.manager.GetFocus(), Row(u"r1"));
    Row(u"r0")->SetEnabled(true);
    ASSERT_TRUE(list->SelectItem(3));
    tab();
    EXPECT_EQ(window.manager.GetFocus(), Row(u"r3"));
    Key(platform::VK_UP);  // the keys still walk every row
    EXPECT_EQ(window.manager.GetFocus(), Row(u"r1"));
    EXPECT_EQ(list->GetCurSel(), 1);
}

TEST_F(ListTest, SelectionByTheProgramFollowsTheSameRulesAndTracksRemovals)
{
    EXPECT_TRUE(list->SelectItem(3));
    EXPECT_TRUE(list->SelectItem(3));
    EXPECT_FALSE(list->SelectItem(2));  // disabled: refused, no selection left
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(Row(u"r3")->IsSelected());
    EXPECT_FALSE(list->SelectItem(4));  // not a row
    EXPECT_FALSE(list->SelectItem(99));
    EXPECT_TRUE(list->SelectItem(3));
    EXPECT_TRUE(list->Remove(Row(u"r0")));
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_TRUE(list->Remove(Row(u"r3")));
    EXPECT_EQ(list->GetCurSel(), -1);
    system.RunPending();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"itemselect list 3 -1", "itemselect list 3 -1"}));
}

// Ten 30-pixel rows in a 100-pixel list; row 2 is disabled. Each row holds
// a label, a read-only edit and a picture side by side.
std::u16string PagedLayout()
{
    std::u16string layout = u"<Window><List name=\"list\" vscrollbar=\"true\">";
    for (int i = 0; i < 10; ++i) {
        const std::u16string n(1, static_cast<char16_t>(u'0' + i));
        layout += u"<ListContainerElement name=\"r" + n + u"\" height=\"30\"" + (i == 2 ? u" enabled=\"false\"" : u"")
                  + u"><HorizontalLayout><Label name=\"l" + n + u"\" width=\"40\" text=\"row\"/>"
                  + u"<Edit name=\"e" + n + u"\" width=\"40\" readonly=\"true\" text=\"x\"/>"
                  + u"<Control name=\"p" + n + u"\" width=\"40\" bkcolor=\"#FF00FF00\"/>"
                  + u"</HorizontalLayout></ListContainerElement>";
    }
    return layout + u"</List></Window>";
}

class PagedListTest : public ListTest {
protected:
    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        Open(PagedLayout(), log, 0, 0, 200, 100);
        list = static_cast<CListUI*>(window.manager.FindControl(u"list"));
        ASSERT_NE(list, nullptr);
        ASSERT_NE(list->GetVerticalScrollBar(), nullptr);
    }
    int ScrollPos() const { return list->GetVerticalScrollBar()->GetScrollPos(); }
    // The selected row lies wholly inside the list.
    bool SelectedShown() const
    {
        const UIRect row = list->GetItemAt(list->GetCurSel())->GetItemRect();
        const UIRect inner = list->GetInnerRect();
        return row.top >= inner.top && row.bottom <= inner.bottom;
    }
    void MouseAt(unsigned message, int x, int y)
    {
        system.InjectMouse(window.GetHWND(), message, x, y);
        system.RunPending();
    }
};

TEST_F(PagedListTest, KeysMoveTheSelectionByRowPageAndEndAndScrollItIntoView)
{
    Mouse(platform::WM_LBUTTONDOWN, 15, platform::MK_LBUTTON);
    Mouse(platform::WM_LBUTTONUP, 15);
    ASSERT_EQ(list->GetCurSel(), 0);
    log.lines.clear();
    Key(platform::VK_DOWN);
    EXPECT_EQ(list->GetCurSel(), 1);
    Key(platform::VK_NEXT);  // a page of 100 pixels on: the last row starting within it
    EXPECT_EQ(list->GetCurSel(), 4);
    EXPECT_TRUE(SelectedShown());
    EXPECT_EQ(ScrollPos(), 50);
    Key(platform::VK_END);
    EXPECT_EQ(list->GetCurSel(), 9);
    EXPECT_EQ(ScrollPos(), 200);
    EXPECT_TRUE(SelectedShown());
    Key(platform::VK_PRIOR);
    EXPECT_EQ(list->GetCurSel(), 6);
    EXPECT_TRUE(SelectedShown());
    Key(platform::VK_HOME);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(ScrollPos(), 0);
    Key(platform::VK_PRIOR);  // at the top already
    Key(platform::VK_UP);
    EXPECT_EQ(list->GetCurSel(), 0);
    Key(platform::VK_NEXT);
    Key(platform::VK_UP);  // over the disabled row
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_TRUE(SelectedShown());
    Key(platform::VK_RETURN);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"itemselect list 1 0", "itemselect list 4 1", "itemselect list 9 4",
                                                   "itemselect list 6 9", "itemselect list 0 6", "itemselect list 3 0",
                                                   "itemselect list 1 3", "itemactivate r1"}));
}

TEST_F(PagedListTest, TheRowStaysHotOverItsChildrenAndLosesItWhenThePointerLeaves)
{
    MouseAt(platform::WM_MOUSEMOVE, 20, 15);  // the label of row 0
    EXPECT_TRUE(Row(u"r0")->IsHot());
    MouseAt(platform::WM_MOUSEMOVE, 60, 15);  // its read-only edit
    EXPECT_TRUE(Row(u"r0")->IsHot());
    MouseAt(platform::WM_MOUSEMOVE, 100, 15);  // its picture
    EXPECT_TRUE(Row(u"r0")->IsHot());
    MouseAt(platform::WM_MOUSEMOVE, 60, 45);  // the edit of row 1
    EXPECT_FALSE(Row(u"r0")->IsHot());
    EXPECT_TRUE(Row(u"r1")->IsHot());
    MouseAt(platform::WM_MOUSEMOVE, 60, 75);  // a disabled row is never hot
    EXPECT_FALSE(Row(u"r1")->IsHot());
    EXPECT_FALSE(Row(u"r2")->IsHot());
    MouseAt(platform::WM_MOUSEMOVE, 60, 45);
    ASSERT_TRUE(Row(u"r1")->IsHot());
    MouseAt(platform::WM_MOUSELEAVE, 0, 0);  // off the window
    EXPECT_FALSE(Row(u"r1")->IsHot());
}

// With "scrollselect" the wheel moves the selection a row per 120 of delta
// (disabled rows skipped); a delta of 0 (sideways scrolling) moves nothing.
TEST_F(ListTest, ScrollSelectWheelStepsPer120AndIgnoresZero)
{
    list->SetScrollSelect(true);
    ASSERT_TRUE(list->SelectItem(0));
    auto wheel = [&](int delta) {
        system.InjectWheel(window.GetHWND(), 20, 15, delta);
        system.RunPending();
        return list->GetCurSel();
    };
    EXPECT_EQ(wheel(0), 0);
    EXPECT_EQ(wheel(-240), 3);  // r1, then past the disabled r2
    EXPECT_EQ(wheel(60), 3);
    EXPECT_EQ(wheel(60), 1);
    EXPECT_EQ(wheel(0), 1);
}

}  // namespace
}  // namespace SkinUI
