#include "ui/TextMarkup.h"

#include "ui/AttributeValues.h"

#include <algorithm>
#include <climits>

namespace SkinUI {
namespace {

using platform::FontSpec;
using platform::PaintRect;
using platform::PaintSize;
namespace TextFlag = platform::TextFlag;

// A tag body longer than this is not a tag (icon names are image names).
constexpr size_t kMaxTagLength = 512;

std::u16string_view TrimSpaces(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

// "#AARRGGBB" (the '#' may be left out), one to eight digits.
std::optional<uint32_t> ParseColour(std::u16string_view text)
{
    if (!text.empty() && text.front() == u'#')
        text.remove_prefix(1);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char16_t c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

// Decimal digits only; saturates at kMaxSpace.
std::optional<int> ParseSpace(std::u16string_view text)
{
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(value * 10 + (c - u'0'), TextMarkup::kMaxSpace);
    }
    return value;
}

enum class TagKind { Bold, Italic, Underline, Colour, Icon, Space };

struct Tag {
    TagKind kind = TagKind::Bold;
    bool closing = false;
    uint32_t colour = 0;
    int space = 0;
    std::u16string_view name;
};

Tag MakeTag(TagKind kind, bool closing = false)
{
    Tag tag;
    tag.kind = kind;
    tag.closing = closing;
    return tag;
}

// The body between the braces; nothing when it is no known tag.
std::optional<Tag> ClassifyTag(std::u16string_view body)
{
    const bool closing = !body.empty() && body.front() == u'/';
    if (closing) {
        body.remove_prefix(1);
        if (body == u"b")
            return MakeTag(TagKind::Bold, true);
        if (body == u"i")
            return MakeTag(TagKind::Italic, true);
        if (body == u"u")
            return MakeTag(TagKind::Underline, true);
        if (body == u"c")
            return MakeTag(TagKind::Colour, true);
        return std::nullopt;
    }
    if (body == u"b")
        return MakeTag(TagKind::Bold);
    if (body == u"i")
        return MakeTag(TagKind::Italic);
    if (body == u"u")
        return MakeTag(TagKind::Underline);
    if (body.size() < 2 || body[1] != u' ')
        return std::nullopt;
    const std::u16string_view argument = TrimSpaces(body.substr(2));
    Tag tag = MakeTag(TagKind::Icon);
    if (body[0] == u'i') {
        tag.name = argument;
        return tag;
    }
    const std::optional<uint32_t> colour = body[0] == u'c' ? ParseColour(argument) : std::nullopt;
    if (colour) {
        tag.kind = TagKind::Colour;
        tag.colour = *colour;
        return tag;
    }
    const std::optional<int> space = body[0] == u'x' ? ParseSpace(argument) : std::nullopt;
    if (space) {
        tag.kind = TagKind::Space;
        tag.space = *space;
        return tag;
    }
    return std::nullopt;
}

// `text` starts with '{'. The tag and its length, braces included.
std::optional<std::pair<Tag, size_t>> ReadTag(std::u16string_view text)
{
    const size_t close = text.substr(0, kMaxTagLength + 2).find(u'}');
    if (close == std::u16string_view::npos)
        return std::nullopt;
    const std::optional<Tag> tag = ClassifyTag(text.substr(1, close - 1));
    if (!tag)
        return std::nullopt;
    return std::pair{*tag, close + 1};
}

// Style counters rather than a stack of open tags: nesting thousands deep
// costs nothing, and a closing tag only undoes one of its own kind.
class MarkupParser {
public:
    std::vector<MarkupRun> Parse(std::u16string_view text)
    {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'{') {
                if (const auto tag = ReadTag(text.substr(i))) {
                    Apply(tag->first);
                    i += tag->second - 1;
                    continue;
                }
            }
            AddChar(text[i]);
        }
        return std::move(m_runs);
    }

private:
    MarkupRun Styled(MarkupRun::Kind kind) const
    {
        MarkupRun run;
        run.kind = kind;
        run.bold = m_bold > 0;
        run.italic = m_italic > 0;
        run.underline = m_underline > 0;
        if (!m_colours.empty())
            run.colour = m_colours.back();
        return run;
    }

