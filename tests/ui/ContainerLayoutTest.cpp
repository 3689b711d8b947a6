#include "ui/ContainerUI.h"
#include "ui/ControlUI.h"
#include "ui/HorizontalLayoutUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/TabLayoutUI.h"
#include "ui/VerticalLayoutUI.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

// Adds a child with the given attributes and returns it.
template <class Control = CControlUI>
Control* AddChild(CContainerUI& parent, std::u16string_view attributes)
{
    auto control = std::make_unique<Control>();
    control->ApplyAttributeList(attributes);
    Control* raw = control.get();
    EXPECT_TRUE(parent.Add(std::move(control)));
    return raw;
}

template <class Layout>
std::unique_ptr<Layout> MakeLayout(std::u16string_view attributes)
{
    auto layout = std::make_unique<Layout>();
    layout->ApplyAttributeList(attributes);
    return layout;
}

int HeightOf(const UIRect& rc) { return rc.bottom - rc.top; }
int WidthOf(const UIRect& rc) { return rc.right - rc.left; }

// Asks for a height equal to the width it is offered.
class SquareControl : public CControlUI {
public:
    UISize EstimateSize(UISize available) override { return {0, available.cx}; }
};

TEST(ContainerLayout, StretchableChildrenShareTheFreeHeightAndTheLastTakesTheRest)
{
    auto layout = MakeLayout<CVerticalLayoutUI>(u"");
    CControlUI* a = AddChild(*layout, u"height=\"65\"");
    CControlUI* b = AddChild(*layout, u"height=\"40\"");
    CControlUI* c = AddChild(*layout, u"");
    layout->SetItemRect({10, 20, 310, 560});
    EXPECT_EQ(a->GetItemRect(), (UIRect{10, 20, 310, 85}));
    EXPECT_EQ(b->GetItemRect(), (UIRect{10, 85, 310, 125}));
    EXPECT_EQ(c->GetItemRect(), (UIRect{10, 125, 310, 560}));
    EXPECT_EQ(HeightOf(c->GetItemRect()), 435);

    auto two = MakeLayout<CVerticalLayoutUI>(u"");
    CControlUI* first = AddChild(*two, u"");
    CControlUI* last = AddChild(*two, u"");
    two->SetItemRect({0, 0, 50, 101});
    EXPECT_EQ(HeightOf(first->GetItemRect()), 50);
    EXPECT_EQ(last->GetItemRect(), (UIRect{0, 50, 50, 101}));

    // More fixed height than room: stretchable children get nothing, never
    // a negative height.
    auto full = MakeLayout<CVerticalLayoutUI>(u"");
    AddChild(*full, u"height=\"80\"");
    CControlUI* squeezed = AddChild(*full, u"");
    CControlUI* squeezedLast = AddChild(*full, u"");
    full->SetItemRect({0, 0, 10, 50});
    EXPECT_EQ(squeezed->GetItemRect(), (UIRect{0, 80, 10, 80}));
    EXPECT_EQ(squeezedLast->GetItemRect(), (UIRect{0, 80, 10, 80}));
}

TEST(ContainerLayout, InsetPaddingAndChildPaddingInAVerticalLayout)
{
    auto layout = MakeLayout<CVerticalLayoutUI>(u"inset=\"5,5,5,5\" childpadding=\"4\"");
    CControlUI* a = AddChild(*layout, u"height=\"20\" padding=\"2,3,4,5\"");
    CControlUI* b = AddChild(*layout, u"padding=\"1,1,1,1\"");
    layout->SetItemRect({0, 0, 200, 100});
    // Inner 190 x 90 at (5,5). Needed: 20 + 3 + 5 + 1 + 1 + 4 = 34, so b gets
    // 56. A rectangle's bottom includes the child's bottom padding.
    EXPECT_EQ(a->GetItemRect(), (UIRect{7, 8, 191, 33}));
    EXPECT_EQ(b->GetItemRect(), (UIRect{6, 38, 194, 95}));
    EXPECT_EQ(layout->GetInnerRect(), (UIRect{5, 5, 195, 95}));

    // The estimate is asked within the inner size.
    auto squares = MakeLayout<CVerticalLayoutUI>(u"inset=\"10,0,10,0\"");
    CControlUI* square = AddChild<SquareControl>(*squares, u"");
    CControlUI* filler = AddChild(*squares, u"");
    squares->SetItemRect({0, 0, 100, 300});
    EXPECT_EQ(square->GetItemRect(), (UIRect{10, 0, 90, 80}));
    EXPECT_EQ(filler->GetItemRect(), (UIRect{10, 80, 90, 300}));
}

