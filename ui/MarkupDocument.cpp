#include "ui/MarkupDocument.h"

#include "platform/TextCodec.h"
#include "platform/ZipReader.h"
#include "platform/file_system.h"
#include "platform/Utf16.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SkinUI {
namespace {

constexpr size_t kLocationLength = 49;
constexpr size_t kMessageLength = 99;

std::string& AnsiCodePage()
{
    static std::string name = "CP1252";
    return name;
}

enum CharClass : uint8_t { kSpace = 1, kName = 2, kDataStop = 4 };

// Classes of the ASCII characters: blanks (1..32), name characters (letters,
// digits, '_' and ':'; characters beyond ASCII count as letters), and the
// characters that interrupt character data ('&', '"', '<' and the end).
constexpr std::array<uint8_t, 128> MakeClasses()
{
    std::array<uint8_t, 128> classes{};
    for (int c = 1; c <= 32; ++c)
        classes[c] = kSpace;
    for (int c = 'a'; c <= 'z'; ++c)
        classes[c] = kName;
    for (int c = 'A'; c <= 'Z'; ++c)
        classes[c] = kName;
    for (int c = '0'; c <= '9'; ++c)
        classes[c] = kName;
    classes['_'] = classes[':'] = kName;
    classes[0] = classes['&'] = classes['"'] = classes['<'] = kDataStop;
    return classes;
}
constexpr std::array<uint8_t, 128> kClasses = MakeClasses();

inline bool IsSpace(char16_t c)
{
    return c < 128 && (kClasses[c] & kSpace) != 0;
}

inline bool IsNameChar(char16_t c)
{
    return c >= 128 || (kClasses[c] & kName) != 0;
}

inline bool IsDataStop(char16_t c)
{
    return c < 128 && (kClasses[c] & kDataStop) != 0;
}

struct Entity {
    std::u16string_view name;  // between '&' and ';'
    char16_t value;
};
constexpr Entity kEntities[] = {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''}};

}  // namespace

// The parse of one document, over its buffer.
// The first position from `r` on that holds '&', '"', '<' or the end. The
// buffer has two characters of slack after the text, so eight characters
// are read at a time only while they all lie inside it.
static size_t SkipPlainData(const char16_t* text, size_t length, size_t r)
{
#if defined(__SSE2__)
    const __m128i amp = _mm_set1_epi16('&'), quote = _mm_set1_epi16('"'), lt = _mm_set1_epi16('<');
    const __m128i zero = _mm_setzero_si128();
    while (r + 8 <= length) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + r));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(chunk, amp), _mm_cmpeq_epi16(chunk, quote)),
                                          _mm_or_si128(_mm_cmpeq_epi16(chunk, lt), _mm_cmpeq_epi16(chunk, zero)));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return r + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
        r += 8;
    }
#endif
    while (!IsDataStop(text[r]))
        ++r;
    return r;
}

class CMarkupDocument::Parser {
public:
    explicit Parser(CMarkupDocument& doc) : doc_(doc), text_(doc.text_.get()) {}
    bool Run();

private:
    struct Level {
        uint32_t element;
        uint32_t previous;
        size_t dataEnd;
    };

    void SkipSpace()
    {
        while (IsSpace(text_[p_]))
            ++p_;
    }
    bool SkipTo(std::u16string_view marker);
    bool CloseElement();
    bool StartElement();
    bool ParseAttributes();
    // Decodes character data up to `stop` in place; false at the end of
    // the text. Leaves p_ on `stop` and returns the end of the decoded text.
    bool ParseData(char16_t stop, size_t& end);
    size_t SkipPlainData(size_t r) const { return SkinUI::SkipPlainData(text_, doc_.length_, r); }

    CMarkupDocument& doc_;
    char16_t* text_;
    size_t p_ = 0;
    std::vector<Level> levels_;
};

bool CMarkupDocument::Parser::Run()
{
    doc_.AddElement(0, 0);  // index 0: "no element"
    levels_.push_back({0, 0, 0});
    for (;;) {
        SkipSpace();
        if (text_[p_] == 0) {
            if (levels_.back().element <= 1)
                return true;
            return doc_.Fail("Expected start tag", p_);
        }
        if (text_[p_] != '<')
            return doc_.Fail("Expected start tag", p_);
        const char16_t next = text_[p_ + 1];
        if (next == '/') {
            if (levels_.back().element == 0)
                return true;  // an end tag at the top ends the document
            if (!CloseElement())
                return false;
        } else if (next == '!') {
            SkipTo(u"->");
        } else if (next == '?') {
            SkipTo(u"?>");
        } else if (!StartElement()) {
            return false;
        }
    }
}

