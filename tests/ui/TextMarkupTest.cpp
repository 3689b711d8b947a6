#include "ui/TextMarkup.h"

#include "platform/CairoPainter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

using Kind = MarkupRun::Kind;
using platform::CairoPainter;
using platform::FontSpec;
using platform::PaintRect;
namespace TextFlag = platform::TextFlag;

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr unsigned kSingle = TextFlag::SingleLine | TextFlag::VCenter;

MarkupRun Text(std::u16string text, bool bold = false, bool italic = false, bool underline = false,
               std::optional<uint32_t> colour = std::nullopt)
{
    MarkupRun run;
    run.text = std::move(text);
    run.bold = bold;
    run.italic = italic;
    run.underline = underline;
    run.colour = colour;
    return run;
}

std::vector<MarkupRun> Parse(std::u16string_view text) { return TextMarkup(text).Runs(); }

// The plain text the runs draw, icons as [name] and spaces as <n>.
std::u16string Flatten(const std::vector<MarkupRun>& runs)
{
    std::u16string out;
    for (const MarkupRun& run : runs) {
        switch (run.kind) {
        case Kind::Text: out += run.text; break;
        case Kind::Icon: out += u"[" + run.text + u"]"; break;
        case Kind::Space:
            out += u'<';
            for (char c : std::to_string(run.space))
                out += static_cast<char16_t>(c);
            out += u'>';
            break;
        case Kind::LineBreak: out += u'|'; break;
        }
    }
    return out;
}

TEST(TextMarkup, TagsBecomeStyledRuns)
{
    // Nesting, closing in any order, a tag left open to the end.
    EXPECT_EQ(Parse(u"a{b}b{i}c{/b}d{/i}e{u}f"),
              (std::vector<MarkupRun>{Text(u"a"), Text(u"b", true), Text(u"c", true, true), Text(u"d", false, true),
                                      Text(u"e"), Text(u"f", false, false, true)}));
    // Colours nest; {/c} returns to the outer one, then to the control's.
    EXPECT_EQ(Parse(u"{c #FF0000FF}a{c #00FF00}b{/c}c{/c}d"),
              (std::vector<MarkupRun>{Text(u"a", false, false, false, 0xFF0000FF),
                                      Text(u"b", false, false, false, 0x00FF00),
                                      Text(u"c", false, false, false, 0xFF0000FF), Text(u"d")}));
    EXPECT_EQ(Parse(u"{c FF112233}x")[0].colour, 0xFF112233u);  // the '#' may be left out

    // Icons and spaces, as menus write them; {i} alone is italic.
    const std::vector<MarkupRun> menu = Parse(u"{x 4}{i check.png }Save{i}x{/i}");
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[0].kind, Kind::Space);
    EXPECT_EQ(menu[0].space, 4);
    EXPECT_EQ(menu[1].kind, Kind::Icon);
    EXPECT_EQ(menu[1].text, u"check.png");
    EXPECT_EQ(menu[2], Text(u"Save"));
    EXPECT_EQ(menu[3], Text(u"x", false, true));

    // Lines: '\n' breaks, '\r' is dropped.
    EXPECT_EQ(Flatten(Parse(u"one\r\ntwo\n")), u"one|two|");

    // Closing tags without their opening one are dropped, and undo nothing else.
    EXPECT_EQ(Parse(u"{/b}{/c}{/u}{b}a{/i}"), (std::vector<MarkupRun>{Text(u"a", true)}));
    EXPECT_TRUE(Parse(u"").empty());
    EXPECT_TRUE(Parse(u"{b}{/b}{u}").empty());
}

TEST(TextMarkup, MalformedTagsAreText)
{
    for (const std::u16string_view text :
         {u"{x}abc", u"{c}", u"{c #zz}", u"{c #123456789}", u"{bold}", u"{B}", u"{ b}", u"{x -3}", u"{x 1.5}",
          u"{x 4", u"{", u"}", u"{/}", u"{/x}", u"{c#FF000000}", u"{i}{", u"{{}}", u"{i\tname }"}) {
        const std::u16string flat = Flatten(Parse(text));
        EXPECT_NE(flat.find_first_of(u"{}"), std::u16string::npos) << std::string(text.begin(), text.end());
    }
    EXPECT_EQ(Flatten(Parse(u"{{b}x}")), u"{x}");  // an extra brace before a tag stays text
    EXPECT_EQ(Parse(u"{{b}x}")[1], Text(u"x}", true));
    // A body too long to be a tag name is text.
    const std::u16string longName = u"{i " + std::u16string(600, u'n') + u"}";
    EXPECT_EQ(Flatten(Parse(longName)), longName);
    const std::u16string okName = u"{i " + std::u16string(300, u'n') + u" }";
    EXPECT_EQ(Flatten(Parse(okName)), u"[" + std::u16string(300, u'n') + u"]");
}