TEST(ContainerLayout, MinimumAndMaximumSizesClampFixedSizes)
{
    auto layout = MakeLayout<CVerticalLayoutUI>(u"");
    CControlUI* capped = AddChild(*layout, u"height=\"500\" maxheight=\"100\" width=\"10\" minwidth=\"40\"");
    CControlUI* raised = AddChild(*layout, u"height=\"5\" minheight=\"30\" maxwidth=\"50\"");
    CControlUI* conflicting = AddChild(*layout, u"height=\"50\" minheight=\"60\" maxheight=\"40\"");
    CControlUI* rest = AddChild(*layout, u"");
    layout->SetItemRect({0, 0, 200, 400});
    EXPECT_EQ(capped->GetItemRect(), (UIRect{0, 0, 40, 100}));
    EXPECT_EQ(raised->GetItemRect(), (UIRect{0, 100, 50, 130}));
    EXPECT_EQ(conflicting->GetItemRect(), (UIRect{0, 130, 200, 190}));  // the minimum wins
    EXPECT_EQ(rest->GetItemRect(), (UIRect{0, 190, 200, 400}));

    // A width that padding would make negative becomes 0, then the minimum.
    auto narrow = MakeLayout<CVerticalLayoutUI>(u"");
    CControlUI* padded = AddChild(*narrow, u"padding=\"30,0,30,0\" height=\"10\" minwidth=\"7\"");
    narrow->SetItemRect({0, 0, 40, 100});
    EXPECT_EQ(padded->GetItemRect(), (UIRect{30, 0, 37, 10}));
}

TEST(ContainerLayout, HorizontalLayoutStacksWidthsWithTheAxesExchanged)
{
    auto layout = MakeLayout<CHorizontalLayoutUI>(u"inset=\"1,2,3,4\" childpadding=\"6\"");
    CControlUI* a = AddChild(*layout, u"width=\"30\" padding=\"2,3,4,5\"");
    CControlUI* b = AddChild(*layout, u"height=\"20\" maxheight=\"15\"");
    CControlUI* c = AddChild(*layout, u"");
    layout->SetItemRect({100, 200, 301, 300});
    // Inner (101,202)-(298,296): 197 x 94. Needed: 30 + 2 + 4 + 2 x 6 = 48;
    // b and c share 149 as 74 and 75. A rectangle's right edge includes the
    // child's right padding.
    EXPECT_EQ(a->GetItemRect(), (UIRect{103, 205, 137, 291}));
    EXPECT_EQ(b->GetItemRect(), (UIRect{143, 202, 217, 217}));
    EXPECT_EQ(c->GetItemRect(), (UIRect{223, 202, 298, 296}));
    EXPECT_EQ(WidthOf(c->GetItemRect()), 75);

    auto halves = MakeLayout<CHorizontalLayoutUI>(u"");
    CControlUI* left = AddChild(*halves, u"");
    CControlUI* right = AddChild(*halves, u"");
    halves->SetItemRect({0, 0, 101, 10});
    EXPECT_EQ(left->GetItemRect(), (UIRect{0, 0, 50, 10}));
    EXPECT_EQ(right->GetItemRect(), (UIRect{50, 0, 101, 10}));
}

