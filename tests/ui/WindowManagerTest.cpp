#include "platform/HeadlessWindowSystem.h"
#include "ui/ButtonUI.h"
#include "ui/HorizontalLayoutUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/OptionUI.h"
#include "ui/SliderUI.h"
#include "ui/TabLayoutUI.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

using platform::WindowId;

// A window of the program's kind: its messages go to its manager.
class TestWnd final : public CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"TestWnd"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        ++handling;
        intptr_t result = 0;
        const bool handled = manager.MessageHandler(message, wParam, lParam, result);
        --handling;
        return handled ? result : 0;
    }
    void OnFinalMessage(WindowId) override
    {
        ++finalMessages;
        finalUnderHandling = finalUnderHandling || handling > 0;
    }
    CWindowUIManager manager;
    int finalMessages = 0;
    int handling = 0;
    bool finalUnderHandling = false;
};

struct Log final : INotifyUI {
    explicit Log(std::string name) : name(std::move(name)) {}
    void Notify(NotifyMessage& message) override
    {
        if (message.type == u"setfocus" || message.type == u"killfocus")
            return;  // focus moves are checked on their own
        std::string sender = message.sender != nullptr ? std::string(message.sender->GetName().begin(),
                                                                     message.sender->GetName().end())
                                                       : "-";
        lines.push_back(name + ":" + std::string(message.type.begin(), message.type.end()) + ":" + sender);
    }
    std::string name;
    std::vector<std::string> lines;
};

class WindowManagerTest : public ::testing::Test {
protected:
    platform::HeadlessWindowSystem system;
    TestWnd window;
    Log a{"A"}, b{"B"};

    void SetUp() override { CWindowWnd::SetWindowSystem(&system); }
    void TearDown() override
    {
        if (window.GetHWND() != WindowId::None)
            system.DestroyWindow(window.GetHWND());
        CWindowWnd::SetWindowSystem(nullptr);
    }

    void Open(std::u16string_view layout, IDialogBuilderCallback* callback = nullptr)
    {
        ASSERT_NE(window.Create(WindowId::None, "test", WindowStyle::kNormal, 0, 0, 0, 300, 200), WindowId::None);
        window.manager.Init(&system, window.GetHWND());
        CLayoutBuilder builder;
        ASSERT_TRUE(window.manager.AttachDialog(builder.CreateDetached(layout, callback, &window.manager)));
        window.manager.AddNotifier(&a);
        window.manager.AddNotifier(&b);
        window.ShowWindow();
        system.RunPending();
    }

    void Click(std::u16string_view name)
    {
        CControlUI* control = window.manager.FindControl(name);
        ASSERT_NE(control, nullptr);
        const UIRect r = control->GetItemRect();
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        system.RunPending();
    }

    // Left press and release at one point, without moving there first.
    void PressAndRelease(int x, int y)
    {
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        system.RunPending();
    }

    CSliderUI* Slider(std::u16string_view name)
    {
        return dynamic_cast<CSliderUI*>(window.manager.FindControl(name));
    }
};

constexpr std::u16string_view kLayout =
    u"<Window><VerticalLayout name=\"root\" bkcolor=\"#FF336699\">"
    u"<Button name=\"ok\" text=\"OK\" height=\"40\"/>"
    u"<HorizontalLayout height=\"40\">"
    u"<Option name=\"o1\" group=\"g\" selected=\"true\"/><Option name=\"o2\" group=\"g\"/>"
    u"<Option name=\"o3\" group=\"g\"/></HorizontalLayout>"
    u"<Control name=\"rest\"/></VerticalLayout></Window>";

TEST_F(WindowManagerTest, FirstPaintLaysOutSendsWindowInitAndPresents)
{
    Open(kLayout);
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:windowinit:root"}));
    EXPECT_EQ(b.lines, (std::vector<std::string>{"B:windowinit:root"}));
    EXPECT_EQ(window.manager.FindControl(u"ok")->GetItemRect().bottom, 40);
    const auto* frame = system.LastFrame(window.GetHWND());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width, 300);
    EXPECT_EQ(frame->At(150, 150), 0xFF336699u);
}