TEST(TextMarkup, HostileMarkupStaysBounded)
{
    // A huge space is limited; digits beyond any int do not overflow.
    EXPECT_EQ(Parse(u"{x 99999999999999999999}")[0].space, TextMarkup::kMaxSpace);
    EXPECT_EQ(Parse(u"{x 0}")[0].space, 0);

    // Thousands of nested tags: one run, and only the first 4096 characters count.
    std::u16string deep;
    for (int i = 0; i < 20000; ++i)
        deep += u"{b}{c #FF00FF00}";
    deep += u"end";
    EXPECT_TRUE(Parse(deep).empty());
    std::u16string shallow;
    for (int i = 0; i < 100; ++i)
        shallow += u"{b}{u}";
    shallow += u"end";
    for (int i = 0; i < 200; ++i)
        shallow += u"{/b}{/u}";
    shallow += u"z";
    EXPECT_EQ(Parse(shallow), (std::vector<MarkupRun>{Text(u"end", true, false, true), Text(u"z")}));
    EXPECT_EQ(TextMarkup(std::u16string(10000, u'a')).Source().size(), TextMarkup::kMaxChars);

    // Random mixes of tag fragments parse and draw without reading or drawing
    // outside; every character drawn is one of the input's.
    const std::u16string_view pieces[] = {u"{b}", u"{/b}", u"{i}", u"{/i}", u"{u}", u"{/u}", u"{c #FFFF0000}",
                                          u"{/c}", u"{i icon }", u"{x 4000}", u"{x ", u"{", u"}", u"a", u"\n",
                                          u"\xD800", u"#", u" ", u"c", u"x", u"9"};
    std::mt19937 random(11);
    CairoPainter painter(120, 60);
    const PaintRect inside{10, 10, 110, 50};
    const IconLookup icons = [](std::u16string_view) { return std::nullopt; };
    for (int round = 0; round < 200; ++round) {
        std::u16string text;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        const TextMarkup markup(text);
        size_t characters = 0;
        for (const MarkupRun& run : markup.Runs())
            characters += run.kind == Kind::Text ? run.text.size() : 0;
        ASSERT_LE(characters, text.size());
        painter.Clear(kWhite);
        const unsigned flags = random() % 2 ? kSingle : TextFlag::EndEllipsis | TextFlag::Center;
        markup.Draw(painter, {u"Arial", 12}, kBlack, inside, flags, icons);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 120; ++x) {
                const bool in = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
                if (!in) {
                    ASSERT_EQ(painter.PixelAt(x, y), kWhite) << x << "," << y;
                }
            }
        }
    }
}

// ---- painting ---------------------------------------------------------------

int Count(const CairoPainter& painter, uint32_t colour)
{
    int n = 0;
    for (const uint32_t pixel : painter.Pixels())
        n += pixel == colour ? 1 : 0;
    return n;
}

int InkIn(const CairoPainter& painter, const PaintRect& rc, uint32_t background)
{
    int ink = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            ink += painter.PixelAt(x, y) != background ? 1 : 0;
    return ink;
}

