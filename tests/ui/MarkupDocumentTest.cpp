#include "ui/MarkupDocument.h"
#include "platform/Utf16.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace SkinUI {
namespace {

std::string Narrow(std::u16string_view text)
{
    return platform::Utf16ToUtf8(text);
}

bool Load(CMarkupDocument& doc, std::string_view utf8)
{
    return doc.LoadBytes(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size());
}

TEST(MarkupDocument, ElementsAttributesAndData)
{
    CMarkupDocument doc;
    ASSERT_TRUE(Load(doc, "<?xml version=\"1.0\"?>\n<!-- skin -->\n"
                          "<Window size=\"10,20\" caption = \"0,0,0,30\">\n"
                          "  <Font name=\"Verdana\" size=\"12\"/>\n"
                          "  <Label text=\"a &lt;b&gt; &amp; &quot;c&quot; &apos;d&apos; &#65; &x;\">body</Label>\n"
                          "  <VerticalLayout><Button/></VerticalLayout>\n"
                          "</Window>"));
    const CMarkupCursor root = doc.Root();
    ASSERT_TRUE(root.Valid());
    EXPECT_EQ(Narrow(root.Name()), "Window");
    ASSERT_EQ(root.AttributeCount(), 2u);
    EXPECT_EQ(Narrow(root.AttributeName(1)), "caption");
    EXPECT_EQ(Narrow(root.AttributeValue(1)), "0,0,0,30");
    EXPECT_EQ(Narrow(root.AttributeValue(2)), "");

    const CMarkupCursor font = root.FirstChild();
    EXPECT_EQ(Narrow(font.Name()), "Font");
    EXPECT_FALSE(font.HasChild());
    EXPECT_EQ(font.AttributeCount(), 2u);
    EXPECT_EQ(Narrow(font.Value()), "");

    const CMarkupCursor label = font.NextSibling();
    std::u16string text;
    ASSERT_TRUE(label.FindAttribute(u"text", text));
    EXPECT_EQ(Narrow(text), "a <b> & \"c\" 'd' &#65; &x;");
    EXPECT_FALSE(label.FindAttribute(u"Text", text));
    ASSERT_TRUE(label.FindAttribute(u"text", text, 3));
    EXPECT_EQ(Narrow(text), "a <");
    EXPECT_EQ(Narrow(label.Value()), "body");

    const CMarkupCursor layout = label.NextSibling();
    EXPECT_TRUE(layout.HasChild());
    EXPECT_EQ(Narrow(layout.FirstChild().Name()), "Button");
    EXPECT_FALSE(layout.NextSibling().Valid());
    EXPECT_FALSE(CMarkupCursor().FirstChild().Valid());
    EXPECT_EQ(CMarkupCursor().AttributeCount(), 0u);
}

TEST(MarkupDocument, SlashClosedElementAndCommentOnlyDocument)
{
    CMarkupDocument doc;
    ASSERT_TRUE(Load(doc, "<a x=\"1\"/>"));
    EXPECT_EQ(doc.Root().AttributeCount(), 1u);
    EXPECT_FALSE(doc.Root().HasChild());

    ASSERT_TRUE(Load(doc, "  <!-- only a comment -->  \n"));
    EXPECT_FALSE(doc.Root().Valid());
}

TEST(MarkupDocument, OnlyTheFirst64AttributesAreSeen)
{
    std::string text = "<a";
    for (int i = 0; i < 70; ++i)
        text += " k" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    text += "></a>";
    CMarkupDocument doc;
    ASSERT_TRUE(Load(doc, text));
    EXPECT_EQ(doc.Root().AttributeCount(), 64u);
    EXPECT_EQ(Narrow(doc.Root().AttributeValue(63)), "63");
    EXPECT_FALSE(doc.Root().HasAttribute(u"k64"));
}

TEST(MarkupDocument, ErrorsCarryTheirMessageAndLocation)
{
    struct Case {
        const char* text;
        const char* message;
        const char* location;
    };
    const Case cases[] = {
        {"<a></b>", "Unmatched closing tag", "b>"},
        {"<a></a x>", "Unmatched closing tag", "x>"},
        {"<a x='1'/>", "Expected attribute value", "'1'/>"},
        {"<a x \"1\"/>", "Error while parsing attributes", "\"1\"/>"},
        {"<a x=\"1/>", "Error while parsing attribute string", ""},
        {"<a x=\"1\" / >", "Expected start-tag closing", "/ >"},
        {"<a x=\"1\"", "Expected start-tag closing", ""},
        {"text", "Expected start tag", "text"},
        {"<", "Error parsing element name", ""},
        {"< a/>", "Error while parsing attributes", "/>"},  // the blank ends an empty name
        {"<a><b><c>", "Expected end-tag start", ""},
        {"<a><b><c/>", "Expected start tag", ""},
    };
    for (const Case& c : cases) {
        CMarkupDocument doc;
        EXPECT_FALSE(Load(doc, c.text)) << c.text;
        EXPECT_EQ(Narrow(doc.ErrorMessage()), c.message) << c.text;
        EXPECT_EQ(Narrow(doc.ErrorLocation()), c.location) << c.text;
        EXPECT_FALSE(doc.Root().Valid()) << c.text;  // no partial tree
    }
    // The location is at most 49 characters.
    CMarkupDocument doc;
    EXPECT_FALSE(Load(doc, "<a>" + std::string(100, 'x') + "<b></c></a>"));
    EXPECT_EQ(Narrow(doc.ErrorLocation()), "c></a>");
    EXPECT_FALSE(Load(doc, "<a></a  " + std::string(100, 'y')));
    EXPECT_EQ(doc.ErrorLocation().size(), 49u);
    // An unclosed root, or an unclosed child of the root, is accepted.
    EXPECT_TRUE(Load(doc, "<a><b>"));
    EXPECT_TRUE(Load(doc, "<a><b></b>"));
}

TEST(MarkupDocument, Encodings)
{
    const std::string utf8 = "<a t=\"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\"/>";
    CMarkupDocument plain, bom;
    ASSERT_TRUE(Load(plain, utf8));
    ASSERT_TRUE(Load(bom, "\xEF\xBB\xBF" + utf8));
    EXPECT_EQ(plain.Root().AttributeValue(0), bom.Root().AttributeValue(0));
    EXPECT_EQ(plain.Root().AttributeValue(0), std::u16string(u"\u00E4\u20AC\U0001F600"));

    const std::u16string wide = u"<w v=\"\u00E4\"/>";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char16_t c : wide) {
        little += static_cast<char>(c & 0xFF);
        little += static_cast<char>(c >> 8);
        big += static_cast<char>(c >> 8);
        big += static_cast<char>(c & 0xFF);
    }
    CMarkupDocument doc;
    for (const std::string& bytes : {little, big}) {
        ASSERT_TRUE(doc.LoadBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), CMarkupDocument::kUtf16));
        EXPECT_EQ(doc.Root().AttributeValue(0), u"\u00E4");
    }
    EXPECT_FALSE(doc.LoadBytes(reinterpret_cast<const uint8_t*>(little.data()) + 2, little.size() - 2,
                               CMarkupDocument::kUtf16));
    const std::string latin = "<l v=\"\xE4\"/>";
    ASSERT_TRUE(doc.LoadBytes(reinterpret_cast<const uint8_t*>(latin.data()), latin.size(), CMarkupDocument::kAnsi));
    EXPECT_EQ(doc.Root().AttributeValue(0), u"\u00E4");
}

