#include "ui/ImageLoader.h"
#include "tests/ui/BmpBuilder.h"
#include "tests/ui/ImageSamples.h"
#include "ui/WindowUIManager.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace SkinUI;
using testsupport::kPng;
using testsupport::MakeJpeg;

namespace {

using Bytes = std::vector<uint8_t>;

// An uncompressed BMP of top-down RGBA pixels; 24 bits drop the alpha.
Bytes MakeBmp(int width, int height, int bpp, const Bytes& rgba)
{
    return testsupport::MakeBmp(
        uint32_t(width), uint32_t(height), bpp,
        [&](uint32_t x, uint32_t y) {
            const uint8_t* p = &rgba[(size_t(y) * size_t(width) + x) * 4];
            return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        },
        !rgba.empty());
}

const Bytes kDht = {0xFF, 0xC4};

void PutBigEndian(Bytes& out, uint32_t value)
{
    out.insert(out.end(), {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)});
}

void PutChunk(Bytes& out, const char* type, const Bytes& data)
{
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    PutBigEndian(out, uint32_t(data.size()));
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian(out, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

// A PNG of one row of `width` pixels with the given colour type and depth,
// the row's bytes (without filter byte) and chunks to put before the data.
Bytes MakePng(uint8_t width, uint8_t colourType, uint8_t depth, const Bytes& row,
              const std::vector<std::pair<const char*, Bytes>>& chunks = {})
{
    Bytes out(testsupport::kPng.begin(), testsupport::kPng.begin() + 8);
    PutChunk(out, "IHDR", {0, 0, 0, width, 0, 0, 0, 1, depth, colourType, 0, 0, 0});
    for (const auto& [type, data] : chunks)
        PutChunk(out, type, data);
    Bytes raw{0};
    raw.insert(raw.end(), row.begin(), row.end());
    Bytes packed(compressBound(uLong(raw.size())));
    uLongf packedSize = uLongf(packed.size());
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

class SkinFiles {
public:
    std::string Path() const { return folder_.Path().string(); }
    void Write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream file(folder_.Path() / name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void Remove(const std::string& name) const { std::filesystem::remove(folder_.Path() / name); }

private:
    testsupport::TempFolder folder_{"image-loader"};
};

void WriteZip(const std::string& path, const char* entry, const Bytes& bytes)
{
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    ASSERT_EQ(zipOpenNewFileInZip(zip, entry, nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6), ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, bytes.data(), unsigned(bytes.size())), ZIP_OK);
    zipCloseFileInZip(zip);
    zipClose(zip, nullptr);
}

}  // namespace

TEST(ImageLoader, PremultipliesAndAppliesTheMaskColour)
{
    const Bytes rgba = {255, 0, 0, 128,  200, 100, 50, 255,  255, 255, 255, 0,  1, 2, 3, 4,  255, 128, 64, 254};
    const ImageData image = ConvertRgba(rgba.data(), 5, 1, 0);
    EXPECT_TRUE(image.alpha);
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0x80800000, 0xFFC86432, 0x00000000, 0x04000000, 0xFEFE7F3F}));
    // The key is compared with the premultiplied value.
    EXPECT_EQ(ConvertRgba(rgba.data(), 5, 1, 0x80FF0000).pixels[0], 0x80800000u);
    EXPECT_EQ(ConvertRgba(rgba.data(), 5, 1, 0x80800000).pixels[0], 0u);

    const Bytes opaque = {255, 255, 255, 255,  254, 255, 255, 255};
    const ImageData kept = ConvertRgba(opaque.data(), 2, 1, 0);
    EXPECT_FALSE(kept.alpha);
    EXPECT_EQ(kept.pixels, (std::vector<uint32_t>{0xFFFFFFFF, 0xFFFEFFFF}));
    const ImageData keyed = ConvertRgba(opaque.data(), 2, 1, 0xFFFFFFFF);
    EXPECT_TRUE(keyed.alpha);
    EXPECT_EQ(keyed.pixels, (std::vector<uint32_t>{0, 0xFFFEFFFF}));
}

TEST(ImageLoader, DecodesPngBmpAndJpegTopDown)
{
    const auto png = DecodeImage(kPng, 0);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 2);
    EXPECT_EQ(png->height, 2);
    EXPECT_TRUE(png->alpha);
    EXPECT_EQ(png->pixels, (std::vector<uint32_t>{0x80800000, 0xFFFFFFFF, 0xFF0A141E, 0}));

    const Bytes rgba = {1, 2, 3, 255,  4, 5, 6, 255,  7, 8, 9, 255,
                        10, 11, 12, 255,  13, 14, 15, 255,  255, 255, 255, 255};
    const auto bmp24 = DecodeImage(MakeBmp(3, 2, 24, rgba), 0xFFFFFFFF);
    ASSERT_TRUE(bmp24);
    EXPECT_EQ(bmp24->width, 3);
    EXPECT_EQ(bmp24->height, 2);
    EXPECT_EQ(bmp24->pixels, (std::vector<uint32_t>{0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C, 0xFF0D0E0F, 0}));

    const auto jpeg = DecodeImage(MakeJpeg(), 0);
    ASSERT_TRUE(jpeg);
    EXPECT_FALSE(jpeg->alpha);
    EXPECT_EQ(jpeg->pixels, std::vector<uint32_t>(64, 0xFF808080));

    const Bytes translucent = {255, 0, 0, 128,  0, 0, 255, 255};
    const auto bmp32 = DecodeImage(MakeBmp(2, 1, 32, translucent), 0);
    ASSERT_TRUE(bmp32);
    EXPECT_TRUE(bmp32->alpha);
    EXPECT_EQ(bmp32->pixels, (std::vector<uint32_t>{0x80800000, 0xFF0000FF}));
}