    void AddChar(char16_t c)
    {
        if (c == u'\r')
            return;
        if (c == u'\n') {
            m_runs.push_back(Styled(MarkupRun::Kind::LineBreak));
            return;
        }
        MarkupRun run = Styled(MarkupRun::Kind::Text);
        if (m_runs.empty() || m_runs.back().kind != MarkupRun::Kind::Text || !SameStyle(m_runs.back(), run))
            m_runs.push_back(std::move(run));
        m_runs.back().text += c;
    }

    static bool SameStyle(const MarkupRun& a, const MarkupRun& b)
    {
        return a.bold == b.bold && a.italic == b.italic && a.underline == b.underline && a.colour == b.colour;
    }

    static void Count(int& depth, bool closing) { depth = closing ? std::max(depth - 1, 0) : depth + 1; }

    void Apply(const Tag& tag)
    {
        switch (tag.kind) {
        case TagKind::Bold: Count(m_bold, tag.closing); break;
        case TagKind::Italic: Count(m_italic, tag.closing); break;
        case TagKind::Underline: Count(m_underline, tag.closing); break;
        case TagKind::Colour:
            if (!tag.closing)
                m_colours.push_back(tag.colour);
            else if (!m_colours.empty())
                m_colours.pop_back();
            break;
        case TagKind::Icon:
            m_runs.push_back(Styled(MarkupRun::Kind::Icon));
            m_runs.back().text = tag.name;
            break;
        case TagKind::Space:
            m_runs.push_back(Styled(MarkupRun::Kind::Space));
            m_runs.back().space = tag.space;
            break;
        }
    }

    std::vector<MarkupRun> m_runs;
    int m_bold = 0;
    int m_italic = 0;
    int m_underline = 0;
    std::vector<uint32_t> m_colours;
};

FontSpec RunFont(const FontSpec& font, const MarkupRun& run)
{
    FontSpec styled = font;
    styled.bold = styled.bold || run.bold;
    styled.italic = styled.italic || run.italic;
    styled.underline = styled.underline || run.underline;
    return styled;
}

int Saturate(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

PaintRect MakeRect(long long left, long long top, long long right, long long bottom)
{
    return {Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)};
}

constexpr unsigned kRunFlags = TextFlag::SingleLine | TextFlag::VCenter;

struct Placed {
    const MarkupRun* run = nullptr;
    std::u16string_view text;  // the part of a text run on this line
    int width = 0;
    int height = 0;
    std::optional<platform::ImageView> image;
};

struct Line {
    std::vector<Placed> items;
    long long width = 0;
    int height = 0;
};

// `text` cut after each stretch of blanks: the places a line may break.
std::vector<std::u16string_view> Words(std::u16string_view text)
{
    std::vector<std::u16string_view> words;
    size_t start = 0;
    for (size_t i = 1; i <= text.size(); ++i) {
        if (i == text.size() || (text[i - 1] == u' ' && text[i] != u' ')) {
            words.push_back(text.substr(start, i - start));
            start = i;
        }
    }
    return words;
}

class LineBuilder {
public:
    LineBuilder(int baseHeight, long long wrapWidth) : m_baseHeight(baseHeight), m_wrapWidth(wrapWidth)
    {
        NewLine();
    }

    void NewLine()
    {
        m_lines.emplace_back();
        m_lines.back().height = m_baseHeight;
    }

    // Starts a new line first when the piece would overflow a wrapped one.
    void Place(const Placed& placed)
    {
        if (m_wrapWidth > 0 && !m_lines.back().items.empty() && m_lines.back().width + placed.width > m_wrapWidth)
            NewLine();
        Line& line = m_lines.back();
        line.width += placed.width;
        line.height = std::max(line.height, placed.height);
        line.items.push_back(placed);
    }

