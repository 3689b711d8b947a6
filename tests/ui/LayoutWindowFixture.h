// A headless window showing one layout, for tests that drive controls with
// injected mouse and key input.
#pragma once

#include "platform/HeadlessWindowSystem.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

namespace SkinUI {

class LayoutTestWnd final : public CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"LayoutTestWnd"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = 0;
        return manager.MessageHandler(message, wParam, lParam, result) ? result : 0;
    }
    CWindowUIManager manager;
};

class LayoutWindowFixture : public ::testing::Test {
protected:
    platform::HeadlessWindowSystem system;
    LayoutTestWnd window;

    void SetUp() override { CWindowWnd::SetWindowSystem(&system); }
    void TearDown() override
    {
        if (window.GetHWND() != platform::WindowId::None)
            system.DestroyWindow(window.GetHWND());
        CWindowWnd::SetWindowSystem(nullptr);
    }
    // Shows `layout` in a window at (x, y) of the given size, `notifier` listening.
    void Open(std::u16string_view layout, INotifyUI& notifier, int x, int y, int cx, int cy)
    {
        ASSERT_NE(window.Create(platform::WindowId::None, "test", WindowStyle::kNormal, 0, x, y, cx, cy),
                  platform::WindowId::None);
        window.manager.Init(&system, window.GetHWND());
        CLayoutBuilder builder;
        ASSERT_TRUE(window.manager.AttachDialog(builder.CreateDetached(layout, nullptr, &window.manager)));
        window.manager.AddNotifier(&notifier);
        window.ShowWindow();
        system.RunPending();
    }
    void Key(platform::WindowId target, int vk)
    {
        system.InjectKey(target, vk, true);
        system.InjectKey(target, vk, false);
        system.RunPending();
    }
};

}  // namespace SkinUI
