// A headless window showing the program's pages from the compiled layouts,
// over a settings store with the defaults and a simulated mouse. The
// window's notifications go to `route`, as the main window hands them to
// its pages.
#pragma once

#include "app/DialogBuilderCallbackEx.h"
#include "platform/HeadlessWindowSystem.h"
#include "settings/SettingsDefaults.h"
#include "tests/settings/SettingsFixture.h"
#include "tests/ui/LayoutWindowFixture.h"
#include "ui/LabelUI.h"
#include "ui/OptionUI.h"
#include "ui/SliderUI.h"

#include <functional>
#include <string>

namespace NeritApp::test {

namespace prof = settings::layout::profile;

class PageWindowFixture : public settings::test::SettingsFixture, public SkinUI::INotifyUI {
protected:
    void SetUp() override
    {
        SkinUI::CWindowWnd::SetWindowSystem(&system);
        settings::ResetAllSettings(*store, firmware, program);
    }
    void TearDown() override
    {
        if (window.GetHWND() != platform::WindowId::None)
            system.DestroyWindow(window.GetHWND());
        system.RunPending();
        SkinUI::CWindowWnd::SetWindowSystem(nullptr);
    }

    void Notify(SkinUI::NotifyMessage& message) override
    {
        if (route && route(message))
            handled.push_back(message.type + u":" + (message.sender ? message.sender->GetName() : u""));
    }

    // Shows the layout text, whose page elements build the program's pages.
    void Open(std::u16string_view layout)
    {
        ASSERT_NE(window.Create(platform::WindowId::None, "pages", SkinUI::WindowStyle::kNormal, 0, 0, 0, 1000, 700),
                  platform::WindowId::None);
        window.manager.Init(&system, window.GetHWND());
        SkinUI::CLayoutBuilder builder;
        ASSERT_TRUE(window.manager.AttachDialog(builder.CreateDetached(layout, &callback, &window.manager)));
        window.manager.AddNotifier(this);
        window.ShowWindow();
        system.RunPending();
    }

    template <typename Control>
    Control& Get(std::u16string_view name)
    {
        auto* control = dynamic_cast<Control*>(window.manager.FindControl(name));
        if (control == nullptr)
            ADD_FAILURE() << "missing control " << std::string(name.begin(), name.end());
        static Control none;
        return control != nullptr ? *control : none;
    }
    SkinUI::CSliderUI& Slider(std::u16string_view name) { return Get<SkinUI::CSliderUI>(name); }
    SkinUI::COptionUI& Option(std::u16string_view name) { return Get<SkinUI::COptionUI>(name); }
    std::u16string Text(std::u16string_view name) { return Get<SkinUI::CControlUI>(name).GetText(); }
    bool Selected(std::u16string_view name) { return Option(name).IsSelected(); }

    // A click as the user makes it: "click", then the option's selection.
    void Click(std::u16string_view name)
    {
        Get<SkinUI::CControlUI>(name).Activate();
        system.RunPending();
    }
    // The thumb released where it stands for `value`.
    void Release(std::u16string_view name, int value)
    {
        SkinUI::CSliderUI& slider = Slider(name);
        slider.SetValue(value);
        window.manager.SendNotify(&slider, u"valuechanged");
        system.RunPending();
    }
    // Wheel notches over the slider (positive away from the user).
    void Wheel(std::u16string_view name, int notches)
    {
        const SkinUI::UIRect rect = Slider(name).GetItemRect();
        system.InjectWheel(window.GetHWND(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, 120 * notches);
        system.RunPending();
    }

    platform::HeadlessWindowSystem system;
    SkinUI::LayoutTestWnd window;
    CDialogBuilderCallbackEx callback;
    int shownProfile = 0;
    int sensorTab = 0;
    std::function<bool(SkinUI::NotifyMessage&)> route;
    std::vector<std::u16string> handled;
};

}  // namespace NeritApp::test
