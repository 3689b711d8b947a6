// A headless main window holding an owner button that opens popups; the
// popups' answers come back to it through the process's message loop.
#pragma once

#include "app/PopupState.h"
#include "app/PopupWnd.h"
#include "platform/HeadlessWindowSystem.h"
#include "ui/ControlUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace NeritApp {

class PopupOwnerWnd final : public SkinUI::CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"PopupTestMain"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = 0;
        return manager.MessageHandler(message, wParam, lParam, result) ? result : 0;
    }
    SkinUI::CWindowUIManager manager;
};

class PopupOwnerFixture : public ::testing::Test, public SkinUI::INotifyUI {
protected:
    platform::HeadlessWindowSystem system;
    PopupOwnerWnd main;
    SkinUI::CControlUI* owner = nullptr;
    platform::WindowId popupWindow = platform::WindowId::None;
    std::filesystem::path folder;

    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "popup-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        PopupState::Reset();
        SkinUI::CWindowWnd::SetWindowSystem(&system);
        system.SetWorkArea({0, 0, 1920, 1080});
        ASSERT_NE(main.Create(platform::WindowId::None, "main", SkinUI::WindowStyle::kNormal, 0, 100, 100, 1000, 680),
                  platform::WindowId::None);
        main.manager.Init(&system, main.GetHWND());
        main.manager.SetResourcePath(folder.string());
        SkinUI::CLayoutBuilder builder;
        ASSERT_TRUE(main.manager.AttachDialog(builder.Create(kMainLayout, nullptr, &main.manager)));
        main.manager.AddNotifier(this);
        main.ShowWindow();
        Run();
        owner = main.manager.FindControl(u"ownerbtn");
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override
    {
        if (main.GetHWND() != platform::WindowId::None)
            system.DestroyWindow(main.GetHWND());
        SkinUI::CWindowWnd::SetWindowSystem(nullptr);
        PopupState::Reset();
        std::filesystem::remove_all(folder);
    }
    void Notify(SkinUI::NotifyMessage& message) override
    {
        if (message.type != u"windowinit" && message.type != u"click")
            OnAnswer(message);
    }
    // A notification that reached the main window other than its own.
    virtual void OnAnswer(SkinUI::NotifyMessage& message) = 0;

    // The program's own loop, with the pre-translation, until nothing is left.
    void Run() { SkinUI::CWindowUIManager::MessageLoop(system); }

    platform::WindowId Open(CPopupWnd* popup, SkinUI::CControlUI* from)
    {
        EXPECT_TRUE(popup->Show(from));
        popupWindow = popup->GetHWND();
        Run();
        return popupWindow;
    }
    void KeyTo(platform::WindowId window, int vk)
    {
        system.InjectKey(window, vk, true);
        system.InjectKey(window, vk, false);
        Run();
    }
    void Key(int vk) { KeyTo(popupWindow, vk); }
    void ClickAt(int x, int y)
    {
        system.InjectMouse(popupWindow, platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(popupWindow, platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(popupWindow, platform::WM_LBUTTONUP, x, y);
        Run();
    }
    void Click(CPopupWnd& popup, std::u16string_view control)
    {
        SkinUI::CControlUI* found = popup.GetManager().FindControl(control);
        ASSERT_NE(found, nullptr);
        const SkinUI::UIRect rect = found->GetItemRect();
        ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

private:
    static constexpr std::u16string_view kMainLayout =
        u"<Window size=\"1000,680\"><Container>"
        u"<Button name=\"ownerbtn\" float=\"true\" pos=\"10,10,110,40\" />"
        u"</Container></Window>";
};

}  // namespace NeritApp
