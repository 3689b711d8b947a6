// The size, caption bar and corner rounding each window of the program needs
// from its layout: the popups are opened at these sizes and dragged by their
// caption, the main window's shape comes from its mask picture.
#pragma once

#include "app/BoundControls.h"

namespace NeritApp {

struct WindowShape {
    unsigned layout;
    int width;
    int height;
    int captionHeight;  // the caption bar runs across the top
    int roundX;         // 0: square corners
    int roundY;
};

// clang-format off
inline constexpr WindowShape kWindowShapes[] = {
    {Layout::kMainFrame,         1000, 680, 48, 0, 0},
    {Layout::kKeyPopup,           627, 296, 30, 3, 3},
    {Layout::kPlayOptionPopup,    658, 294, 40, 3, 3},
    {Layout::kConfirmationPopup,  660, 294, 30, 3, 3},
    {Layout::kExitChangesPopup,   660, 294, 30, 3, 3},
    {Layout::kMessageBox,         305, 206, 30, 3, 3},
};
// clang-format on

}  // namespace NeritApp
