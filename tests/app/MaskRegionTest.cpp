// The main window's region from the mask bitmap: exact union of the
// non-white runs, BMP variants, and broken files.
#include "app/MaskRegion.h"

#include "tests/TempFolder.h"
#include "tests/ui/BmpBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using NeritApp::MaskRegion;
using NeritApp::WindowMask;

constexpr uint32_t kWhite = 0xFFFFFF;

// Top-down 0xRRGGBB pixels.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

Picture Filled(int width, int height, uint32_t colour)
{
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

Picture Checkerboard(int side)
{
    Picture picture = Filled(side, side, kWhite);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if ((x + y) % 2 == 0)
                picture.rgb[static_cast<size_t>(y) * side + x] = 0x000000;
    return picture;
}

// Deterministic rows of runs in colours close to white; about half of the
// rows repeat the row above, some exactly and some with one run changed.
Picture Scattered(int width, int height)
{
    static constexpr uint32_t kColours[] = {kWhite, 0x000000, 0xFFFFFE, 0xFEFFFF, 0xFFFEFF, kWhite, 0x808080};
    Picture picture = Filled(width, height, kWhite);
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    for (int y = 0; y < height; ++y) {
        uint32_t* row = picture.rgb.data() + static_cast<size_t>(y) * width;
        if (y > 0 && next(2) == 0) {
            std::copy(row - width, row, row);
            if (next(3) == 0)
                row[next(static_cast<uint32_t>(width))] ^= 0xFFFFFF;
            continue;
        }
        for (int x = 0; x < width;) {
            const int length = 1 + static_cast<int>(next(8));
            const uint32_t colour = kColours[next(std::size(kColours))];
            for (int k = 0; k < length && x < width; ++k)
                row[x++] = colour;
        }
    }
    return picture;
}

size_t NaiveRunCount(const Picture& picture)
{
    size_t runs = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.At(x, y) != kWhite && (x == 0 || picture.At(x - 1, y) == kWhite))
                ++runs;
    return runs;
}

// The region covers exactly the non-white pixels, each once.
void ExpectExactRegion(const Picture& picture, const platform::Region& region)
{
    size_t inside = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const bool expected = picture.At(x, y) != kWhite;
            inside += expected;
            ASSERT_EQ(region.Contains(x, y), expected) << "pixel " << x << "," << y;
        }
    size_t area = 0;
    for (const platform::Rect& rect : region.rects) {
        ASSERT_GT(rect.Width(), 0);
        ASSERT_GT(rect.Height(), 0);
        area += static_cast<size_t>(rect.Width()) * rect.Height();
    }
    EXPECT_EQ(area, inside) << "rectangles overlap";
}

void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// An uncompressed BMP; 32-bit pixels carry the given alpha, which the region
// ignores. Top-down files store the rows reversed under a negative height.
std::vector<uint8_t> EncodeBmp(const Picture& picture, int bits, bool topDown, uint8_t alpha = 0)
{
    std::vector<uint8_t> bytes = testsupport::MakeBmp(
        static_cast<uint32_t>(picture.width), static_cast<uint32_t>(picture.height), bits,
        [&](uint32_t x, uint32_t y) { return uint32_t{alpha} << 24 | picture.At(int(x), int(y)); });
    if (!topDown)
        return bytes;
    constexpr size_t kPixels = 54;
    const size_t stride = (bytes.size() - kPixels) / static_cast<size_t>(picture.height);
    std::vector<uint8_t> flipped(bytes.begin(), bytes.begin() + kPixels);
    for (size_t row = static_cast<size_t>(picture.height); row-- > 0;) {
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(kPixels + row * stride);
        flipped.insert(flipped.end(), first, first + static_cast<std::ptrdiff_t>(stride));
    }
    Put32(flipped, 22, static_cast<uint32_t>(-picture.height));
    return flipped;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(MaskRegionTest, ManyRunsJoinInBlocksIntoTheExactUnion)
{
    const Picture board = Checkerboard(100);
    ASSERT_GT(NaiveRunCount(board), 2 * MaskRegion::kBlockRuns);
    const auto boardMask = MaskRegion::FromBitmap(EncodeBmp(board, 24, false));
    ASSERT_TRUE(boardMask);
    EXPECT_EQ(boardMask->width, 100);
    EXPECT_EQ(boardMask->height, 100);
    ExpectExactRegion(board, boardMask->region);

    // Columns repeat on every row: the runs of all blocks join into one
    // rectangle per column.
    Picture columns = Filled(100, 100, kWhite);
    for (int y = 0; y < 100; ++y)
        for (int x = 1; x < 100; x += 2)
            columns.rgb[static_cast<size_t>(y) * 100 + x] = 0x102030;
    const auto columnMask = MaskRegion::FromBitmap(EncodeBmp(columns, 24, false));
    ASSERT_TRUE(columnMask);
    ExpectExactRegion(columns, columnMask->region);
    EXPECT_EQ(columnMask->region.rects.size(), 50u);

    // Runs that only partly repeat the row above, gaps, and near-white
    // colours that are inside.
    const Picture scattered = Scattered(300, 150);
    ASSERT_GT(NaiveRunCount(scattered), MaskRegion::kBlockRuns);
    const auto scatteredMask = MaskRegion::FromBitmap(EncodeBmp(scattered, 24, true));
    ASSERT_TRUE(scatteredMask);
    ExpectExactRegion(scattered, scatteredMask->region);
    EXPECT_LT(scatteredMask->region.rects.size(), NaiveRunCount(scattered));
}

TEST(MaskRegionTest, RunsGivenDirectlyKeepTheirPixels)
{
    // A run as wide as the one above but shifted, one narrower, and one
    // that repeats a rectangle two rows up across a gap: none may join.
    MaskRegion builder;
    builder.AddRun({0, 0, 10, 1});
    builder.AddRun({0, 1, 5, 1 + 1});
    builder.AddRun({5, 1, 10, 2});
    builder.AddRun({0, 2, 10, 3});
    builder.AddRun({0, 4, 10, 5});
    builder.AddRun({0, 5, 10, 6});
    const platform::Region region = builder.Finish();
    EXPECT_EQ(region.rects, (std::vector<platform::Rect>{
                                {0, 0, 10, 1}, {0, 1, 5, 2}, {5, 1, 10, 2}, {0, 2, 10, 3}, {0, 4, 10, 6}}));
    EXPECT_TRUE(MaskRegion().Finish().rects.empty());
}

TEST(MaskRegionTest, AllWhiteGivesAnEmptyRegionAndTheSize)
{
    const auto mask = MaskRegion::FromBitmap(EncodeBmp(Filled(30, 20, kWhite), 24, false));
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->width, 30);
    EXPECT_EQ(mask->height, 20);
    EXPECT_TRUE(mask->region.rects.empty());
}

