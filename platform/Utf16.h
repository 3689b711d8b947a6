// UTF-8 and UTF-16, both ways (invalid bytes and lone surrogates become
// U+FFFD). Model text is UTF-8, UI text UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
// Decodes into `out`, which has room for utf8.size() characters; returns the
// number written.
size_t DecodeUtf8(std::string_view utf8, char16_t* out);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace platform
