#include "platform/CairoPainter.h"
#include "tests/TempFolder.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

using platform::CairoPainter;
using platform::FontSpec;
using platform::ImageDraw;
using platform::ImageView;
using platform::PaintRect;
namespace TextFlag = platform::TextFlag;

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kBlack = 0xFF000000;

int ChannelAt(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// Every channel within `tolerance`.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 2)
{
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(ChannelAt(actual, shift) - ChannelAt(expected, shift)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    }
    return ::testing::AssertionSuccess();
}

int CountDifferent(const CairoPainter& painter, const PaintRect& area, uint32_t background)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += painter.PixelAt(x, y) != background;
    return count;
}

// The leftmost column that differs from the background.
int FirstInkColumn(const CairoPainter& painter, uint32_t background)
{
    for (int x = 0; x < painter.Width(); ++x)
        if (CountDifferent(painter, {x, 0, x + 1, painter.Height()}, background) > 0) return x;
    return -1;
}

// A 6×6 nine-grid image: 2-pixel corners red, edges green, a blue middle.
struct GridImage {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(36);
    GridImage()
    {
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool edgeX = x < 2 || x >= 4, edgeY = y < 2 || y >= 4;
                pixels[y * 6 + x] = edgeX && edgeY ? kRed : (edgeX || edgeY ? kGreen : kBlue);
            }
    }
    ImageView View() const { return {6, 6, pixels}; }
};