bool CMarkupDocument::Parser::SkipTo(std::u16string_view marker)
{
    const std::u16string_view rest(text_ + p_ + 2, doc_.length_ - std::min(doc_.length_, p_ + 2));
    const size_t found = rest.find(marker);
    p_ = found == std::u16string_view::npos ? doc_.length_ : p_ + 2 + found + marker.size();
    return found != std::u16string_view::npos;
}

bool CMarkupDocument::Parser::CloseElement()
{
    const Level level = levels_.back();
    const char16_t* name = text_ + doc_.elements_[level.element].name;
    p_ += 2;
    for (size_t i = 0; name[i] != 0; ++i, ++p_) {
        if (text_[p_] != name[i])
            return doc_.Fail("Unmatched closing tag", p_);
    }
    SkipSpace();
    if (text_[p_] != '>')
        return doc_.Fail("Unmatched closing tag", p_);
    ++p_;
    text_[level.dataEnd] = 0;
    levels_.pop_back();
    levels_.back().previous = level.element;
    return true;
}

bool CMarkupDocument::Parser::StartElement()
{
    Level& level = levels_.back();
    const uint32_t parent = level.element;
    const uint32_t element = doc_.AddElement(static_cast<uint32_t>(p_ + 1), parent);
    if (level.previous != 0)
        doc_.elements_[level.previous].next = element;
    else if (parent != 0)
        doc_.elements_[parent].child = element;

    ++p_;
    const size_t nameStart = p_;
    while (IsNameChar(text_[p_]))
        ++p_;
    // Only the end of the text leaves the name empty for good; anything else
    // after the '<' is read as the attributes.
    if (p_ == nameStart && text_[p_] == 0)
        return doc_.Fail("Error parsing element name", p_);
    const size_t nameEnd = p_;
    if (!ParseAttributes())
        return false;

    if (text_[p_] == '/') {
        if (text_[p_ + 1] != '>')
            return doc_.Fail("Expected start-tag closing", p_);
        doc_.elements_[element].data = static_cast<uint32_t>(p_);
        text_[nameEnd] = 0;
        text_[p_] = 0;
        p_ += 2;
        levels_.back().previous = element;
        return true;
    }
    if (text_[p_] != '>')
        return doc_.Fail("Expected start-tag closing", p_);
    ++p_;
    doc_.elements_[element].data = static_cast<uint32_t>(p_);
    text_[nameEnd] = 0;
    size_t dataEnd = 0;
    if (!ParseData('<', dataEnd)) {
        if (parent <= 1)
            return true;  // an unclosed element at the top is accepted
        return doc_.Fail("Expected end-tag start", p_);
    }
    levels_.push_back({element, 0, dataEnd});
    return true;
}

bool CMarkupDocument::Parser::ParseAttributes()
{
    for (;;) {
        SkipSpace();
        const char16_t c = text_[p_];
        if (c == '>' || c == '/' || c == 0)
            return true;
        while (IsNameChar(text_[p_]))
            ++p_;
        const size_t nameEnd = p_;
        SkipSpace();
        if (text_[p_] != '=')
            return doc_.Fail("Error while parsing attributes", p_);
        text_[nameEnd] = 0;
        ++p_;
        SkipSpace();
        if (text_[p_] != '"')
            return doc_.Fail("Expected attribute value", p_);
        ++p_;
        size_t valueEnd = 0;
        if (!ParseData('"', valueEnd))
            return doc_.Fail("Error while parsing attribute string", p_);
        text_[p_] = ' ';  // the closing quote, past a shortened value
        text_[valueEnd] = 0;
        ++p_;
    }
}

bool CMarkupDocument::Parser::ParseData(char16_t stop, size_t& end)
{
    size_t w = p_;
    size_t r = p_;
    const bool preserve = doc_.preserveWhitespace_;
    for (;;) {
        // Plain characters stay where they are until something was decoded.
        if (preserve && w == r) {
            r = SkipPlainData(r);
            w = r;
        }
        const char16_t c = text_[r];
        if (c == stop || c == 0)
            break;
        if (c == '&') {
            const std::u16string_view rest(text_ + r + 1, std::min<size_t>(5, doc_.length_ - r - 1));
            const Entity* match = nullptr;
            for (const Entity& entity : kEntities) {
                if (rest.size() > entity.name.size() && rest.substr(0, entity.name.size()) == entity.name
                    && rest[entity.name.size()] == ';')
                    match = &entity;
            }
            if (match != nullptr) {
                text_[w++] = match->value;
                r += match->name.size() + 2;
                continue;
            }
        }
        text_[w++] = c;
        ++r;
        if (!preserve && c == ' ') {
            while (IsSpace(text_[r]))
                ++r;
        }
    }
    // The tail freed by decoding becomes blanks.
    for (size_t i = w; i < r; ++i)
        text_[i] = ' ';
    end = w;
    p_ = r;
    return text_[r] != 0;
}

