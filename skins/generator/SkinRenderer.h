// Turns one SVG template plus parameters into an image file: {{NAME}} in the
// template is replaced by the parameter's value (escaped for XML), the result
// is drawn with librsvg at the size the SVG gives, and written as PNG (with
// alpha) or as a 24-bit BMP (the picture over black).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace skingen {

class SkinRenderer {
public:
    // The template with every {{NAME}} replaced; nullopt with Error() naming
    // the first placeholder that has no parameter.
    std::optional<std::string> Substitute(std::string_view svgTemplate,
                                          const std::map<std::string, std::string>& parameters);
    // Draws the SVG and writes `path`; the extension chooses the format.
    bool Render(const std::string& svg, const std::string& path);
    const std::string& Error() const { return error_; }

private:
    bool Fail(std::string message);

    std::string error_;
};

}  // namespace skingen
