// The skin's inline text mark-up, parsed once into runs and drawn run by run
// through the painter.
//
//   {b}…{/b} bold, {i}…{/i} italic, {u}…{/u} underline,
//   {c #AARRGGBB}…{/c} colour (drawn opaque whatever the alpha byte),
//   {i name } the image `name` as an icon, {x n} n pixels of space.
//
// Tags nest; a tag left open runs to the end of the text, a closing tag
// without its opening one is dropped, and a brace that starts no known tag is
// text. '\n' starts a new line unless the text is single-line ('\r' is
// dropped). Text that does not fit is cut at the rectangle, or ends with "…"
// when asked.
#pragma once

#include "platform/painter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

struct MarkupRun {
    enum class Kind { Text, Icon, Space, LineBreak };
    Kind kind = Kind::Text;
    std::u16string text;  // the characters, or the icon's image name
    int space = 0;  // pixels, for Space
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<uint32_t> colour;  // 0xAARRGGBB as written; none: the control's colour
    friend bool operator==(const MarkupRun&, const MarkupRun&) = default;
};

// The image for an icon name, or nothing when there is none.
using IconLookup = std::function<std::optional<platform::ImageView>(std::u16string_view name)>;

class TextMarkup {
public:
    // Characters past the first 4096 are dropped, as in plain text.
    static constexpr size_t kMaxChars = 4096;
    // The widest {x n} space.
    static constexpr int kMaxSpace = 4096;

    TextMarkup() = default;
    explicit TextMarkup(std::u16string_view text);

    // Parses `text` unless it is the text parsed last.
    void Update(std::u16string_view text);
    const std::u16string& Source() const { return m_source; }
    const std::vector<MarkupRun>& Runs() const { return m_runs; }

    // `flags` are painter text flags: alignment, SingleLine, WordBreak (at
    // spaces, to the rectangle's width) and EndEllipsis (each line).
    void Draw(platform::Painter& painter, const platform::FontSpec& font, uint32_t argb,
              const platform::PaintRect& rect, unsigned flags, const IconLookup& icons) const;
    // The size Draw takes in a rectangle `maxWidth` wide (0 or less: unlimited).
    platform::PaintSize Measure(platform::Painter& painter, const platform::FontSpec& font, int maxWidth,
                                unsigned flags, const IconLookup& icons) const;

private:
    std::u16string m_source;
    std::vector<MarkupRun> m_runs;
    bool m_parsed = false;
};

}  // namespace SkinUI
