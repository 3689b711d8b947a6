// The drawn pictures of the main window against what the program assumes of
// them: the mouse picture's button areas where the code cuts them out, the
// window outline, and no pure white where the page uses white as colour key.
#include "platform/ImageDecoder.h"
#include "platform/Utf16.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::array<const char*, 4> kSkinFolders = {"VimoSkin", "VimoSkin1", "VimoSkin2", "VimoSkin3"};

struct Area {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Left, right, wheel, profile switch, DPI switch, forward, backward: the
// source rectangles the main window shows from MCBox.bmp and MCBox2.bmp.
constexpr std::array<Area, 7> kButtonAreas = {{{387, 247, 433, 342},
                                               {452, 247, 498, 342},
                                               {433, 270, 451, 308},
                                               {435, 321, 450, 339},
                                               {433, 344, 452, 362},
                                               {590, 333, 607, 365},
                                               {590, 365, 607, 398}}};
constexpr Area kSensorTitle = {678, 146, 851, 195};

platform::RgbaImage Load(const std::string& folder, const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(NERIT_SKIN_DIR) / folder / name;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    platform::RgbaImage image;
    const platform::ImageLimits limits{4096, 4096u * 4096u};
    const bool decoded = platform::SniffImageFormat(bytes) == platform::ImageFormat::Png
                             ? platform::DecodePng(bytes, limits, image)
                             : platform::DecodeBmp(bytes, limits, image);
    EXPECT_TRUE(decoded) << path;
    return image;
}

const uint8_t* Pixel(const platform::RgbaImage& image, int x, int y)
{
    return &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
}

bool SameColour(const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

bool PureWhite(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

// How many pixels of the area differ between the two pictures.
int DifferingPixels(const platform::RgbaImage& a, const platform::RgbaImage& b, const Area& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += SameColour(Pixel(a, x, y), Pixel(b, x, y)) ? 0 : 1;
    return count;
}

TEST(MainPictures, MouseVariantsDifferOnlyInsideTheSevenButtonAreas)
{
    for (const char* folder : kSkinFolders) {
        const platform::RgbaImage normal = Load(folder, "MCBox.bmp");
        for (const char* lit : {"MCBox2.bmp", "MCBox3.bmp"}) {
            const platform::RgbaImage other = Load(folder, lit);
            ASSERT_EQ(normal.width, 960) << folder;
            ASSERT_EQ(normal.height, 560) << folder;
            ASSERT_EQ(other.width, normal.width) << folder << "/" << lit;
            ASSERT_EQ(other.height, normal.height) << folder << "/" << lit;
            int outside = 0;
            for (int y = 0; y < normal.height; ++y)
                for (int x = 0; x < normal.width; ++x) {
                    bool inArea = false;
                    for (const Area& area : kButtonAreas)
                        inArea = inArea || area.Contains(x, y);
                    if (!inArea && !SameColour(Pixel(normal, x, y), Pixel(other, x, y)))
                        ++outside;
                }
            EXPECT_EQ(outside, 0) << folder << "/" << lit << ": changed pixels outside the button areas";
            for (size_t i = 0; i < kButtonAreas.size(); ++i) {
                const Area& area = kButtonAreas[i];
                const int size = (area.right - area.left) * (area.bottom - area.top);
                // Most of each area lights up, so the highlight fills it.
                EXPECT_GT(DifferingPixels(normal, other, area) * 2, size) << folder << "/" << lit << " area " << i;
            }
        }
    }
}

// The main control page's picture labels lie exactly on the areas they show,
// so that the lit picture covers the drawn button and nothing beside it.
TEST(MainPictures, PictureLabelsOfTheMainControlPageLieOnTheirAreas)
{
    SkinUI::CWindowUIManager manager;
    SkinUI::CLayoutBuilder builder;
    const std::unique_ptr<SkinUI::CControlUI> root = builder.Create(191, "xml", nullptr, &manager);
    ASSERT_TRUE(root);
    manager.InitControls(root.get());
    const std::array<const char16_t*, 7> names = {u"leftclickimage_label",     u"rightclickimage_label",
                                                  u"middleclickimage_label",   u"profileswitchimage_label",
                                                  u"dpiswitchimage_label",     u"ieforwardimage_label",
                                                  u"iebackwardimage_label"};
    for (size_t i = 0; i < names.size(); ++i) {
        const SkinUI::CControlUI* label = manager.FindControl(names[i]);
        ASSERT_NE(label, nullptr) << i;
        const Area& area = kButtonAreas[i];
        EXPECT_EQ(label->GetFixedX(), area.left) << i;
        EXPECT_EQ(label->GetFixedY(), area.top) << i;
        EXPECT_EQ(label->GetFixedWidth(), area.right - area.left) << i;
        EXPECT_EQ(label->GetFixedHeight(), area.bottom - area.top) << i;
        const std::string source = "source='" + std::to_string(area.left) + "," + std::to_string(area.top) + ","
                                   + std::to_string(area.right) + "," + std::to_string(area.bottom) + "'";
        const std::string image = platform::Utf16ToUtf8(label->GetBkImage());
        EXPECT_NE(image.find("file='MCBox.bmp'"), std::string::npos) << image;
        EXPECT_NE(image.find(source), std::string::npos) << image;
    }
}

TEST(MainPictures, SensorTitleAreaHoldsText)
{
    for (const char* folder : kSkinFolders) {
        const platform::RgbaImage picture = Load(folder, "MCBox.bmp");
        ASSERT_EQ(picture.width, 960);
        int bright = 0;
        for (int y = kSensorTitle.top; y < kSensorTitle.bottom; ++y)
            for (int x = kSensorTitle.left; x < kSensorTitle.right; ++x)
                bright += Pixel(picture, x, y)[0] > 200 && Pixel(picture, x, y)[1] > 200 ? 1 : 0;
        EXPECT_GT(bright, 40) << folder;
    }
}

TEST(MainPictures, MaskIsTheWindowSizeWithRoundedCorners)
{
    for (const char* folder : kSkinFolders) {
        const platform::RgbaImage mask = Load(folder, "Background_mask.bmp");
        ASSERT_EQ(mask.width, 1000) << folder;
        ASSERT_EQ(mask.height, 680) << folder;
        for (const auto& [x, y] : {std::pair{0, 0}, {999, 0}, {0, 679}, {999, 679}})
            EXPECT_TRUE(PureWhite(Pixel(mask, x, y))) << folder << " corner " << x << "," << y;
        // The edges between the corners and the middle are inside the window.
        for (const auto& [x, y] : {std::pair{500, 0}, {500, 679}, {0, 340}, {999, 340}, {500, 340}})
            EXPECT_FALSE(PureWhite(Pixel(mask, x, y))) << folder << " " << x << "," << y;
    }
}

// The page shows these with white as the colour key: a white pixel would be
// a hole. The German default button is wider, as the German layout makes it.
TEST(MainPictures, KeyedProfilePicturesHaveNoWhiteAndTheirSizes)
{
    for (size_t language = 0; language < kSkinFolders.size(); ++language) {
        const char* folder = kSkinFolders[language];
        std::vector<std::pair<std::string, int>> keyed = {{"ProfileSavebutton1.png", 71},
                                                          {"ProfileSavebutton2.png", 71},
                                                          {"ProfileDefaultbutton1.png", language == 3 ? 96 : 71},
                                                          {"ProfileDefaultbutton2.png", language == 3 ? 96 : 71}};
        for (int profile = 1; profile <= 5; ++profile)
            for (int state = 1; state <= 3; ++state)
                keyed.emplace_back("Profile0" + std::to_string(profile) + "-" + std::to_string(state) + ".png", 172);
        for (const auto& [name, width] : keyed) {
            const platform::RgbaImage image = Load(folder, name);
            EXPECT_EQ(image.width, width) << folder << "/" << name;
            int white = 0;
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < image.width; ++x)
                    white += Pixel(image, x, y)[3] != 0 && PureWhite(Pixel(image, x, y)) ? 1 : 0;
            EXPECT_EQ(white, 0) << folder << "/" << name;
        }
    }
}

}  // namespace