TEST(ImageLoader, PngOfEveryColourTypeBecomesEightBitRgba)
{
    // Grey is copied to all three channels.
    const auto grey = DecodeImage(MakePng(2, 0, 8, {0, 255}), 0xFFFFFFFF);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->pixels, (std::vector<uint32_t>{0xFF000000, 0}));
    // Sixteen bits keep their high byte.
    const auto deep = DecodeImage(MakePng(1, 4, 16, {0x80, 0xFF, 0x80, 0x00}), 0);
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->pixels, (std::vector<uint32_t>{0x80404040}));
    const auto rgb16 = DecodeImage(MakePng(1, 2, 16, {0x12, 0xFF, 0x34, 0x00, 0x56, 0x80}), 0);
    ASSERT_TRUE(rgb16);
    EXPECT_FALSE(rgb16->alpha);
    EXPECT_EQ(rgb16->pixels, (std::vector<uint32_t>{0xFF123456}));
    // A palette with transparency for its first entry, at two bits a pixel.
    const auto palette = DecodeImage(
        MakePng(2, 3, 2, {0x10}, {{"PLTE", {10, 20, 30, 255, 255, 255}}, {"tRNS", {0x80}}}), 0);
    ASSERT_TRUE(palette);
    EXPECT_TRUE(palette->alpha);
    EXPECT_EQ(palette->pixels, (std::vector<uint32_t>{0x80050A0F, 0xFFFFFFFF}));
}

TEST(ImageLoader, BadBytesGiveNoImage)
{
    EXPECT_FALSE(DecodeImage({}, 0));
    const Bytes garbage = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    EXPECT_FALSE(DecodeImage(garbage, 0));
    // Headers of huge images with no pixels behind them.
    EXPECT_FALSE(DecodeImage(MakeBmp(20000, 20000, 24, {}), 0));
    EXPECT_FALSE(DecodeImage(MakeBmp(8000, 8000, 24, {}), 0));

    // An empty first image-data chunk, a Huffman table of more than 256 codes,
    // and a scan that names a table never defined.
    Bytes png = kPng;
    const uint8_t emptyChunk[] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
    png.insert(png.begin() + 33, std::begin(emptyChunk), std::end(emptyChunk));
    EXPECT_FALSE(DecodeImage(png, 0));
    Bytes overfull = MakeJpeg();
    const auto counts = std::search(overfull.begin(), overfull.end(), kDht.begin(), kDht.end()) + 5;
    counts[14] = 2;
    counts[15] = 255;
    EXPECT_FALSE(DecodeImage(overfull, 0));
    overfull.insert(overfull.begin(), 0xFF);  // a fill byte before the start marker
    EXPECT_FALSE(DecodeImage(overfull, 0));
    Bytes undefinedTable = MakeJpeg();
    undefinedTable[undefinedTable.size() - 7] = 0x11;
    DecodeImage(undefinedTable, 0);

    const Bytes bmp = MakeBmp(3, 3, 32, Bytes(36, 0x7F));
    const Bytes jpeg = MakeJpeg();
    for (const Bytes* source : {&kPng, &bmp, &jpeg}) {
        for (size_t length = 0; length < source->size(); ++length)
            DecodeImage(std::span(source->data(), length), 0);
        std::mt19937 random(7);
        for (int round = 0; round < 2000; ++round) {
            Bytes mutated = *source;
            for (int flips = 0; flips < 3; ++flips)
                mutated[random() % mutated.size()] ^= uint8_t(1u << (random() % 8));
            if (const auto image = DecodeImage(mutated, 0)) {
                EXPECT_EQ(image->pixels.size(), size_t(image->width) * size_t(image->height));
            }
        }
    }
}

TEST(ImageLoader, HostileJpegIsDecodedWithinItsBounds)
{
    // The scan runs out of data inside a coefficient; the decoder must
    // neither read past its bit buffer nor shift by its width (the sanitizer
    // build aborts on either). The missing bits count as zeros.
    const auto image = DecodeImage(testsupport::MakeJpegEndingInsideACoefficient(), 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 8);
    EXPECT_EQ(image->height, 8);
    EXPECT_FALSE(image->alpha);
    EXPECT_EQ(image->pixels.size(), 64u);
}

