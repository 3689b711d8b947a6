// The real main window, headless over a simulated mouse in a folder of its
// own, driven as a user drives it: clicks at controls' middles, keys on the
// question opened last, the program's own loop run until nothing is left.
#pragma once

#include "app/LanguageGeometry.h"
#include "app/MouseConnection.h"
#include "app/NeritMainWnd.h"
#include "app/PopupState.h"
#include "app/ProgramSettings.h"
#include "app/ProgramTexts.h"
#include "platform/FakeClock.h"
#include "platform/FakeFileDialog.h"
#include "platform/FakeUrlOpener.h"
#include "platform/FilePointerSettings.h"
#include "platform/HeadlessWindowSystem.h"
#include "settings/CodePage.h"
#include "settings/MacroFiles.h"
#include "settings/ProfileFiles.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "settings/TransferProgress.h"
#include "tests/TempFolder.h"
#include "ui/ComboUI.h"
#include "ui/OptionUI.h"
#include "ui/SliderUI.h"
#include "ui/TabLayoutUI.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace maintest {

using namespace NeritApp;

using platform::WindowId;
namespace prof = settings::layout::profile;

constexpr size_t kProfileBytes = prof::kSize;

inline std::vector<uint8_t> ProfileBytes(int index)
{
    const uint8_t* bytes = settings::Store().Profile(static_cast<size_t>(index)).Bytes();
    return {bytes, bytes + kProfileBytes};
}

// Makes the simulated mouse refuse everything while one chosen profile is
// being written.
class FailOneWrite final : public settings::TransferProgress {
public:
    void BeforeProfile(Direction direction, int index, int, int) override
    {
        mouse->ClearFaults();
        if (direction != Direction::Writing || index != failing)
            return;
        for (auto kind : {sim::ReportKind::FeatureSet, sim::ReportKind::FeatureGet, sim::ReportKind::Output,
                          sim::ReportKind::Input})
            mouse->FailNext(kind, 100000);
    }

    sim::SimulatedMouse* mouse = nullptr;
    int failing = -1;
};

// The main window that hands its transfers' progress to a test's observer.
class ObservedMainWnd final : public CNeritMainWnd {
public:
    using CNeritMainWnd::CNeritMainWnd;

    void RunDeviceWork(const std::function<void()>& work) override
    {
        CNeritMainWnd::RunDeviceWork([&] {
            if (sync != nullptr && progress != nullptr)
                sync->SetProgress(progress);
            work();
        });
    }

    settings::ProfileSync* sync = nullptr;
    settings::TransferProgress* progress = nullptr;
};

