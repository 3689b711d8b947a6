// The main control page's hint labels: the left-click warning the code
// writes into them stays inside the assignment panel and fits on its line in
// every language.
#include "app/BoundControls.h"
#include "app/ProgramTexts.h"
#include "app/SkinImages.h"
#include "platform/CairoPainter.h"
#include "ui/LabelUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace NeritApp {
namespace {

using namespace SkinUI;

// The text without its underline markup, as it is drawn.
std::u16string Drawn(std::u16string_view text)
{
    std::u16string plain(text);
    for (const std::u16string_view tag : {u"{u}", u"{/u}"})
        for (size_t at = plain.find(tag); at != std::u16string::npos; at = plain.find(tag))
            plain.erase(at, tag.size());
    return plain;
}

// The main frame's font 4, the one the hint labels use.
constexpr int kHintFont = 4;
const platform::FontSpec kFrameFont4{u"Verdana", 11};

TEST(HintLabels, TheLeftClickWarningFitsInsideTheAssignmentPanel)
{
    CWindowUIManager manager;
    CLayoutBuilder builder;
    const std::unique_ptr<CControlUI> root = builder.Create(Layout::kMainControlPage, "xml", nullptr, &manager);
    ASSERT_TRUE(root);
    manager.InitControls(root.get());
    platform::CairoPainter painter(1, 1);
    int widest = 0;
    for (const std::u16string_view warning : kLeftClickWarning)
        widest = std::max(widest, painter.MeasureText(Drawn(warning), kFrameFont4, 0, 0).cx);
    EXPECT_GT(widest, 200);
    for (int n = 1; n <= 7; ++n) {
        const std::string name = "atleastoneleftLabel" + std::to_string(n);
        auto* label = dynamic_cast<CLabelUI*>(manager.FindControl(std::u16string(name.begin(), name.end())));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->GetFont(), kHintFont) << name;
        const ImageRect& panel = kAssignPanelArea;
        const int left = label->GetFixedX();
        const int top = label->GetFixedY();
        const int right = left + label->GetFixedWidth();
        const int bottom = top + label->GetFixedHeight();
        EXPECT_TRUE(left >= panel.left && top >= panel.top && right <= panel.right && bottom <= panel.bottom)
            << name << " at " << left << "," << top << "," << right << "," << bottom;
        const UIRect padding = label->GetTextPadding();
        EXPECT_LE(widest, right - left - padding.left - padding.right) << name << " cuts the warning (" << widest << " px)";
        EXPECT_GE(bottom - top, 14) << name;
    }
}

}  // namespace
}  // namespace NeritApp
