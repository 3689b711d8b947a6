#include "platform/CairoPainter.h"

#include "platform/Utf16.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace platform {
namespace {

// Coordinates beyond this are far off any surface and stay well inside
// Cairo's fixed-point range, so clamping to it changes no pixel.
constexpr int kCoordLimit = 1 << 22;
constexpr int kMaxSurface = 32767;
// Pango measures in 1/1024 pixel in an int: these bounds keep every width
// of a text, and of the box it is laid out in, inside that range.
constexpr int kMaxTextBox = 1 << 16;
constexpr size_t kMaxTextChars = 4096;
constexpr int kMaxFontPixels = 400;

int RectWidth(const PaintRect& r) { return r.right - r.left; }
int RectHeight(const PaintRect& r) { return r.bottom - r.top; }
bool IsEmpty(const PaintRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool InRange(const PaintRect& r)
{
    auto ok = [](int v) { return v >= -kCoordLimit && v <= kCoordLimit; };
    return ok(r.left) && ok(r.top) && ok(r.right) && ok(r.bottom);
}

// A rectangle whose geometry can be used exactly as given.
bool Drawable(const PaintRect& r) { return InRange(r) && !IsEmpty(r); }

PaintRect Clamped(const PaintRect& r)
{
    auto c = [](int v) { return std::clamp(v, -kCoordLimit, kCoordLimit); };
    return {c(r.left), c(r.top), c(r.right), c(r.bottom)};
}

PaintRect Intersect(const PaintRect& a, const PaintRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

double Channel(uint32_t argb, int shift) { return ((argb >> shift) & 0xFF) / 255.0; }

void SetColour(cairo_t* cr, uint32_t argb)
{
    cairo_set_source_rgba(cr, Channel(argb, 16), Channel(argb, 8), Channel(argb, 0), Channel(argb, 24));
}

void AddRect(cairo_t* cr, const PaintRect& r) { cairo_rectangle(cr, r.left, r.top, RectWidth(r), RectHeight(r)); }

// ---- images -------------------------------------------------------------

bool Usable(const ImageView& image)
{
    return image.width > 0 && image.height > 0 && image.width <= kMaxSurface && image.height <= kMaxSurface &&
           image.pixels.data() != nullptr &&
           image.pixels.size() >= static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
}

// One axis of a nine-grid: the source and dest spans split at the insets.
struct Cuts {
    int src[4];
    int dst[4];
};

Cuts SplitAxis(int srcBegin, int srcEnd, int dstBegin, int dstEnd, int insetBegin, int insetEnd)
{
    const int srcLen = srcEnd - srcBegin;
    const int dstLen = dstEnd - dstBegin;
    const int a = std::clamp(insetBegin, 0, srcLen);
    const int b = std::clamp(insetEnd, 0, srcLen - a);
    int da = a;
    int db = b;
    if (a + b > dstLen) {  // the corners do not fit: shrink them in proportion
        da = static_cast<int>(int64_t{a} * dstLen / (a + b));
        db = dstLen - da;
    }
    return {{srcBegin, srcBegin + a, srcEnd - b, srcEnd}, {dstBegin, dstBegin + da, dstEnd - db, dstEnd}};
}

// A surface over part of the image's own pixels, without copying. Cairo only
// reads from a source surface, so the pixels are not written.
cairo_surface_t* WrapPart(const ImageView& image, const PaintRect& part)
{
    const size_t offset = static_cast<size_t>(part.top) * static_cast<size_t>(image.width) +
                          static_cast<size_t>(part.left);
    auto* first = const_cast<uint32_t*>(image.pixels.data() + offset);
    return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(first), CAIRO_FORMAT_ARGB32,
                                               RectWidth(part), RectHeight(part), image.width * 4);
}

// ---- text ---------------------------------------------------------------

// Pango stops at a NUL; a blank keeps the rest of the text.
std::string ToUtf8(std::u16string_view text)
{
    std::string utf8 = Utf16ToUtf8(text.substr(0, kMaxTextChars));
    std::replace(utf8.begin(), utf8.end(), '\0', ' ');
    return utf8;
}

PangoAttrList* MakeAttributes(const FontSpec& font)
{
    PangoAttrList* list = pango_attr_list_new();
    if (font.underline) pango_attr_list_insert(list, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    return list;
}

PangoFontDescription* MakeFont(const FontSpec& font)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, SubstituteFace(font.face).c_str());
    const int pixels = font.size > 0 ? std::min(font.size, kMaxFontPixels) : 12;
    pango_font_description_set_absolute_size(description, static_cast<double>(pixels) * PANGO_SCALE);
    if (font.bold) pango_font_description_set_weight(description, PANGO_WEIGHT_BOLD);
    if (font.italic) pango_font_description_set_style(description, PANGO_STYLE_ITALIC);
    return description;
}

PangoAlignment Alignment(unsigned flags)
{
    if (flags & TextFlag::Center) return PANGO_ALIGN_CENTER;
    if (flags & TextFlag::Right) return PANGO_ALIGN_RIGHT;
    return PANGO_ALIGN_LEFT;
}

// Pango gets a width only to wrap or to ellipsize; otherwise lines never
// wrap and the whole block is aligned by TextOrigin.
void ApplyFlags(PangoLayout* layout, int width, int height, unsigned flags)
{
    const bool single = flags & TextFlag::SingleLine;
    pango_layout_set_single_paragraph_mode(layout, single);
    pango_layout_set_alignment(layout, Alignment(flags));
    if (width <= 0) return;
    width = std::min(width, kMaxTextBox);
    const bool wrap = (flags & TextFlag::WordBreak) && !single;
    if (wrap) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    if (flags & TextFlag::EndEllipsis) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        if (wrap && height > 0) pango_layout_set_height(layout, std::min(height, kMaxTextBox) * PANGO_SCALE);
    }
}