TEST_F(WindowManagerTest, AClickReachesTheNotifiersInOrder)
{
    Open(kLayout);
    a.lines.clear();
    b.lines.clear();
    Click(u"ok");
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:click:ok"}));
    EXPECT_EQ(b.lines, (std::vector<std::string>{"B:click:ok"}));

    // Pressing and releasing outside the button is no click.
    a.lines.clear();
    const UIRect r = window.manager.FindControl(u"ok")->GetItemRect();
    system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, r.left + 5, r.top + 5, platform::MK_LBUTTON);
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, r.left + 5, r.bottom + 30, platform::MK_LBUTTON);
    system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, r.left + 5, r.bottom + 30);
    system.RunPending();
    EXPECT_TRUE(a.lines.empty());
}

TEST_F(WindowManagerTest, OneSelectChangedInAGroupOfThree)
{
    Open(kLayout);
    a.lines.clear();
    Click(u"o2");
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:click:o2", "A:selectchanged:o2"}));
    EXPECT_FALSE(static_cast<COptionUI*>(window.manager.FindControl(u"o1"))->IsSelected());
    EXPECT_TRUE(static_cast<COptionUI*>(window.manager.FindControl(u"o2"))->IsSelected());
    a.lines.clear();
    Click(u"o2");  // already selected: nothing changes
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:click:o2"}));
}

constexpr std::u16string_view kSliderLayout =
    u"<Window><VerticalLayout name=\"root\">"
    u"<Slider name=\"s\" min=\"1\" max=\"3\" width=\"100\" height=\"20\" thumbsize=\"10,10\"/>"
    u"<Slider name=\"v\" hor=\"false\" min=\"0\" max=\"100\" width=\"20\" height=\"110\"/>"
    u"<Control/></VerticalLayout></Window>";

TEST_F(WindowManagerTest, ASliderFollowsTheDragAndNotifiesOnRelease)
{
    Open(kSliderLayout);
    CSliderUI* slider = Slider(u"s");
    ASSERT_NE(slider, nullptr);
    const UIRect r = slider->GetItemRect();
    ASSERT_EQ(r.right - r.left, 100);
    const int y = (r.top + r.bottom) / 2;
    const WindowId hwnd = window.GetHWND();
    a.lines.clear();

    system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, r.left + 10, y);
    system.InjectMouse(hwnd, platform::WM_LBUTTONDOWN, r.left + 10, y, platform::MK_LBUTTON);
    system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, r.left + 50, y, platform::MK_LBUTTON);
    system.RunPending();
    EXPECT_TRUE(slider->IsCaptured());
    EXPECT_EQ(slider->GetValue(), 2);  // 1 + (50 - 5) * 2 / 90
    // Moves far outside keep following while the button is held.
    system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, r.right + 80, r.bottom + 40, platform::MK_LBUTTON);
    system.RunPending();
    EXPECT_EQ(slider->GetValue(), 3);
    EXPECT_TRUE(a.lines.empty());  // no notification while dragging
    system.InjectMouse(hwnd, platform::WM_LBUTTONUP, r.left + 50, y);
    system.RunPending();
    EXPECT_FALSE(slider->IsCaptured());
    EXPECT_EQ(slider->GetValue(), 2);
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:valuechanged:s"}));

    // A release that leaves the value as it was still notifies; the edges
    // give the ends of the range exactly.
    a.lines.clear();
    Click(u"s");
    EXPECT_EQ(slider->GetValue(), 2);
    PressAndRelease(r.right - 1, y);
    EXPECT_EQ(slider->GetValue(), 3);
    PressAndRelease(r.left, y);
    EXPECT_EQ(slider->GetValue(), 1);
    EXPECT_EQ(a.lines, (std::vector<std::string>(3, "A:valuechanged:s")));

    // A disabled slider takes no drag.
    a.lines.clear();
    slider->SetEnabled(false);
    PressAndRelease(r.right - 1, y);
    EXPECT_EQ(slider->GetValue(), 1);
    EXPECT_TRUE(a.lines.empty());
}

TEST_F(WindowManagerTest, VerticalSlidersHaveTheirMaximumAtTheTop)
{
    Open(kSliderLayout);
    CSliderUI* slider = Slider(u"v");
    ASSERT_NE(slider, nullptr);
    const UIRect r = slider->GetItemRect();
    ASSERT_EQ(r.bottom - r.top, 110);
    const int x = (r.left + r.right) / 2;
    EXPECT_EQ(slider->ValueAt({x, r.top + 5}), 100);
    EXPECT_EQ(slider->ValueAt({x, r.top}), 100);
    EXPECT_EQ(slider->ValueAt({x, r.bottom - 5}), 0);
    EXPECT_EQ(slider->ValueAt({x, r.top + 55}), 50);
    EXPECT_EQ(slider->ValueAt({x, r.top + 28}), 77);  // 100 * (110 - 5 - 28) / 100
    a.lines.clear();
    PressAndRelease(x, r.top + 28);
    EXPECT_EQ(slider->GetValue(), 77);
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:valuechanged:v"}));
}

