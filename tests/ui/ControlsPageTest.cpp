// The demo's controls page, built from its compiled-in resource in a
// headless window: every kind of control is there under the names the demo
// program drives, the list and the wide container scroll, and the page's
// images (compiled-in resources of type "image") are painted.
#include "LayoutWindowFixture.h"

#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/OptionUI.h"
#include "ui/Resources.h"
#include "ui/ScrollBarUI.h"
#include "ui/SliderUI.h"
#include "ui/TabLayoutUI.h"

namespace SkinUI {
namespace {

constexpr unsigned kControlsPage = 910;

class ControlsPageTest : public LayoutWindowFixture, public INotifyUI {
protected:
    void Notify(NotifyMessage&) override {}

    void OpenPage()
    {
        ASSERT_NE(window.Create(platform::WindowId::None, "page", WindowStyle::kNormal, 0, 0, 0, 640, 372),
                  platform::WindowId::None);
        window.manager.Init(&system, window.GetHWND());
        window.manager.SetHasNativeWindow(true);
        CLayoutBuilder builder;
        ASSERT_TRUE(window.manager.AttachDialog(builder.CreateDetached(kControlsPage, "xml", nullptr, &window.manager)));
        window.manager.AddNotifier(this);
        window.ShowWindow();
        system.RunPending();
    }
    template <class T>
    T* Find(std::u16string_view name)
    {
        return dynamic_cast<T*>(window.manager.FindControl(name));
    }
    uint32_t PixelAt(int x, int y) const { return system.LastFrame(window.GetHWND())->At(x, y); }
};

bool ScrollBarShown(const CScrollBarUI* bar) { return bar != nullptr && bar->IsVisible(); }

TEST_F(ControlsPageTest, HoldsEveryControlTheDemoDrives)
{
    OpenPage();
    ASSERT_NE(Find<CButtonUI>(u"demo_button"), nullptr);
    EXPECT_FALSE(Find<CButtonUI>(u"demo_button")->GetToolTip().empty());
    ASSERT_NE(Find<CButtonUI>(u"menu_button"), nullptr);
    ASSERT_NE(Find<COptionUI>(u"radio_a"), nullptr);
    EXPECT_EQ(Find<COptionUI>(u"radio_a")->GetGroup(), Find<COptionUI>(u"radio_b")->GetGroup());
    EXPECT_TRUE(Find<COptionUI>(u"check")->GetGroup().empty());

    ASSERT_NE(Find<CSliderUI>(u"hslider"), nullptr);
    EXPECT_TRUE(Find<CSliderUI>(u"hslider")->IsHorizontal());
    EXPECT_FALSE(Find<CSliderUI>(u"vslider")->IsHorizontal());
    EXPECT_NE(window.manager.FindControl(u"hslider_value"), nullptr);
    EXPECT_NE(window.manager.FindControl(u"vslider_value"), nullptr);
    EXPECT_NE(Find<CProgressUI>(u"progress"), nullptr);

    ASSERT_NE(Find<CEditUI>(u"password_edit"), nullptr);
    EXPECT_TRUE(Find<CEditUI>(u"password_edit")->IsPasswordMode());
    EXPECT_TRUE(Find<CEditUI>(u"readonly_edit")->IsReadOnly());
    EXPECT_FALSE(Find<CEditUI>(u"edit")->IsReadOnly());

    ASSERT_NE(Find<CComboUI>(u"demo_combo"), nullptr);
    EXPECT_GE(Find<CComboUI>(u"demo_combo")->GetCount(), 4);
    ASSERT_NE(Find<CTabLayoutUI>(u"demo_tabs"), nullptr);
    EXPECT_EQ(Find<CTabLayoutUI>(u"demo_tabs")->GetCount(), 3);
    for (const char16_t* option : {u"tab_option_0", u"tab_option_1", u"tab_option_2"})
        EXPECT_NE(Find<COptionUI>(option), nullptr);

    // More rows than the list shows, a row of buttons wider than its place.
    auto* list = Find<CListUI>(u"demo_list");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(ScrollBarShown(list->GetVerticalScrollBar()));
    auto* wide = Find<CContainerUI>(u"wide_container");
    ASSERT_NE(wide, nullptr);
    EXPECT_TRUE(ScrollBarShown(wide->GetHorizontalScrollBar()));
}

TEST_F(ControlsPageTest, PaintsTheSliderImagesFromTheResources)
{
    ASSERT_TRUE(FindResource(920, "image"));
    EXPECT_FALSE(FindResource(920, "xml"));
    OpenPage();
    // The horizontal slider stands at 40 of 0..100: its left part is filled
    // from image 920, its right part shows the background.
    const UIRect rc = Find<CSliderUI>(u"hslider")->GetItemRect();
    const int middle = (rc.top + rc.bottom) / 2;
    EXPECT_EQ(PixelAt(rc.left + 5, middle), 0xFF3080D0u);
    EXPECT_EQ(PixelAt(rc.right - 5, middle), 0xFFD0D0D0u);
    // The thumb (image 921) sits where the value is.
    const UIRect thumb = Find<CSliderUI>(u"hslider")->GetThumbRect();
    EXPECT_EQ(PixelAt((thumb.left + thumb.right) / 2, middle), 0xFF505860u);
}

}  // namespace
}  // namespace SkinUI
