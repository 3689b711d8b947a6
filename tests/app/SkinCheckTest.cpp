// The skin folders of the build tree against the layouts and the code: every
// image named exists in every language, every layout builds with every
// skin, the window mask and the mouse picture are where the code expects.
#include "app/BoundControls.h"
#include "app/DialogBuilderCallbackEx.h"
#include "app/SkinImages.h"
#include "app/SkinLanguages.h"
#include "platform/Utf16.h"
#include "tests/app/LayoutImageNames.h"
#include "ui/IContainerUI.h"
#include "ui/ImageLoader.h"
#include "ui/LayoutBuilder.h"
#include "ui/Resources.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace NeritApp {
namespace {

using namespace SkinUI;

// Every layout the program loads.
constexpr unsigned kLayouts[] = {
    Layout::kHdstSensorPage, Layout::kLaserSensorPage, Layout::kOpticalSensorPage, Layout::kOnTheFlyDpiPage,
    Layout::kMainFrame,      Layout::kMacroPage,       Layout::kMainControlPage,   Layout::kPerformancePage,
    Layout::kSupportPage,    Layout::kPlayOptionPopup, Layout::kMessageBox,        Layout::kKeyPopup,
    Layout::kConfirmationPopup, Layout::kExitChangesPopup,
};

// The build's skin folders, or others named by NERIT_SKIN_DIR in the
// environment.
std::string SkinRoot()
{
    const char* other = std::getenv("NERIT_SKIN_DIR");
    return other != nullptr && *other != '\0' ? other : NERIT_SKIN_DIR;
}
std::string Folder(const SkinLanguage& language) { return SkinRoot() + "/" + std::string(language.folder); }

std::optional<ImageData> LoadFrom(const std::string& folder, std::string_view name)
{
    return LoadImage(platform::Utf8ToUtf16(name), u"", 0, {folder, ""}).image;
}

std::optional<std::u16string> LayoutText(unsigned id)
{
    const auto bytes = FindResource(id, "xml");
    if (!bytes)
        return std::nullopt;
    return platform::Utf8ToUtf16({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
}

TEST(SkinCheck, EveryImageOfTheLayoutsAndTheCodeIsInEverySkinFolder)
{
    std::set<std::u16string> names;
    for (const unsigned id : kLayouts) {
        const auto text = LayoutText(id);
        if (!text) {
            ADD_FAILURE() << "no layout " << id;
            continue;
        }
        EXPECT_TRUE(CollectLayoutImages(*text, names)) << "layout " << id << " does not parse";
    }
    for (const std::string_view name : kCodeImages)
        names.insert(platform::Utf8ToUtf16(name));
    for (const SkinLanguage& language : kSkinLanguages) {
        for (const std::u16string& name : names) {
            const std::string file = platform::Utf16ToUtf8(name);
            EXPECT_TRUE(LoadFrom(Folder(language), file)) << language.folder << "/" << file << " is missing or broken";
        }
    }
}

// The frame's tabs hold the four pages, each with its layout inside.
void ExpectFramePages(CWindowUIManager& manager)
{
    CControlUI* tabs = manager.FindControl(u"Tabs");
    ASSERT_TRUE(tabs && tabs->GetContainer());
    IContainerUI& pages = *tabs->GetContainer();
    ASSERT_EQ(pages.GetCount(), 4);
    const std::u16string_view classes[] = {u"NeritMainControlUI", u"NeritPerformanceUI", u"NeritMacroManageUI",
                                           u"NeritSupportUI"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(pages.GetItemAt(i)->GetClass() == classes[i]) << "page " << i;
        ASSERT_TRUE(pages.GetItemAt(i)->GetContainer());
        EXPECT_EQ(pages.GetItemAt(i)->GetContainer()->GetCount(), 1) << "page " << i << " holds no layout";
    }
}

void ExpectFrameFonts(const CWindowUIManager& manager)
{
    const std::pair<std::u16string_view, int> fonts[] = {
        {u"Verdana", 14}, {u"Verdana", 12}, {u"Microsoft JhengHei", 14}, {u"微软雅黑", 14}, {u"Verdana", 11}};
    ASSERT_GE(manager.GetFontCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(manager.GetFont(i)->face == fonts[i].first) << "font " << i;
        EXPECT_EQ(manager.GetFont(i)->size, fonts[i].second) << "font " << i;
    }
}

TEST(SkinCheck, EveryLayoutBuildsWithEverySkin)
{
    for (const SkinLanguage& language : kSkinLanguages) {
        for (const unsigned id : kLayouts) {
            SCOPED_TRACE(std::string(language.folder) + " layout " + std::to_string(id));
            CWindowUIManager manager;
            manager.SetResourcePath(Folder(language));
            CDialogBuilderCallbackEx callback;
            CLayoutBuilder builder;
            std::unique_ptr<CControlUI> root = builder.Create(id, "xml", &callback, &manager);
            EXPECT_EQ(static_cast<int>(builder.LastError()), static_cast<int>(CLayoutBuilder::BuildError::None))
                << platform::Utf16ToUtf8(builder.Markup().ErrorMessage());
            if (!root) {
                ADD_FAILURE() << "nothing built";
                continue;
            }
            manager.InitControls(root.get());
            if (id == Layout::kMainFrame) {
                ExpectFramePages(manager);
                ExpectFrameFonts(manager);
            }
        }
    }
}

// The colour without its alpha byte: bitmaps carry none.
uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }
bool IsWhite(uint32_t pixel) { return Rgb(pixel) == 0xFFFFFF; }
uint32_t PixelOf(const ImageData& image, int x, int y) { return image.pixels[static_cast<size_t>(y) * image.width + x]; }

TEST(SkinCheck, MaskGivesTheWindowSizeWithRoundedCornersOutside)
{
    for (const SkinLanguage& language : kSkinLanguages) {
        SCOPED_TRACE(language.folder);
        const auto mask = LoadFrom(Folder(language), kMaskImage);
        ASSERT_TRUE(mask);
        ASSERT_EQ(mask->width, 1000);
        ASSERT_EQ(mask->height, 680);
        const auto at = [&](int x, int y) { return PixelOf(*mask, x, y); };
        for (const auto& [x, y] : {std::pair{0, 0}, {999, 0}, {0, 679}, {999, 679}})
            EXPECT_TRUE(IsWhite(at(x, y))) << "corner " << x << "," << y << " is inside the window";
        // The edges between the corners, and the middle, are inside the window.
        for (const auto& [x, y] : {std::pair{500, 0}, {500, 679}, {0, 340}, {999, 340}, {500, 340}, {500, 2}, {2, 340}})
            EXPECT_FALSE(IsWhite(at(x, y))) << x << "," << y << " is outside the window";
    }
}

// ---- the mouse picture ---------------------------------------------------

// How far the visible changes of the highlight may end inside each side of
// a button area (anti-aliased outlines): a shift of 2 pixels fails.
constexpr int kHighlightReach = 1;
// A pixel this far (sum of channel differences) from another is a visible
// change, not a shade of the same colour.
constexpr int kVisible = 24;

bool Inside(const ImageRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool InAnyArea(int x, int y)
{
    for (const ImageRect& area : kMouseButtonAreas)
        if (Inside(area, x, y))
            return true;
    return false;
}

// The sum of the channel differences of two colours (0 .. 3 * 255).
int Distance(uint32_t a, uint32_t b)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

// The share of the pixels in and just around the area that stand out from
// their most common colour: an outline, a fill or ribs drawn there, not a
// flat stretch of the mouse's body.
double DrawnShare(const ImageData& image, const ImageRect& button)
{
    constexpr int kAround = 2;
    const ImageRect area{button.left - kAround, button.top - kAround, button.right + kAround,
                         button.bottom + kAround};
    std::map<uint32_t, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ++counts[Rgb(PixelOf(image, x, y))];
    const uint32_t common =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    int standing = 0;
    for (const auto& [pixel, count] : counts)
        standing += Distance(pixel, common) > kVisible ? count : 0;
    return static_cast<double>(standing) / ((area.right - area.left) * (area.bottom - area.top));
}

// How the highlight picture differs from the plain one inside an area: the
// pixels that differ at all, and the bounds of the visible changes.
struct Highlight {
    ImageRect bounds{1 << 20, 1 << 20, -1, -1};
    int changed = 0;
    int visible = 0;
};

Highlight FindHighlight(const ImageData& plain, const ImageData& highlight, const ImageRect& area)
{
    Highlight found;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const uint32_t a = PixelOf(plain, x, y);
            const uint32_t b = PixelOf(highlight, x, y);
            found.changed += Rgb(a) != Rgb(b);
            if (Distance(a, b) <= kVisible)
                continue;
            ++found.visible;
            found.bounds = {std::min(found.bounds.left, x), std::min(found.bounds.top, y),
                            std::max(found.bounds.right, x + 1), std::max(found.bounds.bottom, y + 1)};
        }
    }
    return found;
}

bool ReachesTheSides(const ImageRect& bounds, const ImageRect& area)
{
    return bounds.left - area.left <= kHighlightReach && bounds.top - area.top <= kHighlightReach &&
           area.right - bounds.right <= kHighlightReach && area.bottom - bounds.bottom <= kHighlightReach;
}

// The pixels of the two pictures that differ outside every button area.
int StrayDifferences(const ImageData& plain, const ImageData& other)
{
    int stray = 0;
    for (int y = 0; y < plain.height; ++y)
        for (int x = 0; x < plain.width; ++x)
            stray += !InAnyArea(x, y) && Rgb(PixelOf(plain, x, y)) != Rgb(PixelOf(other, x, y));
    return stray;
}

// MCBox2 (lit) and MCBox3 (pressed) differ from MCBox only inside the seven
// areas the code cuts out, fill most of each, and the lit one reaches every
// side of each area.
void ExpectVariant(const ImageData& plain, std::string_view name, const ImageData& variant, bool lit)
{
    SCOPED_TRACE(std::string(name));
    ASSERT_EQ(variant.width, plain.width);
    ASSERT_EQ(variant.height, plain.height);
    EXPECT_EQ(StrayDifferences(plain, variant), 0) << "changed pixels outside the button areas";
    int button = 0;
    for (const ImageRect& area : kMouseButtonAreas) {
        ++button;
        const Highlight found = FindHighlight(plain, variant, area);
        const int pixels = (area.right - area.left) * (area.bottom - area.top);
        EXPECT_GT(found.changed * 2, pixels) << "button " << button << " is not filled";
        if (!lit)
            continue;
        EXPECT_GE(found.visible * 3, pixels) << "button " << button << " is not highlighted";
        EXPECT_TRUE(ReachesTheSides(found.bounds, area))
            << "the highlight of button " << button << " spans " << found.bounds.left << "," << found.bounds.top
            << "," << found.bounds.right << "," << found.bounds.bottom;
    }
}

TEST(SkinCheck, MouseButtonAreasAreExactlyWhereTheCodeDrawsThem)
{
    for (const SkinLanguage& language : kSkinLanguages) {
        SCOPED_TRACE(language.folder);
        const auto plain = LoadFrom(Folder(language), kMouseImage);
        ASSERT_TRUE(plain);
        ASSERT_EQ(plain->width, 960);
        ASSERT_EQ(plain->height, 560);
        int button = 0;
        for (const ImageRect& area : kMouseButtonAreas)
            EXPECT_GE(DrawnShare(*plain, area), 0.03) << "nothing drawn at button " << ++button;
        for (const std::string_view name : {kMouseHighlightImage, kMousePressedImage}) {
            const auto variant = LoadFrom(Folder(language), name);
            ASSERT_TRUE(variant) << name;
            ExpectVariant(*plain, name, *variant, name == kMouseHighlightImage);
        }
    }
}

}  // namespace
}  // namespace NeritApp
