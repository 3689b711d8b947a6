// UTF-8 and UTF-16, both ways (invalid bytes and lone surrogates become
// U+FFFD). Model text is UTF-8, UI text UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
// Bytes of the character at `pos`: its whole sequence when valid, else its
// longest valid start (at least one byte) — what one U+FFFD replaces.
size_t Utf8SequenceAt(std::string_view utf8, size_t pos);
// Decodes into `out`, which has room for utf8.size() characters; returns the
// number written.
size_t DecodeUtf8(std::string_view utf8, char16_t* out);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace platform