PangoLayout* MakeLayout(cairo_t* cr, const std::string& utf8, const FontSpec& font, int width, int height,
                        unsigned flags)
{
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* description = MakeFont(font);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
    PangoAttrList* attributes = MakeAttributes(font);
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    ApplyFlags(layout, width, height, flags);
    return layout;
}

PangoRectangle LogicalExtents(PangoLayout* layout)
{
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return logical;
}

// Where the layout's origin goes for its lines to sit in `rect` as asked.
std::pair<double, double> TextOrigin(PangoLayout* layout, const PaintRect& rect, unsigned flags)
{
    const PangoRectangle logical = LogicalExtents(layout);
    double x = rect.left;
    if (pango_layout_get_width(layout) < 0) {
        const double spare = static_cast<double>(RectWidth(rect)) - logical.width;
        if (flags & TextFlag::Center) x += std::floor(spare / 2);
        else if (flags & TextFlag::Right) x += spare;
        x -= logical.x;
    }
    double y = static_cast<double>(rect.top) - logical.y;
    const double spare = static_cast<double>(RectHeight(rect)) - logical.height;
    if (flags & TextFlag::VCenter) y += std::floor(spare / 2);
    else if (flags & TextFlag::Bottom) y += spare;
    return {x, y};
}

std::string AsciiLower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

struct FaceSubstitute {
    std::string_view face;  // lower case
    const char* families;
};

constexpr char kLatin[] = "DejaVu Sans";
constexpr char kTraditional[] = "Noto Sans CJK TC,WenQuanYi Micro Hei,DejaVu Sans";
constexpr char kSimplified[] = "Noto Sans CJK SC,WenQuanYi Micro Hei,DejaVu Sans";

constexpr FaceSubstitute kSubstitutes[] = {
    {"verdana", kLatin},
    {"arial", kLatin},
    {"tahoma", kLatin},
    {"segoe ui", kLatin},
    {"ms shell dlg", kLatin},
    {"microsoft jhenghei", kTraditional},
    {"微軟正黑體", kTraditional},
    {"pmingliu", kTraditional},
    {"新細明體", kTraditional},
    {"microsoft yahei", kSimplified},
    {"微软雅黑", kSimplified},
    {"simsun", kSimplified},
    {"宋体", kSimplified},
};

}  // namespace

std::string SubstituteFace(std::u16string_view face)
{
    const std::string name = Utf16ToUtf8(face);
    const std::string key = AsciiLower(name);
    if (key.find_first_not_of(' ') == std::string::npos) return "Sans";
    for (const FaceSubstitute& substitute : kSubstitutes) {
        if (key == substitute.face) return substitute.families;
    }
    return name;
}

// ---- surface ------------------------------------------------------------

CairoPainter::CairoPainter(int width, int height)
    : m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::clamp(width, 0, kMaxSurface),
                                           std::clamp(height, 0, kMaxSurface))),
      m_cr(cairo_create(m_surface))
{
}

CairoPainter::~CairoPainter()
{
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

// A surface that could not be created (out of memory) reads as 0×0.
int CairoPainter::Width() const { return cairo_image_surface_get_width(m_surface); }
int CairoPainter::Height() const { return cairo_image_surface_get_height(m_surface); }

std::span<const uint32_t> CairoPainter::Pixels() const
{
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    if (data == nullptr) return {};
    const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(m_surface)) / 4;
    return {reinterpret_cast<const uint32_t*>(data), stride * static_cast<size_t>(Height())};
}

