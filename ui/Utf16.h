// UTF-8 to UTF-16 for markup text (invalid bytes become U+FFFD).
#pragma once

#include <string>
#include <string_view>

namespace SkinUI {

std::u16string Utf8ToUtf16(std::string_view utf8);
// Decodes into `out`, which has room for utf8.size() characters; returns the
// number written.
size_t DecodeUtf8(std::string_view utf8, char16_t* out);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace SkinUI