// ---- document ----------------------------------------------------------------

void CMarkupDocument::SetAnsiCodePage(std::string name)
{
    AnsiCodePage() = std::move(name);
}

void CMarkupDocument::Clear()
{
    text_.reset();
    length_ = 0;
    elements_.clear();
}

uint32_t CMarkupDocument::AddElement(uint32_t nameOffset, uint32_t parent)
{
    if (elements_.size() == elements_.capacity())
        elements_.reserve(elements_.capacity() + elements_.capacity() / 2 + 500);
    elements_.push_back({nameOffset, 0, 0, parent, 0});
    return static_cast<uint32_t>(elements_.size() - 1);
}

bool CMarkupDocument::Fail(const char* message, size_t at)
{
    const size_t messageLength = std::min(std::strlen(message), kMessageLength);
    errorMessage_.assign(message, message + messageLength);
    const size_t from = std::min(at, length_);
    const char16_t* start = text_.get() + from;
    size_t n = 0;
    while (n < kLocationLength && start[n] != 0)
        ++n;
    errorLocation_.assign(start, n);
    return false;
}

bool CMarkupDocument::Parse()
{
    errorMessage_.clear();
    errorLocation_.clear();
    elements_.clear();
    // A skin layout has about one element per 60 characters.
    elements_.reserve(length_ / 64 + 16);
    if (Parser(*this).Run())
        return true;
    Clear();
    return false;
}

char16_t* CMarkupDocument::PrepareText(size_t length)
{
    Clear();
    text_ = std::make_unique_for_overwrite<char16_t[]>(length + 2);
    length_ = length;
    return text_.get();
}

bool CMarkupDocument::ParseText(size_t length)
{
    length_ = length;
    text_[length_] = text_[length_ + 1] = 0;
    return Parse();
}

// The text ends at its first zero character, as a C string does.
static size_t UpToZero(const char16_t* text, size_t length)
{
    return static_cast<size_t>(std::find(text, text + length, char16_t{0}) - text);
}

bool CMarkupDocument::LoadText(std::u16string_view text)
{
    std::copy(text.begin(), text.end(), PrepareText(text.size()));
    return ParseText(UpToZero(text_.get(), text.size()));
}