TEST(CairoPainter, FillsClipsAndSurvivesBadRectangles)
{
    CairoPainter painter(40, 30);
    EXPECT_EQ(painter.PixelAt(0, 0), 0u);  // starts transparent
    painter.FillRect({0, 0, 10, 10}, 0x80FF0000);
    EXPECT_TRUE(Near(painter.PixelAt(5, 5), 0x80800000, 1));  // stored premultiplied
    EXPECT_EQ(painter.PixelAt(10, 10), 0u);  // right and bottom are exclusive

    painter.Clear(kWhite);
    painter.PushClip({5, 5, 15, 15});
    painter.PushClip({10, 0, 40, 30});  // nested clips intersect
    painter.FillRect({0, 0, 40, 30}, kRed);
    painter.PopClip();
    EXPECT_EQ(painter.PixelAt(12, 12), kRed);
    EXPECT_EQ(painter.PixelAt(20, 20), kWhite);
    painter.FillRect({0, 0, 40, 30}, kBlue);
    painter.PopClip();
    painter.PopClip();  // one too many: ignored
    EXPECT_EQ(painter.PixelAt(7, 7), kBlue);
    EXPECT_EQ(painter.PixelAt(20, 20), kWhite);

    painter.PushClip({20, 20, 10, 10});  // inverted: nothing may be drawn
    painter.FillRect({0, 0, 40, 30}, kGreen);
    painter.PopClip();
    EXPECT_EQ(painter.PixelAt(20, 20), kWhite);

    painter.FillRect({30, 30, 0, 0}, kGreen);
    painter.DrawBorder({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MAX, kGreen);
    painter.DrawRoundBorder({INT_MIN, 0, INT_MAX, 5}, 3, {INT_MAX, INT_MIN}, kGreen);
    const uint32_t colours[] = {kRed, kBlue};
    painter.FillGradient({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, colours, true);
    painter.FillGradient({0, 0, 10, 10}, {}, true);
    EXPECT_EQ(painter.PixelAt(20, 20), kGreen);  // the huge border covered the surface

    painter.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kRed);
    EXPECT_EQ(painter.PixelAt(39, 29), kRed);
    EXPECT_EQ(painter.PixelAt(-1, 0), 0u);

    CairoPainter empty(-5, 0);
    empty.FillRect({0, 0, 10, 10}, kRed);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_TRUE(empty.Pixels().empty());
    EXPECT_EQ(empty.PixelAt(0, 0), 0u);
}

TEST(CairoPainter, GradientsAndBorders)
{
    CairoPainter painter(100, 100);
    const uint32_t two[] = {kRed, kBlue};
    painter.FillGradient({0, 0, 100, 100}, two, true);
    EXPECT_TRUE(Near(painter.PixelAt(50, 0), kRed, 4));
    EXPECT_TRUE(Near(painter.PixelAt(50, 99), kBlue, 4));

    const uint32_t three[] = {kRed, kGreen, kBlue, kWhite};  // the fourth is ignored
    painter.FillGradient({0, 0, 100, 100}, three, false);
    EXPECT_TRUE(Near(painter.PixelAt(0, 50), kRed, 4));
    EXPECT_TRUE(Near(painter.PixelAt(50, 50), kGreen, 8));
    EXPECT_TRUE(Near(painter.PixelAt(99, 50), kBlue, 4));

    painter.Clear(kWhite);
    painter.DrawBorder({10, 10, 50, 50}, 2, kBlack);
    EXPECT_EQ(painter.PixelAt(10, 10), kBlack);
    EXPECT_EQ(painter.PixelAt(49, 30), kBlack);
    EXPECT_EQ(painter.PixelAt(12, 30), kWhite);  // inside the frame
    EXPECT_EQ(painter.PixelAt(9, 30), kWhite);  // outside it

    painter.Clear(kWhite);
    painter.DrawBorder({10, 10, 50, 50}, 2, 0x80000000);  // translucent: the corners blend once
    EXPECT_EQ(painter.PixelAt(10, 10), painter.PixelAt(30, 10));

    painter.Clear(kWhite);
    painter.DrawRoundBorder({10, 10, 90, 90}, 2, {30, 30}, kBlack);
    EXPECT_EQ(painter.PixelAt(10, 10), kWhite);  // the corner is cut off
    EXPECT_EQ(painter.PixelAt(12, 12), kWhite);
    EXPECT_TRUE(Near(painter.PixelAt(50, 10), kBlack, 8));
    EXPECT_EQ(painter.PixelAt(50, 50), kWhite);
}

TEST(CairoPainter, NineGridKeepsCornersStretchesMiddleAndCanLeaveAHole)
{
    const GridImage image;
    CairoPainter painter(40, 40);
    painter.Clear(kWhite);
    ImageDraw draw;
    draw.dest = {5, 5, 35, 35};
    draw.corner = {2, 2, 2, 2};
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(5, 5), kRed);
    EXPECT_EQ(painter.PixelAt(6, 6), kRed);  // corners keep their 2 pixels
    EXPECT_EQ(painter.PixelAt(7, 7), kBlue);
    EXPECT_EQ(painter.PixelAt(32, 32), kBlue);
    EXPECT_EQ(painter.PixelAt(20, 5), kGreen);  // edges stretch along
    EXPECT_EQ(painter.PixelAt(20, 20), kBlue);  // the middle stretches
    EXPECT_EQ(painter.PixelAt(4, 4), kWhite);  // nothing outside dest
    EXPECT_EQ(painter.PixelAt(35, 35), kWhite);

    painter.Clear(kWhite);
    draw.hole = true;
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(20, 20), kWhite);
    EXPECT_EQ(painter.PixelAt(20, 5), kGreen);

    // Without insets the whole 6×6 image stretches five times.
    painter.Clear(kWhite);
    draw = {};
    draw.dest = {0, 0, 30, 30};
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(2, 2), kRed);
    EXPECT_EQ(painter.PixelAt(15, 15), kBlue);

    // Corners wider than the dest shrink in proportion: 1 + 2 pixels of red.
    painter.Clear(kWhite);
    draw.dest = {0, 0, 3, 3};
    draw.corner = {2, 2, 2, 2};
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(0, 0), kRed);
    EXPECT_EQ(painter.PixelAt(1, 1), kRed);
    EXPECT_EQ(painter.PixelAt(2, 2), kRed);
    EXPECT_EQ(painter.PixelAt(3, 3), kWhite);
}