TEST_F(WindowManagerTest, SliderWheelStepsStayUnclampedUntilPaintedAndProgramValuesAreSilent)
{
    Open(kSliderLayout);
    CSliderUI* slider = Slider(u"s");
    ASSERT_NE(slider, nullptr);
    const UIRect r = slider->GetItemRect();
    a.lines.clear();
    slider->SetStep(2);
    slider->SetValue(3);
    EXPECT_TRUE(a.lines.empty());
    system.InjectWheel(window.GetHWND(), r.left + 50, r.top + 5, platform::WHEEL_DELTA);
    platform::Message wheel;
    ASSERT_TRUE(system.GetMessage(wheel));
    ASSERT_EQ(wheel.message, platform::WM_MOUSEWHEEL);
    system.DispatchMessage(wheel);
    EXPECT_EQ(slider->GetValue(), 5);  // one step past the maximum until painted
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:valuechanged:s"}));
    system.RunPending();
    EXPECT_EQ(slider->GetValue(), 3);  // painted: back inside [1, 3]

    system.InjectWheel(window.GetHWND(), r.left + 50, r.top + 5, -platform::WHEEL_DELTA);
    system.RunPending();
    EXPECT_EQ(slider->GetValue(), 1);
    EXPECT_EQ(a.lines.size(), 2u);
    // Half notches step once they add up; sideways scrolling (0) does nothing.
    for (const int delta : {0, 60, 0, 60}) {
        system.InjectWheel(window.GetHWND(), r.left + 50, r.top + 5, delta);
        system.RunPending();
    }
    EXPECT_EQ(slider->GetValue(), 3);
    EXPECT_EQ(a.lines.size(), 3u);

    // A value set by the program far past the maximum notifies nothing and
    // is clamped by the next paint.
    a.lines.clear();
    slider->SetMaxValue(100);
    slider->SetValue(500);
    slider->Invalidate();
    system.RunPending();
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_TRUE(a.lines.empty());
}

// A row that records the mouse events reaching it.
struct RecordingRow final : CHorizontalLayoutUI {
    void DoEvent(TEventUI& event) override
    {
        events.push_back(event.type);
        CHorizontalLayoutUI::DoEvent(event);
    }
    std::vector<UIEvent> events;
};

struct RowFactory final : IDialogBuilderCallback {
    std::unique_ptr<CControlUI> CreateControl(std::u16string_view className) override
    {
        return className == u"RecordingRow" ? std::make_unique<RecordingRow>() : nullptr;
    }
};

TEST_F(WindowManagerTest, ClicksOnAChildThatIgnoresTheMouseReachItsRow)
{
    RowFactory factory;
    Open(u"<Window><VerticalLayout><RecordingRow name=\"row\" height=\"40\">"
         u"<Label name=\"inner\" width=\"100\"/><Button name=\"btn\" width=\"100\"/>"
         u"</RecordingRow><Control/></VerticalLayout></Window>",
         &factory);
    auto* row = dynamic_cast<RecordingRow*>(window.manager.FindControl(u"row"));
    ASSERT_NE(row, nullptr);
    a.lines.clear();
    Click(u"inner");
    const std::vector<UIEvent> expected{UIEvent::MouseEnter, UIEvent::MouseMove, UIEvent::ButtonDown,
                                        UIEvent::ButtonUp};
    EXPECT_EQ(row->events, expected);
    // A button handles its own clicks; the row hears only what it ignores.
    row->events.clear();
    Click(u"btn");
    EXPECT_EQ(std::count(row->events.begin(), row->events.end(), UIEvent::ButtonDown), 0);
    EXPECT_EQ(std::count(row->events.begin(), row->events.end(), UIEvent::ButtonUp), 0);
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:click:btn"}));
}