uint32_t CairoPainter::PixelAt(int x, int y) const
{
    const std::span<const uint32_t> pixels = Pixels();
    if (pixels.empty() || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(m_surface)) / 4;
    return pixels[static_cast<size_t>(y) * stride + static_cast<size_t>(x)];
}

bool CairoPainter::WritePng(const std::string& path)
{
    if (Width() == 0 || Height() == 0) return false;
    cairo_surface_flush(m_surface);
    return cairo_surface_write_to_png(m_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

// ---- clip, colours, borders ---------------------------------------------

void CairoPainter::PushClip(const PaintRect& rect)
{
    cairo_save(m_cr);
    const PaintRect r = Clamped(rect);
    if (IsEmpty(r)) cairo_rectangle(m_cr, 0, 0, 0, 0);  // clips everything
    else AddRect(m_cr, r);
    cairo_clip(m_cr);
    ++m_clipDepth;
}

void CairoPainter::PopClip()
{
    if (m_clipDepth == 0) return;
    cairo_restore(m_cr);
    --m_clipDepth;
}

void CairoPainter::Clear(uint32_t argb)
{
    cairo_save(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
    SetColour(m_cr, argb);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
}

void CairoPainter::FillRect(const PaintRect& rect, uint32_t argb)
{
    const PaintRect r = Clamped(rect);
    if (IsEmpty(r)) return;
    SetColour(m_cr, argb);
    AddRect(m_cr, r);
    cairo_fill(m_cr);
}

void CairoPainter::FillGradient(const PaintRect& rect, std::span<const uint32_t> argb, bool vertical)
{
    if (!Drawable(rect) || argb.empty()) return;
    const size_t count = std::min<size_t>(argb.size(), 3);
    if (count == 1) {
        FillRect(rect, argb[0]);
        return;
    }
    cairo_pattern_t* pattern = vertical ? cairo_pattern_create_linear(0, rect.top, 0, rect.bottom)
                                        : cairo_pattern_create_linear(rect.left, 0, rect.right, 0);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t c = argb[i];
        cairo_pattern_add_color_stop_rgba(pattern, static_cast<double>(i) / static_cast<double>(count - 1),
                                          Channel(c, 16), Channel(c, 8), Channel(c, 0), Channel(c, 24));
    }
    cairo_set_source(m_cr, pattern);
    AddRect(m_cr, rect);
    cairo_fill(m_cr);
    cairo_pattern_destroy(pattern);
}

void CairoPainter::DrawBorder(const PaintRect& rect, int width, uint32_t argb)
{
    const PaintRect r = Clamped(rect);
    if (IsEmpty(r) || width <= 0) return;
    if (width >= (RectWidth(r) + 1) / 2 || width >= (RectHeight(r) + 1) / 2) {  // the frame covers it all
        FillRect(r, argb);
        return;
    }
    // Four bands in one path, so that a translucent colour blends once.
    AddRect(m_cr, {r.left, r.top, r.right, r.top + width});
    AddRect(m_cr, {r.left, r.bottom - width, r.right, r.bottom});
    AddRect(m_cr, {r.left, r.top + width, r.left + width, r.bottom - width});
    AddRect(m_cr, {r.right - width, r.top + width, r.right, r.bottom - width});
    SetColour(m_cr, argb);
    cairo_fill(m_cr);
}

void CairoPainter::DrawRoundBorder(const PaintRect& rect, int width, PaintSize round, uint32_t argb)
{
    const PaintRect r = Clamped(rect);
    if (IsEmpty(r) || width <= 0) return;
    // The line is stroked along a path inset by half its width.
    const double line = std::min({static_cast<double>(width), RectWidth(r) / 2.0, RectHeight(r) / 2.0});
    const double x0 = r.left + line / 2, y0 = r.top + line / 2;
    const double x1 = r.right - line / 2, y1 = r.bottom - line / 2;
    const double rx = std::min(round.cx / 2.0, (x1 - x0) / 2), ry = std::min(round.cy / 2.0, (y1 - y0) / 2);
    if (rx < 0.5 || ry < 0.5) {
        DrawBorder(rect, width, argb);
        return;
    }
    constexpr double kQuarter = std::numbers::pi / 2;
    auto corner = [&](double cx, double cy, double from) {
        cairo_save(m_cr);
        cairo_translate(m_cr, cx, cy);
        cairo_scale(m_cr, rx, ry);
        cairo_arc(m_cr, 0, 0, 1, from, from + kQuarter);
        cairo_restore(m_cr);
    };
    cairo_new_path(m_cr);
    corner(x1 - rx, y0 + ry, -kQuarter);
    corner(x1 - rx, y1 - ry, 0);
    corner(x0 + rx, y1 - ry, kQuarter);
    corner(x0 + rx, y0 + ry, std::numbers::pi);
    cairo_close_path(m_cr);
    cairo_set_line_width(m_cr, line);
    SetColour(m_cr, argb);
    cairo_stroke(m_cr);
}

// ---- images -------------------------------------------------------------

void CairoPainter::DrawImage(const ImageView& image, const ImageDraw& draw)
{
    if (!Usable(image) || !Drawable(draw.dest) || draw.fade <= 0) return;
    const PaintRect whole{0, 0, image.width, image.height};
    const PaintRect source = IsEmpty(draw.source) ? whole : Intersect(draw.source, whole);
    if (IsEmpty(source)) return;
    const PaintRect& dest = draw.dest;
    const Cuts xs = SplitAxis(source.left, source.right, dest.left, dest.right, draw.corner.left, draw.corner.right);
    const Cuts ys = SplitAxis(source.top, source.bottom, dest.top, dest.bottom, draw.corner.top, draw.corner.bottom);
    const double alpha = std::min(draw.fade, 255) / 255.0;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (draw.hole && row == 1 && col == 1) continue;
            const PaintRect s{xs.src[col], ys.src[row], xs.src[col + 1], ys.src[row + 1]};
            const PaintRect d{xs.dst[col], ys.dst[row], xs.dst[col + 1], ys.dst[row + 1]};
            if (IsEmpty(s) || IsEmpty(d)) continue;
            cairo_surface_t* part = WrapPart(image, s);
            DrawImagePart(part, d, draw.xTiled && col == 1, draw.yTiled && row == 1, alpha);
            cairo_surface_destroy(part);
        }
    }
}

