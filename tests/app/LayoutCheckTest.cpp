// The program's layouts against the controls the program binds by name.
#include "app/BoundControls.h"
#include "ui/LayoutBuilder.h"
#include "ui/SliderUI.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace NeritApp {
namespace {

using namespace SkinUI;

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

struct BuiltLayout {
    CWindowUIManager manager;
    std::unique_ptr<CControlUI> root;
};

std::unique_ptr<BuiltLayout> Build(unsigned id)
{
    auto built = std::make_unique<BuiltLayout>();
    CLayoutBuilder builder;
    built->root = builder.Create(id, "xml", nullptr, &built->manager);
    if (built->root)
        built->manager.InitControls(built->root.get());
    return built;
}

TEST(LayoutCheck, EveryBoundControlIsInItsLayoutWithItsClassAndRange)
{
    std::map<unsigned, std::unique_ptr<BuiltLayout>> layouts;
    for (const BoundControl& bound : kBoundControls) {
        auto& built = layouts[bound.layout];
        if (!built) {
            built = Build(bound.layout);
            EXPECT_TRUE(built->root) << "layout " << bound.layout << " does not build";
        }
        if (!built->root)
            continue;
        for (const std::u16string& name : ExpandBoundName(bound)) {
            CControlUI* control = built->manager.FindControl(name);
            if (!control) {
                ADD_FAILURE() << "layout " << bound.layout << " has no \"" << Narrow(name) << "\"";
                continue;
            }
            EXPECT_EQ(Narrow(control->GetClass()), Narrow(bound.className)) << Narrow(name);
            if (auto* slider = dynamic_cast<CSliderUI*>(control); slider && bound.minimum < bound.maximum) {
                EXPECT_EQ(slider->GetMinValue(), bound.minimum) << Narrow(name);
                EXPECT_EQ(slider->GetMaxValue(), bound.maximum) << Narrow(name);
            }
        }
    }
}

TEST(LayoutCheck, TableNamesAreUniqueWithinALayout)
{
    std::set<std::pair<unsigned, std::u16string>> seen;
    for (const BoundControl& bound : kBoundControls)
        for (const std::u16string& name : ExpandBoundName(bound))
            EXPECT_TRUE(seen.emplace(bound.layout, name).second) << Narrow(name);
    EXPECT_EQ(ExpandBoundName({0, "a#b", 2, 4, u""}), (std::vector<std::u16string>{u"a2b", u"a3b", u"a4b"}));
}

}  // namespace
}  // namespace NeritApp