TEST(ContainerLayout, InvisibleAndFloatingChildrenTakeNoSpace)
{
    auto layout = MakeLayout<CVerticalLayoutUI>(u"childpadding=\"10\"");
    CControlUI* top = AddChild(*layout, u"height=\"30\"");
    CControlUI* hidden = AddChild(*layout, u"height=\"1000\" visible=\"false\"");
    CControlUI* floating = AddChild(*layout, u"float=\"true\" pos=\"5,5,15,15\"");
    CControlUI* rest = AddChild(*layout, u"");
    layout->SetItemRect({0, 0, 100, 100});
    EXPECT_EQ(top->GetItemRect(), (UIRect{0, 0, 100, 30}));
    EXPECT_EQ(rest->GetItemRect(), (UIRect{0, 40, 100, 100}));  // one gap: two children count
    EXPECT_EQ(hidden->GetItemRect(), UIRect{});
    EXPECT_EQ(floating->GetItemRect(), (UIRect{5, 5, 15, 15}));
}

TEST(ContainerLayout, FloatingChildrenArePlacedByPosAgainstTheParentRectangle)
{
    // The inset does not move floating children.
    auto parent = MakeLayout<CHorizontalLayoutUI>(u"inset=\"7,7,7,7\"");
    CControlUI* fromRight = AddChild(*parent, u"float=\"true\" pos=\"-40,10,-20,30\"");
    CControlUI* widened = AddChild(*parent, u"float=\"true\" pos=\"877,2,0,0\" width=\"87\"");
    CControlUI* fromBottom = AddChild(*parent, u"float=\"true\" pos=\"3,-30,13,-10\"");
    parent->SetItemRect({100, 50, 1100, 650});
    EXPECT_EQ(fromRight->GetItemRect(), (UIRect{1060, 60, 1080, 80}));
    EXPECT_EQ(widened->GetItemRect(), (UIRect{977, 52, 1064, 52}));
    EXPECT_EQ(fromBottom->GetItemRect(), (UIRect{103, 620, 113, 640}));

    // The same through a built layout: "width" after "pos" replaces its width.
    CWindowUIManager manager;
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root = builder.CreateDetached(
        u"<Window><VerticalLayout>"
        u"<Label name=\"a\" float=\"true\" pos=\"877,2,0,0\" width=\"87\" height=\"20\"/>"
        u"<Label name=\"b\" float=\"true\" pos=\"-40,10,-20,30\"/>"
        u"</VerticalLayout></Window>",
        nullptr, &manager);
    ASSERT_NE(root, nullptr);
    root->SetItemRect({0, 0, 1000, 600});
    auto* container = static_cast<CContainerUI*>(root->GetContainer());
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->GetItemAt(0)->GetItemRect(), (UIRect{877, 2, 964, 22}));
    EXPECT_EQ(container->GetItemAt(1)->GetItemRect(), (UIRect{960, 10, 980, 30}));
}

TEST(ContainerLayout, APosWithoutExtentMovesTheControlAndKeepsItsSize)
{
    // Per-language geometry moves edits with "291,69,0,0" after the layout
    // gave them their size; an empty extent ("10,12,10,12") does the same.
    auto parent = MakeLayout<CHorizontalLayoutUI>(u"");
    CControlUI* moved = AddChild(*parent, u"float=\"true\" width=\"120\" height=\"18\"");
    CControlUI* still = AddChild(*parent, u"float=\"true\" pos=\"0,0,30,20\"");
    moved->SetAttribute(u"pos", u"291,69,0,0");
    still->SetAttribute(u"pos", u"10,12,10,12");
    parent->SetItemRect({0, 0, 1000, 600});
    EXPECT_EQ(moved->GetItemRect(), (UIRect{291, 69, 411, 87}));
    EXPECT_EQ(still->GetItemRect(), (UIRect{10, 12, 40, 32}));
}

