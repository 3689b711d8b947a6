#include "ui/PaintSupport.h"

#include "ui/WindowUIManager.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace SkinUI {
namespace {

int Saturate(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// Widths beyond this are far off any surface; keeping extents below it keeps
// the products of ScaleExtent inside 64 bits.
constexpr long long kMaxExtent = 1 << 24;

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kGrey = 0xFFA7A6AA;

}  // namespace

bool IsEmptyRect(const UIRect& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

UIRect IntersectRect(const UIRect& a, const UIRect& b)
{
    const UIRect rc{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
    return IsEmptyRect(rc) ? UIRect{} : rc;
}

UIRect SaturatedRect(long long left, long long top, long long right, long long bottom)
{
    return {Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)};
}

UIRect OffsetRect(const UIRect& rc, long long dx, long long dy)
{
    return SaturatedRect(rc.left + dx, rc.top + dy, rc.right + dx, rc.bottom + dy);
}

UIRect DeflateRect(const UIRect& rc, const UIRect& insets)
{
    const long long left = 0LL + rc.left + insets.left;
    const long long top = 0LL + rc.top + insets.top;
    const long long right = std::max(left, 0LL + rc.right - insets.right);
    const long long bottom = std::max(top, 0LL + rc.bottom - insets.bottom);
    return SaturatedRect(left, top, right, bottom);
}

platform::PaintRect ToPaintRect(const UIRect& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

platform::FontSpec FontSpecFor(const CWindowUIManager* manager, int font)
{
    if (!manager)
        return {};
    const FontInfo& info = *manager->GetFont(font);
    return {info.face, info.size, info.bold, info.underline, info.italic};
}

uint32_t WindowTextColor(const CWindowUIManager* manager)
{
    return manager ? manager->GetDefaultFontColor() : kBlack;
}

uint32_t WindowDisabledTextColor(const CWindowUIManager* manager)
{
    return manager ? manager->GetDisabledFontColor() : kGrey;
}

unsigned ToTextFlags(unsigned textStyle)
{
    constexpr unsigned kKnown = TextStyle::HorizontalMask | TextStyle::VerticalMask | TextStyle::WordBreak |
                                TextStyle::SingleLine | TextStyle::EndEllipsis;
    static_assert(TextStyle::Center == platform::TextFlag::Center && TextStyle::Right == platform::TextFlag::Right &&
                  TextStyle::VCenter == platform::TextFlag::VCenter && TextStyle::Bottom == platform::TextFlag::Bottom &&
                  TextStyle::WordBreak == platform::TextFlag::WordBreak &&
                  TextStyle::SingleLine == platform::TextFlag::SingleLine &&
                  TextStyle::EndEllipsis == platform::TextFlag::EndEllipsis);
    return textStyle & kKnown;
}

void DrawControlText(platform::Painter& painter, CWindowUIManager* manager, const ControlText& text, const UIRect& rc,
                     TextMarkup& parsed)
{
    const platform::FontSpec font = FontSpecFor(manager, text.font);
    const unsigned flags = ToTextFlags(text.textStyle);
    if (!text.markup) {
        painter.DrawText(text.text, font, text.color, ToPaintRect(rc), flags);
        return;
    }
    parsed.Update(text.text);
    // The icons are held until the text is drawn: all are looked up before any is drawn.
    std::vector<std::shared_ptr<const ImageData>> held;
    const IconLookup icons = [manager, &held](std::u16string_view name) -> std::optional<platform::ImageView> {
        auto image = manager && !name.empty() ? manager->GetImageEx(name) : nullptr;
        if (!image)
            return std::nullopt;
        held.push_back(image);
        return platform::ImageView{image->width, image->height, image->pixels};
    };
    parsed.Draw(painter, font, text.color, ToPaintRect(rc), flags, icons);
}

int ScaleExtent(long long part, long long whole, long long extent)
{
    if (whole <= 0)
        return 0;
    part = std::clamp(part, 0LL, whole);
    extent = std::clamp(extent, -kMaxExtent, kMaxExtent);
    // part ≤ whole < 2^33 and |extent| ≤ 2^24: the product fits.
    return static_cast<int>(part * extent / whole);
}

std::u16string DestModifier(const UIRect& dest)
{
    std::u16string text = u"dest='";
    for (int value : {dest.left, dest.top, dest.right, dest.bottom}) {
        for (char c : std::to_string(value))
            text += static_cast<char16_t>(c);
        text += u',';
    }
    text.back() = u'\'';
    return text;
}

}  // namespace SkinUI