TEST_F(WindowManagerTest, ChangesFromCodeLayTheWindowOutAnewAndRepaint)
{
    Open(u"<Window><VerticalLayout bkcolor=\"#FF0000FF\">"
         u"<Button name=\"ok\" text=\"OK\" height=\"40\" bkcolor=\"#FFFF0000\"/>"
         u"<Control name=\"rest\"/></VerticalLayout></Window>");
    CControlUI* ok = window.manager.FindControl(u"ok");
    CControlUI* rest = window.manager.FindControl(u"rest");
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(rest, nullptr);
    const auto pixel = [&](int x, int y) { return system.LastFrame(window.GetHWND())->At(x, y); };
    EXPECT_EQ(pixel(150, 50), 0xFF0000FFu);

    ok->SetFixedHeight(60);
    system.RunPending();
    EXPECT_EQ(rest->GetItemRect().top, 60);
    EXPECT_EQ(pixel(150, 50), 0xFFFF0000u);

    ok->SetVisible(false);
    system.RunPending();
    EXPECT_EQ(rest->GetItemRect().top, 0);
    EXPECT_EQ(pixel(150, 10), 0xFF0000FFu);

    ok->SetVisible(true);
    ok->SetPos({0, 0, 300, 20});
    system.RunPending();
    EXPECT_EQ(rest->GetItemRect().top, 20);

    // A new text repaints; the same text again asks for nothing.
    ok->SetText(u"Apply");
    EXPECT_GT(system.RunPending(), 0);
    ok->SetText(u"Apply");
    ok->SetVisible(true);
    EXPECT_EQ(system.RunPending(), 0);

    // So do the colours of controls, labels and buttons.
    auto* button = static_cast<CButtonUI*>(ok);
    const std::vector<std::function<void(uint32_t)>> setters = {
        [&](uint32_t c) { button->SetBkColor(c); },          [&](uint32_t c) { button->SetBkColor2(c); },
        [&](uint32_t c) { button->SetBkColor3(c); },         [&](uint32_t c) { button->SetBorderColor(c); },
        [&](uint32_t c) { button->SetFocusBorderColor(c); }, [&](uint32_t c) { button->SetTextColor(c); },
        [&](uint32_t c) { button->SetDisabledTextColor(c); }, [&](uint32_t c) { button->SetHotTextColor(c); },
        [&](uint32_t c) { button->SetPushedTextColor(c); },  [&](uint32_t c) { button->SetFocusedTextColor(c); },
    };
    for (size_t i = 0; i < setters.size(); ++i) {
        setters[i](0xFF123456);
        EXPECT_GT(system.RunPending(), 0) << "setter " << i;
        setters[i](0xFF123456);
        EXPECT_EQ(system.RunPending(), 0) << "setter " << i;
    }
    EXPECT_EQ(pixel(150, 10), 0xFF123456u);
}

TEST_F(WindowManagerTest, TooltipsShowAfterTheHoverTimeAndHideOnLeave)
{
    Open(u"<Window><VerticalLayout><Button name=\"save\" height=\"40\" tooltip=\"Save the profile\"/>"
         u"<Button name=\"plain\" height=\"40\"/><Control/></VerticalLayout></Window>");
    const WindowId hwnd = window.GetHWND();
    system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, 20, 20);
    system.RunPending();
    system.AdvanceTime(900);
    system.RunPending();
    EXPECT_EQ(window.manager.GetToolTipWindow(), WindowId::None);
    system.AdvanceTime(200);
    system.RunPending();
    const WindowId tip = window.manager.GetToolTipWindow();
    ASSERT_NE(tip, WindowId::None);
    EXPECT_TRUE(system.IsWindowVisible(tip));
    const platform::Rect owner = system.GetWindowRect(hwnd);
    const platform::Rect rect = system.GetWindowRect(tip);
    EXPECT_GT(rect.top, owner.top + 20);  // below the mouse
    EXPECT_GT(rect.Width(), 20);
    const auto* frame = system.LastFrame(tip);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->At(rect.Width() / 2, 1), 0xFFFFFFE1u);  // painted tip background
    EXPECT_NE(system.GetFocus(), tip);

    // Moving onto a control without a tooltip hides it, and the hover there
    // shows nothing.
    system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, 20, 60);
    system.RunPending();
    EXPECT_EQ(window.manager.GetToolTipWindow(), WindowId::None);
    EXPECT_FALSE(system.IsWindow(tip));
    system.AdvanceTime(1100);
    system.RunPending();
    EXPECT_EQ(window.manager.GetToolTipWindow(), WindowId::None);

    // Back over the button, then out of the window.
    system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, 20, 20);
    system.RunPending();
    system.AdvanceTime(1100);
    system.RunPending();
    ASSERT_NE(window.manager.GetToolTipWindow(), WindowId::None);
    system.InjectMouse(hwnd, platform::WM_MOUSELEAVE, 0, 0);
    system.RunPending();
    EXPECT_EQ(window.manager.GetToolTipWindow(), WindowId::None);

    // A pop-up of ours (a menu, a drop-down) opening hides the tip, and while
    // it is open, or while the window has not the focus, none shows.
    auto rest = [&] {
        system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, 21, 20);
        system.InjectMouse(hwnd, platform::WM_MOUSEMOVE, 20, 20);
        system.RunPending();
        system.AdvanceTime(1100);
        system.RunPending();
        return window.manager.GetToolTipWindow();
    };
    ASSERT_NE(rest(), WindowId::None);
    platform::WindowOptions popupOptions;
    popupOptions.kind = platform::WindowKind::Popup;
    popupOptions.owner = hwnd;
    popupOptions.rect = {owner.left, owner.top + 40, owner.left + 100, owner.top + 100};
    const WindowId popup = system.CreateWindow(popupOptions, [](const platform::Message&) { return intptr_t{0}; });
    system.ShowWindow(popup, true, true);
    system.RunPending();
    EXPECT_EQ(window.manager.GetToolTipWindow(), WindowId::None);
    EXPECT_EQ(rest(), WindowId::None);
    system.DestroyWindow(popup);
    system.RunPending();
    ASSERT_EQ(system.GetFocus(), hwnd);
    EXPECT_NE(rest(), WindowId::None);
    system.InjectDesktopFocus(hwnd, false);
    system.RunPending();
    EXPECT_EQ(rest(), WindowId::None);
}