TEST(MaskRegionTest, PixelDepthsAndRowOrdersReadTheSame)
{
    const Picture picture = Scattered(37, 23);  // rows of 111 bytes need padding
    const auto reference = MaskRegion::FromBitmap(EncodeBmp(picture, 24, false));
    ASSERT_TRUE(reference);
    ExpectExactRegion(picture, reference->region);
    for (const auto& bytes : {EncodeBmp(picture, 24, true), EncodeBmp(picture, 32, false, 0),
                              EncodeBmp(picture, 32, true, 0x80)}) {
        const auto mask = MaskRegion::FromBitmap(bytes);
        ASSERT_TRUE(mask);
        EXPECT_EQ(mask->width, 37);
        EXPECT_EQ(mask->height, 23);
        EXPECT_EQ(mask->region.rects, reference->region.rects);
    }
}

TEST(MaskRegionTest, BrokenMissingOrForeignBitmapsGiveNothing)
{
    const std::vector<uint8_t> good = EncodeBmp(Scattered(21, 9), 24, false);
    ASSERT_TRUE(MaskRegion::FromBitmap(good));
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(MaskRegion::FromBitmap(std::span(good.data(), length))) << "cut at " << length;

    std::vector<uint8_t> huge = good;
    Put32(huge, 18, 0x7FFFFFFF);
    EXPECT_FALSE(MaskRegion::FromBitmap(huge));
    std::vector<uint8_t> farPixels = good;
    Put32(farPixels, 10, 0xFFFFFFF0);
    EXPECT_FALSE(MaskRegion::FromBitmap(farPixels));
    std::vector<uint8_t> noBits = good;
    noBits[28] = 0;
    EXPECT_FALSE(MaskRegion::FromBitmap(noBits));

    testsupport::TempFolder folder("mask-region");
    ASSERT_FALSE(folder.Path().empty());
    EXPECT_FALSE(MaskRegion::Load(folder.Path().string()));
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 0};
    WriteFile(folder.Path() / "VimoSkin" / "Background_mask.bmp", png);
    EXPECT_FALSE(MaskRegion::Load(folder.Path().string()));
    WriteFile(folder.Path() / "VimoSkin" / "Background_mask.bmp", good);
    const auto loaded = MaskRegion::Load(folder.Path().string());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->width, 21);
}

TEST(MaskRegionTest, TheMaskOfTheBuildShapesTheMainWindow)
{
    const auto mask = MaskRegion::Load(NERIT_SKIN_DIR);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->width, 1000);
    EXPECT_EQ(mask->height, 680);
    EXPECT_FALSE(mask->region.Contains(0, 0));
    EXPECT_FALSE(mask->region.Contains(999, 0));
    EXPECT_FALSE(mask->region.Contains(0, 679));
    EXPECT_FALSE(mask->region.Contains(999, 679));
    EXPECT_TRUE(mask->region.Contains(500, 340));
}
