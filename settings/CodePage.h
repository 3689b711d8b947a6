// Where model text meets UI text. Model text (names, event texts, file
// fields) is narrow and UTF-8; UI text is UTF-16. Conversions never throw:
// invalid UTF-8 and lone surrogates become U+FFFD. Files made elsewhere may
// hold text in a legacy code page, chosen at run time.
#pragma once

#include "platform/TextCodec.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace settings {

std::u16string ToUtf16(std::string_view narrow);
std::string ToNarrow(std::u16string_view wide);

// The longest prefix of at most maxBytes that ends on a character boundary.
// Bytes that are not valid UTF-8 count as one-byte characters.
std::string CutToBytes(std::string_view text, size_t maxBytes);

class CodePage {
public:
    explicit CodePage(platform::TextCodec& codec) : codec_(codec) {}

    // Chooses the legacy code page of outside files; an empty name goes back
    // to UTF-8. False (and no change) for a code page the system lacks.
    bool SetLegacyCodePage(std::string_view name);
    const std::string& LegacyCodePage() const { return legacy_; }

    // Legacy text to UTF-8. Without a legacy code page, or when the text is
    // not valid in it, the bytes are read as UTF-8 (invalid ones as U+FFFD).
    std::string FromLegacy(std::string_view text) const;
    // UTF-8 to legacy text of at most maxBytes, never splitting a character;
    // a character the code page lacks becomes '?'. Without a legacy code page
    // the text stays UTF-8 and is only cut.
    std::string ToLegacy(std::string_view utf8, size_t maxBytes = std::string::npos) const;

private:
    std::string ToLegacyByCharacter(std::string_view utf8, size_t maxBytes) const;

    platform::TextCodec& codec_;
    std::string legacy_;
};

}  // namespace settings