struct Swallow final : IMessageFilterUI {
    bool MessageFilter(unsigned message, uintptr_t, intptr_t, intptr_t& result) override
    {
        result = 5;
        return message == platform::WM_APP + 1;
    }
};

TEST_F(WindowManagerTest, FiltersSeeMessagesAfterQueuedNotificationsAndTimersNotify)
{
    Open(kLayout);
    a.lines.clear();
    Swallow swallow;
    window.manager.AddMessageFilter(&swallow);
    CControlUI* ok = window.manager.FindControl(u"ok");
    window.manager.SendNotify(ok, u"later", 0, 0, true);
    EXPECT_TRUE(a.lines.empty());
    EXPECT_EQ(window.SendMessage(platform::WM_APP + 1), 5);
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:later:ok"}));

    a.lines.clear();
    ASSERT_TRUE(window.manager.SetTimer(ok, 7, 100));
    EXPECT_FALSE(window.manager.SetTimer(ok, 7, 100));
    system.AdvanceTime(250);
    system.RunPending();
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:timer:ok"}));
    EXPECT_TRUE(window.manager.KillTimer(ok, 7));
    EXPECT_TRUE(window.manager.SetTimer(ok, 7, 100));  // restarts with the same native id
    window.manager.RemoveMessageFilter(&swallow);
}

TEST_F(WindowManagerTest, TabMovesTheFocusAndShortcutsActivate)
{
    Open(u"<Window><VerticalLayout><Button name=\"b1\" height=\"20\"/><Label name=\"l\" height=\"20\"/>"
         u"<Button name=\"b2\" height=\"20\" shortcut=\"s\"/></VerticalLayout></Window>");
    std::vector<std::string> focus;
    struct FocusLog final : INotifyUI {
        std::vector<std::string>* out;
        void Notify(NotifyMessage& m) override
        {
            if (m.type == u"setfocus" || m.type == u"killfocus")
                out->push_back(std::string(m.type.begin(), m.type.end()) + ":"
                               + std::string(m.sender->GetName().begin(), m.sender->GetName().end()));
        }
    } log;
    log.out = &focus;
    window.manager.AddNotifier(&log);
    intptr_t result = 0;
    EXPECT_TRUE(window.manager.PreMessageHandler(platform::WM_KEYDOWN, platform::VK_TAB, 0, result));
    EXPECT_TRUE(window.manager.PreMessageHandler(platform::WM_KEYDOWN, platform::VK_TAB, 0, result));
    EXPECT_TRUE(window.manager.PreMessageHandler(platform::WM_KEYDOWN, platform::VK_TAB, 0, result));
    EXPECT_EQ(focus, (std::vector<std::string>{"setfocus:b1", "killfocus:b1", "setfocus:b2", "killfocus:b2",
                                               "setfocus:b1"}));
    a.lines.clear();
    EXPECT_TRUE(window.manager.PreMessageHandler(platform::WM_SYSCHAR, u's', 0, result));
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:click:b2"}));
    EXPECT_FALSE(window.manager.PreMessageHandler(platform::WM_SYSCHAR, u'q', 0, result));
    window.manager.RemoveNotifier(&log);
}

