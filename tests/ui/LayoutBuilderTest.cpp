#include "ui/ButtonUI.h"
#include "ui/DialogLayoutUI.h"
#include "ui/IContainerUI.h"
#include "ui/LabelUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/OptionUI.h"
#include "ui/Resources.h"
#include "ui/VerticalLayoutUI.h"
#include "ui/WindowUIManager.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace SkinUI {
namespace {

class PageCallback final : public IDialogBuilderCallback {
public:
    std::unique_ptr<CControlUI> CreateControl(std::u16string_view className) override
    {
        asked.emplace_back(className);
        if (className == u"NeritMacro")
            return std::make_unique<CVerticalLayoutUI>();
        return nullptr;
    }
    std::vector<std::u16string> asked;
};

TEST(LayoutBuilder, SettingsDefaultsAndOwnAttributes)
{
    CWindowUIManager manager;
    manager.SetHasNativeWindow(true);
    CLayoutBuilder builder;
    auto root = builder.CreateDetached(
        u"<Window size=\"640,480\" caption=\"0,0,0,30\" alpha=\"200\">"
        u"<Font name=\"Verdana\" size=\"12\"/><Font name=\"Arial\" size=\"16\" bold=\"true\" default=\"true\"/>"
        u"<Image name=\"bg.png\" mask=\"FF00FF\"/>"
        u"<Default name=\"Button\" value=\"textcolor=&quot;#FF112233&quot; font=&quot;0&quot;\"/>"
        u"<VerticalLayout name=\"page\">"
        u"  <Button name=\"own\" textcolor=\"FF445566\" font=\"1\" visible=\"True\"/>"
        u"  <Button name=\"plain\"/>"
        u"  <Mystery><Button name=\"hidden\"/></Mystery>"
        u"  <Label name=\"label\" text=\"Hi\" bkcolor=\"#FF000000\" textcolor=\"FF000000\"/>"
        u"</VerticalLayout></Window>",
        nullptr, &manager);
    ASSERT_TRUE(root);
    EXPECT_EQ(manager.GetInitialSize().cx, 640);
    EXPECT_EQ(manager.GetAlpha(), 200);
    ASSERT_EQ(manager.GetFontCount(), 2);
    EXPECT_EQ(manager.GetFont(1)->face, u"Arial");
    EXPECT_TRUE(manager.GetFont(1)->bold);
    ASSERT_NE(manager.GetImage(u"bg.png"), nullptr);
    EXPECT_EQ(manager.GetImage(u"bg.png")->mask, 0xFF00FFu);

    manager.InitControls(root.get());
    auto* own = dynamic_cast<CButtonUI*>(manager.FindControl(u"own"));
    auto* plain = dynamic_cast<CButtonUI*>(manager.FindControl(u"plain"));
    ASSERT_NE(own, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(own->GetTextColor(), 0xFF445566u);  // its own value wins over the default
    EXPECT_EQ(plain->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(own->GetFont(), 1);
    EXPECT_FALSE(own->IsVisible());  // only the exact "true" is true
    EXPECT_EQ(manager.FindControl(u"hidden"), nullptr);  // an unknown tag goes with its children
    auto* label = dynamic_cast<CLabelUI*>(manager.FindControl(u"label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetTextColor(), 0xFF000000u);
    EXPECT_EQ(root->GetContainer()->GetCount(), 3);
}

TEST(LayoutBuilder, IncludeCallbackStretchAndFailures)
{
    CWindowUIManager manager;
    PageCallback callback;
    CVerticalLayoutUI parent;
    CLayoutBuilder builder;
    CControlUI* first = builder.Create(
        u"<Window><Include source=\"&lt;Window&gt;&lt;Button/&gt;&lt;Label/&gt;&lt;/Window&gt;\" count=\"3\"/>"
        u"<NeritMacro name=\"macro\"/><Unknown/>"
        u"<DialogLayout><Button name=\"s\" stretch=\"move_x size_y\"/></DialogLayout></Window>",
        &callback, &manager, parent);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(parent.GetCount(), 3 * 2 + 2);
    EXPECT_EQ(callback.asked, (std::vector<std::u16string>{u"NeritMacro", u"Unknown"}));
    auto* dialog = dynamic_cast<CDialogLayoutUI*>(parent.GetItemAt(7));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetStretchMode(dialog->GetItemAt(0)), 4u | 32u);

    // A malformed layout builds nothing and keeps its error.
    EXPECT_EQ(builder.Create(u"<Window><Button></Window>", nullptr, &manager, parent), nullptr);
    EXPECT_EQ(builder.Markup().ErrorMessage(), u"Unmatched closing tag");
    EXPECT_EQ(parent.GetCount(), 8);
    // A parent that takes no children stops the build.
    CButtonUI button;
    EXPECT_EQ(builder.Create(u"<Window><Label/></Window>", nullptr, nullptr, button), nullptr);
    // A missing resource or file builds nothing.
    EXPECT_EQ(builder.Create(4242u, "xml", nullptr, &manager, parent), nullptr);
    EXPECT_EQ(builder.Create(u"no-such-layout.xml", nullptr, &manager, parent), nullptr);
    // Includes of includes stop at a fixed depth instead of recursing forever.
    std::u16string nested = u"<Window><Button/></Window>";
    for (int depth = 0; depth < 12; ++depth) {
        std::u16string escaped;
        for (char16_t c : nested)
            escaped += c == u'<' ? u"&lt;" : c == u'>' ? u"&gt;" : c == u'"' ? u"&quot;" : c == u'&' ? u"&amp;" : std::u16string(1, c);
        nested = u"<Window><Include source=\"" + escaped + u"\"/></Window>";
    }
    CVerticalLayoutUI deep;
    builder.Create(nested, nullptr, nullptr, deep);
    EXPECT_EQ(deep.GetCount(), 0);
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::TooDeep);
}

std::u16string Escaped(std::u16string_view xml)
{
    std::u16string escaped;
    for (char16_t c : xml)
        escaped += c == u'<' ? u"&lt;" : c == u'>' ? u"&gt;" : c == u'"' ? u"&quot;" : std::u16string(1, c);
    return escaped;
}

TEST(LayoutBuilder, WithoutParentTheCallerOwnsTheTopLevelControl)
{
    CWindowUIManager manager;
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> page =
        builder.Create(u"<Window><VerticalLayout name=\"page\"><Button/></VerticalLayout><Label/></Window>", nullptr,
                       &manager);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->GetName(), u"page");
    EXPECT_EQ(page->GetContainer()->GetCount(), 1);
    // A top-level include is part of the same build: its control is the result.
    const std::u16string included = u"<Window><HorizontalLayout name=\"row\"><Label/><Label/></HorizontalLayout></Window>";
    page = builder.Create(u"<Window><Include source=\"" + Escaped(included) + u"\"/></Window>", nullptr, nullptr);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->GetName(), u"row");
    EXPECT_EQ(page->GetContainer()->GetCount(), 2);
    // The older name takes the same path.
    page = builder.CreateDetached(u"<Window><Include source=\"" + Escaped(included) + u"\"/></Window>", nullptr,
                                  &manager);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->GetName(), u"row");
    EXPECT_FALSE(builder.Create(u"<Window/>", nullptr, nullptr));
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::None);
    EXPECT_FALSE(builder.Create(u"<Window><Button></Window>", nullptr, nullptr));
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::Load);
}