// Notes the questions' answers that reach the main window: their types are
// names with an underscore, the controls' own notifications have none.
class AnswerLog final : public SkinUI::INotifyUI {
public:
    void Notify(SkinUI::NotifyMessage& message) override
    {
        if (message.type.find(u'_') != std::u16string::npos)
            types.push_back(message.type);
    }
    std::vector<std::u16string> types;
};

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        PopupState::Reset();
        SkinUI::CWindowWnd::SetWindowSystem(&system);
        // The mouse holds something other than the defaults.
        sim::FirmwareState state = sim::FirmwareState::Fresh();
        for (sim::ProfileState& profile : state.profiles)
            profile.colour = {11, 22, 33};
        mouse.Simulated()->SetState(state);
        failing.mouse = mouse.Simulated();
    }

    void TearDown() override
    {
        if (window.GetHWND() != WindowId::None)
            system.DestroyWindow(window.GetHWND());
        system.RunPending();
        SkinUI::CWindowWnd::SetWindowSystem(nullptr);
        PopupState::Reset();
    }

    void Start(int language = 0)
    {
        std::ofstream(folder.File("config.ini")) << "[Configuration Option]\nnumber=00\nlang=0" << language << "\n";
        ASSERT_EQ(settings.Open(), ProgramSettings::OpenResult::Ready);
        window.SetLanguage(settings.Language());
        window.Attach(settings, mouse);
        window.UseDesktop(&dialog, &opener);
        window.sync = &settings.Sync();
        ASSERT_TRUE(window.Open());
        window.Manager().AddNotifier(&answers);
        Run();
        ASSERT_EQ(window.State().shownProfile, 0);
    }

    // The program's own loop until nothing is left to do.
    void Run() { SkinUI::CWindowUIManager::MessageLoop(system); }

    SkinUI::CControlUI* Find(std::u16string_view name) { return window.Manager().FindControl(name); }

    // A press and release of the left button over the control's middle.
    void Click(std::u16string_view name)
    {
        SkinUI::CControlUI* control = Find(name);
        ASSERT_NE(control, nullptr) << std::string(name.begin(), name.end());
        const SkinUI::UIRect rect = control->GetItemRect();
        ASSERT_GT(rect.right, rect.left) << std::string(name.begin(), name.end()) << " is not shown";
        const int x = (rect.left + rect.right) / 2;
        const int y = (rect.top + rect.bottom) / 2;
        system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        Run();
        NotePopup();
    }

    // A question that opened takes the focus.
    void NotePopup()
    {
        const WindowId focus = system.GetFocus();
        if (focus != window.GetHWND() && focus != WindowId::None)
            popup = focus;
    }

    // A key on the question opened last answers it (the user gives it the
    // focus back first when the main window was clicked meanwhile).
    void Answer(int virtualKey)
    {
        ASSERT_TRUE(system.IsWindow(popup));
        system.SetFocus(popup);
        system.InjectKey(popup, virtualKey, true);
        system.InjectKey(popup, virtualKey, false);
        Run();
    }

    // The control's click notification, for a control the layout hides.
    void Press(std::u16string_view name)
    {
        SkinUI::CControlUI* control = Find(name);
        ASSERT_NE(control, nullptr) << std::string(name.begin(), name.end());
        window.Manager().SendNotify(control, u"click");
        Run();
        NotePopup();
    }

    // A question asked through `button` and answered with OK.
    void Confirm(std::u16string_view button, bool hidden = false)
    {
        if (hidden)
            Press(button);
        else
            Click(button);
        ASSERT_TRUE(PopupState::IsOpen()) << std::string(button.begin(), button.end());
        Answer(platform::VK_RETURN);
        ASSERT_FALSE(PopupState::IsOpen());
    }

    void Release(std::u16string_view name, int value)
    {
        auto* slider = dynamic_cast<SkinUI::CSliderUI*>(Find(name));
        ASSERT_NE(slider, nullptr);
        slider->SetValue(value);
        window.Manager().SendNotify(slider, u"valuechanged");
        Run();
    }

    bool Selected(std::u16string_view name)
    {
        auto* option = dynamic_cast<SkinUI::COptionUI*>(Find(name));
        return option != nullptr && option->IsSelected();
    }

    int CurrentTab()
    {
        auto* tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(Find(u"Tabs"));
        return tabs != nullptr ? tabs->GetCurSel() : -1;
    }

    std::u16string NameLabel() { return Find(u"Profilenamelabel") ? Find(u"Profilenamelabel")->GetText() : u"?"; }

    // Every control of the language geometry table stands where the
    // language puts it; returns how many of them the window has.
    int ExpectGeometry(bool german)
    {
        int found = 0;
        for (const LanguageGeometry& entry : kLanguageGeometry) {
            SkinUI::CControlUI* control = Find(entry.control);
            if (control == nullptr)
                continue;
            ++found;
            const std::u16string value(german ? entry.german : entry.other);
            std::istringstream numbers(std::string(value.begin(), value.end()));
            std::vector<int> read;
            for (std::string part; std::getline(numbers, part, ',');)
                read.push_back(std::stoi(part));
            const std::string name(entry.control.begin(), entry.control.end());
            if (entry.attribute == u"width") {
                EXPECT_EQ(control->GetFixedWidth(), read.at(0)) << name;
                continue;
            }
            EXPECT_EQ(control->GetFixedX(), read.at(0)) << name;
            EXPECT_EQ(control->GetFixedY(), read.at(1)) << name;
            if (read.at(2) > read.at(0)) {
                EXPECT_EQ(control->GetFixedWidth(), read.at(2) - read.at(0)) << name;
            }
        }
        return found;
    }

    // Changes not applied yet, as neritctl leaves them: the defaults with
    // profile 1's report rate.
    void WritePendingChanges(int32_t reportRate)
    {
        auto pending = std::make_unique<settings::SettingsStore>();
        for (int p = 0; p < 5; ++p)
            settings::ResetProfile(*pending, p);
        pending->SetCurrentProfile(1);
        pending->SetLedOn(true);
        pending->Profile(0).Set(prof::kReportRate, reportRate);
        std::filesystem::create_directories(ProfileFolder(""));
        ASSERT_TRUE(settings::SaveAllProfilesFile(*pending, platform::RealFileSystem(), ProfileFolder("PendingChanges")));
    }

    const sim::FirmwareState& Mouse() { return mouse.Simulated()->State(); }
    std::string ProfileFolder(const std::string& name) { return folder.File("profile/" + name); }

    testsupport::TempFolder folder;
    platform::HeadlessWindowSystem system;
    platform::FakeClock clock;
    MouseConnection mouse{std::string(), clock};
    platform::FakeFileDialog dialog{system};
    platform::FakeUrlOpener opener;
    FailOneWrite failing;
    WindowId popup = WindowId::None;
    AnswerLog answers;
    ObservedMainWnd window{NERIT_SKIN_DIR, 0};
    ProgramSettings settings{mouse, folder.Path().string(), true, window, clock};
};

}  // namespace maintest
