// Long work with the mouse keeps the main window alive: the first frame comes
// before the mouse is asked anything, the progress label names each profile
// as the load goes on and is repainted between profiles, input is ignored
// meanwhile, and a close waits until every profile has been read.
#include "app/DeviceBusy.h"
#include "app/MouseConnection.h"
#include "app/NeritMainWnd.h"
#include "app/ProgramSettings.h"
#include "platform/FakeClock.h"
#include "platform/HeadlessWindowSystem.h"
#include "tests/TempFolder.h"
#include "ui/TabLayoutUI.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace NeritApp;
using platform::WindowId;

// The main window that lets a test act while each profile is being loaded,
// and notes when it is asked to close.
class ObservedMainWnd final : public CNeritMainWnd {
public:
    using CNeritMainWnd::CNeritMainWnd;

    void RefreshPages(int index) override
    {
        CNeritMainWnd::RefreshPages(index);
        if (DeviceBusyNow() && duringLoad)
            duringLoad(index);
    }

    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == platform::WM_CLOSE && closing)
            closing();
        return CNeritMainWnd::HandleMessage(message, wParam, lParam);
    }

    std::function<void(int)> duringLoad;
    std::function<void()> closing;
};

class DeviceBusyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        SkinUI::CWindowWnd::SetWindowSystem(&system);
    }

    void TearDown() override
    {
        if (window.GetHWND() != WindowId::None)
            system.DestroyWindow(window.GetHWND());
        system.RunPending();
        SkinUI::CWindowWnd::SetWindowSystem(nullptr);
    }

    void Create(int language = 0)
    {
        std::ofstream(folder.Path() / "config.ini")
            << "[Configuration Option]\nnumber=00\nlang=0" << language << "\n";
        ASSERT_EQ(settings.Open(), ProgramSettings::OpenResult::Ready);
        window.SetLanguage(settings.Language());
        window.Attach(settings, mouse);
        ASSERT_TRUE(window.Open());
    }

    size_t Reports() { return mouse.Simulated()->Log().size(); }

    SkinUI::CControlUI* Label() { return window.Manager().FindControl(DeviceBusy::kLabelName); }

    // The last frame's pixels inside a rectangle.
    std::vector<uint32_t> PixelsIn(const SkinUI::UIRect& rect)
    {
        std::vector<uint32_t> pixels;
        const platform::HeadlessWindowSystem::Frame* frame = system.LastFrame(window.GetHWND());
        if (frame == nullptr)
            return pixels;
        for (int y = rect.top; y < rect.bottom && y < frame->height; ++y) {
            for (int x = rect.left; x < rect.right && x < frame->width; ++x)
                pixels.push_back(frame->At(x, y));
        }
        return pixels;
    }

    void Click(std::u16string_view name)
    {
        SkinUI::CControlUI* control = window.Manager().FindControl(name);
        ASSERT_NE(control, nullptr);
        const SkinUI::UIRect rect = control->GetItemRect();
        const int x = (rect.left + rect.right) / 2;
        const int y = (rect.top + rect.bottom) / 2;
        system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
    }

    int CurrentTab()
    {
        auto* tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(window.Manager().FindControl(u"Tabs"));
        return tabs != nullptr ? tabs->GetCurSel() : -1;
    }

    testsupport::TempFolder folder;
    platform::HeadlessWindowSystem system;
    platform::FakeClock clock;
    MouseConnection mouse{std::string(), clock};
    ObservedMainWnd window{NERIT_SKIN_DIR, 0};
    ProgramSettings settings{mouse, folder.Path().string(), true, window, clock};
};

TEST_F(DeviceBusyTest, TheFirstFrameIsShownBeforeTheMouseIsAsked)
{
    Create();
    EXPECT_EQ(Reports(), 0u);
    platform::Message message;
    while (system.LastFrame(window.GetHWND()) == nullptr && system.GetMessage(message))
        system.DispatchMessage(message);
    ASSERT_NE(system.LastFrame(window.GetHWND()), nullptr);
    EXPECT_EQ(Reports(), 0u);
    system.RunPending();
    // Then the five profiles were loaded and the version shown.
    EXPECT_GT(Reports(), 0u);
    EXPECT_EQ(window.Manager().FindControl(u"fwversionlabel")->GetText().substr(0, 4), u"Curr");
    EXPECT_NE(window.Manager().FindControl(u"fwversionlabel")->GetText().find(u"V1."), std::u16string::npos);
}

