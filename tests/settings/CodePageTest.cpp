#include "settings/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using settings::CutToBytes;
using settings::ToNarrow;
using settings::ToUtf16;

const std::string kTwo = "\xC3\xA9";            // é
const std::string kThree = "\xE4\xB8\xAD";      // 中
const std::string kFour = "\xF0\x9F\x96\xB1";   // 🖱 U+1F5B1
const std::string kReplacement = "\xEF\xBF\xBD";

bool IsValidUtf8(const std::string& text) { return ToNarrow(ToUtf16(text)) == text; }

// ASCII up to the limit, then `character` reaching `into` bytes past it.
std::string Straddling(size_t limit, const std::string& character, size_t into)
{
    return std::string(limit - character.size() + into, 'a') + character + "tail";
}

TEST(CodePage, CutsNeverSplitACharacter)
{
    for (size_t limit : {size_t{255}, size_t{199}}) {
        for (const std::string& c : {kTwo, kThree, kFour}) {
            for (size_t into = 1; into < c.size(); ++into) {
                const std::string text = Straddling(limit, c, into);
                const std::string cut = CutToBytes(text, limit);
                EXPECT_EQ(cut, text.substr(0, limit - c.size() + into)) << limit << " " << c.size() << " " << into;
                EXPECT_TRUE(IsValidUtf8(cut));
            }
            // Ending exactly on the limit keeps the character.
            const std::string exact = Straddling(limit, c, 0);
            EXPECT_EQ(CutToBytes(exact, limit), exact.substr(0, limit));
        }
    }
    std::string cjk;
    for (int i = 0; i < 100; ++i)
        cjk += kThree;
    EXPECT_EQ(CutToBytes(cjk, 255).size(), 255u);
    EXPECT_EQ(CutToBytes(cjk, 199).size(), 198u);
    EXPECT_EQ(CutToBytes(kFour + kFour, 7), kFour);
    EXPECT_EQ(CutToBytes(kFour, 3), "");
    EXPECT_EQ(CutToBytes("short", 255), "short");
    EXPECT_EQ(CutToBytes("", 0), "");
    // Stray bytes count as one byte each and are kept as they are.
    EXPECT_EQ(CutToBytes("ab\xFF\x80" + kThree, 4), "ab\xFF\x80");
}

TEST(CodePage, RoundTripsThroughUtf16)
{
    const std::string text = "Vimo " + kTwo + kThree + kFour + "\x7F" + std::string(1, '\0') + "\xF4\x8F\xBF\xBF";
    const std::u16string wide = ToUtf16(text);
    EXPECT_EQ(wide, std::u16string(u"Vimo \u00E9\u4E2D\U0001F5B1\x7F") + char16_t{0} + u"\U0010FFFF");
    EXPECT_EQ(ToNarrow(wide), text);
    EXPECT_EQ(ToUtf16(kFour), (std::u16string{0xD83D, 0xDDB1}));
    EXPECT_EQ(ToNarrow(u"\xD83D\xDDB1"), kFour);
    EXPECT_EQ(ToNarrow(u"\u07FF\u0800\uFFFF"), "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
}

TEST(CodePage, InvalidInputBecomesReplacementCharacters)
{
    struct Case {
        std::string in;
        std::u16string out;
    };
    const Case cases[] = {
        {"\xFF", u"\uFFFD"},
        {"\x80z", u"\uFFFDz"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},              // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},    // overlong, three bytes
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},    // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xE4\xB8", u"\uFFFD"},                    // cut short at the end
        {"\xE4\xB8z", u"\uFFFDz"},                  // cut short before ASCII
        {"\xF0\x9F\x96" + kTwo, u"\uFFFD\u00E9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToUtf16(c.in), c.out) << testing::PrintToString(c.in);

    EXPECT_EQ(ToNarrow(u"a\xD83D"), "a" + kReplacement);            // high at the end
    EXPECT_EQ(ToNarrow(u"\xD83Dz"), kReplacement + "z");             // high, no low
    EXPECT_EQ(ToNarrow(u"\xDDB1\xD83D"), kReplacement + kReplacement);  // reversed pair
}

// Legacy text through the system converter, as files made elsewhere hold it.
TEST(CodePage, LegacyCodePagesConvertWholeOrFallBack)
{
    settings::CodePage page(platform::SystemTextCodec());
    EXPECT_EQ(page.FromLegacy("caf\xE9"), "caf" + kReplacement);  // UTF-8 by default
    EXPECT_EQ(page.ToLegacy("caf" + kTwo, 4), "caf");

    EXPECT_FALSE(page.SetLegacyCodePage("NO-SUCH-PAGE"));
    EXPECT_FALSE(page.SetLegacyCodePage("CP1252//IGNORE"));
    EXPECT_EQ(page.LegacyCodePage(), "");

    ASSERT_TRUE(page.SetLegacyCodePage("CP1252"));
    EXPECT_EQ(page.FromLegacy("caf\xE9 \x80"), "caf" + kTwo + " \xE2\x82\xAC");
    EXPECT_EQ(page.ToLegacy("caf" + kTwo + " \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(page.ToLegacy("a" + kThree + "b"), "a?b");  // not in CP1252
    // Undefined in CP1252: the bytes are read as UTF-8 instead.
    EXPECT_EQ(page.FromLegacy("\x81"), kReplacement);

    ASSERT_TRUE(page.SetLegacyCodePage("GBK"));
    EXPECT_EQ(page.FromLegacy("\xD6\xD0"), kThree);
    EXPECT_EQ(page.ToLegacy(kThree + kThree), "\xD6\xD0\xD6\xD0");
    EXPECT_EQ(page.ToLegacy(kThree + kThree, 3), "\xD6\xD0");  // never half a character
    EXPECT_EQ(page.FromLegacy("\xD6"), kReplacement);          // a lone lead byte

    ASSERT_TRUE(page.SetLegacyCodePage("BIG5"));
    EXPECT_EQ(page.FromLegacy("\xA4\xA4"), kThree);
    EXPECT_EQ(page.ToLegacy(kFour + "x"), "?x");

    ASSERT_TRUE(page.SetLegacyCodePage(""));
    EXPECT_EQ(page.FromLegacy(kThree), kThree);
}

TEST(TextCodec, FailsWholeNeverPartly)
{
    platform::TextCodec& codec = platform::SystemTextCodec();
    std::string out = "stale";
    EXPECT_FALSE(codec.ToUtf8("", "abc", out));
    EXPECT_EQ(out, "");
    out = "stale";
    EXPECT_FALSE(codec.FromUtf8("CP1252", "ok " + kThree, out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(codec.FromUtf8("CP1252", "bad \xFF", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(codec.IsKnown(std::string("CP1252\0x", 8)));

    // Output longer than the first guess of its size.
    std::string euros(5000, '\x80');
    ASSERT_TRUE(codec.ToUtf8("CP1252", euros, out));
    EXPECT_EQ(out.size(), 15000u);
}

}  // namespace