// The columns holding ink, first and last; -1 when there is none.
std::pair<int, int> InkSpan(const CairoPainter& painter, uint32_t background)
{
    int first = -1, last = -1;
    for (int x = 0; x < painter.Width(); ++x) {
        if (InkIn(painter, {x, 0, x + 1, painter.Height()}, background) > 0) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

class MarkupPaint : public ::testing::Test {
protected:
    void Draw(std::u16string_view text, uint32_t colour = kBlack, unsigned flags = kSingle,
              uint32_t background = kWhite)
    {
        painter.Clear(background);
        TextMarkup(text).Draw(painter, font, colour, rect, flags, icons);
    }

    CairoPainter painter{240, 40};
    FontSpec font{u"Arial", 24};
    PaintRect rect{0, 0, 240, 40};
    std::vector<uint32_t> redPixels = std::vector<uint32_t>(8 * 8, kRed);
    IconLookup icons = [this](std::u16string_view name) -> std::optional<platform::ImageView> {
        if (name == u"red")
            return platform::ImageView{8, 8, redPixels};
        return std::nullopt;
    };
};

TEST_F(MarkupPaint, ColoursAreOpaqueAndSpansChangeTheirColour)
{
    Draw(u"MM{c #FF00C000}MM{/c}MM");
    EXPECT_GT(Count(painter, 0xFF00C000), 5);
    EXPECT_GT(Count(painter, kBlack), 5);

    // "#00FFFFFF" as the layouts write it is white text, in a tag or as the
    // control's colour.
    Draw(u"{c #00FFFFFF}MM", kBlack, kSingle, kBlack);
    EXPECT_GT(Count(painter, kWhite), 5);
    Draw(u"MM", 0x00FFFFFF, kSingle, kBlack);
    EXPECT_GT(Count(painter, kWhite), 5);
}

TEST_F(MarkupPaint, StylesSpacesAndIconsTakeTheirPlace)
{
    Draw(u"abc");
    const int plain = InkIn(painter, rect, kWhite);
    const auto [plainLeft, plainRight] = InkSpan(painter, kWhite);
    Draw(u"{u}abc{/u}");
    EXPECT_GT(InkIn(painter, rect, kWhite), plain + 10);  // underline, and the braces are not drawn
    EXPECT_LE(InkSpan(painter, kWhite).first, plainLeft);
    Draw(u"{b}abc{/b}");
    EXPECT_GT(InkSpan(painter, kWhite).second, plainRight);

    // {x 40} moves what follows 40 pixels right; a huge space pushes it out.
    Draw(u"{x 40}abc");
    EXPECT_EQ(InkSpan(painter, kWhite).first, plainLeft + 40);
    Draw(u"{x 99999}abc{x 99999}{x 99999}abc");
    EXPECT_EQ(InkIn(painter, rect, kWhite), 0);

    // An icon is drawn at its size, centred on the line; a missing one takes no room.
    Draw(u"{i red }abc");
    EXPECT_EQ(Count(painter, kRed), 64);
    EXPECT_EQ(painter.PixelAt(0, 20), kRed);
    EXPECT_EQ(painter.PixelAt(7, 20), kRed);
    EXPECT_EQ(InkSpan(painter, kWhite), (std::pair{0, plainRight + 8}));
    Draw(u"{i nothing }{i }abc");
    EXPECT_EQ(InkSpan(painter, kWhite), (std::pair{plainLeft, plainRight}));
    painter.Clear(kWhite);
    TextMarkup(u"{i red }abc").Draw(painter, font, kBlack, rect, kSingle, nullptr);
    EXPECT_EQ(InkSpan(painter, kWhite), (std::pair{plainLeft, plainRight}));

    // Measuring counts the same pieces.
    const platform::PaintSize size = TextMarkup(u"{x 40}{i red }abc").Measure(painter, font, 0, kSingle, icons);
    EXPECT_EQ(size.cx, 48 + painter.MeasureText(u"abc", font, 0, TextFlag::SingleLine).cx);
}

TEST_F(MarkupPaint, AlignmentLinesAndEllipsis)
{
    Draw(u"{b}ab{/b}c", kBlack, kSingle | TextFlag::Right);
    const auto right = InkSpan(painter, kWhite);
    EXPECT_GE(right.second, 230);
    Draw(u"{b}ab{/b}c", kBlack, kSingle | TextFlag::Center);
    const auto centre = InkSpan(painter, kWhite);
    EXPECT_NEAR((centre.first + centre.second) / 2, 120, 6);

    // Two lines stack unless the text is single-line.
    CairoPainter tall(120, 80);
    TextMarkup two(u"ab\n{u}cd{/u}");
    tall.Clear(kWhite);
    two.Draw(tall, {u"Arial", 14}, kBlack, {0, 0, 120, 80}, TextFlag::Top, icons);
    EXPECT_GT(InkIn(tall, {0, 18, 120, 36}, kWhite), 10);
    tall.Clear(kWhite);
    two.Draw(tall, {u"Arial", 14}, kBlack, {0, 0, 120, 80}, TextFlag::Top | TextFlag::SingleLine, icons);
    EXPECT_EQ(InkIn(tall, {0, 18, 120, 80}, kWhite), 0);
    const FontSpec small{u"Arial", 14};
    const int lineHeight = two.Measure(tall, small, 0, TextFlag::SingleLine, icons).cy;
    EXPECT_EQ(two.Measure(tall, small, 0, 0, icons).cy, 2 * lineHeight);

    // Word break wraps at blanks, across runs, within the width.
    const TextMarkup words(u"one {b}two three{/b} {u}four five{/u} six seven");
    const platform::PaintSize oneLine = words.Measure(tall, small, 0, TextFlag::WordBreak, icons);
    const platform::PaintSize wrapped = words.Measure(tall, small, 60, TextFlag::WordBreak, icons);
    EXPECT_EQ(oneLine.cy, lineHeight);
    EXPECT_LE(wrapped.cx, 60);
    EXPECT_GE(wrapped.cy, 3 * lineHeight);
    EXPECT_EQ(words.Measure(tall, small, 60, TextFlag::WordBreak | TextFlag::SingleLine, icons), oneLine);
    tall.Clear(kWhite);
    words.Draw(tall, small, kBlack, {0, 0, 60, 80}, TextFlag::WordBreak, icons);
    EXPECT_GT(InkIn(tall, {0, 2 * lineHeight, 60, 3 * lineHeight}, kWhite), 10);
    EXPECT_EQ(InkIn(tall, {60, 0, 120, 80}, kWhite), 0);

    // Too long: cut at the rectangle, or ended with an ellipsis inside it.
    const std::u16string longText = u"{b}WWWW{/b}WWWWWWWWWWWWWWWWWWWWWW{c #FFFF0000}after";
    painter.Clear(kWhite);
    TextMarkup(longText).Draw(painter, font, kBlack, {0, 0, 100, 40}, kSingle | TextFlag::EndEllipsis, icons);
    EXPECT_EQ(InkIn(painter, {100, 0, 240, 40}, kWhite), 0);
    EXPECT_GT(InkSpan(painter, kWhite).second, 60) << InkSpan(painter, kWhite).second;
    EXPECT_EQ(Count(painter, kRed), 0);
}

}  // namespace
}  // namespace SkinUI
