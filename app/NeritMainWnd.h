// The program's main window: layout 189 with its four pages, shaped by the
// skin's mask, loading the five profiles from the mouse when it first shows.
#pragma once

#include "app/ButtonAssignment.h"
#include "app/CaptionDrag.h"
#include "app/DeviceBusy.h"
#include "app/DevicePresence.h"
#include "app/DialogBuilderCallbackEx.h"
#include "app/MacroWorkflow.h"
#include "app/MouseConnection.h"
#include "app/NameRoutes.h"
#include "app/NeritMainState.h"
#include "app/PerformancePage.h"
#include "app/ProfileArea.h"
#include "app/ProfileWorkflow.h"
#include "app/ProgramSettings.h"
#include "app/SensorPages.h"
#include "app/StopSignalWatch.h"
#include "platform/file_dialog.h"
#include "platform/single_instance.h"
#include "platform/url_opener.h"
#include "settings/PendingChanges.h"
#include "settings/ProfileSet.h"
#include "settings/ProfileSync.h"
#include "ui/NotifyMessage.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace NeritApp {

class CPopupWnd;

class CNeritMainWnd : public SkinUI::CWindowWnd,
                      public SkinUI::INotifyUI,
                      public settings::PageRefresher,
                      public ProfileWorkflow::Host,
                      public MacroWorkflow::Host,
                      public DevicePresence::Host,
                      private StopSignalWatch::Host,
                      private ButtonAssignment::Popups {
public:
    static constexpr std::u16string_view kClassName = u"MSUIMainFrame";
    static constexpr std::string_view kTitle = " Corvanta Vimo Mouse Utility ";
    static constexpr std::string_view kNoticeCaption = "Notice by App";
    // The version caption's number when the mouse does not tell it.
    static constexpr std::u16string_view kUnknownFirmware = u"V-.-- ";
    // Posted at "windowinit": the mouse is asked only once the first frame
    // is on the screen.
    static constexpr unsigned kStartupDeviceWork = platform::WM_APP + 1;
    // Posted by the file dialogs when the user answered (wParam: request).
    static constexpr unsigned kFileDialogAnswer = platform::WM_APP + 2;

    // programFolder holds the skin folders VimoSkin … VimoSkin3; languages
    // outside 0..3 show English.
    CNeritMainWnd(std::string programFolder, int language);
    ~CNeritMainWnd() override;

    // Languages outside 0..3 show English; before Open.
    void SetLanguage(int language);
    // The settings and the mouse the window works on; before Open.
    void Attach(ProgramSettings& settings, MouseConnection& mouse);
    // The desktop's file dialogs and web browser; before Open. Without them
    // profile files cannot be chosen and links do nothing.
    void UseDesktop(platform::FileDialog* fileDialog, platform::UrlOpener* urlOpener);
    // Where the macro recorder reads the keys and buttons of the whole
    // desktop (null: nowhere, only the window's own input is recorded); the
    // clock stamps the window's own input. Without a call: the window's own
    // input on the system clock.
    void UseRecorderInput(platform::RawInput* desktop, platform::Clock& clock);
    // Where the mouse's arrival and removal are learnt (null: nowhere); the
    // clock paces the firmware queries of a returning mouse. Before Open.
    void UseDeviceMonitor(platform::DeviceMonitor* monitor, platform::Clock& clock);
    // Creates the window at the mask's size, centred on the work area, and
    // shows it. False when the window or its layout cannot be made.
    bool Open();
    // Brings the window to the front and gives it the focus.
    void Raise();
    // Shows page `page` (0..3 in tab order) as a click on its tab does;
    // false for another number.
    bool ShowPage(int page);
    // Looks every intervalMs for later starts that ask the window to come
    // to the front.
    void WatchRaiseRequests(platform::InstanceGuard& guard, unsigned timerId, unsigned intervalMs);
    // Looks every intervalMs for SIGTERM and SIGINT (platform::StopSignals),
    // which end the program as a close without a question does, once a
    // transfer with the mouse is done. What the user is to be told then (a
    // further signal while waiting, changes that could not be kept) goes to
    // `console` one line at a time. After Attach.
    void WatchStopSignals(unsigned timerId, unsigned intervalMs, std::function<void(const std::string&)> console);
    // The signal that ended the program; 0 for none.
    int StopSignal() const { return stops_ != nullptr ? stops_->Signal() : 0; }
    // The changes not applied yet; null before Attach.
    settings::PendingChanges* Pending() { return pending_.get(); }

    // Runs long work with the mouse (loading or writing all profiles) with
    // the progress shown over the window; the window keeps painting and
    // takes no input meanwhile, and a close waits until the work is done.
    void RunDeviceWork(const std::function<void()>& work) override;
    bool DeviceBusyNow() const override { return busy_.Active(); }

    NeritMainState& State() { return state_; }
    // The macro page; null before Attach.
    MacroWorkflow* Macros() { return macros_.get(); }
    SkinUI::CWindowUIManager& Manager() { return manager_; }
    int Language() const override { return language_; }
    std::string SkinFolder() const;

    std::u16string_view GetWindowClassName() const override { return kClassName; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void Notify(SkinUI::NotifyMessage& message) override;
    // Shows profile `index` (0..4) on every page and makes it the shown one.
    void RefreshPages(int index) override;

private:
    using Handler = void (CNeritMainWnd::*)(int number, SkinUI::NotifyMessage& message);
    using Route = NameRoute<Handler>;
    static std::span<const Route> ClickRoutes();
    static std::span<const Route> SelectionRoutes();
    static std::span<const Route> AnswerRoutes();

    // ProfileWorkflow::Host
    int ShownProfile() const override { return state_.shownProfile; }
    void RefreshFromProfile(int index) override { RefreshPages(index); }
    void ShowNotice(const std::string& text, unsigned flags) override;
    int AskQuestion(const std::string& text) override;
    // ButtonAssignment::Popups: hooks for the key popup and the play-option
    // popup, which do not open yet.
    void OpenKeyPopup(SkinUI::CControlUI* anchor) override;
    void OpenPlayOptionPopup(SkinUI::CControlUI* anchor, int button, int profile) override;
    // MacroWorkflow::Host
    void OpenMacroLimitBox(SkinUI::CControlUI* anchor) override;
    // DevicePresence::Host
    bool CheckDevicePresent() override;
    bool ReadFirmwareVersion() override { return ShowFirmwareVersion(); }
    void MouseGone() override;
    void MouseBack() override;

    bool FilterInput(unsigned message, intptr_t lParam);
    bool Dispatch(SkinUI::NotifyMessage& message);
    void OnSelectChanged(SkinUI::NotifyMessage& message);
    void OnAnswer(SkinUI::NotifyMessage& message);
    void OpenPopup(int kind, unsigned flag, SkinUI::CControlUI* owner);
    void OpenQuestion(int kind, unsigned flag, SkinUI::CControlUI* owner);
    // Shows the popup for `owner` and sets `flag`; nothing when it cannot be
    // shown.
    void ShowPopup(std::unique_ptr<CPopupWnd> popup, unsigned flag, SkinUI::CControlUI* owner);
    // The exit question: Apply, Discard or Cancel while changes are not
    // applied, else whether to leave.
    void AskToExit(SkinUI::CControlUI* owner);
    // Keeps the changes not applied as pending changes (or drops them);
    // false, after telling why, when the file could not be written.
    bool KeepChanges(bool keep);
    void EndProgram(bool keepChanges);
    // StopSignalWatch::Host
    void EndForSignal(int number) override;
    void TellConfigNotWritten();
    void TellHotPlugUnwatched();
    void OnLanguageSelected(SkinUI::CControlUI& combo);
    void ShowLeds();
    bool SwitchLeds(bool on);
    void OpenAddress(std::u16string_view address);

    // Click handlers (number: the profile, stage or button in the name).
    void OnExitButton(int, SkinUI::NotifyMessage& message);
    void OnMinimizeButton(int, SkinUI::NotifyMessage&);
    void OnResetAllButton(int, SkinUI::NotifyMessage& message);
    void OnApplyButton(int, SkinUI::NotifyMessage& message);
    void OnCancelButton(int, SkinUI::NotifyMessage&);
    void OnLoadButton(int, SkinUI::NotifyMessage&);
    void OnSaveToFileButton(int, SkinUI::NotifyMessage&);
    void OnProfileSaveButton(int number, SkinUI::NotifyMessage& message);
    void OnProfileDefaultButton(int number, SkinUI::NotifyMessage& message);
    void OnProfileOption(int number, SkinUI::NotifyMessage& message);
    void OnPageMessage(int, SkinUI::NotifyMessage& message);
    void OnSupportLink(int, SkinUI::NotifyMessage& message);
    void OnWebsiteLink(int, SkinUI::NotifyMessage& message);
    void OnSocialNetworkLink(int, SkinUI::NotifyMessage& message);
    void OnAssignButton(int number, SkinUI::NotifyMessage& message);
    // Selection handlers.
    void OnTabOption(int page, SkinUI::NotifyMessage& message);
    void OnLedOption(int, SkinUI::NotifyMessage& message);
    void OnInUseOption(int number, SkinUI::NotifyMessage& message);
    // Answers of the questions.
    void OnResetAllAnswer(int, SkinUI::NotifyMessage&);
    void OnApplyAnswer(int, SkinUI::NotifyMessage&);
    void OnResetProfileAnswer(int, SkinUI::NotifyMessage&);
    void OnSaveProfileAnswer(int, SkinUI::NotifyMessage&);
    void OnExitAnswer(int, SkinUI::NotifyMessage&);
    void OnExitApplyAnswer(int, SkinUI::NotifyMessage&);
    void OnExitDiscardAnswer(int, SkinUI::NotifyMessage&);
    void OnNoDeviceAnswer(int, SkinUI::NotifyMessage&);
    void OnCancelAnswer(int, SkinUI::NotifyMessage& message);
    void OnSingleKeyAnswer(int, SkinUI::NotifyMessage& message);
    void OnPlayOptionAnswer(int, SkinUI::NotifyMessage& message);

    bool OnCreate();
    void InitWindow();
    void OnWindowInit();
    void OnStartupDeviceWork();
    void LoadStartupProfile();
    // True when changes not applied yet were laid over the store.
    bool LoadPendingChanges(const settings::ProfileSet& changedOnMouse);
    void ShowFailedProfiles(const settings::ProfileSet& failed);
    void SetVersionLabels();
    bool ShowFirmwareVersion();
    void SetLinks();
    void SelectTab(int tab);

    std::string programFolder_;
    int language_ = 0;
    NeritMainState state_;
    SkinUI::CWindowUIManager manager_;
    CDialogBuilderCallbackEx callback_;
    DeviceBusy busy_{manager_};
    CaptionDrag drag_{manager_};
    ProfileArea area_{manager_};
    PerformancePage performance_{manager_, settings::Store(), state_.shownProfile};
    SensorPages sensors_{manager_, settings::Store(), state_.shownProfile, state_.currentSensorTab};
    ButtonAssignment assignment_{manager_, settings::Store(), state_, language_, *this};
    std::unique_ptr<ProfileWorkflow> workflow_;
    std::unique_ptr<MacroWorkflow> macros_;
    platform::RawInput* recorderInput_ = nullptr;
    platform::Clock* recorderClock_ = nullptr;
    std::unique_ptr<DevicePresence> presence_;
    platform::DeviceMonitor* monitor_ = nullptr;
    platform::FileDialog* fileDialog_ = nullptr;
    platform::UrlOpener* urlOpener_ = nullptr;
    ProgramSettings* settings_ = nullptr;
    MouseConnection* mouse_ = nullptr;
    platform::InstanceGuard* guard_ = nullptr;
    unsigned raiseTimer_ = 0;
    std::unique_ptr<settings::PendingChanges> pending_;
    std::unique_ptr<StopSignalWatch> stops_;
    std::function<void(const std::string&)> console_;
    unsigned stopTimer_ = 0;
    bool ending_ = false;
    bool configTold_ = false;  // config.ini could not be written: said once
    bool hotPlugUnwatched_ = false;  // the device monitor could not start
    bool initialised_ = false;
};

}  // namespace NeritApp
