// A window's picture as a PNG file, drawn without a display: what lies
// outside the window's shape is transparent, as the desktop would show there.
#pragma once

#include "ui/WindowUIManager.h"

#include <string>

namespace NeritApp {

class FramePicture {
public:
    enum class Shape { MaskImage, RoundCorners };

    // Paints the manager's controls at `width` x `height` and writes the
    // picture; false when the file cannot be written.
    static bool Write(SkinUI::CWindowUIManager& manager, int width, int height, Shape shape,
                      const std::string& file);
};

}  // namespace NeritApp
