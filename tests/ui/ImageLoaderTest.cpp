#include "ui/ImageLoader.h"
#include "platform/CairoPainter.h"
#include "tests/ui/BmpBuilder.h"
#include "tests/ui/ImageSamples.h"
#include "ui/ControlUI.h"
#include "ui/WindowUIManager.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
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

// A PNG of `width` × `height` pixels with the given colour type and depth,
// chunks to put before the data, and `rows` copies of the row's bytes
// (without filter byte) as its data: fewer than `height` cut it short.
Bytes MakePngRows(uint32_t width, uint32_t height, uint8_t colourType, uint8_t depth, const Bytes& row,
                  const std::vector<std::pair<const char*, Bytes>>& chunks, uint32_t rows)
{
    Bytes out(testsupport::kPng.begin(), testsupport::kPng.begin() + 8);
    Bytes header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.insert(header.end(), {depth, colourType, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    for (const auto& [type, data] : chunks)
        PutChunk(out, type, data);
    Bytes raw;
    for (uint32_t y = 0; y < rows; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    Bytes packed(compressBound(uLong(raw.size())));
    uLongf packedSize = uLongf(packed.size());
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

// A PNG of one row of `width` pixels.
Bytes MakePng(uint8_t width, uint8_t colourType, uint8_t depth, const Bytes& row,
              const std::vector<std::pair<const char*, Bytes>>& chunks = {})
{
    return MakePngRows(width, 1, colourType, depth, row, chunks, 1);
}

// A picture of one colour (0xRRGGBB): a one-entry palette at one bit a pixel.
Bytes MakePlainPng(uint32_t width, uint32_t height, uint32_t rgb, uint32_t rows)
{
    const Bytes palette = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
    return MakePngRows(width, height, 3, 1, Bytes((width + 7) / 8, 0), {{"PLTE", palette}}, rows);
}

// The grey JPEG with the size in its frame header changed; its one block of
// data leaves the rest of the picture grey.
Bytes MakeJpegOfSize(uint16_t width, uint16_t height)
{
    Bytes jpeg = MakeJpeg();
    const Bytes frame = {0xFF, 0xC0};
    const auto start = std::search(jpeg.begin(), jpeg.end(), frame.begin(), frame.end());
    start[5] = uint8_t(height >> 8);
    start[6] = uint8_t(height);
    start[7] = uint8_t(width >> 8);
    start[8] = uint8_t(width);
    return jpeg;
}

// Runs `check` in a child process that may map no more than 128 MiB beyond
// what it has: a decoder that asked for memory for a whole huge picture
// would fail there. The sanitizers reserve far more address space than they
// use; under them the check runs here.
bool InBoundedChild(const std::function<bool()>& check)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return check();
#else
    constexpr rlim_t kRoom = rlim_t{128} << 20;
    const pid_t child = ::fork();
    if (child == 0) {
        unsigned long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t mapped = rlim_t{pages} * rlim_t(::sysconf(_SC_PAGESIZE));
        const rlimit limit{mapped + kRoom, mapped + kRoom};
        bool held = false;
        try {
            held = pages > 0 && ::setrlimit(RLIMIT_AS, &limit) == 0 && check();
        } catch (...) {  // std::bad_alloc: the child must not go on with the tests
        }
        ::_exit(held ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
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
    EXPECT_TRUE(LoadImage(u"a.png", u"", 0, plain).image);
    EXPECT_FALSE(LoadImage(u"missing.png", u"", 0, plain).image);
    EXPECT_FALSE(LoadImage(u"empty.png", u"", 0, plain).image);
    EXPECT_FALSE(LoadImage(u"bad.png", u"", 0, plain).image);
    EXPECT_FALSE(LoadImage(u"", u"", 0, plain).image);

    const std::string zip = folder.Path() + "/skin.zip";
    WriteZip(zip, "in/zip.png", kPng);
    const ResourceLocation packaged{folder.Path(), zip};
    const auto fromZip = LoadImage(u"in/zip.png", u"", 0, packaged).image;
    ASSERT_TRUE(fromZip);
    EXPECT_EQ(fromZip->pixels[1], 0xFFFFFFFFu);
    EXPECT_FALSE(LoadImage(u"a.png", u"", 0, packaged).image);  // files beside the package are not used

    // Resources are addressed by number; the layouts are not images.
    EXPECT_TRUE(ReadImageBytes(u"900", u"xml", plain));
    EXPECT_FALSE(LoadImage(u"900", u"xml", 0, plain).image);
    EXPECT_FALSE(ReadImageBytes(u"a.png", u"xml", plain));
    EXPECT_FALSE(ReadImageBytes(u"99999999999", u"xml", plain));
}

TEST(ImageCache, LoadsOnceAndReloads)
{
    SkinFiles folder;
    const Bytes red = {255, 0, 0, 255};
    folder.Write("r.bmp", MakeBmp(1, 1, 24, red));
    CWindowUIManager manager;
    manager.SetResourcePath(folder.Path());

    EXPECT_TRUE(manager.AddImage(u"r.bmp", u"", 0xFFFFFFFF));
    ASSERT_TRUE(manager.GetImage(u"r.bmp")->image);
    const auto image = manager.GetImageEx(u"r.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image, manager.GetImage(u"r.bmp")->image);
    EXPECT_EQ(manager.GetImageEx(u"r.bmp", u"", 0), image);
    EXPECT_EQ(image->pixels[0], 0xFFFF0000u);

    // Reload all reads the changed file, with the kept mask.
    folder.Write("r.bmp", MakeBmp(1, 1, 24, {255, 255, 255, 255}));
    manager.ReloadImages();
    EXPECT_EQ(manager.GetImageEx(u"r.bmp")->pixels[0], 0u);

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

// The main window's size four times over is the most a picture may have, and
// 4000 pixels its widest or tallest side; beyond, the header alone refuses it.
TEST(ImageLoader, PicturesBeyondTheLimitsAreRefusedFromTheirHeaders)
{
    struct Case {
        const char* what;
        Bytes bytes;
        ImageStatus status;
        uint32_t width;
        uint32_t height;
    };
    const Case cases[] = {
        {"PNG header of 30000 x 30000, 1 row of data", MakePlainPng(30000, 30000, 0x102030, 1),
         ImageStatus::TooLarge, 30000, 30000},
        {"PNG of 2000 x 1360", MakePlainPng(2000, 1360, 0x102030, 1360), ImageStatus::Loaded, 2000, 1360},
        {"PNG of 2001 x 1360", MakePlainPng(2001, 1360, 0x102030, 1360), ImageStatus::TooLarge, 2001, 1360},
        {"PNG of 4001 x 1", MakePlainPng(4001, 1, 0x102030, 1), ImageStatus::TooLarge, 4001, 1},
        {"JPEG header of 30000 x 30000", MakeJpegOfSize(30000, 30000), ImageStatus::TooLarge, 30000, 30000},
        {"JPEG of 2000 x 1360", MakeJpegOfSize(2000, 1360), ImageStatus::Loaded, 2000, 1360},
        {"BMP header of 30000 x 30000", MakeBmp(30000, 30000, 24, {}), ImageStatus::TooLarge, 30000, 30000},
        {"BMP of 2000 x 1360", MakeBmp(2000, 1360, 24, Bytes(size_t{2000} * 1360 * 4, 0x80)), ImageStatus::Loaded,
         2000, 1360},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(InBoundedChild([&] {
            const ImageLoad load = DecodeImageBytes(c.bytes, 0);
            if (load.status != c.status)
                return false;
            if (load.image)
                return load.image->width == int(c.width) && load.image->height == int(c.height);
            return load.width == c.width && load.height == c.height;
        })) << c.what;
    }
}

// Pictures at the size limit, each of its own colour, painted in turn: more
// of them than the budget holds together.
TEST(ImageCache, KeepsToItsBudgetAndReadsDroppedPicturesAgain)
{
    constexpr int kPictures = 8;
    const auto name = [](int i) { return u"p" + std::u16string(1, char16_t(u'0' + i)) + u".png"; };
    const auto colour = [](int i) { return 0x102030u * uint32_t(i + 1); };
    SkinFiles folder;
    for (int i = 0; i < kPictures; ++i)
        folder.Write("p" + std::to_string(i) + ".png", MakePlainPng(2000, 1360, colour(i), 1360));
    folder.Write("huge.png", MakePlainPng(30000, 30000, 0, 1));
    CWindowUIManager manager;
    manager.SetResourcePath(folder.Path());
    std::vector<ImageRefusal> refused;
    manager.SetImageRefusalHandler([&](const ImageRefusal& refusal) { refused.push_back(refusal); });
    CControlUI control;
    control.SetManager(&manager, nullptr);
    control.SetItemRect({0, 0, 2, 2});
    platform::CairoPainter painter(2, 2);
    const auto paints = [&](int i) {
        return control.DrawImage(painter, name(i)) && painter.PixelAt(1, 1) == (0xFF000000 | colour(i));
    };

    // What a control is drawing stays, however far past the budget.
    const auto drawing = manager.GetImageEx(name(1));
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < kPictures; ++i) {
            EXPECT_TRUE(paints(i)) << i;
            EXPECT_LE(manager.GetCachedImageBytes(), kImageCacheBudget) << i;
        }
    }
    EXPECT_EQ(manager.GetImage(name(1))->image, drawing);
    EXPECT_TRUE(manager.GetImage(name(0))->dropped);
    EXPECT_TRUE(paints(0));

    // A refused picture draws as a missing one and is told of once.
    for (int paint = 0; paint < 3; ++paint)
        EXPECT_FALSE(control.DrawImage(painter, u"huge.png"));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].source, folder.Path() + "/huge.png");
    EXPECT_EQ(refused[0].width, 30000u);
    EXPECT_EQ(refused[0].height, 30000u);
}