TEST(LayoutBuilder, OneSelectedOptionPerGroupFromTheBuildOn)
{
    const std::u16string layout =
        u"<Window><VerticalLayout>"
        u"<Option name=\"a\" group=\"g\" selected=\"true\"/>"
        u"<HorizontalLayout><Option name=\"b\" group=\"g\" selected=\"true\"/></HorizontalLayout>"
        u"<Option name=\"c\" group=\"h\" selected=\"true\"/>"
        u"<Option name=\"d\" selected=\"true\"/><Option name=\"e\" selected=\"true\"/>"
        u"</VerticalLayout></Window>";
    for (const bool withManager : {false, true}) {
        CWindowUIManager manager;
        CLayoutBuilder builder;
        auto page = builder.Create(layout, nullptr, withManager ? &manager : nullptr);
        ASSERT_TRUE(page);
        manager.InitControls(page.get());
        const auto selected = [&](std::u16string_view name) {
            auto* option = dynamic_cast<COptionUI*>(manager.FindControl(name));
            return option != nullptr && option->IsSelected();
        };
        EXPECT_FALSE(selected(u"a")) << withManager;  // the later one of the group wins
        EXPECT_TRUE(selected(u"b")) << withManager;
        EXPECT_TRUE(selected(u"c")) << withManager;
        EXPECT_TRUE(selected(u"d")) << withManager;  // options without a group are independent
        EXPECT_TRUE(selected(u"e")) << withManager;
    }
    // Built into a parent, with a member of the group already in the manager.
    CWindowUIManager manager;
    CVerticalLayoutUI parent;
    CLayoutBuilder builder;
    ASSERT_NE(builder.Create(u"<Window><Option name=\"x\" group=\"g\" selected=\"true\"/></Window>", nullptr,
                             &manager, parent),
              nullptr);
    ASSERT_NE(builder.Create(u"<Window><Option name=\"y\" group=\"g\" selected=\"true\"/></Window>", nullptr,
                             &manager, parent),
              nullptr);
    EXPECT_FALSE(static_cast<COptionUI*>(parent.GetItemAt(0))->IsSelected());
    EXPECT_TRUE(static_cast<COptionUI*>(parent.GetItemAt(1))->IsSelected());
}

