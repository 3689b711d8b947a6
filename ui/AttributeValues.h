// Value syntax of skin attributes: colours, integers, l,t,r,b rectangles,
// cx,cy sizes, booleans, name="value" attribute lists and the alignment words
// of text controls. Every parser accepts any text: numbers are read as far as
// they go, malformed parts are ignored, nothing is reported or thrown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

struct UIRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const UIRect&, const UIRect&) = default;
};

struct UIPoint {
    int x = 0;
    int y = 0;
    bool operator==(const UIPoint&) const = default;
};

struct UISize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const UISize&, const UISize&) = default;
};

struct AttributePair {
    std::u16string name;
    std::u16string value;
    friend bool operator==(const AttributePair&, const AttributePair&) = default;
};

// The value of a hexadecimal digit, -1 for any other character.
int HexDigit(char16_t c);
// Hexadecimal ARGB after an optional '#', read like strtoul with base 16
// (blanks, a sign and a "0x" prefix are accepted); saturates at 0xFFFFFFFF.
uint32_t ParseColor(std::u16string_view text);
// Decimal integer read like wcstol: optional blanks and sign, then digits;
// 0 without digits; saturates at the int range.
int ParseInt(std::u16string_view text);
// Decimal integers separated by single commas; parts that are missing stay 0.
UIRect ParseRect(std::u16string_view text);
UISize ParseSize(std::u16string_view text);
// True only for the exact text "true".
bool ParseBool(std::u16string_view text);

using PairVisitor = std::function<void(std::u16string_view name, std::u16string_view value)>;

// Visits the pairs name=<quote>value<quote> of `text` in order; pairs are
// separated by blanks. Stops quietly at the first malformed pair. Returns the
// number of pairs visited.
size_t ForEachQuotedPair(std::u16string_view text, char16_t quote, const PairVisitor& visit);
// An attribute list: name="value" pairs.
size_t ForEachAttribute(std::u16string_view list, const PairVisitor& visit);
std::vector<AttributePair> ParseAttributeList(std::u16string_view list);

// Text layout flags of the text controls and list items.
namespace TextStyle {
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned HorizontalMask = Center | Right;
inline constexpr unsigned Top = 0x0;
inline constexpr unsigned VCenter = 0x4;
inline constexpr unsigned Bottom = 0x8;
inline constexpr unsigned VerticalMask = VCenter | Bottom;
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned EndEllipsis = 0x8000;
}  // namespace TextStyle

// Applies an "align" value: each of "left", "center", "right", "top" and
// "bottom" that the text contains replaces that axis, in this order.
unsigned ApplyAlign(unsigned style, std::u16string_view value);
unsigned WithFlag(unsigned style, unsigned flag, bool on);

// One row of an attribute → setter table.
template <class Target>
struct AttributeSetter {
    std::u16string_view name;
    void (*apply)(Target& target, std::u16string_view value);
};

// Applies the row named `name`; false when the table has none.
template <class Target, size_t N>
bool ApplyFromTable(const AttributeSetter<Target> (&table)[N], Target& target, std::u16string_view name,
                    std::u16string_view value)
{
    for (const AttributeSetter<Target>& row : table) {
        if (row.name == name) {
            row.apply(target, value);
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
