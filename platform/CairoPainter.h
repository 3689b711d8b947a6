// The painter on a Cairo image surface, with text through Pango and
// fontconfig.
#pragma once

#include "platform/painter.h"

#include <string>
#include <string_view>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

class CairoPainter final : public Painter {
public:
    // Sizes are cut to 0..32767; the surface starts fully transparent.
    CairoPainter(int width, int height);
    ~CairoPainter() override;
    CairoPainter(const CairoPainter&) = delete;
    CairoPainter& operator=(const CairoPainter&) = delete;

    int Width() const override;
    int Height() const override;
    std::span<const uint32_t> Pixels() const override;
    uint32_t PixelAt(int x, int y) const override;

    void PushClip(const PaintRect& rect) override;
    void PopClip() override;

    void Clear(uint32_t argb) override;
    void FillRect(const PaintRect& rect, uint32_t argb) override;
    void FillGradient(const PaintRect& rect, std::span<const uint32_t> argb, bool vertical) override;
    void DrawBorder(const PaintRect& rect, int width, uint32_t argb) override;
    void DrawRoundBorder(const PaintRect& rect, int width, PaintSize round, uint32_t argb) override;

    void DrawImage(const ImageView& image, const ImageDraw& draw) override;

    void DrawText(std::u16string_view text, const FontSpec& font, uint32_t argb, const PaintRect& rect,
                  unsigned flags) override;
    PaintSize MeasureText(std::u16string_view text, const FontSpec& font, int maxWidth, unsigned flags) override;

    bool WritePng(const std::string& path) override;

private:
    void DrawImagePart(cairo_surface_t* part, const PaintRect& dest, bool tileX, bool tileY, double alpha);

    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
    int m_clipDepth = 0;
};

// The installed families (a comma-separated list for Pango) that stand in
// for a face the layouts name; fontconfig alone would give the CJK faces a
// Latin-only font. Unknown faces are passed through.
std::string SubstituteFace(std::u16string_view face);

}  // namespace platform