TEST(LayoutBuilder, HostileLayoutsStopWithAnErrorAndNoPartialTree)
{
    const auto nestedLayouts = [](int levels) {
        std::u16string text = u"<Window><Button/>";
        for (int i = 0; i < levels; ++i)
            text += u"<VerticalLayout>";
        text += u"<Label/>";
        for (int i = 0; i < levels; ++i)
            text += u"</VerticalLayout>";
        return text + u"</Window>";
    };
    CVerticalLayoutUI parent;
    parent.Add(std::make_unique<CLabelUI>());
    CLayoutBuilder builder;
    // The nesting cap itself still builds.
    ASSERT_NE(builder.Create(nestedLayouts(CLayoutBuilder::kMaxNesting), nullptr, nullptr, parent), nullptr);
    EXPECT_EQ(parent.GetCount(), 3);
    parent.Remove(parent.GetItemAt(2));
    parent.Remove(parent.GetItemAt(1));

    // 45,000 levels parse (the parser keeps its own stack) but do not build;
    // the button before them does not stay in the parent either.
    const std::u16string deep = nestedLayouts(45000);
    CMarkupDocument markup;
    ASSERT_TRUE(markup.LoadText(deep));
    EXPECT_EQ(builder.Create(deep, nullptr, nullptr, parent), nullptr);
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::TooDeep);
    EXPECT_EQ(parent.GetCount(), 1);
    EXPECT_FALSE(builder.Create(deep, nullptr, nullptr));

    // More controls than the budget, side by side.
    std::u16string wide = u"<Window>";
    for (size_t i = 0; i <= CLayoutBuilder::kMaxControls; ++i)
        wide += u"<Label/>";
    EXPECT_EQ(builder.Create(wide + u"</Window>", nullptr, nullptr, parent), nullptr);
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::TooLarge);
    EXPECT_EQ(parent.GetCount(), 1);

    // A file that includes itself ten times multiplies until the include
    // depth ends it.
    const testsupport::TempFolder folder("layout-self-include");
    ASSERT_FALSE(folder.Path().empty());
    const std::string self = folder.File("self.xml");
    std::ofstream(self) << "<Window><Label/><Include source=\"" << self << "\" count=\"10\"/></Window>";
    EXPECT_FALSE(builder.Create(std::u16string(self.begin(), self.end()), nullptr, nullptr));
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::TooDeep);
    // Shallow includes that multiply past the budget.
    const std::string outer = folder.File("outer.xml");
    std::ofstream(outer) << "<Window><Include count=\"1000\" source=\"&lt;Window&gt;&lt;Include count=&quot;1000&quot; "
                            "source=&quot;&amp;lt;Label/&amp;gt;&quot;/&gt;&lt;/Window&gt;\"/></Window>";
    EXPECT_EQ(builder.Create(std::u16string(outer.begin(), outer.end()), nullptr, nullptr, parent), nullptr);
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::TooLarge);
    EXPECT_EQ(parent.GetCount(), 1);
}

