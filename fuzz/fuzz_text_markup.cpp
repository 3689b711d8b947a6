// Arbitrary bytes as a control's text mark-up: bytes with the high bit pick
// tag fragments, the rest are characters. Parsed, measured and drawn in
// every text mode; nothing a text says may crash or draw outside its box.
#include "platform/CairoPainter.h"
#include "ui/TextMarkup.h"

#include <cstdlib>
#include <iterator>
#include <string>

namespace {

constexpr std::u16string_view kPieces[] = {
    u"{b}", u"{/b}", u"{i}", u"{/i}", u"{u}", u"{/u}", u"{c #FFFF0000}", u"{c #00FFFFFF}", u"{/c}", u"{c ",
    u"{i icon }", u"{i }", u"{x 4}", u"{x 99999999}", u"{x ", u"{", u"}", u"\n", u"\r", u" ", u"\xD800",
    u"\xDC00", u"#", u"/"};

// The drawing is the slow part: it gets the first bytes only.
constexpr size_t kDrawnBytes = 128;

std::u16string TextOf(const uint8_t* data, size_t size)
{
    std::u16string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] & 0x80)
            text += kPieces[(data[i] & 0x7F) % std::size(kPieces)];
        else
            text += static_cast<char16_t>(data[i]);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SkinUI::TextMarkup markup(TextOf(data, size));
    (void)markup.Runs();
    markup.Update(TextOf(data, std::min(size, kDrawnBytes)));
    static uint32_t icon[4 * 4] = {};
    const SkinUI::IconLookup icons = [](std::u16string_view name) -> std::optional<platform::ImageView> {
        if (name.empty())
            return std::nullopt;
        return platform::ImageView{4, 4, icon};
    };
    const unsigned flags = size > 0 ? data[0] : 0;
    platform::CairoPainter painter(64, 32);
    const platform::FontSpec font{u"", 12};
    const unsigned modes[] = {flags & 0x0F, platform::TextFlag::SingleLine | platform::TextFlag::EndEllipsis,
                              platform::TextFlag::WordBreak | platform::TextFlag::Center};
    for (const unsigned mode : modes) {
        markup.Draw(painter, font, 0xFF000000, {8, 8, 56, 24}, mode, icons);
        (void)markup.Measure(painter, font, 40, mode, icons);
    }
    for (int x = 0; x < 64; ++x) {
        if (painter.PixelAt(x, 0) != 0 || painter.PixelAt(x, 31) != 0)
            std::abort();  // drawn outside the box
    }
    return 0;
}
