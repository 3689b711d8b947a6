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

bool IsC1OrDel(char16_t c) { return c >= 0x7F && c <= 0x9F; }

// Embeddings, overrides and isolates reorder what follows them on screen.
bool IsBidiControl(char16_t c) { return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069); }

bool IsControl(char16_t c) { return c < 0x20 || IsC1OrDel(c) || IsBidiControl(c); }

// The first character of a UTF-8 sequence, U+FFFD when it is none.
char16_t FirstOf(std::string_view sequence)
{
    const std::u16string decoded = platform::Utf8ToUtf16(sequence);
    return decoded.empty() ? kReplacement : decoded[0];
}

// The text rebuilt sequence by sequence: `put(sequence, first character,
// out)` appends what stands for each UTF-8 sequence (or stray byte).
template <typename Put>
std::string Rebuilt(std::string_view text, Put put)
{
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = platform::Utf8SequenceAt(text, pos);
        const std::string_view sequence = text.substr(pos, length);
        pos += length;
        put(sequence, FirstOf(sequence), out);
    }
    return out;
}

}  // namespace

std::string EscapeControls(std::string_view text)
{
    return Rebuilt(text, [](std::string_view sequence, char16_t first, std::string& out) {
        if (sequence == "\\")
            out += "\\\\";
        else if (first == kReplacement && sequence != kReplacementUtf8)
            out += EscapedBytes(sequence);
        else if (IsControl(first))
            out += first < 0x80 ? Hex("\\x%02X", first) : Hex("\\u%04X", first);
        else
            out += sequence;
    });
}

std::string EscapeJsonControls(std::string_view json)
{
    return Rebuilt(json, [](std::string_view sequence, char16_t first, std::string& out) {
        if (IsC1OrDel(first) || IsBidiControl(first))
            out += Hex("\\u%04X", first);
        else
            out += sequence;
    });
}

}  // namespace cli
