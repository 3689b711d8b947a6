// The drawn pictures of the macro page and the popups against what the
// program does with them: the colour keys it draws them with, the widths it
// gives the buttons per language, the sizes of the labels that show them.
#include "app/LanguageGeometry.h"
#include "app/SkinLanguages.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/IContainerUI.h"
#include "ui/ImageDescription.h"
#include "ui/ImageLoader.h"
#include "ui/LayoutBuilder.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace SkinUI;

constexpr int kGerman = NeritApp::kGermanLanguage;
constexpr int kLanguages = static_cast<int>(std::size(NeritApp::kSkinLanguages));

std::string Folder(int language) { return std::string(NeritApp::kSkinLanguages[language].folder); }
constexpr uint32_t kWhiteKey = 0xFFFFFFFF;
constexpr uint32_t kBlackKey = 0xFF000000;
constexpr uint32_t kNoKey = 0;

std::optional<ImageData> Load(int language, const std::string& name, uint32_t mask = kNoKey)
{
    std::ifstream file(std::string(NERIT_SKIN_DIR) + "/" + Folder(language) + "/" + name, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return SkinUI::DecodeImage(bytes, mask);
}

uint32_t At(const ImageData& image, int x, int y) { return image.pixels[static_cast<size_t>(y) * image.width + x]; }

int CountPixels(const ImageData& image, uint32_t value)
{
    int count = 0;
    for (uint32_t pixel : image.pixels)
        count += pixel == value;
    return count;
}

// The record button blinks between two pictures that the program draws with
// white as their colour key: a pure white pixel would be a hole. German
// makes the button wider, and its pictures with it.
TEST(MacroPictures, RecordPicturesKeepClearOfTheirColourKeyAndFitTheButton)
{
    for (int language = 0; language < kLanguages; ++language) {
        for (const char* name : {"MacroRecord1.png", "MacroRecord2.png", "macro_record_hot.png"}) {
            const auto image = Load(language, name);
            ASSERT_TRUE(image) << Folder(language) << "/" << name;
            EXPECT_EQ(CountPixels(*image, kWhiteKey), 0) << Folder(language) << "/" << name;
            EXPECT_EQ(image->width, language == kGerman ? 143 : 114) << Folder(language) << "/" << name;
            EXPECT_EQ(image->height, 36) << name;
        }
        // The pair must differ, or nothing blinks.
        EXPECT_NE(Load(language, "MacroRecord1.png")->pixels, Load(language, "MacroRecord2.png")->pixels);
    }
}

// The delay buttons are widened for German by the program; their pictures
// must have the same widths so that the words are not squeezed.
TEST(MacroPictures, DelayButtonsHaveTheWidthsTheProgramGivesThem)
{
    struct Button {
        const char* stem;
        int width;
        int germanWidth;
    };
    for (const Button& button : {Button{"macro_insert_delay_btn", 169, 222}, Button{"macro_edit_delay_btn", 169, 234}})
        for (int language = 0; language < kLanguages; ++language)
            for (int state = 1; state <= 3; ++state) {
                const std::string name = std::string(button.stem) + std::to_string(state) + ".png";
                const auto image = Load(language, name);
                ASSERT_TRUE(image) << Folder(language) << "/" << name;
                EXPECT_EQ(image->width, language == kGerman ? button.germanWidth : button.width)
                    << Folder(language) << "/" << name;
            }
}

// Event icons are 14 x 14; the delay icon is drawn with black as its colour
// key, so its corners vanish while its sign stays.
TEST(MacroPictures, EventIconsAreSmallAndTheDelayIconStandsOnItsKey)
{
    for (int language = 0; language < kLanguages; ++language) {
        for (const char* name : {"MacroSignTimer.bmp", "MacroSignDown.bmp", "MacroSignUp.bmp", "MacroSignMouse2.bmp"}) {
            const auto image = Load(language, name);
            ASSERT_TRUE(image) << Folder(language) << "/" << name;
            EXPECT_EQ(image->width, 14) << name;
            EXPECT_EQ(image->height, 14) << name;
        }
        const auto timer = Load(language, "MacroSignTimer.bmp", kBlackKey);
        EXPECT_EQ(At(*timer, 0, 0), 0u);
        EXPECT_EQ(At(*timer, 13, 13), 0u);
        EXPECT_LT(CountPixels(*timer, 0), 14 * 14 - 20) << "the sign is missing";
        // The other icons are shown without a key: their tiles must be opaque.
        EXPECT_EQ(CountPixels(*Load(language, "MacroSignDown.bmp", kBlackKey), 0), 0);

        // The name rows show the part '123,0,318,18' of this picture.
        const auto hot = Load(language, "MacroName_hot.png");
        ASSERT_TRUE(hot);
        EXPECT_GE(hot->width, 318);
        EXPECT_GE(hot->height, 18);
    }
}

// Every picture a control of these layouts shows whole (no dest, source or
// corner given) has the control's size, so that no word is stretched.
// German widens the three buttons whose widths the program sets.
std::vector<std::u16string> ImagesOf(CControlUI& control)
{
    std::vector<std::u16string> images{control.GetBkImage()};
    if (auto* button = dynamic_cast<CButtonUI*>(&control))
        images.insert(images.end(), {button->GetNormalImage(), button->GetHotImage(), button->GetPushedImage()});
    if (auto* edit = dynamic_cast<CEditUI*>(&control))
        images.insert(images.end(), {edit->GetNormalImage(), edit->GetHotImage(), edit->GetFocusedImage()});
    if (auto* combo = dynamic_cast<CComboUI*>(&control))
        images.insert(images.end(), {combo->GetNormalImage(), combo->GetHotImage(), combo->GetPushedImage()});
    return images;
}

bool WidenedForGerman(const CControlUI& control)
{
    const std::u16string& name = control.GetName();
    return name == u"macro_record_btn" || name == u"insert_delay_time_btn" || name == u"edit_delay_time_btn";
}

void CheckPictures(CControlUI& control, int language, UISize size, int& checked)
{
    for (const std::u16string& text : ImagesOf(control)) {
        const ImageDescription description = ImageDescription::Parse(text);
        if (description.file.empty() || description.hasDest || description.hasSource ||
            description.corner != UIRect{} || (language == kGerman && WidenedForGerman(control)))
            continue;
        const std::string file(description.file.begin(), description.file.end());
        const auto image = Load(language, file);
        ASSERT_TRUE(image) << Folder(language) << "/" << file;
        EXPECT_EQ(image->width, size.cx) << Folder(language) << "/" << file;
        EXPECT_EQ(image->height, size.cy) << Folder(language) << "/" << file;
        ++checked;
    }
    if (IContainerUI* container = control.GetContainer())
        for (int i = 0; i < container->GetCount(); ++i) {
            CControlUI* child = container->GetItemAt(i);
            CheckPictures(*child, language, {child->GetFixedWidth(), child->GetFixedHeight()}, checked);
        }
}

TEST(MacroPictures, PicturesHaveTheSizesOfTheControlsShowingThem)
{
    struct Layout {
        unsigned id;
        UISize size;  // of the page or the popup window
    };
    constexpr Layout kLayouts[] = {
        {190, {960, 560}}, {194, {658, 294}}, {195, {305, 206}}, {196, {627, 296}}, {197, {660, 294}}};
    for (int language = 0; language < kLanguages; ++language)
        for (const Layout& layout : kLayouts) {
            CLayoutBuilder builder;
            const std::unique_ptr<CControlUI> root = builder.CreateDetached(layout.id, "xml", nullptr, nullptr);
            ASSERT_TRUE(root) << "layout " << layout.id;
            int checked = 0;
            CheckPictures(*root, language, layout.size, checked);
            EXPECT_GE(checked, 5) << "layout " << layout.id;
        }
}

}  // namespace
