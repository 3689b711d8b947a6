#include "settings/CodePage.h"

#include <gtest/gtest.h>

namespace {

using settings::CutToBytes;
using settings::ToNarrow;
using settings::ToUtf16;

const std::string kTwo = "\xC3\xA9";           // é
const std::string kThree = "\xE4\xB8\xAD";     // 中
const std::string kFour = "\xF0\x9F\x96\xB1";  // U+1F5B1
const std::string kBad = "\xEF\xBF\xBD";       // U+FFFD

TEST(CodePage, CutsAtModelFieldSizesNeverSplitACharacter)
{
    for (size_t limit : {size_t{255}, size_t{199}}) {
        for (const std::string& c : {kTwo, kThree, kFour}) {
            // ASCII, then the character ending `over` bytes past the limit.
            for (size_t over = 0; over < c.size(); ++over) {
                const std::string text = std::string(limit - c.size() + over, 'a') + c + "tail";
                const size_t kept = over == 0 ? limit : limit - c.size() + over;
                EXPECT_EQ(CutToBytes(text, limit), text.substr(0, kept)) << limit << "/" << c.size() << "/" << over;
            }
        }
    }
    std::string cjk;
    for (int i = 0; i < 100; ++i)
        cjk += kThree;
    EXPECT_EQ(CutToBytes(cjk, 199).size(), 198u);
    EXPECT_EQ(CutToBytes(kFour, 3), "");
    EXPECT_EQ(CutToBytes("short", 255), "short");
    // Stray bytes count as one byte each and are kept as they are.
    EXPECT_EQ(CutToBytes("ab\xFF\x80" + kThree, 4), "ab\xFF\x80");
}

TEST(CodePage, RoundTripsThroughUtf16IncludingSurrogatePairs)
{
    const std::string text = "Vimo " + kTwo + kThree + kFour + std::string(1, '\0') + "\xF4\x8F\xBF\xBF";
    const std::u16string wide = ToUtf16(text);
    EXPECT_EQ(wide, u"Vimo \u00E9\u4E2D\U0001F5B1" + std::u16string(1, 0) + u"\U0010FFFF");
    EXPECT_EQ(ToNarrow(wide), text);
    EXPECT_EQ(ToUtf16(kFour), (std::u16string{0xD83D, 0xDDB1}));
    EXPECT_EQ(ToNarrow(u"\u007F\u0080\u07FF\u0800\uFFFF"), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
}

TEST(CodePage, InvalidInputBecomesReplacementCharacters)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {"\xFF\x80z", u"\uFFFD\uFFFDz"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong, three bytes
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xE4\xB8", u"\uFFFD"},                            // cut short at the end
        {"\xF0\x9F\x96" + kTwo, u"\uFFFD\u00E9"},           // cut short before the next
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ToUtf16(in), out) << testing::PrintToString(in);

    EXPECT_EQ(ToNarrow(u"a\xD83D"), "a" + kBad);              // high at the end
    EXPECT_EQ(ToNarrow(u"\xD83Dz"), kBad + "z");              // high, no low
    EXPECT_EQ(ToNarrow(u"\xDDB1\xD83D"), kBad + kBad);        // reversed pair
}

// Legacy text through the system converter, as files made elsewhere hold it.
TEST(CodePage, LegacyCodePagesConvertWholeOrFallBack)
{
    settings::CodePage page(platform::SystemTextCodec());
    EXPECT_EQ(page.FromLegacy("caf\xE9"), "caf" + kBad);  // UTF-8 by default
    EXPECT_EQ(page.ToLegacy("caf" + kTwo, 4), "caf");
    EXPECT_FALSE(page.SetLegacyCodePage("NO-SUCH-PAGE"));
    EXPECT_FALSE(page.SetLegacyCodePage("CP1252//IGNORE"));
    EXPECT_EQ(page.LegacyCodePage(), "");

    ASSERT_TRUE(page.SetLegacyCodePage("CP1252"));
    EXPECT_EQ(page.FromLegacy("caf\xE9 \x80"), "caf" + kTwo + " \xE2\x82\xAC");
    EXPECT_EQ(page.ToLegacy("caf" + kTwo + " \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(page.ToLegacy("a" + kThree + "b"), "a?b");  // not in CP1252
    EXPECT_EQ(page.FromLegacy("\x81"), kBad);             // undefined in CP1252

    ASSERT_TRUE(page.SetLegacyCodePage("GBK"));
    EXPECT_EQ(page.FromLegacy("\xD6\xD0"), kThree);
    EXPECT_EQ(page.ToLegacy(kThree + kThree, 3), "\xD6\xD0");  // never half a character
    EXPECT_EQ(page.FromLegacy("\xD6"), kBad);                  // a lone lead byte

    ASSERT_TRUE(page.SetLegacyCodePage("BIG5"));
    EXPECT_EQ(page.FromLegacy("\xA4\xA4"), kThree);
    EXPECT_EQ(page.ToLegacy(kFour + "x"), "?x");
}

TEST(TextCodec, FailsWholeNeverPartly)
{
    platform::TextCodec& codec = platform::SystemTextCodec();
    std::string out = "stale";
    EXPECT_FALSE(codec.ToUtf8("", "abc", out));  // not the locale's code page
    EXPECT_EQ(out, "");
    out = "stale";
    EXPECT_FALSE(codec.FromUtf8("CP1252", "ok " + kThree, out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(codec.IsKnown(std::string("CP1252\0x", 8)));
    // Output longer than the first guess of its size.
    ASSERT_TRUE(codec.ToUtf8("CP1252", std::string(5000, '\x80'), out));
    EXPECT_EQ(out.size(), 15000u);
}

}  // namespace
