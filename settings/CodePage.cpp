#include "settings/CodePage.h"

#include "platform/Utf16.h"

namespace settings {
namespace {

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
        const size_t next = end + platform::Utf8SequenceAt(text, end);
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
        const size_t length = platform::Utf8SequenceAt(utf8, pos);
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

