// A small non-validating XML parser for skin layouts. The whole document is
// one UTF-16 buffer that parsing cuts up in place (names, attribute values
// and character data end up zero-terminated inside it), plus one array of
// element records; cursors walk that index without copying anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

class CMarkupCursor;

// Where LoadFile looks: a folder, or a zip package (its entries by name).
struct ResourceLocation {
    std::string folder;   // the skin folder; names are relative to it
    std::string zipFile;  // when set, names are entries of this package
};

class CMarkupDocument {
public:
    enum Encoding : int { kUtf8 = 0, kUtf16 = 1, kAnsi = 2 };
    static constexpr size_t kMaxFileSize = 0x400000;  // 4 MiB
    static constexpr size_t kMaxAttributes = 64;

    CMarkupDocument() = default;
    CMarkupDocument(const CMarkupDocument&) = delete;
    CMarkupDocument& operator=(const CMarkupDocument&) = delete;

    // Each load discards the earlier document; false after recording the
    // error, and then no document remains.
    bool LoadText(std::u16string_view text);
    bool LoadBytes(const uint8_t* bytes, size_t length, int encoding = kUtf8);
    bool LoadFile(std::string_view name, const ResourceLocation& location, int encoding = kUtf8);
    void Clear();

    bool IsValid() const { return elements_.size() > 1; }
    // The characters of the loaded text.
    size_t TextLength() const { return length_; }
    // A cursor on the root element; invalid when the document has none.
    CMarkupCursor Root() const;

    std::u16string ErrorMessage() const { return errorMessage_; }
    std::u16string ErrorLocation() const { return errorLocation_; }
    void SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }

    // The encoding that kAnsi text is read in (an iconv name).
    static void SetAnsiCodePage(std::string name);

private:
    friend class CMarkupCursor;

    struct Element {
        uint32_t name;
        uint32_t child;
        uint32_t next;
        uint32_t parent;
        uint32_t data;
    };

    class Parser;

    char16_t* PrepareText(size_t length);
    bool ParseText(size_t length);
    bool LoadUtf8(std::string_view utf8);
    bool LoadUtf16(const uint8_t* bytes, size_t length);
    bool Parse();
    bool Fail(const char* message, size_t at);
    uint32_t AddElement(uint32_t nameOffset, uint32_t parent);

    std::unique_ptr<char16_t[]> text_;
    size_t length_ = 0;
    std::vector<Element> elements_;
    bool preserveWhitespace_ = true;
    std::u16string errorMessage_;
    std::u16string errorLocation_;
};

// A position in a document: an element and its lazily indexed attributes.
class CMarkupCursor {
public:
    CMarkupCursor() = default;

    bool Valid() const { return document_ != nullptr && element_ != 0; }
    CMarkupCursor NextSibling() const;
    CMarkupCursor FirstChild() const;
    bool HasChild() const;
    std::u16string_view Name() const;
    // The element's character data (empty for an element closed by "/>").
    std::u16string_view Value() const;

    size_t AttributeCount() const;
    bool HasAttributes() const { return AttributeCount() != 0; }
    std::u16string_view AttributeName(size_t index) const;
    std::u16string_view AttributeValue(size_t index) const;
    // Exact, case-sensitive; on a hit the value (at most `size` characters).
    bool FindAttribute(std::u16string_view name, std::u16string& value, size_t size = std::u16string::npos) const;
    bool HasAttribute(std::u16string_view name) const;

private:
    friend class CMarkupDocument;
    CMarkupCursor(const CMarkupDocument* document, uint32_t element) : document_(document), element_(element) {}
    void IndexAttributes() const;
    std::u16string_view TextAt(uint32_t offset) const;

    const CMarkupDocument* document_ = nullptr;
    uint32_t element_ = 0;
    struct Attribute {
        uint32_t name;
        uint32_t value;
    };
    mutable std::vector<Attribute> attributes_;
    mutable bool indexed_ = false;
};

}  // namespace SkinUI