TEST(MarkupDocument, FilesFromTheSkinFolder)
{
    const testsupport::TempFolder folder("markup-test");
    const std::filesystem::path& dir = folder.Path();
    ASSERT_FALSE(dir.empty());
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    };
    write("ok.xml", "<Window/>");
    write("empty.xml", "");
    write("big.xml", "<a>" + std::string(CMarkupDocument::kMaxFileSize, ' ') + "</a>");
    const ResourceLocation location{dir.string(), {}};
    CMarkupDocument doc;
    EXPECT_TRUE(doc.LoadFile("ok.xml", location));
    EXPECT_EQ(Narrow(doc.Root().Name()), "Window");
    EXPECT_FALSE(doc.LoadFile("missing.xml", location));
    EXPECT_EQ(Narrow(doc.ErrorMessage()), "Error opening file");
    EXPECT_FALSE(doc.LoadFile("empty.xml", location));
    EXPECT_EQ(Narrow(doc.ErrorMessage()), "File is empty");
    EXPECT_FALSE(doc.LoadFile("big.xml", location));
    EXPECT_EQ(Narrow(doc.ErrorMessage()), "File too large");
    EXPECT_FALSE(doc.Root().Valid());
    EXPECT_FALSE(doc.LoadFile("ok.xml", ResourceLocation{{}, (dir / "none.zip").string()}));
    EXPECT_EQ(Narrow(doc.ErrorMessage()), "Error opening file");
    // A file that opens but cannot be read to its end (reading this one at
    // offset 0 fails with an I/O error).
    EXPECT_FALSE(doc.LoadFile("mem", ResourceLocation{"/proc/self", {}}));
    EXPECT_EQ(Narrow(doc.ErrorMessage()), "Could not read file");
    std::filesystem::remove_all(dir);
}

TEST(MarkupDocument, WhitespaceCanBeCollapsed)
{
    CMarkupDocument doc;
    doc.SetPreserveWhitespace(false);
    ASSERT_TRUE(Load(doc, "<a>x  \n\t y</a>"));
    EXPECT_EQ(Narrow(doc.Root().Value()), "x y");
}

}  // namespace
}  // namespace SkinUI
