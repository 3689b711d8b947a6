// Drawing onto a window's surface: colours, gradients, borders, skin images
// and text. The surface holds ARGB32 premultiplied pixels, one uint32_t
// 0xAARRGGBB per pixel in native byte order, rows top-down without padding:
// the same layout as the bitmaps the image loader builds.
//
// Every call accepts any input: empty or inverted rectangles, rectangles
// outside the surface, coordinates near the int range, images whose source
// lies outside the image and invalid UTF-16 text draw nothing (or as much as
// is valid) and never read or write outside a buffer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// Half-open: covers x in [left, right), y in [top, bottom).
struct PaintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PaintRect&, const PaintRect&) = default;
};

struct PaintSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const PaintSize&, const PaintSize&) = default;
};

// A decoded bitmap: premultiplied 0xAARRGGBB, top-down, `width` pixels a row.
// Nothing is drawn unless pixels holds at least width × height values.
struct ImageView {
    int width = 0;
    int height = 0;
    std::span<const uint32_t> pixels;
};

// How an image is placed. Surface coordinates for dest, image coordinates
// for source.
struct ImageDraw {
    PaintRect dest;
    PaintRect source;  // cut to the image; an empty rectangle means the whole image
    // Nine-grid insets (left, top, right, bottom) of the source: the corners
    // keep their size, the edges stretch along one axis, the middle along both.
    PaintRect corner;
    bool hole = false;  // leave the middle of the nine-grid empty
    bool xTiled = false;  // repeat the parts that would stretch horizontally
    bool yTiled = false;  // repeat the parts that would stretch vertically
    int fade = 255;  // overall opacity 0..255
};

struct FontSpec {
    std::u16string face;  // empty: the desktop's user-interface font
    int size = 12;  // character height in pixels; 0 or less means 12, at most 400
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

// Text flags; the alignment and layout values match the skin's text styles.
namespace TextFlag {
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned Top = 0x0;
inline constexpr unsigned VCenter = 0x4;
inline constexpr unsigned Bottom = 0x8;
inline constexpr unsigned WordBreak = 0x10;  // wrap at word boundaries to the rectangle's width
inline constexpr unsigned SingleLine = 0x20;  // line breaks do not start new lines
inline constexpr unsigned EndEllipsis = 0x8000;  // cut what does not fit and end with "…"
}  // namespace TextFlag

class Painter {
public:
    virtual ~Painter() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The surface's pixels, Width() per row; empty for a 0×0 surface.
    virtual std::span<const uint32_t> Pixels() const = 0;
    // 0 outside the surface.
    virtual uint32_t PixelAt(int x, int y) const = 0;

    // Limits drawing to the intersection of `rect` with the current clip
    // until the matching PopClip. A PopClip without a PushClip is ignored.
    virtual void PushClip(const PaintRect& rect) = 0;
    virtual void PopClip() = 0;

    // Replaces the pixels inside the clip with `argb` (no blending).
    virtual void Clear(uint32_t argb) = 0;
    // Colours are non-premultiplied 0xAARRGGBB and blend over what is there.
    virtual void FillRect(const PaintRect& rect, uint32_t argb) = 0;
    // Two or three colours (more are ignored, fewer fill with the one colour)
    // spread evenly from top to bottom, or from left to right.
    virtual void FillGradient(const PaintRect& rect, std::span<const uint32_t> argb, bool vertical) = 0;
    // A frame of `width` pixels inside the rectangle.
    virtual void DrawBorder(const PaintRect& rect, int width, uint32_t argb) = 0;
    // The same with rounded corners: cx, cy is the width and height of the
    // ellipse that rounds each corner.
    virtual void DrawRoundBorder(const PaintRect& rect, int width, PaintSize round, uint32_t argb) = 0;

    virtual void DrawImage(const ImageView& image, const ImageDraw& draw) = 0;

    // Text is drawn inside `rect` and cut at its edges; characters after the
    // first 4096 are dropped. The alpha byte of a text colour is ignored:
    // text is always opaque.
    virtual void DrawText(std::u16string_view text, const FontSpec& font, uint32_t argb, const PaintRect& rect,
                          unsigned flags) = 0;
    // The size the text takes when laid out as DrawText would in a rectangle
    // `maxWidth` wide (0 or less: unlimited, no wrapping or ellipsis).
    virtual PaintSize MeasureText(std::u16string_view text, const FontSpec& font, int maxWidth,
                                  unsigned flags) = 0;

    // False when the file cannot be written.
    virtual bool WritePng(const std::string& path) = 0;
};

}  // namespace platform
