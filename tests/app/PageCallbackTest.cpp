// The page containers the main window's layouts name.
#include "app/DialogBuilderCallbackEx.h"
#include "app/NeritPageUI.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

namespace NeritApp {
namespace {

using namespace SkinUI;

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(PageCallback, EveryPageNameMakesItsPageAndNothingElseMakesOne)
{
    CDialogBuilderCallbackEx callback;
    const std::pair<const char16_t*, const char16_t*> pages[] = {
        {u"NeritMainControl", u"NeritMainControlUI"}, {u"NeritPerformance", u"NeritPerformanceUI"},
        {u"NeritMacro", u"NeritMacroManageUI"},       {u"NeritSupport", u"NeritSupportUI"},
        {u"OpticalSensor", u"MC_SensorOpticalUI"},    {u"HDSTSensor", u"MC_SensorHDSTUI"},
        {u"LaserSensor", u"MC_SensorLaserUI"},        {u"OnTheFlyDPI", u"MC_OnTheFlyDPIUI"},
        {u"NeritCalibration", u"NeritCalibrationUI"},
    };
    for (const auto& [element, className] : pages) {
        const std::unique_ptr<CControlUI> page = callback.CreateControl(element);
        ASSERT_TRUE(page) << Narrow(element);
        EXPECT_EQ(Narrow(page->GetClass()), Narrow(className));
        EXPECT_NE(page->GetContainer(), nullptr) << Narrow(element);
    }
    for (const char16_t* other : {u"neritmacro", u"NERITMACRO", u"NeritMacro ", u" NeritMacro", u"Neritmacro",
                                  u"NeritMacroX", u"Nerit", u"", u"Button", u"Container", u"hdstsensor"})
        EXPECT_FALSE(callback.CreateControl(other)) << "\"" << Narrow(other) << "\"";
    // The calibration page loads nothing.
    EXPECT_EQ(callback.CreateControl(u"NeritCalibration")->GetContainer()->GetCount(), 0);
}

TEST(PageCallback, PageHoldsItsLayoutAsOnlyChildOrStaysEmpty)
{
    // A layout that exists: its top control becomes the only child.
    constexpr NeritPageKind present{u"Present", u"PresentUI", 901, false};
    NeritPageUI page(present, nullptr);
    ASSERT_EQ(page.GetCount(), 1);
    EXPECT_EQ(Narrow(page.GetItemAt(0)->GetClass()), "HorizontalLayoutUI");
    EXPECT_EQ(page.GetItemAt(0)->GetParent(), &page);
    EXPECT_EQ(page.GetItemAt(0)->GetContainer()->GetCount(), 2);

    // No such layout: an empty page, not a failure.
    constexpr NeritPageKind missing{u"Missing", u"MissingUI", 64999, true};
    CDialogBuilderCallbackEx callback;
    NeritPageUI empty(missing, &callback);
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_EQ(Narrow(empty.GetClass()), "MissingUI");
}

// The main frame's layout as a page: the pages inside it are made only when
// the kind passes the callback on.
TEST(PageCallback, OnlyAPageThatPassesTheCallbackGetsNestedPages)
{
    CDialogBuilderCallbackEx callback;
    constexpr NeritPageKind passing{u"Frame", u"FrameUI", 189, true};
    constexpr NeritPageKind keeping{u"Frame", u"FrameUI", 189, false};
    NeritPageUI withPages(passing, &callback);
    NeritPageUI withoutPages(keeping, &callback);
    ASSERT_EQ(withPages.GetCount(), 1);
    ASSERT_EQ(withoutPages.GetCount(), 1);
    auto* tabs = CWindowUIManager::FindSubControl(&withPages, u"Tabs");
    auto* emptyTabs = CWindowUIManager::FindSubControl(&withoutPages, u"Tabs");
    ASSERT_TRUE(tabs && tabs->GetContainer());
    ASSERT_TRUE(emptyTabs && emptyTabs->GetContainer());
    ASSERT_EQ(tabs->GetContainer()->GetCount(), 4);
    EXPECT_EQ(Narrow(tabs->GetContainer()->GetItemAt(2)->GetClass()), "NeritMacroManageUI");
    EXPECT_EQ(emptyTabs->GetContainer()->GetCount(), 0);
}

// A page whose layout names the page itself stops nesting instead of
// recursing until the stack runs out.
TEST(PageCallback, APageNamedInsideItsOwnLayoutStops)
{
    struct SelfNaming : IDialogBuilderCallback {
        std::unique_ptr<CControlUI> CreateControl(std::u16string_view name) override
        {
            static constexpr NeritPageKind frame{u"NeritMainControl", u"FrameUI", 189, true};
            if (name != u"NeritMainControl")
                return nullptr;
            ++made;
            return std::make_unique<NeritPageUI>(frame, this);
        }
        int made = 0;
    } callback;
    const std::unique_ptr<CControlUI> page = callback.CreateControl(u"NeritMainControl");
    ASSERT_TRUE(page);
    EXPECT_GT(callback.made, 1);
    EXPECT_LE(callback.made, NeritPageUI::kMaxNesting + 1);
}

}  // namespace
}  // namespace NeritApp