TEST(CairoPainter, SourceTilingFadeAndBadImages)
{
    const GridImage image;
    CairoPainter painter(40, 40);
    painter.Clear(kWhite);
    ImageDraw draw;
    draw.dest = {0, 0, 10, 10};
    draw.source = {2, 2, 4, 4};  // the blue middle only
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(0, 0), kBlue);
    EXPECT_EQ(painter.PixelAt(9, 9), kBlue);

    // A two-pixel red|blue strip repeated, not stretched.
    const std::vector<uint32_t> strip{kRed, kBlue};
    painter.Clear(kWhite);
    draw = {};
    draw.dest = {0, 0, 9, 4};
    draw.xTiled = true;
    painter.DrawImage({2, 1, strip}, draw);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(painter.PixelAt(x, 3), x % 2 ? kBlue : kRed) << x;
    EXPECT_EQ(painter.PixelAt(9, 0), kWhite);
    draw.xTiled = false;  // stretched: red on the left, blue on the right
    painter.DrawImage({2, 1, strip}, draw);
    EXPECT_EQ(painter.PixelAt(0, 0), kRed);
    EXPECT_EQ(painter.PixelAt(8, 0), kBlue);

    painter.Clear(0);
    draw = {};
    draw.dest = {0, 0, 10, 10};
    draw.fade = 128;
    painter.DrawImage(image.View(), draw);
    EXPECT_TRUE(Near(painter.PixelAt(5, 5), 0x80000080, 1));  // half-alpha premultiplied blue
    draw.fade = 0;
    painter.Clear(0);
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(5, 5), 0u);

    // A source partly outside the image is cut to it; one wholly outside,
    // short pixel data or a huge dest draws nothing.
    painter.Clear(kWhite);
    draw = {};
    draw.dest = {0, 0, 4, 4};
    draw.source = {4, 4, 100, 100};
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(3, 3), kRed);
    painter.Clear(kWhite);
    draw.source = {50, 50, 60, 60};
    painter.DrawImage(image.View(), draw);
    draw.source = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    painter.DrawImage({6, 7, image.pixels}, draw);
    painter.DrawImage({-6, 6, image.pixels}, draw);
    painter.DrawImage({6, 6, {}}, draw);
    draw.dest = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(CountDifferent(painter, {0, 0, 40, 40}, kWhite), 0);

    // Insets beyond the image are cut to it.
    draw.dest = {0, 0, 4, 4};
    draw.corner = {INT_MAX, INT_MIN, INT_MAX, INT_MAX};
    painter.DrawImage(image.View(), draw);
    EXPECT_EQ(painter.PixelAt(0, 0), kRed);
    EXPECT_EQ(painter.PixelAt(4, 4), kWhite);
}

TEST(CairoPainter, TextStaysInItsRectangle)
{
    CairoPainter painter(200, 60);
    const FontSpec font{u"Verdana", 14, false, false, false};
    const PaintRect rect{20, 10, 180, 40};
    painter.Clear(kWhite);
    painter.DrawText(u"Mouse settings", font, kBlack, rect, TextFlag::VCenter | TextFlag::SingleLine);
    EXPECT_GT(CountDifferent(painter, rect, kWhite), 20);
    EXPECT_EQ(CountDifferent(painter, {0, 0, 200, 60}, kWhite), CountDifferent(painter, rect, kWhite));
    const int left = FirstInkColumn(painter, kWhite);
    painter.Clear(kWhite);
    painter.DrawText(u"Mouse settings", font, 0x00000000, rect, TextFlag::Right | TextFlag::SingleLine);
    EXPECT_GT(FirstInkColumn(painter, kWhite), left + 20);  // and alpha 0 in a text colour still draws

    painter.Clear(kWhite);
    painter.DrawText(u"Mouse settings", font, kBlack, rect, TextFlag::Bottom | TextFlag::SingleLine);
    EXPECT_EQ(CountDifferent(painter, {20, 10, 180, 20}, kWhite), 0);
    painter.Clear(kWhite);
    painter.DrawText(u"Mouse settings", font, kBlack, rect, TextFlag::Top | TextFlag::SingleLine);
    EXPECT_EQ(CountDifferent(painter, {20, 30, 180, 40}, kWhite), 0);

    // A long text is cut at the rectangle, and with an ellipsis fits in it.
    const std::u16string longText = u"The quick brown fox jumps over the lazy dog again and again";
    painter.Clear(kWhite);
    painter.DrawText(longText, font, kBlack, {0, 0, 100, 30}, TextFlag::SingleLine);
    EXPECT_EQ(CountDifferent(painter, {100, 0, 200, 60}, kWhite), 0);
    EXPECT_GT(painter.MeasureText(longText, font, 100, TextFlag::SingleLine).cx, 100);
    const platform::PaintSize one = painter.MeasureText(longText, font, 0, 0);
    const platform::PaintSize cut = painter.MeasureText(longText, font, 100, TextFlag::EndEllipsis);
    EXPECT_LE(cut.cx, 100);
    EXPECT_GT(cut.cx, 50);
    EXPECT_EQ(cut.cy, one.cy);  // cut, not wrapped

    // Word break wraps onto more lines within the width.
    const platform::PaintSize wrapped = painter.MeasureText(longText, font, 100, TextFlag::WordBreak);
    EXPECT_LE(wrapped.cx, 100);
    EXPECT_GE(wrapped.cy, 3 * one.cy);

    // Broken UTF-16, NULs and empty rectangles neither crash nor draw outside.
    painter.Clear(kWhite);
    const char16_t broken[] = {0xD800, u'a', 0, 0xDC00, u'{', u'c', u'}', 0xDBFF};
    painter.DrawText({broken, 8}, font, kBlack, rect, 0);
    painter.DrawText(u"x", font, kBlack, {50, 50, 40, 40}, 0);
    painter.DrawText(u"x", font, kBlack, {INT_MIN, 0, INT_MAX, 60}, 0);
    EXPECT_EQ(CountDifferent(painter, {0, 0, 200, 60}, kWhite), CountDifferent(painter, rect, kWhite));
    EXPECT_GT(CountDifferent(painter, rect, kWhite), 0);
}

