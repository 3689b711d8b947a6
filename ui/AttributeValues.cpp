#include "ui/AttributeValues.h"

#include <algorithm>
#include <climits>
#include <span>

namespace SkinUI {

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'; }

size_t SkipBlanks(std::u16string_view text, size_t pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

bool IsDecimal(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads an optional sign at `pos`; true for '-'.
bool ReadSign(std::u16string_view text, size_t& pos)
{
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        return text[pos++] == u'-';
    return false;
}

// Reads a decimal integer at `pos` like wcstol and moves `pos` past it; when
// there are no digits, `pos` is left where it was and the result is 0.
int ReadInt(std::u16string_view text, size_t& pos)
{
    size_t at = SkipBlanks(text, pos);
    const bool negative = ReadSign(text, at);
    if (at >= text.size() || !IsDecimal(text[at]))
        return 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; at < text.size() && IsDecimal(text[at]); ++at) {
        if (value < limit)
            value = std::min(limit, value * 10 + (text[at] - u'0'));
    }
    pos = at;
    return static_cast<int>(negative ? -value : value);
}

// Reads comma-separated integers into `out` until the text stops matching.
void ReadIntList(std::u16string_view text, std::span<int> out)
{
    size_t pos = 0;
    for (int& part : out) {
        part = ReadInt(text, pos);
        if (pos >= text.size() || text[pos] != u',')
            return;
        ++pos;
    }
}

// Skips a "0x" that a hex digit follows, as strtoul does.
size_t SkipHexPrefix(std::u16string_view text, size_t pos)
{
    const bool prefix = pos + 2 < text.size() && text[pos] == u'0' && (text[pos + 1] == u'x' || text[pos + 1] == u'X');
    return prefix && HexDigit(text[pos + 2]) >= 0 ? pos + 2 : pos;
}

}  // namespace

uint32_t ParseColor(std::u16string_view text)
{
    size_t pos = (!text.empty() && text.front() == u'#') ? 1 : 0;
    pos = SkipBlanks(text, pos);
    const bool negative = ReadSign(text, pos);
    pos = SkipHexPrefix(text, pos);
    uint64_t value = 0;
    for (; pos < text.size() && HexDigit(text[pos]) >= 0; ++pos)
        value = std::min<uint64_t>(0xFFFFFFFFu + 1ull, value * 16 + HexDigit(text[pos]));
    if (value > 0xFFFFFFFFu)
        return 0xFFFFFFFFu;
    const auto result = static_cast<uint32_t>(value);
    return negative ? 0u - result : result;
}

int ParseInt(std::u16string_view text)
{
    size_t pos = 0;
    return ReadInt(text, pos);
}

UIRect ParseRect(std::u16string_view text)
{
    int parts[4] = {};
    ReadIntList(text, parts);
    return {parts[0], parts[1], parts[2], parts[3]};
}

UISize ParseSize(std::u16string_view text)
{
    int parts[2] = {};
    ReadIntList(text, parts);
    return {parts[0], parts[1]};
}

bool ParseBool(std::u16string_view text) { return text == u"true"; }

size_t ForEachQuotedPair(std::u16string_view text, char16_t quote, const PairVisitor& visit)
{
    size_t count = 0;
    size_t pos = SkipBlanks(text, 0);
    while (pos < text.size()) {
        size_t nameEnd = pos;
        while (nameEnd < text.size() && text[nameEnd] != u'=' && !IsBlank(text[nameEnd]) && text[nameEnd] != quote)
            ++nameEnd;
        const size_t equals = SkipBlanks(text, nameEnd);
        if (nameEnd == pos || equals >= text.size() || text[equals] != u'=')
            break;
        const size_t open = SkipBlanks(text, equals + 1);
        if (open >= text.size() || text[open] != quote)
            break;
        const size_t close = text.find(quote, open + 1);
        if (close == std::u16string_view::npos)
            break;
        visit(text.substr(pos, nameEnd - pos), text.substr(open + 1, close - open - 1));
        ++count;
        pos = SkipBlanks(text, close + 1);
    }
    return count;
}

size_t ForEachAttribute(std::u16string_view list, const PairVisitor& visit)
{
    return ForEachQuotedPair(list, u'"', visit);
}

std::vector<AttributePair> ParseAttributeList(std::u16string_view list)
{
    std::vector<AttributePair> pairs;
    ForEachAttribute(list, [&pairs](std::u16string_view name, std::u16string_view value) {
        pairs.push_back({std::u16string(name), std::u16string(value)});
    });
    return pairs;
}

unsigned WithFlag(unsigned style, unsigned flag, bool on) { return on ? (style | flag) : (style & ~flag); }

unsigned ApplyAlign(unsigned style, std::u16string_view value)
{
    struct AlignWord {
        std::u16string_view word;
        unsigned axisMask;
        unsigned flag;
    };
    static constexpr AlignWord kWords[] = {
        {u"left", TextStyle::HorizontalMask, TextStyle::Left},
        {u"center", TextStyle::HorizontalMask, TextStyle::Center},
        {u"right", TextStyle::HorizontalMask, TextStyle::Right},
        {u"top", TextStyle::VerticalMask, TextStyle::Top},
        {u"bottom", TextStyle::VerticalMask, TextStyle::Bottom},
    };
    for (const AlignWord& word : kWords) {
        if (value.find(word.word) != std::u16string_view::npos)
            style = (style & ~word.axisMask) | word.flag;
    }
    return style;
}

}  // namespace SkinUI
