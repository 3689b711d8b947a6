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
    Layout::kConfirmationPopup,
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
    return LoadImage(platform::Utf8ToUtf16(name), u"", 0, {folder, ""});
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

bool IsWhite(uint32_t pixel) { return pixel == 0xFFFFFFFF; }

TEST(SkinCheck, MaskGivesTheWindowSizeWithCornersOutside)
{
    for (const SkinLanguage& language : kSkinLanguages) {
        const auto mask = LoadFrom(Folder(language), kMaskImage);
        ASSERT_TRUE(mask) << language.folder;
        ASSERT_EQ(mask->width, 1000) << language.folder;
        ASSERT_EQ(mask->height, 680) << language.folder;
        const auto at = [&](int x, int y) { return mask->pixels[static_cast<size_t>(y) * mask->width + x]; };
        EXPECT_TRUE(IsWhite(at(0, 0)) && IsWhite(at(999, 0)) && IsWhite(at(0, 679)) && IsWhite(at(999, 679)))
            << language.folder << ": the corners are inside the window";
        EXPECT_FALSE(IsWhite(at(500, 340))) << language.folder << ": the middle is outside the window";
        EXPECT_FALSE(IsWhite(at(500, 2)) || IsWhite(at(2, 340))) << language.folder << ": the edges are outside";
    }
}

// ---- the mouse picture ---------------------------------------------------

// How far outside a button area the highlight picture may still differ
// (anti-aliased outlines), and how far inside its sides the highlight must
// reach.
constexpr int kHighlightMargin = 3;
constexpr int kHighlightReach = 4;
// A pixel this far (sum of channel differences) from another is a visible
// change, not a shade of the same colour.
constexpr int kVisible = 24;

bool Inside(const ImageRect& r, int x, int y, int grow = 0)
{
    return x >= r.left - grow && x < r.right + grow && y >= r.top - grow && y < r.bottom + grow;
}

bool InAnyArea(int x, int y, int grow)
{
    for (const ImageRect& area : kMouseButtonAreas)
        if (Inside(area, x, y, grow))
            return true;
    return false;
}

uint32_t PixelOf(const ImageData& image, int x, int y) { return image.pixels[static_cast<size_t>(y) * image.width + x]; }

// The sum of the channel differences of two colours (0 .. 4 * 255).
int Distance(uint32_t a, uint32_t b)
{
    int sum = 0;
    for (int shift = 0; shift < 32; shift += 8)
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
            ++counts[PixelOf(image, x, y)];
    const uint32_t common =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    int standing = 0;
    for (const auto& [pixel, count] : counts)
        standing += Distance(pixel, common) > kVisible ? count : 0;
    return static_cast<double>(standing) / ((area.right - area.left) * (area.bottom - area.top));
}

// Where the highlight picture visibly differs from the plain one around an
// area, and how many pixels of the area itself differ.
struct Highlight {
    ImageRect bounds{1 << 20, 1 << 20, -1, -1};
    int changedInside = 0;
};

Highlight FindHighlight(const ImageData& plain, const ImageData& highlight, const ImageRect& area)
{
    Highlight found;
    for (int y = area.top - kHighlightMargin; y < area.bottom + kHighlightMargin; ++y) {
        for (int x = area.left - kHighlightMargin; x < area.right + kHighlightMargin; ++x) {
            if (Distance(PixelOf(plain, x, y), PixelOf(highlight, x, y)) <= kVisible)
                continue;
            found.changedInside += Inside(area, x, y);
            found.bounds = {std::min(found.bounds.left, x), std::min(found.bounds.top, y),
                            std::max(found.bounds.right, x + 1), std::max(found.bounds.bottom, y + 1)};
        }
    }
    return found;
}

bool ReachesTheSides(const ImageRect& bounds, const ImageRect& area)
{
    return std::abs(bounds.left - area.left) <= kHighlightReach && std::abs(bounds.top - area.top) <= kHighlightReach &&
           std::abs(bounds.right - area.right) <= kHighlightReach &&
           std::abs(bounds.bottom - area.bottom) <= kHighlightReach;
}

TEST(SkinCheck, MouseButtonAreasAreWhereTheCodeDrawsThem)
{
    for (const SkinLanguage& language : kSkinLanguages) {
        SCOPED_TRACE(language.folder);
        const auto plain = LoadFrom(Folder(language), kMouseImage);
        const auto highlight = LoadFrom(Folder(language), kMouseHighlightImage);
        ASSERT_TRUE(plain && highlight);
        ASSERT_EQ(plain->width, 960);
        ASSERT_EQ(plain->height, 560);
        ASSERT_EQ(highlight->width, plain->width);
        ASSERT_EQ(highlight->height, plain->height);
        int button = 0;
        for (const ImageRect& area : kMouseButtonAreas) {
            ++button;
            EXPECT_GE(DrawnShare(*plain, area), 0.03) << "nothing drawn at button " << button;
            const Highlight lit = FindHighlight(*plain, *highlight, area);
            const int pixels = (area.right - area.left) * (area.bottom - area.top);
            EXPECT_GE(lit.changedInside * 3, pixels) << "button " << button << " is not highlighted";
            EXPECT_TRUE(ReachesTheSides(lit.bounds, area))
                << "the highlight of button " << button << " spans " << lit.bounds.left << "," << lit.bounds.top
                << "," << lit.bounds.right << "," << lit.bounds.bottom;
        }
        int strayDifferences = 0;
        for (int y = 0; y < plain->height; ++y)
            for (int x = 0; x < plain->width; ++x)
                strayDifferences += !InAnyArea(x, y, kHighlightMargin) && PixelOf(*plain, x, y) != PixelOf(*highlight, x, y);
        EXPECT_EQ(strayDifferences, 0) << "the highlight picture differs away from the button areas";
    }
}

}  // namespace
}  // namespace NeritApp