// The painter draws text as it is: the skin's mark-up is parsed above it and
// drawn run by run with these font styles.
TEST(CairoPainter, FontStylesAndBracesAsText)
{
    CairoPainter painter(200, 40);
    const FontSpec font{u"Arial", 14, false, false, false};
    const unsigned single = TextFlag::SingleLine;
    const int plain = painter.MeasureText(u"abc", font, 0, single).cx;
    EXPECT_GT(painter.MeasureText(u"{u}abc{/u}", font, 0, single).cx, plain);
    EXPECT_GT(painter.MeasureText(u"{b}abc{/b}", font, 0, 0x10000 | single).cx, plain);  // unknown flags: no mark-up
    FontSpec bold = font;
    bold.bold = true;
    EXPECT_GT(painter.MeasureText(u"abc", bold, 0, single).cx, plain);

    // Underline adds ink below the letters.
    const PaintRect rect{0, 0, 200, 40};
    painter.Clear(kWhite);
    painter.DrawText(u"abc", font, kBlack, rect, single);
    const int plainInk = CountDifferent(painter, rect, kWhite);
    FontSpec underlined = font;
    underlined.underline = true;
    painter.Clear(kWhite);
    painter.DrawText(u"abc", underlined, kBlack, rect, single);
    EXPECT_GT(CountDifferent(painter, rect, kWhite), plainInk + 10);

    // Whatever the alpha byte of a text colour, the text is opaque.
    painter.Clear(kWhite);
    const FontSpec large{u"Arial", 30, false, false, false};
    painter.DrawText(u"MM", large, 0x0000C000, rect, single);
    int green = 0;
    for (const uint32_t pixel : painter.Pixels()) green += pixel == 0xFF00C000;
    EXPECT_GT(green, 5);
}

TEST(CairoPainter, ChineseTextRendersWithSubstituteFonts)
{
    CairoPainter painter(200, 40);
    const PaintRect rect{0, 0, 200, 40};
    for (const char16_t* face : {u"微软雅黑", u"Microsoft JhengHei"}) {
        const FontSpec font{face, 16, false, false, false};
        painter.Clear(kWhite);
        painter.DrawText(u"鼠标左键", font, kBlack, rect, TextFlag::SingleLine);
        EXPECT_GT(CountDifferent(painter, rect, kWhite), 50) << "blank";
        const std::vector<uint32_t> first(painter.Pixels().begin(), painter.Pixels().end());
        painter.Clear(kWhite);
        painter.DrawText(u"至少一個", font, kBlack, rect, TextFlag::SingleLine);
        const std::vector<uint32_t> second(painter.Pixels().begin(), painter.Pixels().end());
        EXPECT_NE(first, second) << "the same boxes for different characters: no CJK font";
        // The CJK face's own Latin letters, not the Latin font's.
        EXPECT_NE(painter.MeasureText(u"Mouse 1234", font, 0, 0),
                  painter.MeasureText(u"Mouse 1234", {u"Verdana", 16, false, false, false}, 0, 0));
    }
}

TEST(CairoPainter, WritesPngThatReadsBack)
{
    CairoPainter painter(16, 8);
    painter.Clear(kWhite);
    painter.FillRect({0, 0, 4, 4}, kRed);
    painter.FillRect({8, 4, 16, 8}, 0x80000000);
    const testsupport::TempFolder folder("painter-test");
    const std::string path = folder.File("out.png");
    ASSERT_TRUE(painter.WritePng(path));
    cairo_surface_t* read = cairo_image_surface_create_from_png(path.c_str());
    std::filesystem::remove(path);
    ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(read), 16);
    EXPECT_EQ(cairo_image_surface_get_height(read), 8);
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(read));
    const int stride = cairo_image_surface_get_stride(read) / 4;
    EXPECT_EQ(data[1 * stride + 1], kRed);
    EXPECT_EQ(data[6 * stride + 12], painter.PixelAt(12, 6));
    EXPECT_EQ(data[6 * stride + 2], kWhite);
    cairo_surface_destroy(read);

    EXPECT_FALSE(painter.WritePng("/nonexistent-folder/x.png"));
    EXPECT_FALSE(CairoPainter(0, 0).WritePng(path));
}

}  // namespace