    std::vector<Line> Take() { return std::move(m_lines); }

private:
    int m_baseHeight;
    long long m_wrapWidth;
    std::vector<Line> m_lines;
};

void PlaceText(LineBuilder& lines, platform::Painter& painter, const FontSpec& font, const MarkupRun& run,
               bool wrap)
{
    const FontSpec runFont = RunFont(font, run);
    const std::vector<std::u16string_view> pieces =
        wrap ? Words(run.text) : std::vector{std::u16string_view(run.text)};
    for (const std::u16string_view piece : pieces) {
        const PaintSize size = painter.MeasureText(piece, runFont, 0, TextFlag::SingleLine);
        lines.Place({&run, piece, size.cx, size.cy, std::nullopt});
    }
}

void PlaceIcon(LineBuilder& lines, const MarkupRun& run, const IconLookup& icons)
{
    const std::optional<platform::ImageView> image = icons ? icons(run.text) : std::nullopt;
    if (image && image->width > 0 && image->height > 0)  // a missing icon takes no room
        lines.Place({&run, {}, image->width, image->height, image});
}

std::vector<Line> LayoutRuns(const std::vector<MarkupRun>& runs, platform::Painter& painter, const FontSpec& font,
                             int maxWidth, unsigned flags, const IconLookup& icons)
{
    const bool single = flags & TextFlag::SingleLine;
    const bool wrap = (flags & TextFlag::WordBreak) && !single && maxWidth > 0;
    LineBuilder lines(painter.MeasureText(u" ", font, 0, TextFlag::SingleLine).cy, wrap ? maxWidth : 0);
    for (const MarkupRun& run : runs) {
        switch (run.kind) {
        case MarkupRun::Kind::LineBreak:
            if (!single)
                lines.NewLine();
            break;
        case MarkupRun::Kind::Text: PlaceText(lines, painter, font, run, wrap); break;
        case MarkupRun::Kind::Icon: PlaceIcon(lines, run, icons); break;
        case MarkupRun::Kind::Space: lines.Place({&run, {}, run.space, 0, std::nullopt}); break;
        }
    }
    return lines.Take();
}

}  // namespace

TextMarkup::TextMarkup(std::u16string_view text) { Update(text); }

void TextMarkup::Update(std::u16string_view text)
{
    text = text.substr(0, kMaxChars);
    if (m_parsed && text == m_source)
        return;
    m_source = text;
    m_runs = MarkupParser().Parse(text);
    m_parsed = true;
}

PaintSize TextMarkup::Measure(platform::Painter& painter, const FontSpec& font, int maxWidth, unsigned flags,
                              const IconLookup& icons) const
{
    long long width = 0;
    long long height = 0;
    for (const Line& line : LayoutRuns(m_runs, painter, font, maxWidth, flags, icons)) {
        width = std::max(width, line.width);
        height += line.height;
    }
    return {Saturate(width), Saturate(height)};
}

void TextMarkup::Draw(platform::Painter& painter, const FontSpec& font, uint32_t argb, const PaintRect& rect,
                      unsigned flags, const IconLookup& icons) const
{
    if (rect.right <= rect.left || rect.bottom <= rect.top || m_runs.empty())
        return;
    const int width = Saturate(0LL + rect.right - rect.left);
    const std::vector<Line> lines = LayoutRuns(m_runs, painter, font, width, flags, icons);
    long long total = 0;
    for (const Line& line : lines)
        total += line.height;
    const long long spareY = 0LL + rect.bottom - rect.top - total;
    long long y = rect.top;
    if (flags & TextFlag::VCenter)
        y += spareY / 2;
    else if (flags & TextFlag::Bottom)
        y += spareY;
    painter.PushClip(rect);
    for (const Line& line : lines) {
        if (y >= rect.bottom)
            break;  // the lines below are cut anyway
        const long long spareX = 0LL + rect.right - rect.left - line.width;
        long long x = rect.left;
        if (flags & TextFlag::Center)
            x += spareX / 2;
        else if (flags & TextFlag::Right)
            x += spareX;
        for (const Placed& item : line.items) {
            if (x >= rect.right)
                break;
            const long long right = x + item.width;
            const PaintRect box = MakeRect(x, y, right, y + line.height);
            if (item.run->kind == MarkupRun::Kind::Text) {
                const uint32_t colour = item.run->colour.value_or(argb);  // the painter draws text opaque
                const bool cut = (flags & TextFlag::EndEllipsis) && right > rect.right;
                const PaintRect where = cut ? MakeRect(x, y, rect.right, y + line.height) : box;
                painter.DrawText(item.text, RunFont(font, *item.run), colour, where,
                                 kRunFlags | (cut ? TextFlag::EndEllipsis : 0u));
                if (cut)
                    break;
            } else if (item.image) {
                const long long top = y + (line.height - item.height) / 2;
                platform::ImageDraw draw;
                draw.dest = MakeRect(x, top, right, top + item.height);
                painter.DrawImage(*item.image, draw);
            }
            x = right;
        }
        y += line.height;
    }
    painter.PopClip();
}

}  // namespace SkinUI
