#include "cli/TerminalText.h"

#include "platform/Utf16.h"

#include <cstdio>

namespace cli {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

std::string Hex(const char* format, unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string EscapedBytes(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes)
        out += Hex("\\x%02X", static_cast<unsigned char>(c));
    return out;
}

bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

}  // namespace

std::string EscapeControls(std::string_view text)
{
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = platform::Utf8SequenceAt(text, pos);
        const std::string_view sequence = text.substr(pos, length);
        pos += length;
        const std::u16string decoded = platform::Utf8ToUtf16(sequence);
        const char16_t first = decoded.empty() ? kReplacement : decoded[0];
        if (sequence == "\\")
            out += "\\\\";
        else if (first == kReplacement && sequence != kReplacementUtf8)
            out += EscapedBytes(sequence);
        else if (IsControl(first))
            out += first < 0x80 ? Hex("\\x%02X", first) : Hex("\\u%04X", first);
        else
            out += sequence;
    }
    return out;
}

}  // namespace cli