bool CMarkupDocument::LoadUtf16(const uint8_t* bytes, size_t length)
{
    if (length < 2 || !((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        Clear();
        errorMessage_ = u"Could not read file";
        errorLocation_.clear();
        return false;
    }
    const bool bigEndian = bytes[0] == 0xFE;
    const size_t count = length / 2 - 1;
    char16_t* text = PrepareText(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t a = bytes[2 + 2 * i], b = bytes[3 + 2 * i];
        text[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return ParseText(UpToZero(text, count));
}

bool CMarkupDocument::LoadUtf8(std::string_view utf8)
{
    // The text ends at its first zero byte.
    if (const void* zero = std::memchr(utf8.data(), 0, utf8.size()))
        utf8 = utf8.substr(0, static_cast<const char*>(zero) - utf8.data());
    // UTF-16 never needs more characters than UTF-8 has bytes.
    const size_t count = platform::DecodeUtf8(utf8, PrepareText(utf8.size()));
    return ParseText(count);
}

bool CMarkupDocument::LoadBytes(const uint8_t* bytes, size_t length, int encoding)
{
    if (encoding == kUtf16)
        return LoadUtf16(bytes, length);
    if (encoding == kAnsi) {
        std::string utf8;
        const std::string_view ansi(reinterpret_cast<const char*>(bytes), length);
        if (!platform::SystemTextCodec().ToUtf8(AnsiCodePage(), ansi, utf8))
            utf8.assign(ansi);
        return LoadUtf8(utf8);
    }
    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        length -= 3;
    }
    return LoadUtf8(std::string_view(reinterpret_cast<const char*>(bytes), length));
}

bool CMarkupDocument::LoadFile(std::string_view name, const ResourceLocation& location, int encoding)
{
    Clear();
    errorLocation_.clear();
    std::vector<uint8_t> bytes;
    if (!location.zipFile.empty()) {
        switch (platform::ReadZipEntry(location.zipFile, name, kMaxFileSize, bytes)) {
        case platform::ZipResult::Ok: break;
        case platform::ZipResult::CannotOpen: errorMessage_ = u"Error opening file"; return false;
        case platform::ZipResult::NoEntry: errorMessage_ = u"Could not find ziped file"; return false;
        case platform::ZipResult::TooLarge: errorMessage_ = u"File too large"; return false;
        case platform::ZipResult::Corrupt: errorMessage_ = u"Could not unzip file"; return false;
        }
    } else {
        const std::string path = location.folder.empty() ? std::string(name) : location.folder + "/" + std::string(name);
        switch (platform::RealFileSystem().ReadFile(path, kMaxFileSize + 1, bytes)) {
        case platform::ReadResult::Ok: break;
        case platform::ReadResult::CannotOpen: errorMessage_ = u"Error opening file"; return false;
        case platform::ReadResult::ReadFailed: errorMessage_ = u"Could not read file"; return false;
        }
        if (bytes.size() > kMaxFileSize) {
            errorMessage_ = u"File too large";
            return false;
        }
    }
    if (bytes.empty()) {
        errorMessage_ = u"File is empty";
        return false;
    }
    return LoadBytes(bytes.data(), bytes.size(), encoding);
}

CMarkupCursor CMarkupDocument::Root() const
{
    return IsValid() ? CMarkupCursor(this, 1) : CMarkupCursor();
}

// ---- cursor ------------------------------------------------------------------

std::u16string_view CMarkupCursor::TextAt(uint32_t offset) const
{
    return std::u16string_view(document_->text_.get() + offset);
}

CMarkupCursor CMarkupCursor::NextSibling() const
{
    if (!Valid())
        return {};
    const uint32_t next = document_->elements_[element_].next;
    return next != 0 ? CMarkupCursor(document_, next) : CMarkupCursor();
}

CMarkupCursor CMarkupCursor::FirstChild() const
{
    if (!Valid())
        return {};
    const uint32_t child = document_->elements_[element_].child;
    return child != 0 ? CMarkupCursor(document_, child) : CMarkupCursor();
}

bool CMarkupCursor::HasChild() const
{
    return Valid() && document_->elements_[element_].child != 0;
}

std::u16string_view CMarkupCursor::Name() const
{
    return Valid() ? TextAt(document_->elements_[element_].name) : std::u16string_view();
}

std::u16string_view CMarkupCursor::Value() const
{
    return Valid() ? TextAt(document_->elements_[element_].data) : std::u16string_view();
}

// Walks the start tag between the name and the end of the tag: each
// attribute is a name and its terminator, then blanks and '=' up to the
// opening quote, then the value and its terminator.
void CMarkupCursor::IndexAttributes() const
{
    if (indexed_ || !Valid())
        return;
    indexed_ = true;
    const char16_t* text = document_->text_.get();
    const CMarkupDocument::Element& element = document_->elements_[element_];
    size_t p = element.name;
    while (text[p] != 0)
        ++p;
    ++p;
    // The tag ends at the '/' of "/>" (the data offset) or at its '>' (just
    // before the data offset).
    const size_t limit = element.data;
    while (attributes_.size() < CMarkupDocument::kMaxAttributes) {
        while (p < limit && IsSpace(text[p]))
            ++p;
        if (p >= limit || text[p] == '>' || text[p] == '/' || text[p] == 0)
            return;
        const size_t name = p;
        while (p < limit && text[p] != 0)
            ++p;
        while (p < limit && text[p] != '"')
            ++p;
        const size_t value = ++p;
        while (p < limit && text[p] != 0)
            ++p;
        if (p >= limit)
            return;
        ++p;
        attributes_.push_back({static_cast<uint32_t>(name), static_cast<uint32_t>(value)});
    }
}

size_t CMarkupCursor::AttributeCount() const
{
    IndexAttributes();
    return attributes_.size();
}

std::u16string_view CMarkupCursor::AttributeName(size_t index) const
{
    IndexAttributes();
    return index < attributes_.size() ? TextAt(attributes_[index].name) : std::u16string_view();
}

std::u16string_view CMarkupCursor::AttributeValue(size_t index) const
{
    IndexAttributes();
    return index < attributes_.size() ? TextAt(attributes_[index].value) : std::u16string_view();
}

bool CMarkupCursor::FindAttribute(std::u16string_view name, std::u16string& value, size_t size) const
{
    IndexAttributes();
    for (const Attribute& attribute : attributes_) {
        if (TextAt(attribute.name) == name) {
            value = std::u16string(TextAt(attribute.value).substr(0, size));
            return true;
        }
    }
    return false;
}

bool CMarkupCursor::HasAttribute(std::u16string_view name) const
{
    std::u16string ignored;
    return FindAttribute(name, ignored, 0);
}

}  // namespace SkinUI