TEST_F(WindowManagerTest, EditsShowTheTextCursor)
{
    Open(u"<Window><VerticalLayout><Edit name=\"e\" height=\"30\"/><Button name=\"b\"/></VerticalLayout></Window>");
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, 10, 10);
    system.RunPending();
    EXPECT_EQ(system.CurrentCursor(), platform::Cursor::IBeam);
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, 10, 100);
    system.RunPending();
    EXPECT_EQ(system.CurrentCursor(), platform::Cursor::Arrow);
}

TEST_F(WindowManagerTest, QueuedNotificationsOfADestroyedControlLoseTheirSender)
{
    Open(kLayout);
    a.lines.clear();
    CControlUI* rest = window.manager.FindControl(u"rest");
    window.manager.SendNotify(rest, u"later", 0, 0, true);
    window.manager.GetRoot()->GetContainer()->Remove(rest);
    EXPECT_EQ(window.manager.FindControl(u"rest"), nullptr);
    window.SendMessage(platform::WM_NULL);
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:later:-"}));
}

TEST_F(WindowManagerTest, TabSelectAndRoundCorners)
{
    Open(u"<Window roundcorner=\"6,6\"><TabLayout name=\"tabs\"><Control name=\"p0\"/><Control name=\"p1\"/>"
         u"</TabLayout></Window>");
    a.lines.clear();
    auto* tabs = dynamic_cast<CTabLayoutUI*>(window.manager.FindControl(u"tabs"));
    ASSERT_NE(tabs, nullptr);
    tabs->SelectItem(1);
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:tabselect:tabs"}));
    tabs->SelectItem(1);
    EXPECT_EQ(a.lines.size(), 1u);
    const platform::Region* region = system.RegionOf(window.GetHWND());
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(region->Contains(0, 0));
    EXPECT_TRUE(region->Contains(150, 100));
}

constexpr std::u16string_view kPagesLayout =
    u"<Window><VerticalLayout><Button name=\"b0\" height=\"20\"/>"
    u"<TabLayout name=\"tabs\" height=\"40\">"
    u"<HorizontalLayout name=\"p0\"><Button name=\"shown\" shortcut=\"f\"/></HorizontalLayout>"
    u"<HorizontalLayout name=\"p1\"><Button name=\"hidden\" shortcut=\"h\"/></HorizontalLayout></TabLayout>"
    u"<VerticalLayout enabled=\"false\" height=\"20\"><Button name=\"off\" shortcut=\"d\"/></VerticalLayout>"
    u"</VerticalLayout></Window>";

// The buttons of a hidden tab page or a disabled container cannot be reached.
TEST_F(WindowManagerTest, ControlsOfHiddenOrDisabledContainersTakeNoFocusAndNoShortcuts)
{
    Open(kPagesLayout);
    CWindowUIManager& manager = window.manager;
    std::vector<std::u16string> focused;
    intptr_t result = 0;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(manager.PreMessageHandler(platform::WM_KEYDOWN, platform::VK_TAB, 0, result));
        focused.push_back(manager.GetFocus()->GetName());
    }
    EXPECT_EQ(focused, (std::vector<std::u16string>{u"b0", u"shown", u"b0", u"shown"}));
    a.lines.clear();
    EXPECT_FALSE(manager.PreMessageHandler(platform::WM_SYSCHAR, u'h', 0, result));
    EXPECT_FALSE(manager.PreMessageHandler(platform::WM_SYSCHAR, u'd', 0, result));
    EXPECT_FALSE(manager.FindControl(u"hidden")->Activate());
    manager.SetFocus(manager.FindControl(u"hidden"));
    EXPECT_NE(manager.GetFocus(), manager.FindControl(u"hidden"));
    EXPECT_TRUE(a.lines.empty());
    manager.SetFocus(manager.FindControl(u"shown"));
    ASSERT_NE(manager.GetFocus(), nullptr);

    // The focused button's page is hidden: Space and Enter no longer click it.
    auto* tabs = dynamic_cast<CTabLayoutUI*>(manager.FindControl(u"tabs"));
    ASSERT_NE(tabs, nullptr);
    tabs->SelectItem(1);
    a.lines.clear();
    window.SendMessage(platform::WM_KEYDOWN, platform::VK_RETURN);
    window.SendMessage(platform::WM_KEYDOWN, platform::VK_SPACE);
    EXPECT_EQ(manager.GetFocus(), nullptr);
    EXPECT_TRUE(a.lines.empty());
    // Now the other page shows and its shortcut works.
    EXPECT_TRUE(manager.PreMessageHandler(platform::WM_SYSCHAR, u'h', 0, result));
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:click:hidden"}));
}

