#include "SkinRenderer.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

namespace skingen {
namespace {

std::string EscapeXml(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct HandleDeleter {
    void operator()(RsvgHandle* h) const { g_object_unref(h); }
};

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// 24-bit, rows bottom-up; premultiplied pixels are the picture over black.
std::vector<uint8_t> EncodeBmp(cairo_surface_t* surface)
{
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int sourceStride = cairo_image_surface_get_stride(surface);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    std::vector<uint8_t> out{'B', 'M'};
    PutLittleEndian(out, 54 + stride * static_cast<uint32_t>(height), 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<uint32_t>(width), 4);
    PutLittleEndian(out, static_cast<uint32_t>(height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    for (int i = 0; i < 6; ++i)
        PutLittleEndian(out, 0, 4);
    for (int row = height - 1; row >= 0; --row) {
        const size_t start = out.size();
        const auto* line = reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(row) * sourceStride);
        for (int x = 0; x < width; ++x)
            out.insert(out.end(), {uint8_t(line[x]), uint8_t(line[x] >> 8), uint8_t(line[x] >> 16)});
        out.resize(start + stride, 0);
    }
    return out;
}

}  // namespace

bool SkinRenderer::Fail(std::string message)
{
    error_ = std::move(message);
    return false;
}

std::optional<std::string> SkinRenderer::Substitute(std::string_view svgTemplate,
                                                    const std::map<std::string, std::string>& parameters)
{
    std::string out;
    size_t at = 0;
    while (true) {
        const size_t open = svgTemplate.find("{{", at);
        out.append(svgTemplate.substr(at, open == std::string_view::npos ? std::string_view::npos : open - at));
        if (open == std::string_view::npos)
            return out;
        // A "{{" with no "}}" before the next "{{" is unclosed; searching on
        // would swallow the next placeholder into a garbage name.
        const size_t close = svgTemplate.find("}}", open + 2);
        if (close == std::string_view::npos || svgTemplate.find("{{", open + 2) < close) {
            Fail("unclosed {{ in the template");
            return std::nullopt;
        }
        const std::string name(svgTemplate.substr(open + 2, close - open - 2));
        const auto found = parameters.find(name);
        if (found == parameters.end()) {
            Fail("no value for {{" + name + "}}");
            return std::nullopt;
        }
        out += EscapeXml(found->second);
        at = close + 2;
    }
}

bool SkinRenderer::Render(const std::string& svg, const std::string& path)
{
    GError* error = nullptr;
    std::unique_ptr<RsvgHandle, HandleDeleter> handle(
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
    if (!handle) {
        std::string message = error ? error->message : "unreadable SVG";
        g_clear_error(&error);
        return Fail("SVG: " + message);
    }
    gdouble width = 0;
    gdouble height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || width < 1 || height < 1 ||
        width > 8192 || height > 8192)
        return Fail("the SVG needs a width and height in pixels (1..8192)");
    const int w = static_cast<int>(std::lround(width));
    const int h = static_cast<int>(std::lround(height));
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
    const RsvgRectangle viewport{0, 0, static_cast<double>(w), static_cast<double>(h)};
    if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &error)) {
        std::string message = error ? error->message : "cannot draw";
        g_clear_error(&error);
        return Fail("SVG: " + message);
    }
    cairo_surface_flush(surface.get());
    if (path.ends_with(".png")) {
        if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
            return Fail("cannot write " + path);
        return true;
    }
    const std::vector<uint8_t> bytes = EncodeBmp(surface.get());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
        return Fail("cannot write " + path);
    return true;
}

}  // namespace skingen
