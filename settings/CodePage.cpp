#include "settings/CodePage.h"

#include "platform/Utf16.h"

namespace settings {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
    char32_t codePoint;
    size_t length;  // bytes used, at least 1
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The allowed range of the second byte after each lead byte, which rules out
// overlong forms, UTF-16 surrogates and values above U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second)
{
    if (lead == 0xE0)
        return second >= 0xA0 && second <= 0xBF;
    if (lead == 0xED)
        return second >= 0x80 && second <= 0x9F;
    if (lead == 0xF0)
        return second >= 0x90 && second <= 0xBF;
    if (lead == 0xF4)
        return second >= 0x80 && second <= 0x8F;
    return IsContinuation(second);
}

size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;  // a continuation byte or a byte never used in UTF-8
}

// Decodes the character at `pos`. An invalid or cut-short sequence yields
// U+FFFD and uses its longest valid start (at least one byte), so the next
// character is decoded from the first byte that did not fit.
Decoded DecodeAt(std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    const size_t length = SequenceLength(lead);
    if (length == 1)
        return {lead, 1};
    if (length == 0)
        return {kReplacement, 1};
    char32_t codePoint = lead & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i) {
        if (pos + i >= text.size())
            return {kReplacement, i};
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (i == 1 ? !SecondByteFits(lead, byte) : !IsContinuation(byte))
            return {kReplacement, i};
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return {codePoint, length};
}

// Valid UTF-8 stays as it is; invalid bytes become U+FFFD.
std::string CleanUtf8(std::string_view text) { return ToNarrow(ToUtf16(text)); }

}  // namespace

std::u16string ToUtf16(std::string_view narrow)
{
    return platform::Utf8ToUtf16(narrow);
}

std::string ToNarrow(std::u16string_view wide)
{
    return platform::Utf16ToUtf8(wide);
}

std::string CutToBytes(std::string_view text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return std::string(text);
    size_t end = 0;
    while (end < text.size()) {
        const size_t next = end + DecodeAt(text, end).length;
        if (next > maxBytes)
            break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

bool CodePage::SetLegacyCodePage(std::string_view name)
{
    if (!name.empty() && !codec_.IsKnown(name))
        return false;
    legacy_ = name;
    return true;
}

std::string CodePage::FromLegacy(std::string_view text) const
{
    std::string utf8;
    if (!legacy_.empty() && codec_.ToUtf8(legacy_, text, utf8))
        return utf8;
    return CleanUtf8(text);
}

std::string CodePage::ToLegacy(std::string_view utf8, size_t maxBytes) const
{
    if (legacy_.empty())
        return CutToBytes(utf8, maxBytes);
    std::string legacy;
    if (codec_.FromUtf8(legacy_, utf8, legacy) && legacy.size() <= maxBytes)
        return legacy;
    return ToLegacyByCharacter(utf8, maxBytes);
}

// The slow path: each character on its own, so that one the code page lacks
// costs only itself and the cut falls between characters of the code page.
std::string CodePage::ToLegacyByCharacter(std::string_view utf8, size_t maxBytes) const
{
    std::string legacy;
    std::string piece;
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t length = DecodeAt(utf8, pos).length;
        if (!codec_.FromUtf8(legacy_, utf8.substr(pos, length), piece))
            piece = "?";
        if (legacy.size() + piece.size() > maxBytes)
            break;
        legacy += piece;
        pos += length;
    }
    return legacy;
}

}  // namespace settings

