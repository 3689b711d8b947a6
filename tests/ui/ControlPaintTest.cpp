#include "platform/CairoPainter.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/OptionUI.h"
#include "ui/SliderUI.h"
#include "ui/WindowUIManager.h"

#include "tests/ui/BmpBuilder.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

constexpr uint32_t kBackground = 0xFF202020;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kYellow = 0xFFFFFF00;
constexpr uint32_t kCyan = 0xFF00FFFF;
constexpr uint32_t kMagenta = 0xFFFF00FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

using Bytes = std::vector<uint8_t>;

// A 24-bit BMP of one row of opaque pixels, repeated on 4 rows.
Bytes MakeBmp(const std::vector<uint32_t>& row)
{
    return testsupport::MakeBmp(static_cast<uint32_t>(row.size()), 4, 24, [&](uint32_t x, uint32_t) { return row[x]; });
}

class SkinFolder {
public:
    SkinFolder()
    {
        Write("red.bmp", {kRed});
        Write("green.bmp", {kGreen});
        Write("blue.bmp", {kBlue});
        Write("yellow.bmp", {kYellow});
        Write("cyan.bmp", {kCyan});
        Write("two.bmp", {kMagenta, kWhite});
        Write("keyed.bmp", {kMagenta, kWhite});
    }
    std::string Path() const { return folder_.Path().string(); }
    std::string File(const std::string& name) const { return folder_.File(name); }

private:
    void Write(const std::string& name, const std::vector<uint32_t>& row)
    {
        const Bytes bytes = MakeBmp(row);
        std::ofstream(folder_.Path() / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                            static_cast<std::streamsize>(bytes.size()));
    }

    testsupport::TempFolder folder_{"control-paint"};
};

// Pixels of `rc` that differ from `background`.
int InkIn(const platform::Painter& painter, const UIRect& rc, uint32_t background)
{
    int ink = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x)
            ink += painter.PixelAt(x, y) != background ? 1 : 0;
    }
    return ink;
}

// The columns of `rc` that hold a pixel other than `background`.
std::vector<int> InkColumns(const platform::Painter& painter, const UIRect& rc, uint32_t background)
{
    std::vector<int> columns;
    for (int x = rc.left; x < rc.right; ++x) {
        if (InkIn(painter, {x, rc.top, x + 1, rc.bottom}, background) > 0)
            columns.push_back(x);
    }
    return columns;
}

// A 320 × 240 window of rows of controls over a dark background.
constexpr char16_t kLayout[] =
    u"<Window size=\"320,240\">"
    u"<VerticalLayout bkcolor=\"#FF202020\">"
    // y 0..40
    u" <HorizontalLayout height=\"40\">"
    u"  <Button name=\"btn\" width=\"60\" normalimage=\"red.bmp\" hotimage=\"green.bmp\" />"
    u"  <Option name=\"opt\" width=\"60\" normalimage=\"red.bmp\" selectedimage=\"blue.bmp\" selected=\"true\" />"
    u"  <Control name=\"framed\" width=\"40\" bkcolor=\"#FF0000FF\" bordersize=\"2\" bordercolor=\"#FFFFFF00\" />"
    u"  <Control name=\"round\" width=\"40\" bkcolor=\"#FF0000FF\" bordersize=\"2\" bordercolor=\"#FFFFFF00\""
    u"           borderround=\"16,16\" />"
    u"  <Control name=\"missing\" width=\"40\" bkimage=\"nothere.bmp\" />"
    u"  <Control name=\"cut\" width=\"40\" bkimage=\"file=&apos;red.bmp&apos; dest=&apos;20,20,500,500&apos;\" />"
    u" </HorizontalLayout>"
    // y 40..80
    u" <HorizontalLayout height=\"40\">"
    u"  <Label name=\"long\" width=\"100\" textpadding=\"4,0,0,0\" textcolor=\"#FFFFFFFF\""
    u"         text=\"WWWWWWWWWWWWWWWWWWWWWWWW\" />"
    u"  <Control width=\"100\" />"
    u"  <Label name=\"right\" width=\"120\" align=\"right\" textcolor=\"#FFFFFFFF\" text=\"ab\" />"
    u" </HorizontalLayout>"
    // y 80..120
    u" <HorizontalLayout height=\"40\">"
    u"  <Label name=\"html\" width=\"100\" showhtml=\"true\" textcolor=\"#FFFFFFFF\" text=\"{u}ab{/u}\" />"
    u"  <Label name=\"plain\" width=\"100\" textcolor=\"#FFFFFFFF\" text=\"{u}ab{/u}\" />"
    u"  <Label name=\"off\" width=\"100\" enabled=\"false\" disabledtextcolor=\"#FFFF0000\" text=\"ab\" />"
    u" </HorizontalLayout>"
    // y 120..140
    u" <Slider name=\"slider\" height=\"20\" value=\"50\" thumbimage=\"yellow.bmp\" thumbhotimage=\"green.bmp\""
    u"         thumbsize=\"10,20\" fgimage=\"cyan.bmp\" />"
    // y 140..180
    u" <HorizontalLayout height=\"40\">"
    u"  <Progress name=\"vbar\" width=\"20\" hor=\"false\" value=\"25\" fgimage=\"cyan.bmp\" />"
    u"  <Edit name=\"secret\" width=\"80\" password=\"true\" textcolor=\"#FF000000\" text=\"abc\" />"
    u"  <Edit name=\"stars\" width=\"80\" textcolor=\"#FF000000\" text=\"***\" />"
    u"  <Combo name=\"combo\" width=\"80\" bkcolor=\"#FFFFFFFF\">"
    u"   <ListLabelElement text=\"one\" /><ListLabelElement text=\"two\" />"
    u"  </Combo>"
    u"  <Control name=\"fade\" width=\"60\" bkcolor=\"#FFFF0000\" bkcolor2=\"#FF0000FF\" />"
    u" </HorizontalLayout>"
    // y 180..220, then 20 empty pixels
    u" <VerticalLayout name=\"scroller\" height=\"40\" vscrollbar=\"true\""
    u"   vscrollbarstyle=\"showbutton1=&quot;false&quot; showbutton2=&quot;false&quot;\">"
    u"  <Control height=\"50\" bkcolor=\"#FFFF0000\" /><Control height=\"50\" bkcolor=\"#FF00FF00\" />"
    u" </VerticalLayout>"
    u"</VerticalLayout></Window>";

class ControlPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.SetResourcePath(folder.Path());
        root = builder.CreateDetached(kLayout, nullptr, &manager);
        ASSERT_NE(root, nullptr);
        manager.SetRoot(root.get());
        root->SetItemRect({0, 0, 320, 240});
        manager.PaintAll(painter);
    }

    template <class Control = CControlUI>
    Control* Find(std::u16string_view name)
    {
        auto* control = dynamic_cast<Control*>(manager.FindControl(name));
        EXPECT_NE(control, nullptr) << "no control " << std::string(name.begin(), name.end());
        return control;
    }

    uint32_t At(int x, int y) const { return painter.PixelAt(x, y); }

    SkinFolder folder;
    CWindowUIManager manager;
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root;
    platform::CairoPainter painter{320, 240};
};

TEST_F(ControlPaint, BackgroundsBordersAndImages)
{
    EXPECT_EQ(At(150, 230), kBackground);  // the root's colour where nothing covers it
    EXPECT_EQ(At(30, 20), kRed);           // button's normal image stretched over it
    EXPECT_EQ(At(90, 20), kBlue);          // option starts selected

    // Square frame: two pixels of border colour, then the background colour.
    EXPECT_EQ(At(120, 20), kYellow);
    EXPECT_EQ(At(121, 20), kYellow);
    EXPECT_EQ(At(122, 20), kBlue);
    EXPECT_EQ(At(159, 39), kYellow);
    // Rounded frame: the very corner lies outside the curve, mid-edges are on it.
    EXPECT_NE(At(160, 0), kYellow);
    EXPECT_EQ(At(160, 20), kYellow);
    EXPECT_EQ(At(180, 0), kYellow);

    // A missing image draws nothing and reports so.
    EXPECT_EQ(InkIn(painter, Find(u"missing")->GetItemRect(), kBackground), 0);
    EXPECT_FALSE(Find(u"missing")->DrawImage(painter, u"nothere.bmp"));
    EXPECT_FALSE(Find(u"missing")->DrawImage(painter, u"file='' dest='0,0,5,5'"));
    EXPECT_TRUE(Find(u"missing")->DrawImage(painter, u"red.bmp", u"dest='0,0,0,0'"));  // loaded, nothing to fill

    // "dest" is relative to the control and cut to it.
    EXPECT_EQ(At(259, 30), kBackground);
    EXPECT_EQ(At(260, 20), kRed);
    EXPECT_EQ(At(279, 39), kRed);
    EXPECT_EQ(At(280, 20), kBackground);

    // Two colours make a top-to-bottom gradient.
    auto red = [this](int x, int y) { return (At(x, y) >> 16) & 0xFF; };
    auto blue = [this](int x, int y) { return At(x, y) & 0xFF; };
    EXPECT_GT(red(290, 140), 0xF0u);
    EXPECT_LT(blue(290, 140), 0x10u);
    EXPECT_NEAR(red(290, 160), 0x80, 0x10);
    EXPECT_LT(red(290, 179), 0x10u);
    EXPECT_GT(blue(290, 179), 0xF0u);

    // Source, mask and fade through the helper, on the "missing" control.
    CControlUI* target = Find(u"missing");
    target->DrawImage(painter, u"file='two.bmp' source='1,0,2,4'");
    EXPECT_EQ(At(210, 20), kWhite);
    target->DrawImage(painter, u"file='keyed.bmp' mask='#FFFF00FF'", u"dest='0,0,40,20'");
    EXPECT_EQ(At(205, 5), kWhite);  // the magenta half became transparent: white stays
    EXPECT_EQ(At(235, 5), kWhite);
    EXPECT_EQ(At(210, 30), kWhite);  // below the new dest: the earlier white
}

