// The main window's shape: the region of the non-white pixels of the skin's
// mask bitmap, and the window size the bitmap gives.
#pragma once

#include "platform/ImageDecoder.h"
#include "platform/window_system.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace NeritApp {

// The mask bitmap, relative to the program folder.
inline constexpr char16_t kMaskBitmapName[] = u"VimoSkin/Background_mask.bmp";

struct WindowMask {
    int width = 0;
    int height = 0;
    platform::Region region;  // empty when every pixel is white
};

// Gathers one-pixel-high runs, row by row from the top and left to right in a
// row, in blocks of kBlockRuns and joins each block into the region. A run
// that repeats exactly the extent of a rectangle ending on the row above
// extends that rectangle downwards: the same pixels with fewer rectangles.
class MaskRegion {
public:
    static constexpr size_t kBlockRuns = 2000;

    void AddRun(const platform::Rect& run);
    platform::Region Finish();

    // A pixel is outside only when its red, green and blue are all 255.
    // Nothing when the pixels are fewer than the width and height say.
    static std::optional<platform::Region> FromPixels(const platform::RgbaImage& image);
    // Nothing for bytes that are not a readable BMP.
    static std::optional<WindowMask> FromBitmap(std::span<const uint8_t> bytes);
    // Reads kMaskBitmapName of the folder; nothing when it is missing or
    // unreadable (the window then keeps its rectangular shape).
    static std::optional<WindowMask> Load(const std::string& programFolder);

private:
    void CombineBlock();
    void StartRow(int top);
    bool ExtendAbove(const platform::Rect& run);

    std::vector<platform::Rect> block_;
    platform::Region result_;
    std::vector<size_t> rowAbove_;  // result rectangles ending where the current row starts, left to right
    std::vector<size_t> row_;       // result rectangles that take the current row, left to right
    size_t aboveCursor_ = 0;
    int rowTop_ = 0;
    bool started_ = false;
};

}  // namespace NeritApp
