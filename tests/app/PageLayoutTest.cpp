// The performance, support and sensor pages beyond the names the program
// binds: option groups that keep one choice per setting, the options a page
// hides, and clickable controls that stay on the page without covering one
// another (a covered control never gets its click). A control may sit wholly
// on an earlier one, as the in-use switch sits on its profile card: later
// controls lie above and take the clicks there.
#include "app/BoundControls.h"
#include "app/WindowShapes.h"
#include "ui/IContainerUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/OptionUI.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace NeritApp {
namespace {

using namespace SkinUI;

constexpr int kPageWidth = 960;
constexpr int kPageHeight = 560;
constexpr int kFrameWidth = 1000;
constexpr int kFrameHeight = 680;

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }
std::u16string Widen(std::string_view text) { return std::u16string(text.begin(), text.end()); }

struct BuiltPage {
    CWindowUIManager manager;
    std::unique_ptr<CControlUI> root;

    // A window's layout sets the window's own attributes only on a manager
    // of a native window.
    explicit BuiltPage(unsigned id, bool window = false)
    {
        manager.SetHasNativeWindow(window);
        CLayoutBuilder builder;
        root = builder.Create(id, "xml", nullptr, &manager);
        if (root)
            manager.InitControls(root.get());
    }
    COptionUI* Option(const std::string& name)
    {
        return dynamic_cast<COptionUI*>(manager.FindControl(Widen(name)));
    }
};

struct GroupRule {
    unsigned layout;
    std::vector<std::string> options;
    std::string group;  // empty: each option stands alone
};

std::vector<std::string> Numbered(const std::string& head, const std::string& tail)
{
    std::vector<std::string> names;
    for (int n = 1; n <= 5; ++n)
        names.push_back(head + std::to_string(n) + tail);
    return names;
}

std::vector<GroupRule> GroupRules()
{
    std::vector<GroupRule> rules = {
        {Layout::kPerformancePage,
         {"usb_rate_125_option", "usb_rate_250_option", "usb_rate_500_option", "usb_rate_1000_option"},
         "group_usb_rate"},
        {Layout::kPerformancePage,
         {"power_save_no_option", "power_save_60s_option", "power_save_120s_option"},
         "group_power_save"},
        {Layout::kPerformancePage,
         {"ambient_light_no_option", "ambient_light_20s_option", "ambient_light_60s_option"},
         "group_ambient_light"},
        {Layout::kMainFrame, {"maincontrolbtn", "performancebtn", "macromanagebtn", "techsupportbtn"}, "kbtabs"},
        {Layout::kMainControlPage, Numbered("profile", "option"), "profilegroup"},
        {Layout::kMainControlPage, Numbered("profile", "_inuse_option"), ""},
        {Layout::kMacroPage, {"record_delay_option", "ignore_delay_option", "insert_default_delay_option"},
         "macro_delay"},
        {Layout::kPerformancePage, Numbered("kprofile", "option"), "group_kprofile"},
        {Layout::kPerformancePage, Numbered("kprofile", "_inuse_option"), ""},
    };
    for (int stage = 1; stage <= 4; ++stage) {
        for (const auto& [layout, family] : {std::pair{Layout::kOpticalSensorPage, "optical"},
                                             std::pair{Layout::kHdstSensorPage, "hdst"}}) {
            const std::string level = std::string(family) + "_level" + std::to_string(stage);
            GroupRule rule{layout, {}, "group_" + level};
            for (const char* dpi : {"400", "800", "1600", "3200", "4800"})
                rule.options.push_back(level + "_" + dpi + "_option");
            rules.push_back(rule);
        }
    }
    return rules;
}

TEST(PageLayout, EachSettingsOptionsShareOneGroupOfTheirOwn)
{
    for (const GroupRule& rule : GroupRules()) {
        BuiltPage page(rule.layout);
        ASSERT_TRUE(page.root) << rule.layout;
        for (const std::string& name : rule.options) {
            COptionUI* option = page.Option(name);
            ASSERT_NE(option, nullptr) << name;
            EXPECT_EQ(Narrow(option->GetGroup()), rule.group) << name;
        }
        // Choosing each option in turn leaves it the only one chosen.
        if (rule.group.empty())
            continue;
        for (const std::string& chosen : rule.options) {
            page.Option(chosen)->Selected(true);
            for (const std::string& name : rule.options)
                EXPECT_EQ(page.Option(name)->IsSelected(), name == chosen) << chosen << " then " << name;
        }
    }
}

TEST(PageLayout, TheOpticalSensorHidesOnlyItsMissingDpiTheHdstSensorShowsAll)
{
    BuiltPage optical(Layout::kOpticalSensorPage);
    BuiltPage hdst(Layout::kHdstSensorPage);
    for (int stage = 1; stage <= 4; ++stage) {
        for (const std::string dpi : {"400", "800", "1600", "3200", "4800"}) {
            const std::string tail = "_level" + std::to_string(stage) + "_" + dpi + "_option";
            ASSERT_NE(optical.Option("optical" + tail), nullptr) << tail;
            ASSERT_NE(hdst.Option("hdst" + tail), nullptr) << tail;
            EXPECT_EQ(optical.Option("optical" + tail)->IsVisible(), dpi != "4800") << "optical" << tail;
            EXPECT_TRUE(hdst.Option("hdst" + tail)->IsVisible()) << "hdst" << tail;
        }
    }
}

