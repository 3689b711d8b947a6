#include "SkinManifest.h"
#include "SkinRenderer.h"

#include <gtest/gtest.h>

namespace skingen {
namespace {

TEST(SkinManifestTest, LanguageValuesWinOverGeneralOnesAndGlobalsFillTheRest)
{
    SkinManifest manifest;
    ASSERT_TRUE(manifest.ParseTexts("save\tSave\t儲存\t保存\tSpeichern\n"));
    ASSERT_TRUE(manifest.ParseImages("# comment\n"
                                     "set font=Sans\n"
                                     "set font.zhCN=\"Noto Sans CJK SC\"\n"
                                     "A.png t.svg w.de=96 w=71 label=@save\n"
                                     "B.bmp t.svg font=Mono\n"));
    ASSERT_EQ(manifest.Images().size(), 2u);
    const ImageEntry& a = manifest.Images()[0];
    EXPECT_EQ(a.parameters[0].at("w"), "71");
    EXPECT_EQ(a.parameters[3].at("w"), "96");
    EXPECT_EQ(a.parameters[2].at("font"), "Noto Sans CJK SC");
    EXPECT_EQ(manifest.Images()[1].parameters[2].at("font"), "Mono");
    EXPECT_EQ(manifest.ResolvedParameters(a, 0)->at("label"), "Save");
    EXPECT_EQ(manifest.ResolvedParameters(a, 2)->at("label"), "保存");
    EXPECT_EQ(manifest.ResolvedParameters(a, 1)->at("label"), "儲存");
    EXPECT_EQ(manifest.ResolvedParameters(a, 3)->at("label"), "Speichern");
}

TEST(SkinManifestTest, BadLinesAreNamedByNumber)
{
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"A.png t.svg\nA.png u.svg\n", 2},  // described twice
        {"\n\nA.gif t.svg\n", 3},  // not png or bmp
        {"A.png\n", 1},  // no template
        {"A.png t.svg w\n", 1},  // no value
        {"A.png t.svg w.fr=1\n", 1},  // unknown language
        {"A.png t.svg \"open=1\n", 1},  // quote never closed
        {"../A.png t.svg\n", 1},  // outside the folder
        {"A.png ../t.svg\n", 1},
        {"set\n", 1},
        {"A.png t.svg b@d=1\n", 1},
    };
    for (const auto& c : cases) {
        SkinManifest manifest;
        EXPECT_FALSE(manifest.ParseImages(c.text)) << c.text;
        EXPECT_EQ(manifest.Error().line, c.line) << c.text;
    }
    SkinManifest texts;
    EXPECT_FALSE(texts.ParseTexts("a\tA\tA\tA\tA\nb\tB\tB\tB\tB\na\tA\tA\tA\tA again\n"));
    EXPECT_EQ(texts.Error().line, 3);
    EXPECT_FALSE(texts.ParseTexts("only-a-key\n"));
    // Every language needs its own text: a left-out or blank column is an
    // untranslated picture, not a silent fall-back to English.
    for (const char* row : {"a\tA\tB\tC\n", "a\tA\t\tC\tD\n", "a\tA\tB\tC\t \n", "a\tA\tB\tC\tD\tE\n"}) {
        SkinManifest one;
        EXPECT_FALSE(one.ParseTexts(std::string("# texts\n") + row)) << row;
        EXPECT_EQ(one.Error().line, 2) << row;
    }
    SkinManifest blank;
    ASSERT_FALSE(blank.ParseTexts("a\tA\tB\t\tD\n"));
    EXPECT_NE(blank.Error().message.find("zhCN"), std::string::npos) << blank.Error().message;

    SkinManifest missing;
    ASSERT_TRUE(missing.ParseImages("A.png t.svg label=@nothing\n"));
    EXPECT_FALSE(missing.ResolvedParameters(missing.Images()[0], 0));
}

TEST(SkinManifestTest, TemplatesGetEscapedValuesAndEveryPlaceholderNeedsOne)
{
    SkinRenderer renderer;
    const auto svg = renderer.Substitute("<text>{{a}}</text>{{b}}", {{"a", "Save & <Load>"}, {"b", "\"x\""}});
    ASSERT_TRUE(svg);
    EXPECT_EQ(*svg, "<text>Save &amp; &lt;Load&gt;</text>&quot;x&quot;");
    EXPECT_FALSE(renderer.Substitute("{{a}} {{missing}}", {{"a", "1"}}));
    EXPECT_NE(renderer.Error().find("missing"), std::string::npos);
    EXPECT_FALSE(renderer.Substitute("{{a", {{"a", "1"}}));
    // An unclosed one is reported as such, not as a name running into the
    // next placeholder.
    for (const char* text : {"<a x=\"{{a\"/><b y=\"{{b}}\"/>", "{{a {{b}}", "{{a}} {{"}) {
        EXPECT_FALSE(renderer.Substitute(text, {{"a", "1"}, {"b", "2"}})) << text;
        EXPECT_EQ(renderer.Error(), "unclosed {{ in the template") << text;
    }
}

}  // namespace
}  // namespace skingen
