#include "LayoutWindowFixture.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/SliderUI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

struct Log final : INotifyUI {
    void Notify(NotifyMessage& message) override
    {
        if (message.type == u"windowinit" || message.type == u"setfocus" || message.type == u"killfocus")
            return;
        const std::u16string name = message.sender != nullptr ? message.sender->GetName() : u"-";
        lines.push_back(std::string(message.type.begin(), message.type.end()) + " "
                        + std::string(name.begin(), name.end()));
    }
    std::vector<std::string> lines;
};

// Each control sits in its own 40-pixel band inside a disabled container.
constexpr std::u16string_view kLayout =
    u"<Window><VerticalLayout name=\"page\">"
    u"<VerticalLayout name=\"off\" enabled=\"false\" height=\"120\">"
    u"<Slider name=\"slider\" height=\"40\" min=\"0\" max=\"100\" value=\"50\"/>"
    u"<Combo name=\"combo\" height=\"40\"><ListLabelElement text=\"a\"/><ListLabelElement text=\"b\"/></Combo>"
    u"<Edit name=\"edit\" height=\"40\"/></VerticalLayout>"
    u"<List name=\"list\" enabled=\"false\" height=\"60\">"
    u"<ListContainerElement name=\"r0\" height=\"30\"/><ListContainerElement name=\"r1\" height=\"30\"/></List>"
    u"</VerticalLayout></Window>";

class DisabledAncestorsTest : public LayoutWindowFixture {
protected:
    Log log;

    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        Open(kLayout, log, 0, 0, 200, 300);
    }
    void Click(int x, int y)
    {
        system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDBLCLK, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_RBUTTONDOWN, x, y, platform::MK_RBUTTON);
        system.RunPending();
    }
    void Wheel(int x, int y, int delta)
    {
        system.InjectWheel(window.GetHWND(), x, y, delta);
        system.RunPending();
    }
    template <typename T>
    T* Find(std::u16string_view name)
    {
        return static_cast<T*>(window.manager.FindControl(name));
    }
};

TEST_F(DisabledAncestorsTest, ControlsInADisabledContainerIgnoreTheMouseAndTheWheel)
{
    auto* slider = Find<CSliderUI>(u"slider");
    auto* combo = Find<CComboUI>(u"combo");
    auto* edit = Find<CEditUI>(u"edit");
    auto* list = Find<CListUI>(u"list");
    ASSERT_TRUE(slider && combo && edit && list);
    combo->SelectItem(0);
    log.lines.clear();

    Click(150, 20);
    Wheel(150, 20, 120);
    Wheel(150, 20, -120);
    EXPECT_EQ(slider->GetValue(), 50);
    Click(50, 60);
    Wheel(50, 60, -120);
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(combo->GetDropDown(), nullptr);
    Click(50, 100);
    EXPECT_FALSE(edit->IsEditing());
    EXPECT_NE(window.manager.GetFocus(), edit);
    Click(50, 135);
    Click(50, 165);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(log.lines, std::vector<std::string>{});
    // Nothing under the pointer takes it: the enabled page around them does.
    EXPECT_EQ(window.manager.FindControlAt({150, 20}), window.manager.FindControl(u"page"));
    EXPECT_EQ(window.manager.FindControlAt({50, 135}), window.manager.FindControl(u"page"));

    // Enabled again, the same input works.
    Find<CControlUI>(u"off")->SetEnabled(true);
    list->SetEnabled(true);
    Wheel(50, 60, -120);
    EXPECT_EQ(combo->GetCurSel(), 1);
    Click(50, 135);
    EXPECT_EQ(list->GetCurSel(), 0);
    Wheel(150, 20, 120);
    EXPECT_NE(slider->GetValue(), 50);
}

}  // namespace
}  // namespace SkinUI