TEST_F(ControlPaint, ButtonAndOptionStatesChooseTheirImages)
{
    auto* button = Find<CButtonUI>(u"btn");
    auto* option = Find<COptionUI>(u"opt");
    ASSERT_TRUE(button && option);

    button->SetButtonState(CButtonUI::kHot);
    option->SetSelected(false);
    manager.Paint(painter, button->GetItemRect());
    EXPECT_EQ(At(30, 20), kGreen);
    EXPECT_EQ(At(90, 20), kBlue);  // outside the dirty rectangle: not repainted

    button->SetButtonState(CButtonUI::kPushed);  // no pushed image: the normal one
    manager.PaintAll(painter);
    EXPECT_EQ(At(30, 20), kRed);
    EXPECT_EQ(At(90, 20), kRed);

    button->SetButtonState(CButtonUI::kHot | CButtonUI::kDisabled);  // no disabled image either
    option->SetSelected(true);
    option->SetSelectedImage(u"nothere.bmp");  // a selected image that fails falls back too
    manager.PaintAll(painter);
    EXPECT_EQ(At(30, 20), kRed);
    EXPECT_EQ(At(90, 20), kRed);

    option->SetForeImage(u"file='green.bmp' dest='0,0,10,10'");
    manager.PaintAll(painter);
    EXPECT_EQ(At(65, 5), kGreen);
    EXPECT_EQ(At(75, 20), kRed);
}

TEST_F(ControlPaint, TextStaysInsideItsControlAndFollowsItsAttributes)
{
    // Left aligned with padding, too long for its 100 pixels: cut at the edge.
    const std::vector<int> longInk = InkColumns(painter, {0, 40, 120, 80}, kBackground);
    ASSERT_FALSE(longInk.empty());
    EXPECT_GE(longInk.front(), 4);
    EXPECT_GE(longInk.back(), 95);
    EXPECT_LE(longInk.back(), 99);
    EXPECT_EQ(InkIn(painter, {100, 40, 200, 80}, kBackground), 0);

    // Right aligned: ink only near the right edge.
    const std::vector<int> rightInk = InkColumns(painter, {200, 40, 320, 80}, kBackground);
    ASSERT_FALSE(rightInk.empty());
    EXPECT_GT(rightInk.front(), 280);
    EXPECT_GE(rightInk.back(), 310);

    // Mark-up: the braces are not drawn, so the text is narrower; without it they are.
    const std::vector<int> html = InkColumns(painter, {0, 80, 100, 120}, kBackground);
    const std::vector<int> plain = InkColumns(painter, {100, 80, 200, 120}, kBackground);
    ASSERT_FALSE(html.empty());
    ASSERT_FALSE(plain.empty());
    EXPECT_LT(html.size() + 10, plain.size());

    // Disabled: the disabled colour.
    int reddish = 0;
    for (int y = 80; y < 120; ++y) {
        for (int x = 200; x < 300; ++x) {
            const uint32_t p = At(x, y);
            reddish += ((p >> 16) & 0xFF) > 0xC0 && (p & 0xFF) < 0x40 ? 1 : 0;
        }
    }
    EXPECT_GT(reddish, 5);

    // A password edit shows one star per character: exactly what "***" shows.
    const UIRect secret = Find(u"secret")->GetItemRect();
    const UIRect stars = Find(u"stars")->GetItemRect();
    ASSERT_GT(InkIn(painter, secret, kWhite), 0);
    for (int y = secret.top; y < secret.bottom; ++y) {
        for (int x = secret.left; x < secret.right; ++x)
            ASSERT_EQ(At(x, y), At(x - secret.left + stars.left, y)) << x << "," << y;
    }

    // The combo shows its selected item's text, nothing without a selection.
    auto* combo = Find<CComboUI>(u"combo");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(InkIn(painter, combo->GetItemRect(), kWhite), 0);
    combo->SetCurSel(1);
    EXPECT_EQ(combo->GetSelectedText(), u"two");
    manager.Paint(painter, combo->GetItemRect());
    EXPECT_GT(InkIn(painter, combo->GetItemRect(), kWhite), 0);
    combo->SetCurSel(7);
    manager.Paint(painter, combo->GetItemRect());
    EXPECT_EQ(InkIn(painter, combo->GetItemRect(), kWhite), 0);
}