TEST_F(WindowManagerTest, WindowSizeAndAlphaApplyToTheNativeWindow)
{
    Open(u"<Window size=\"320,240\" alpha=\"200\"><VerticalLayout bkcolor=\"#FF102030\"/></Window>");
    const platform::Rect rect = system.GetWindowRect(window.GetHWND());
    EXPECT_EQ(rect.Width(), 320);
    EXPECT_EQ(rect.Height(), 240);
    EXPECT_EQ(system.OpacityOf(window.GetHWND()), 200);
    const auto* frame = system.LastFrame(window.GetHWND());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width, 320);
    EXPECT_EQ(frame->height, 240);
}

TEST_F(WindowManagerTest, AQueuedNotificationArrivesWithoutFurtherInput)
{
    Open(kLayout);
    a.lines.clear();
    window.manager.SendNotify(window.manager.FindControl(u"ok"), u"later", 0, 0, true);
    EXPECT_TRUE(a.lines.empty());
    system.RunPending();
    EXPECT_EQ(a.lines, (std::vector<std::string>{"A:later:ok"}));
}

struct DestroyOnClick final : INotifyUI {
    platform::WindowSystem* system = nullptr;
    TestWnd* wnd = nullptr;
    WindowId window = WindowId::None;
    bool finalUnderHandler = false;
    void Notify(NotifyMessage& message) override
    {
        if (message.type != u"click")
            return;
        system->DestroyWindow(window);
        finalUnderHandler = finalUnderHandler || wnd->finalMessages > 0;
    }
};

TEST_F(WindowManagerTest, AWindowDestroyedByItsOwnHandlerGoesWhenTheHandlingEnds)
{
    Open(kLayout);
    DestroyOnClick closer;
    closer.system = &system;
    closer.wnd = &window;
    closer.window = window.GetHWND();
    window.manager.AddNotifier(&closer);
    Click(u"ok");
    EXPECT_FALSE(system.IsWindow(closer.window));
    EXPECT_EQ(window.finalMessages, 1);
    EXPECT_FALSE(window.finalUnderHandling);
    EXPECT_FALSE(closer.finalUnderHandler);
    EXPECT_EQ(window.GetHWND(), WindowId::None);
    window.manager.RemoveNotifier(&closer);
}

// The same through a shortcut, which the message loop handles before the
// window's own handler sees the key.
TEST_F(WindowManagerTest, AWindowClosedByAShortcutGoesWhenTheLoopHasHandledIt)
{
    Open(u"<Window><VerticalLayout><Button name=\"b\" shortcut=\"s\"/></VerticalLayout></Window>");
    DestroyOnClick closer;
    closer.system = &system;
    closer.wnd = &window;
    closer.window = window.GetHWND();
    window.manager.AddNotifier(&closer);
    system.InjectKey(closer.window, platform::VK_MENU, true);
    system.InjectKey(closer.window, 'S', true);
    CWindowUIManager::MessageLoop(system);
    EXPECT_FALSE(system.IsWindow(closer.window));
    EXPECT_EQ(window.finalMessages, 1);
    EXPECT_FALSE(closer.finalUnderHandler);
    window.manager.RemoveNotifier(&closer);
}