TEST(ContainerLayout, RelativePositionFollowsTheParentsChangeInSize)
{
    auto parent = MakeLayout<CContainerUI>(u"");
    CControlUI* child = AddChild(*parent, u"float=\"true\" pos=\"10,10,30,30\" relativepos=\"50,100,100,0\"");
    parent->SetItemRect({0, 0, 200, 100});
    EXPECT_EQ(child->GetItemRect(), (UIRect{10, 10, 30, 30}));  // first layout: size remembered only

    parent->SetItemRect({0, 0, 300, 150});  // +100, +50
    EXPECT_EQ(child->GetItemRect(), (UIRect{60, 60, 180, 80}));
    parent->SetItemRect({0, 0, 300, 150});  // unchanged size: stays
    EXPECT_EQ(child->GetItemRect(), (UIRect{60, 60, 180, 80}));

    // -101 x 50% truncates to -50; width grows by -101 to 19.
    parent->SetItemRect({0, 0, 199, 100});
    EXPECT_EQ(child->GetItemRect(), (UIRect{10, 10, 29, 30}));
    // Moving the parent without resizing moves the child along.
    parent->SetItemRect({40, 5, 239, 105});
    EXPECT_EQ(child->GetItemRect(), (UIRect{50, 15, 69, 35}));

    // Shrinking beyond the size leaves an empty rectangle, not a negative one.
    CControlUI* shrinking = AddChild(*parent, u"float=\"true\" pos=\"0,0,10,10\" relativepos=\"0,0,100,100\"");
    parent->SetItemRect({0, 0, 199, 100});
    parent->SetItemRect({0, 0, 20, 20});
    EXPECT_EQ(shrinking->GetItemRect(), (UIRect{0, 0, 0, 0}));
}

TEST(ContainerLayout, TabLayoutGivesTheSelectedChildTheInnerRectangle)
{
    auto tab = MakeLayout<CTabLayoutUI>(u"inset=\"2,3,4,5\"");
    CControlUI* first = AddChild(*tab, u"height=\"10\" padding=\"1,1,1,1\"");
    CControlUI* second = AddChild(*tab, u"");
    CControlUI* third = AddChild(*tab, u"");
    tab->SetItemRect({0, 0, 100, 80});
    EXPECT_EQ(first->GetItemRect(), (UIRect{2, 3, 96, 75}));
    EXPECT_EQ(second->GetItemRect(), UIRect{});
    EXPECT_FALSE(third->IsVisible());

    ASSERT_TRUE(tab->SelectItem(2));
    EXPECT_FALSE(first->IsVisible());
    EXPECT_TRUE(third->IsVisible());
    EXPECT_EQ(third->GetItemRect(), (UIRect{2, 3, 96, 75}));  // placed at once
    EXPECT_EQ(tab->GetCurSel(), 2);

    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_FALSE(tab->SelectItem(-1));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_TRUE(third->IsVisible());
}

TEST(ContainerLayout, VerticalScrollBarShowsWhileTheContentIsTaller)
{
    auto layout = MakeLayout<CVerticalLayoutUI>(u"vscrollbar=\"true\"");
    layout->SetVScrollBarStyle(u"width=\"10\"");  // styles the existing bar
    CControlUI* a = AddChild(*layout, u"height=\"60\"");
    CControlUI* b = AddChild(*layout, u"height=\"60\"");
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->IsVisible());

    layout->SetItemRect({0, 0, 100, 100});
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 20);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(a->GetItemRect(), (UIRect{0, 0, 90, 60}));  // laid out again, narrower
    EXPECT_EQ(b->GetItemRect(), (UIRect{0, 60, 90, 120}));
    EXPECT_EQ(bar->GetItemRect(), (UIRect{90, 0, 100, 100}));

    layout->SetVScrollPos(15);
    EXPECT_EQ(a->GetItemRect(), (UIRect{0, -15, 90, 45}));
    layout->SetVScrollPos(500);  // kept within the range
    EXPECT_EQ(bar->GetScrollPos(), 20);
    EXPECT_EQ(b->GetItemRect(), (UIRect{0, 40, 90, 100}));

    // Content that fits hides the bar, widens the children and resets the range.
    b->SetVisible(false);
    layout->SetItemRect({0, 0, 100, 100});
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 0);
    EXPECT_EQ(a->GetItemRect(), (UIRect{0, 0, 100, 60}));

    // Stretchable children fill the layout exactly: no bar.
    auto filled = MakeLayout<CVerticalLayoutUI>(u"vscrollbar=\"true\"");
    AddChild(*filled, u"height=\"30\"");
    AddChild(*filled, u"");
    filled->SetItemRect({0, 0, 100, 100});
    EXPECT_FALSE(filled->GetVerticalScrollBar()->IsVisible());

    // A horizontal layout scrolls by its tallest child; a bar styled by
    // nothing takes the default width.
    auto row = MakeLayout<CHorizontalLayoutUI>(u"vscrollbar=\"true\" inset=\"0,0,4,0\"");
    CControlUI* cell = AddChild(*row, u"height=\"130\" padding=\"0,5,0,5\"");
    row->SetItemRect({0, 0, 100, 100});
    EXPECT_TRUE(row->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(row->GetVerticalScrollBar()->GetScrollRange(), 40);
    EXPECT_EQ(cell->GetItemRect(), (UIRect{0, 5, 100 - 4 - CContainerUI::kDefaultScrollBarWidth, 135}));
}

