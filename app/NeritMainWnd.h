// The program's main window: layout 189 with its four pages, shaped by the
// skin's mask, loading the five profiles from the mouse when it first shows.
#pragma once

#include "app/DeviceBusy.h"
#include "app/DialogBuilderCallbackEx.h"
#include "app/MouseConnection.h"
#include "app/NeritMainState.h"
#include "app/ProgramSettings.h"
#include "platform/single_instance.h"
#include "settings/ProfileSet.h"
#include "settings/ProfileSync.h"
#include "ui/NotifyMessage.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <functional>
#include <string>
#include <string_view>

namespace NeritApp {

class CNeritMainWnd : public SkinUI::CWindowWnd, public SkinUI::INotifyUI, public settings::PageRefresher {
public:
    static constexpr std::u16string_view kClassName = u"MSUIMainFrame";
    static constexpr std::string_view kTitle = " Corvanta Vimo Mouse Utility ";
    static constexpr std::string_view kNoticeCaption = "Notice by App";
    // The version caption's number when the mouse does not tell it.
    static constexpr std::u16string_view kUnknownFirmware = u"V-.-- ";
    // Posted at "windowinit": the mouse is asked only once the first frame
    // is on the screen.
    static constexpr unsigned kStartupDeviceWork = platform::WM_APP + 1;

    // programFolder holds the skin folders VimoSkin … VimoSkin3; languages
    // outside 0..3 show English.
    CNeritMainWnd(std::string programFolder, int language);
    ~CNeritMainWnd() override;

    // Languages outside 0..3 show English; before Open.
    void SetLanguage(int language);
    // The settings and the mouse the window works on; before Open.
    void Attach(ProgramSettings& settings, MouseConnection& mouse);
    // Creates the window at the mask's size, centred on the work area, and
    // shows it. False when the window or its layout cannot be made.
    bool Open();
    // Brings the window to the front and gives it the focus.
    void Raise();
    // Looks every intervalMs for later starts that ask the window to come
    // to the front.
    void WatchRaiseRequests(platform::InstanceGuard& guard, unsigned timerId, unsigned intervalMs);

    // Runs long work with the mouse (loading or writing all profiles) with
    // the progress shown over the window; the window keeps painting and
    // takes no input meanwhile, and a close waits until the work is done.
    void RunDeviceWork(const std::function<void()>& work);
    bool DeviceBusyNow() const { return busy_.Active(); }

    NeritMainState& State() { return state_; }
    SkinUI::CWindowUIManager& Manager() { return manager_; }
    int Language() const { return language_; }
    std::string SkinFolder() const;

    std::u16string_view GetWindowClassName() const override { return kClassName; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void Notify(SkinUI::NotifyMessage& message) override;
    // Shows profile `index` on the pages.
    void RefreshPages(int index) override;

private:
    bool OnCreate();
    void InitWindow();
    void OnWindowInit();
    void OnStartupDeviceWork();
    void LoadStartupProfile();
    void ShowFailedProfiles(const settings::ProfileSet& failed);
    void ShowProfileOption(int index);
    void SetVersionLabels();
    void ShowFirmwareVersion();
    void SetLinks();
    void SelectTab(int tab);
    bool CheckDevicePresent();
    void OnClick(SkinUI::CControlUI& sender);

    std::string programFolder_;
    int language_ = 0;
    NeritMainState state_;
    SkinUI::CWindowUIManager manager_;
    CDialogBuilderCallbackEx callback_;
    DeviceBusy busy_{manager_};
    ProgramSettings* settings_ = nullptr;
    MouseConnection* mouse_ = nullptr;
    platform::InstanceGuard* guard_ = nullptr;
    unsigned raiseTimer_ = 0;
    bool initialised_ = false;
};

}  // namespace NeritApp