struct Placed {
    std::string name;
    int left, top, right, bottom;
};

bool Apart(const Placed& a, const Placed& b)
{
    return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
}

// `inner` lies within `outer` and leaves some of it free.
bool SmallerInside(const Placed& inner, const Placed& outer)
{
    const bool within = inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
                        inner.bottom <= outer.bottom;
    const bool same = inner.left == outer.left && inner.right == outer.right && inner.top == outer.top &&
                      inner.bottom == outer.bottom;
    return within && !same;
}

bool Clickable(CControlUI& control)
{
    const std::u16string_view cls = control.GetClass();
    return (cls == kButton || cls == kOption || cls == kSlider) && control.IsVisible() && control.IsMouseEnabled();
}

// The visible controls of a page that take clicks, where the page puts them.
// Floating groups count with their own floating controls (placed relative
// to the group); a group that lays out its controls itself counts as one
// block, and a list's rows are its own.
void CollectClickable(CControlUI& parent, int dx, int dy, std::vector<Placed>& placed)
{
    IContainerUI* container = parent.GetContainer();
    for (int i = 0; container && i < container->GetCount(); ++i) {
        CControlUI& control = *container->GetItemAt(i);
        const int x = dx + control.GetFixedX();
        const int y = dy + control.GetFixedY();
        const Placed where{Narrow(control.GetName()), x, y, x + control.GetFixedWidth(), y + control.GetFixedHeight()};
        if (Clickable(control)) {
            EXPECT_TRUE(control.IsFloat()) << where.name;
            placed.push_back(where);
            continue;
        }
        IContainerUI* group = control.GetContainer();
        if (group == nullptr || !control.IsVisible() || !control.IsFloat() || control.GetClass() == kList)
            continue;
        bool laidOut = false;
        for (int j = 0; j < group->GetCount(); ++j)
            laidOut = laidOut || (Clickable(*group->GetItemAt(j)) && !group->GetItemAt(j)->IsFloat());
        if (laidOut)
            placed.push_back({"group at " + std::to_string(x) + "," + std::to_string(y), where.left, where.top,
                              where.right, where.bottom});
        else
            CollectClickable(control, x, y, placed);
    }
}

std::vector<Placed> ClickableControls(CControlUI* root)
{
    std::vector<Placed> placed;
    CollectClickable(*root, 0, 0, placed);
    return placed;
}

TEST(PageLayout, ClickableControlsLieOnThePageAndCoverNoOther)
{
    for (unsigned id : {Layout::kMainFrame, Layout::kMacroPage, Layout::kMainControlPage, Layout::kPerformancePage,
                        Layout::kSupportPage, Layout::kHdstSensorPage, Layout::kLaserSensorPage,
                        Layout::kOpticalSensorPage, Layout::kOnTheFlyDpiPage}) {
        BuiltPage page(id);
        ASSERT_TRUE(page.root) << id;
        const int pageWidth = id == Layout::kMainFrame ? kFrameWidth : kPageWidth;
        const int pageHeight = id == Layout::kMainFrame ? kFrameHeight : kPageHeight;
        const std::vector<Placed> placed = ClickableControls(page.root.get());
        EXPECT_GE(placed.size(), 6u) << id;  // the support page has six
        for (size_t i = 0; i < placed.size(); ++i) {
            const Placed& a = placed[i];
            EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= pageWidth && a.bottom <= pageHeight &&
                        a.left < a.right && a.top < a.bottom)
                << id << " " << a.name;
            for (size_t j = i + 1; j < placed.size(); ++j) {
                const Placed& b = placed[j];
                EXPECT_TRUE(Apart(a, b) || SmallerInside(b, a)) << id << ": " << a.name << " and " << b.name << " overlap";
            }
        }
    }
}

// The layouts give each window the size, caption bar and corners the
// program opens it with.
TEST(PageLayout, WindowsHaveTheSizeCaptionAndCornersTheProgramNeeds)
{
    for (const WindowShape& shape : kWindowShapes) {
        SCOPED_TRACE("layout " + std::to_string(shape.layout));
        BuiltPage window(shape.layout, true);
        ASSERT_TRUE(window.root);
        const UISize size = window.manager.GetInitialSize();
        EXPECT_EQ(size.cx, shape.width);
        EXPECT_EQ(size.cy, shape.height);
        const UIRect caption = window.manager.GetCaptionRect();
        EXPECT_EQ(caption.top, 0);
        EXPECT_EQ(caption.bottom, shape.captionHeight);
        EXPECT_EQ(window.manager.GetRoundCorner().cx, shape.roundX);
        EXPECT_EQ(window.manager.GetRoundCorner().cy, shape.roundY);
    }
}

}  // namespace
}  // namespace NeritApp
