// Conversion of 8-bit text between a named legacy code page ("CP1252",
// "BIG5", "GBK", ...) and UTF-8. A conversion either succeeds completely or
// returns false (unknown code page, invalid input, a character the target
// cannot hold); `out` is then empty.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class TextCodec {
public:
    virtual ~TextCodec() = default;

    virtual bool IsKnown(std::string_view codePage) = 0;
    virtual bool ToUtf8(std::string_view codePage, std::string_view text, std::string& out) = 0;
    virtual bool FromUtf8(std::string_view codePage, std::string_view text, std::string& out) = 0;
};

// The system's converter (iconv).
TextCodec& SystemTextCodec();

}  // namespace platform