// Rewrites the included file while the build runs: copies built after that
// show whether the file was read again.
class RewritingCallback final : public IDialogBuilderCallback {
public:
    explicit RewritingCallback(std::string file) : file_(std::move(file)) {}
    std::unique_ptr<CControlUI> CreateControl(std::u16string_view className) override
    {
        if (className != u"Marker")
            return nullptr;
        std::ofstream(file_) << "<Window><Button/><Button/><Button/></Window>";
        return std::make_unique<CLabelUI>();
    }

private:
    std::string file_;
};

TEST(LayoutBuilder, IncludedSourcesAreReadOncePerBuildAndTheTextBudgetStopsTheBuild)
{
    const testsupport::TempFolder folder("layout-include-once");
    ASSERT_FALSE(folder.Path().empty());
    const std::string part = folder.File("part.xml");
    std::ofstream(part) << "<Window><Marker/></Window>";
    const std::u16string partName(part.begin(), part.end());
    const std::u16string outer = u"<Window><VerticalLayout><Include source=\"" + partName
                                 + u"\" count=\"3\"/></VerticalLayout></Window>";
    RewritingCallback rewrite(part);
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root = builder.Create(outer, &rewrite, nullptr);
    ASSERT_NE(root, nullptr);
    IContainerUI* box = root->GetContainer();
    ASSERT_EQ(box->GetCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(box->GetItemAt(i)->GetClass(), CLabelUI().GetClass());
    // The next build reads the file anew.
    root = builder.Create(outer, nullptr, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetContainer()->GetCount(), 9);

    // Every copy counts its text: the layout and three copies of the part (44
    // characters each) fit a budget of exactly their sum, not one less.
    const size_t total = outer.size() + 3 * 44;
    CVerticalLayoutUI parent;
    builder.SetMaxText(total);
    EXPECT_NE(builder.Create(outer, nullptr, nullptr, parent), nullptr);
    EXPECT_EQ(parent.GetCount(), 1);
    builder.SetMaxText(total - 1);
    EXPECT_EQ(builder.Create(outer, nullptr, nullptr, parent), nullptr);
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::TooLarge);
    EXPECT_EQ(parent.GetCount(), 1);
    // The top layout alone past the budget builds nothing.
    builder.SetMaxText(outer.size() - 1);
    EXPECT_EQ(builder.Create(outer, nullptr, nullptr), nullptr);
    EXPECT_EQ(builder.LastError(), CLayoutBuilder::BuildError::TooLarge);
}

TEST(LayoutBuilder, LayoutsCompiledIntoTheProgram)
{
    ASSERT_TRUE(FindResource(900, "xml"));
    EXPECT_FALSE(FindResource(900, "png"));
    CWindowUIManager manager;
    CLayoutBuilder builder;
    auto page = builder.CreateDetached(900u, "xml", nullptr, &manager);
    ASSERT_TRUE(page);
    manager.InitControls(page.get());
    EXPECT_NE(manager.FindControl(u"sample_title"), nullptr);
    // Two options and their group from the default list; two included rows.
    EXPECT_EQ(manager.GetOptionGroup(u"sample").size(), 2u);
    EXPECT_EQ(page->GetContainer()->GetCount(), 3 + 2);
}

}  // namespace
}  // namespace SkinUI
