// The drawn pictures of the main window against what the program assumes of
// them: the picture labels on the mouse picture's button areas, the sensor
// title, and no pure white where the page uses white as colour key.
#include "app/LanguageGeometry.h"
#include "app/SkinImages.h"
#include "app/SkinLanguages.h"
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

using NeritApp::ImageRect;
using NeritApp::kMouseButtonAreas;
using NeritApp::kSensorTitleArea;
using NeritApp::kSkinLanguages;

platform::RgbaImage Load(std::string_view folder, std::string_view name)
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

bool PureWhite(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

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
        const ImageRect& area = kMouseButtonAreas[i];
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
    for (const auto& language : kSkinLanguages) {
        const std::string_view folder = language.folder;
        const platform::RgbaImage picture = Load(folder, NeritApp::kMouseImage);
        ASSERT_EQ(picture.width, 960);
        int bright = 0;
        for (int y = kSensorTitleArea.top; y < kSensorTitleArea.bottom; ++y)
            for (int x = kSensorTitleArea.left; x < kSensorTitleArea.right; ++x)
                bright += Pixel(picture, x, y)[0] > 200 && Pixel(picture, x, y)[1] > 200 ? 1 : 0;
        EXPECT_GT(bright, 40) << folder;
    }
}

// The page shows these with white as the colour key: a white pixel would be
// a hole. The German default button is wider, as the German layout makes it.
TEST(MainPictures, KeyedProfilePicturesHaveNoWhiteAndTheirSizes)
{
    for (size_t language = 0; language < std::size(kSkinLanguages); ++language) {
        const std::string_view folder = kSkinLanguages[language].folder;
        std::vector<std::pair<std::string, int>> keyed = {{"ProfileSavebutton1.png", 71},
                                                          {"ProfileSavebutton2.png", 71},
                                                          {"ProfileDefaultbutton1.png", language == NeritApp::kGermanLanguage ? 96 : 71},
                                                          {"ProfileDefaultbutton2.png", language == NeritApp::kGermanLanguage ? 96 : 71}};
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