TEST_F(DeviceBusyTest, TheIndicationNamesEachProfileIsRepaintedAndGoesAway)
{
    std::vector<std::u16string> texts;
    std::vector<std::vector<uint32_t>> shown;
    std::vector<platform::Cursor> cursors;
    SkinUI::UIRect labelRect;
    window.duringLoad = [&](int) {
        ASSERT_NE(Label(), nullptr);
        labelRect = Label()->GetItemRect();
        texts.push_back(Label()->GetText());
        shown.push_back(PixelsIn(labelRect));
        cursors.push_back(system.CurrentCursor());
    };
    Create();
    system.RunPending();
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"Reading profile 5 (1 of 5)…", u"Reading profile 4 (2 of 5)…",
                                                  u"Reading profile 3 (3 of 5)…", u"Reading profile 2 (4 of 5)…",
                                                  u"Reading profile 1 (5 of 5)…"}));
    ASSERT_EQ(shown.size(), 5u);
    ASSERT_GT(labelRect.right - labelRect.left, 0);
    // Each text was on the screen before its profile was read.
    for (size_t k = 1; k < shown.size(); ++k)
        EXPECT_NE(shown[k], shown[k - 1]) << k;
    EXPECT_EQ(cursors, std::vector<platform::Cursor>(5, platform::Cursor::Wait));
    // Afterwards the label is gone, from the controls and from the screen.
    EXPECT_EQ(Label(), nullptr);
    EXPECT_FALSE(window.DeviceBusyNow());
    EXPECT_EQ(system.CurrentCursor(), platform::Cursor::Arrow);
    const std::vector<uint32_t> after = PixelsIn(labelRect);
    for (const std::vector<uint32_t>& during : shown)
        EXPECT_NE(after, during);
}

TEST_F(DeviceBusyTest, TheIndicationSpeaksTheLanguage)
{
    std::vector<std::u16string> texts;
    window.duringLoad = [&](int) { texts.push_back(Label() != nullptr ? Label()->GetText() : u""); };
    Create(3);
    system.RunPending();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], u"Profil 5 wird gelesen (1 von 5) …");
}

TEST_F(DeviceBusyTest, InputDuringTheLoadIsIgnored)
{
    window.duringLoad = [&](int index) {
        if (index == 3) {
            Click(u"performancebtn");
            system.InjectWheel(window.GetHWND(), 500, 300, platform::WHEEL_DELTA);
            system.InjectKey(window.GetHWND(), platform::VK_RIGHT, true);
            system.InjectKey(window.GetHWND(), platform::VK_RIGHT, false);
        }
        if (index == 0)  // after the last read
            Click(u"macromanagebtn");
    };
    Create();
    system.RunPending();
    EXPECT_EQ(CurrentTab(), 0);
    EXPECT_EQ(window.State().currentTab, 0);
    // The same click afterwards is taken.
    Click(u"performancebtn");
    system.RunPending();
    EXPECT_EQ(CurrentTab(), 1);
}

TEST_F(DeviceBusyTest, ACloseDuringTheLoadWaitsForEveryProfile)
{
    std::vector<int> loaded;
    window.duringLoad = [&](int index) {
        loaded.push_back(index);
        if (index == 4)
            system.PostMessage(window.GetHWND(), platform::WM_CLOSE, 0, 0);
    };
    std::vector<int> loadedAtClose;
    size_t reportsAtClose = 0;
    window.closing = [&] {
        loadedAtClose = loaded;
        reportsAtClose = Reports();
    };
    Create();
    system.RunPending();
    EXPECT_EQ(loadedAtClose, (std::vector<int>{4, 3, 2, 1, 0}));
    // The mouse heard nothing after the close: the load was complete.
    EXPECT_GT(reportsAtClose, 0u);
    EXPECT_EQ(Reports(), reportsAtClose);
    // The close asks whether to leave, as the close button does.
    EXPECT_EQ(window.State().popupFlags, PopupFlag::kExit);
}

}  // namespace