TEST(ImageLoader, ReadsFromFolderPackageOrResource)
{
    SkinFiles folder;
    folder.Write("a.png", kPng);
    folder.Write("empty.png", {});
    folder.Write("bad.png", Bytes(kPng.begin(), kPng.begin() + 40));
    const ResourceLocation plain{folder.Path(), {}};
    EXPECT_TRUE(LoadImage(u"a.png", u"", 0, plain));
    EXPECT_FALSE(LoadImage(u"missing.png", u"", 0, plain));
    EXPECT_FALSE(LoadImage(u"empty.png", u"", 0, plain));
    EXPECT_FALSE(LoadImage(u"bad.png", u"", 0, plain));
    EXPECT_FALSE(LoadImage(u"", u"", 0, plain));

    const std::string zip = folder.Path() + "/skin.zip";
    WriteZip(zip, "in/zip.png", kPng);
    const ResourceLocation packaged{folder.Path(), zip};
    const auto fromZip = LoadImage(u"in/zip.png", u"", 0, packaged);
    ASSERT_TRUE(fromZip);
    EXPECT_EQ(fromZip->pixels[1], 0xFFFFFFFFu);
    EXPECT_FALSE(LoadImage(u"a.png", u"", 0, packaged));  // files beside the package are not used

    // Resources are addressed by number; the layouts are not images.
    EXPECT_TRUE(ReadImageBytes(u"900", u"xml", plain));
    EXPECT_FALSE(LoadImage(u"900", u"xml", 0, plain));
    EXPECT_FALSE(ReadImageBytes(u"a.png", u"xml", plain));
    EXPECT_FALSE(ReadImageBytes(u"99999999999", u"xml", plain));
}

TEST(ImageCache, LoadsOnceAndReloadsInPlace)
{
    SkinFiles folder;
    const Bytes red = {255, 0, 0, 255};
    folder.Write("r.bmp", MakeBmp(1, 1, 24, red));
    CWindowUIManager manager;
    manager.SetResourcePath(folder.Path());

    EXPECT_TRUE(manager.AddImage(u"r.bmp", u"", 0xFFFFFFFF));
    ASSERT_TRUE(manager.GetImage(u"r.bmp")->image);
    const ImageData* image = manager.GetImageEx(u"r.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image, &*manager.GetImage(u"r.bmp")->image);
    EXPECT_EQ(manager.GetImageEx(u"r.bmp", u"", 0), image);
    EXPECT_EQ(image->pixels[0], 0xFFFF0000u);

    // Reload all reads the changed file into the same record, with the kept mask.
    folder.Write("r.bmp", MakeBmp(1, 1, 24, {255, 255, 255, 255}));
    manager.ReloadImages();
    EXPECT_EQ(manager.GetImageEx(u"r.bmp"), image);
    EXPECT_EQ(image->pixels[0], 0u);

    // A missing image is looked up once: it stays missing, whether asked for
    // by painting or registered by a layout, until the images are reloaded.
    EXPECT_EQ(manager.GetImageEx(u"late.bmp"), nullptr);
    ASSERT_NE(manager.GetImage(u"late.bmp"), nullptr);
    EXPECT_TRUE(manager.AddImage(u"listed.bmp", u"", 0xFFFFFFFF));
    folder.Write("late.bmp", MakeBmp(1, 1, 24, red));
    folder.Write("listed.bmp", MakeBmp(1, 1, 24, {255, 255, 255, 255}));
    EXPECT_EQ(manager.GetImageEx(u"late.bmp"), nullptr);
    EXPECT_EQ(manager.GetImageEx(u"listed.bmp"), nullptr);
    manager.ReloadImages();
    EXPECT_NE(manager.GetImageEx(u"late.bmp"), nullptr);
    ASSERT_NE(manager.GetImageEx(u"listed.bmp"), nullptr);
    EXPECT_EQ(manager.GetImageEx(u"listed.bmp")->pixels[0], 0u);  // loaded with its registered mask

    folder.Remove("r.bmp");
    manager.ReloadImages();
    EXPECT_EQ(manager.GetImageEx(u"r.bmp"), nullptr);

    manager.RemoveImage(u"late.bmp");
    EXPECT_EQ(manager.GetImage(u"late.bmp"), nullptr);
    manager.RemoveAllImages();
    EXPECT_EQ(manager.GetImage(u"r.bmp"), nullptr);
}

TEST(ImageCache, PackageNamedWithoutFolderLiesInResourceFolder)
{
    SkinFiles folder;
    WriteZip(folder.Path() + "/skin.zip", "p.png", kPng);
    CWindowUIManager manager;
    manager.SetResourcePath(folder.Path());
    manager.SetResourceZip("skin.zip");
    EXPECT_NE(manager.GetImageEx(u"p.png"), nullptr);
}