TEST(ContainerLayout, ScrollBarTakesTheManagersDefaultsThenItsStyle)
{
    CWindowUIManager manager;
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root = builder.CreateDetached(
        u"<Window><Default name=\"VScrollBar\" value=\"width=&quot;12&quot; linesize=&quot;3&quot;\"/>"
        u"<VerticalLayout vscrollbar=\"true\"><Control height=\"300\"/></VerticalLayout></Window>",
        nullptr, &manager);
    ASSERT_NE(root, nullptr);
    auto* layout = static_cast<CContainerUI*>(root->GetContainer());
    ASSERT_NE(layout->GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(layout->GetVerticalScrollBar()->GetFixedWidth(), 12);
    EXPECT_EQ(layout->GetVerticalScrollBar()->GetLineSize(), 3);
    layout->SetItemRect({0, 0, 100, 100});
    EXPECT_EQ(layout->GetItemAt(0)->GetItemRect(), (UIRect{0, 0, 88, 300}));

    // A style given before the bar is switched on still applies.
    CVerticalLayoutUI styled;
    styled.SetVScrollBarStyle(u"width=\"9\"");
    styled.SetVScrollBar(true);
    EXPECT_EQ(styled.GetVerticalScrollBar()->GetFixedWidth(), 9);
}

TEST(ContainerLayout, HostileSizesNeverProduceInvertedRectangles)
{
    const std::u16string huge = u"2147483647";
    auto layout = MakeLayout<CVerticalLayoutUI>(u"childpadding=\"-2147483648\" inset=\"2147483647,-5,-2147483648,9\"");
    std::vector<CControlUI*> children = {
        AddChild(*layout, u"height=\"" + huge + u"\" width=\"" + huge + u"\" padding=\"-2147483648,2147483647,5,5\""),
        AddChild(*layout, u"height=\"" + huge + u"\" minheight=\"" + huge + u"\""),
        AddChild(*layout, u""),
        AddChild(*layout, u"padding=\"2147483647,2147483647,2147483647,2147483647\""),
        AddChild(*layout, u"float=\"true\" pos=\"-2147483648,-2147483648,2147483647,2147483647\""
                          u" relativepos=\"2147483647,-2147483648,2147483647,2147483647\""),
    };
    auto horizontal = MakeLayout<CHorizontalLayoutUI>(u"vscrollbar=\"true\" childpadding=\"2147483647\"");
    children.push_back(AddChild(*horizontal, u"width=\"" + huge + u"\" height=\"" + huge + u"\""));
    children.push_back(AddChild(*horizontal, u""));
    auto tab = MakeLayout<CTabLayoutUI>(u"inset=\"50,50,50,50\"");
    children.push_back(AddChild(*tab, u""));
    const UIRect rects[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 0, 0}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                            {-100, -100, 100, 100}};
    for (const UIRect& rc : rects) {
        layout->SetItemRect(rc);
        horizontal->SetItemRect(rc);
        horizontal->SetVScrollPos(INT_MAX);
        tab->SetItemRect(rc);
        for (const CControlUI* child : children) {
            const UIRect& r = child->GetItemRect();
            EXPECT_LE(r.left, r.right);
            EXPECT_LE(r.top, r.bottom);
        }
    }
}

}  // namespace
}  // namespace SkinUI
