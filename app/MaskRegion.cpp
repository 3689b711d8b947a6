#include "app/MaskRegion.h"

#include "ui/ImageLoader.h"
#include "ui/MarkupDocument.h"

#include <utility>

namespace NeritApp {
namespace {

bool IsWhite(const uint8_t* pixel)
{
    return pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
}

// Each maximal run of non-white pixels of one row.
void AddRowRuns(const uint8_t* row, int width, int top, MaskRegion& region)
{
    int x = 0;
    while (x < width) {
        while (x < width && IsWhite(row + static_cast<size_t>(x) * 4))
            ++x;
        const int left = x;
        while (x < width && !IsWhite(row + static_cast<size_t>(x) * 4))
            ++x;
        if (x > left)
            region.AddRun({left, top, x, top + 1});
    }
}

}  // namespace

void MaskRegion::AddRun(const platform::Rect& run)
{
    block_.push_back(run);
    if (block_.size() == kBlockRuns)
        CombineBlock();
}

platform::Region MaskRegion::Finish()
{
    CombineBlock();
    platform::Region region = std::move(result_);
    *this = MaskRegion();
    return region;
}

void MaskRegion::StartRow(int top)
{
    if (started_ && top == rowTop_ + 1)
        rowAbove_ = std::move(row_);
    else
        rowAbove_.clear();
    row_.clear();
    aboveCursor_ = 0;
    rowTop_ = top;
    started_ = true;
}

// Runs of a row come left to right and do not overlap, so one cursor walks
// the rectangles of the row above once per row.
bool MaskRegion::ExtendAbove(const platform::Rect& run)
{
    while (aboveCursor_ < rowAbove_.size() && result_.rects[rowAbove_[aboveCursor_]].left < run.left)
        ++aboveCursor_;
    if (aboveCursor_ == rowAbove_.size())
        return false;
    platform::Rect& above = result_.rects[rowAbove_[aboveCursor_]];
    if (above.left != run.left || above.right != run.right)
        return false;
    above.bottom = run.bottom;
    row_.push_back(rowAbove_[aboveCursor_++]);
    return true;
}

void MaskRegion::CombineBlock()
{
    for (const platform::Rect& run : block_) {
        if (!started_ || run.top != rowTop_)
            StartRow(run.top);
        if (ExtendAbove(run))
            continue;
        row_.push_back(result_.rects.size());
        result_.rects.push_back(run);
    }
    block_.clear();
}

std::optional<platform::Region> MaskRegion::FromPixels(const platform::RgbaImage& image)
{
    if (image.width < 0 || image.height < 0)
        return std::nullopt;
    const size_t stride = static_cast<size_t>(image.width) * 4;
    if (stride != 0 && image.rgba.size() / stride < static_cast<size_t>(image.height))
        return std::nullopt;
    MaskRegion region;
    for (int y = 0; stride != 0 && y < image.height; ++y)
        AddRowRuns(image.rgba.data() + static_cast<size_t>(y) * stride, image.width, y, region);
    return region.Finish();
}

std::optional<WindowMask> MaskRegion::FromBitmap(std::span<const uint8_t> bytes)
{
    if (bytes.empty() || bytes.size() > SkinUI::kMaxImageFileSize ||
        platform::SniffImageFormat(bytes) != platform::ImageFormat::Bmp)
        return std::nullopt;
    platform::RgbaImage image;
    if (!platform::DecodeBmp(bytes, {SkinUI::kMaxImageSide, SkinUI::kMaxImagePixels}, image))
        return std::nullopt;
    auto region = FromPixels(image);
    if (!region)
        return std::nullopt;
    return WindowMask{image.width, image.height, std::move(*region)};
}

std::optional<WindowMask> MaskRegion::Load(const std::string& programFolder)
{
    const auto bytes = SkinUI::ReadImageBytes(kMaskBitmapName, u"", SkinUI::ResourceLocation{programFolder, {}});
    if (!bytes)
        return std::nullopt;
    return FromBitmap(*bytes);
}

}  // namespace NeritApp