TEST_F(WindowManagerTest, NamesAreFoundWithinRowsAndAfterARename)
{
    Open(u"<Window><VerticalLayout>"
         u"<HorizontalLayout name=\"row1\" height=\"20\"><Label name=\"cell\"/></HorizontalLayout>"
         u"<HorizontalLayout name=\"row2\" height=\"20\"><Control/><Label name=\"cell\"/></HorizontalLayout>"
         u"</VerticalLayout></Window>");
    CWindowUIManager& manager = window.manager;
    CControlUI* row1 = manager.FindControl(u"row1");
    CControlUI* row2 = manager.FindControl(u"row2");
    CControlUI* cell1 = CWindowUIManager::FindSubControl(row1, u"cell");
    CControlUI* cell2 = CWindowUIManager::FindSubControl(row2, u"cell");
    ASSERT_NE(cell1, nullptr);
    ASSERT_NE(cell2, nullptr);
    EXPECT_NE(cell1, cell2);
    EXPECT_EQ(cell2->GetParent(), row2);
    EXPECT_EQ(manager.FindControl(u"cell"), cell1);
    EXPECT_EQ(CWindowUIManager::FindSubControl(row1, u"nothing"), nullptr);

    cell1->SetName(u"renamed");
    EXPECT_EQ(manager.FindControl(u"renamed"), cell1);
    EXPECT_EQ(manager.FindControl(u"cell"), cell2);  // the name passes to the other row
    cell2->SetName(u"renamed");  // taken: the first holder keeps it
    EXPECT_EQ(manager.FindControl(u"renamed"), cell1);
    EXPECT_EQ(manager.FindControl(u"cell"), nullptr);
}

TEST_F(WindowManagerTest, ADestroyedControlsNamePassesToTheNextControlOfThatName)
{
    Open(u"<Window><VerticalLayout name=\"page\">"
         u"<HorizontalLayout name=\"row1\" height=\"20\"><Label name=\"cell\"/></HorizontalLayout>"
         u"<HorizontalLayout name=\"row2\" height=\"20\"><Label name=\"cell\"/></HorizontalLayout>"
         u"<HorizontalLayout name=\"row3\" height=\"20\"><Label name=\"cell\"/></HorizontalLayout>"
         u"</VerticalLayout></Window>");
    CWindowUIManager& manager = window.manager;
    IContainerUI* page = manager.FindControl(u"page")->GetContainer();
    CControlUI* cell2 = CWindowUIManager::FindSubControl(manager.FindControl(u"row2"), u"cell");
    ASSERT_TRUE(page->Remove(manager.FindControl(u"row1")));
    EXPECT_EQ(manager.FindControl(u"row1"), nullptr);
    EXPECT_EQ(manager.FindControl(u"cell"), cell2);
    // A later holder that goes first leaves the index as it was.
    ASSERT_TRUE(page->Remove(manager.FindControl(u"row3")));
    EXPECT_EQ(manager.FindControl(u"cell"), cell2);
    cell2->SetName(u"other");
    EXPECT_EQ(manager.FindControl(u"cell"), nullptr);
    EXPECT_EQ(manager.FindControl(u"other"), cell2);
}

TEST(WindowWnd, ClassesRegisterOnceAndWindowsCentreInsideTheWorkArea)
{
    platform::HeadlessWindowSystem system;
    CWindowWnd::SetWindowSystem(&system);
    TestWnd first, second;
    EXPECT_NE(first.Create(WindowId::None, "1", WindowStyle::kNormal, 0, 0, 0, 100, 100), WindowId::None);
    EXPECT_NE(second.Create(WindowId::None, "2", WindowStyle::kNormal, 0, 0, 0, 100, 100), WindowId::None);
    EXPECT_TRUE(CWindowWnd::IsClassRegistered(u"TestWnd"));
    EXPECT_TRUE(CWindowWnd::RegisterWindowClass(u"MyEdit", u"EDIT"));
    EXPECT_FALSE(CWindowWnd::RegisterWindowClass(u"Other", u"NoSuchClass"));

    // A popup 300 wide over an owner whose centre is 100 from the work area's
    // left edge starts at the left edge; one too far right ends at the right.
    const platform::Rect work{50, 0, 1050, 700};
    EXPECT_EQ(CenteredRect({0, 0, 300, 100}, {50, 100, 250, 300}, work).left, 50);
    EXPECT_EQ(CenteredRect({0, 0, 300, 100}, {900, 100, 1100, 300}, work).right, 1050);
    EXPECT_EQ(CenteredRect({0, 0, 300, 100}, work, work).left, 400);

    system.SetWorkArea(work);
    first.CenterWindow();
    EXPECT_EQ(system.GetWindowRect(first.GetHWND()).left, 500);
    system.DestroyWindow(first.GetHWND());
    EXPECT_EQ(first.finalMessages, 1);
    EXPECT_EQ(first.GetHWND(), WindowId::None);
    CWindowWnd::SetWindowSystem(nullptr);
}

}  // namespace
}  // namespace SkinUI