// Stretches `part` over `dest`, or repeats it along the tiled axes. A tiled
// or unscaled part is sampled exactly; a stretched one smoothly, padded at
// its own edges so that no neighbouring part bleeds in.
void CairoPainter::DrawImagePart(cairo_surface_t* part, const PaintRect& dest, bool tileX, bool tileY, double alpha)
{
    const int sw = cairo_image_surface_get_width(part);
    const int sh = cairo_image_surface_get_height(part);
    if (sw <= 0 || sh <= 0) return;
    const double scaleX = tileX ? 1.0 : static_cast<double>(RectWidth(dest)) / sw;
    const double scaleY = tileY ? 1.0 : static_cast<double>(RectHeight(dest)) / sh;
    const bool exact = tileX || tileY || (scaleX == 1.0 && scaleY == 1.0);
    cairo_save(m_cr);
    AddRect(m_cr, dest);
    cairo_clip(m_cr);
    cairo_translate(m_cr, dest.left, dest.top);
    cairo_scale(m_cr, scaleX, scaleY);
    cairo_set_source_surface(m_cr, part, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(m_cr);
    cairo_pattern_set_extend(pattern, tileX || tileY ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, exact ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(m_cr, alpha);
    cairo_restore(m_cr);
}

// ---- text ---------------------------------------------------------------

void CairoPainter::DrawText(std::u16string_view text, const FontSpec& font, uint32_t argb, const PaintRect& rect,
                            unsigned flags)
{
    if (!Drawable(rect) || text.empty()) return;
    PangoLayout* layout = MakeLayout(m_cr, ToUtf8(text), font, RectWidth(rect), RectHeight(rect), flags);
    const auto [x, y] = TextOrigin(layout, rect, flags);
    cairo_save(m_cr);
    AddRect(m_cr, rect);
    cairo_clip(m_cr);
    SetColour(m_cr, argb | 0xFF000000u);
    cairo_move_to(m_cr, x, y);
    pango_cairo_show_layout(m_cr, layout);
    cairo_restore(m_cr);
    g_object_unref(layout);
}

PaintSize CairoPainter::MeasureText(std::u16string_view text, const FontSpec& font, int maxWidth, unsigned flags)
{
    PangoLayout* layout = MakeLayout(m_cr, ToUtf8(text), font, maxWidth, 0, flags);
    const PangoRectangle logical = LogicalExtents(layout);
    g_object_unref(layout);
    return {logical.width, logical.height};
}

}  // namespace platform