TEST_F(ControlPaint, SliderProgressAndScrollBarFollowTheirValues)
{
    // 320 wide, thumb 10: (320 - 10) × 50 / 100 = 155 from the left.
    EXPECT_EQ(At(154, 130), kCyan);  // the filled half
    EXPECT_EQ(At(155, 130), kYellow);
    EXPECT_EQ(At(164, 130), kYellow);
    EXPECT_EQ(At(165, 130), kBackground);  // past the filled half
    EXPECT_EQ(At(100, 130), kCyan);

    auto* slider = Find<CSliderUI>(u"slider");
    ASSERT_NE(slider, nullptr);
    slider->SetValue(500);  // out of range: paints full and stores the maximum
    slider->SetButtonState(CSliderUI::kHot);
    manager.PaintAll(painter);
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(At(309, 130), kCyan);
    EXPECT_EQ(At(310, 130), kGreen);
    EXPECT_EQ(At(319, 130), kGreen);

    // Vertical progress at 25 %: the bottom quarter of 40 pixels.
    EXPECT_EQ(At(10, 169), kBackground);
    EXPECT_EQ(At(10, 170), kCyan);
    EXPECT_EQ(At(10, 179), kCyan);

    // The scroll bar: plain look, thumb at the top, then at the bottom.
    auto* scroller = Find<CContainerUI>(u"scroller");
    ASSERT_NE(scroller, nullptr);
    ASSERT_NE(scroller->GetVerticalScrollBar(), nullptr);
    ASSERT_TRUE(scroller->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(At(300, 190), kRed);  // children cut to the inner rectangle
    EXPECT_EQ(At(300, 225), kBackground);
    // Rail 40 high, content 100 in 40: a thumb of 16 that travels 24.
    const uint32_t thumb = At(312, 195);
    const uint32_t rail = At(312, 196);
    EXPECT_NE(thumb, rail);
    EXPECT_EQ(At(312, 180), thumb);
    EXPECT_EQ(At(312, 219), rail);
    scroller->SetVScrollPos(1000);
    manager.PaintAll(painter);
    EXPECT_EQ(At(312, 203), rail);
    EXPECT_EQ(At(312, 204), thumb);
    EXPECT_EQ(At(312, 219), thumb);
    EXPECT_EQ(At(300, 219), kGreen);

    ASSERT_TRUE(painter.WritePng(folder.File("window.png")));
    EXPECT_GT(std::filesystem::file_size(folder.File("window.png")), 100u);
}

// Mark-up as the program's link buttons and menus write it: colours with a
// zero alpha byte, icons from the window's images, a text changed at run time.
TEST(ControlPaintMarkup, LabelsDrawIconsAndOpaqueColoursAndFollowNewText)
{
    SkinFolder folder;
    CWindowUIManager manager;
    manager.SetResourcePath(folder.Path());
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root = builder.CreateDetached(
        u"<Window><VerticalLayout bkcolor=\"#FF000000\">"
        u"<Button name=\"link\" height=\"30\" showhtml=\"true\" textcolor=\"#00FF4444\" font=\"99\""
        u"  text=\"{i two.bmp } {u}WW{/u} {c #00FFFFFF}WW{/c}\" />"
        u"<Label name=\"plain\" height=\"30\" textcolor=\"#00FFFFFF\" text=\"{i two.bmp }WW\" />"
        u"</VerticalLayout></Window>",
        nullptr, &manager);
    ASSERT_NE(root, nullptr);
    manager.SetRoot(root.get());
    root->SetItemRect({0, 0, 160, 60});
    platform::CairoPainter painter(160, 60);
    auto count = [&](uint32_t colour, int top) {
        int n = 0;
        for (int y = top; y < top + 30; ++y)
            for (int x = 0; x < 160; ++x)
                n += painter.PixelAt(x, y) == colour ? 1 : 0;
        return n;
    };
    manager.PaintAll(painter);
    EXPECT_EQ(count(kMagenta, 0), 4);  // the 2×4 icon
    EXPECT_GT(count(kWhite, 0), 4 + 5);
    EXPECT_GT(count(0xFFFF4444, 0), 5);
    EXPECT_EQ(count(kMagenta, 30), 0);  // no mark-up: the braces are text
    EXPECT_GT(count(kWhite, 30), 5);

    CControlUI* link = manager.FindControl(u"link");
    ASSERT_NE(link, nullptr);
    link->SetText(u"{b}WW");
    manager.PaintAll(painter);
    EXPECT_EQ(count(kMagenta, 0), 0);
    EXPECT_EQ(count(kWhite, 0), 0);
    EXPECT_GT(count(0xFFFF4444, 0), 5);
}

TEST(ControlPaintHostile, NothingALayoutSaysBreaksPainting)
{
    SkinFolder folder;
    CWindowUIManager manager;
    manager.SetResourcePath(folder.Path());
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root = builder.CreateDetached(
        u"<Window><Container bkcolor=\"#FF202020\">"
        u"<Control float=\"true\" pos=\"-2147483648,-2147483648,2147483647,2147483647\" bkcolor=\"#80FF0000\""
        u"  bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\" bordersize=\"2147483647\" bordercolor=\"#FFFFFFFF\""
        u"  borderround=\"2147483647,-5\""
        u"  bkimage=\"file=&apos;red.bmp&apos; dest=&apos;-2147483648,5,2147483647,-9&apos; corner=&apos;-1,99,99,-1&apos;"
        u"  source=&apos;-50,-50,2147483647,3&apos; fade=&apos;999&apos; hole=&apos;true&apos;\" />"
        u"<Label float=\"true\" pos=\"10,10,20,20\" textpadding=\"2147483647,-2147483648,5,5\" text=\"x{u}\""
        u"  showhtml=\"true\" font=\"99\" />"
        u"<Slider float=\"true\" pos=\"0,0,50,10\" min=\"2147483647\" max=\"-2147483648\" value=\"-2147483648\""
        u"  thumbsize=\"2147483647,2147483647\" thumbimage=\"yellow.bmp\" fgimage=\"cyan.bmp\" />"
        u"<Progress float=\"true\" pos=\"0,0,50,10\" hor=\"false\" min=\"-2147483648\" max=\"2147483647\""
        u"  value=\"2147483647\" fgimage=\"cyan.bmp\" />"
        u"<Edit float=\"true\" pos=\"0,0,9999,9999\" password=\"true\" text=\"\xD800\" normalimage=\"nothere.bmp\" />"
        u"<Combo float=\"true\" pos=\"5,5,-5,-5\" normalimage=\"\" />"
        u"<VerticalLayout vscrollbar=\"true\" vscrollbarstyle=\"thumbnormalimage=&quot;nothere.bmp&quot;\">"
        u"<Control height=\"2147483647\" /><Control height=\"2147483647\" />"
        u"</VerticalLayout>"
        u"</Container></Window>",
        nullptr, &manager);
    ASSERT_NE(root, nullptr);
    manager.SetRoot(root.get());

    for (const UIRect& rc : {UIRect{0, 0, 64, 48}, UIRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                             UIRect{100000, 100000, 200000, 200000}, UIRect{64, 48, 0, 0}}) {
        root->SetItemRect(rc);
        platform::CairoPainter painter(64, 48);
        manager.PaintAll(painter);
        manager.Paint(painter, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
        platform::CairoPainter empty(0, 0);
        manager.PaintAll(empty);
    }
    auto* slider = dynamic_cast<CSliderUI*>(root->GetContainer()->GetItemAt(2));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetMaxValue(), slider->GetMinValue() + 1);  // an empty range is widened
    EXPECT_EQ(slider->GetValue(), slider->GetMinValue());

    // Without a manager or a root nothing is drawn.
    manager.SetRoot(nullptr);
    platform::CairoPainter painter(8, 8);
    manager.PaintAll(painter);
    EXPECT_EQ(painter.PixelAt(4, 4), kWhite);  // just the cleared background
    CControlUI unbound;
    EXPECT_FALSE(unbound.DrawImage(painter, u"red.bmp"));
}

}  // namespace
}  // namespace SkinUI
