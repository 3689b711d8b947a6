#include "app/NeritMainWnd.h"

#include "app/BoundControls.h"
#include "app/ExitChangesWnd.h"
#include "app/LanguageGeometry.h"
#include "app/MainFrameSetup.h"
#include "app/MaskRegion.h"
#include "app/KeysMessageWnd.h"
#include "app/MacroPlayOptionWnd.h"
#include "app/MessageBoxWnd.h"
#include "app/PopupResult.h"
#include "app/NameRoutes.h"
#include "app/PopupMessageWnd.h"
#include "app/PopupState.h"
#include "app/PopupWnd.h"
#include "app/ProgramTexts.h"
#include "app/SkinLanguages.h"
#include "settings/ButtonFunctions.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "settings/CodePage.h"
#include "settings/CommandMessages.h"
#include "settings/DamagedFiles.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"
#include "ui/ComboUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/OptionUI.h"
#include "ui/TabLayoutUI.h"

#include <cstdio>
#include <initializer_list>
#include <iterator>

namespace NeritApp {

using namespace platform;
using SkinUI::CControlUI;

namespace {

// The tab options in page order.
constexpr std::u16string_view kTabOptions[] = {u"maincontrolbtn", u"performancebtn", u"macromanagebtn",
                                               u"techsupportbtn"};
constexpr SkinUI::UISize kFallbackSize{1000, 680};

std::u16string Digit(int value)
{
    return std::u16string(1, static_cast<char16_t>(u'0' + value));
}

// "V1.07 " for 107.
std::u16string VersionText(int version)
{
    char text[32];
    std::snprintf(text, sizeof text, "V%d.%2.2d ", version / 100, version % 100);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

// Each "%s" of the pattern in turn replaced by the next part.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> parts)
{
    std::string text(pattern);
    size_t from = 0;
    for (std::string_view part : parts) {
        const size_t at = text.find("%s", from);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, part);
        from = at + part.size();
    }
    return text;
}

std::string_view ReasonText(platform::FileError error, int language)
{
    const auto index = std::min(static_cast<size_t>(error), kFileErrorTexts.size() - 1);
    return kFileErrorTexts[index][static_cast<size_t>(language)];
}

}  // namespace

CNeritMainWnd::CNeritMainWnd(std::string programFolder, int language) : programFolder_(std::move(programFolder))
{
    SetLanguage(language);
}

void CNeritMainWnd::SetLanguage(int language)
{
    language_ = language >= 0 && language < static_cast<int>(std::size(kSkinLanguages)) ? language : 0;
}

void CNeritMainWnd::WatchRaiseRequests(platform::InstanceGuard& guard, unsigned timerId, unsigned intervalMs)
{
    guard_ = &guard;
    raiseTimer_ = timerId;
    System()->SetTimer(GetHWND(), timerId, intervalMs);
}

CNeritMainWnd::~CNeritMainWnd()
{
    if (GetHWND() != WindowId::None && System() != nullptr)
        System()->DestroyWindow(GetHWND());
}

std::string CNeritMainWnd::SkinFolder() const
{
    return programFolder_ + "/" + std::string(kSkinLanguages[language_].folder);
}

void CNeritMainWnd::WatchStopSignals(unsigned timerId, unsigned intervalMs,
                                     std::function<void(const std::string&)> console)
{
    console_ = std::move(console);
    stops_ = std::make_unique<StopSignalWatch>(static_cast<StopSignalWatch::Host&>(*this), [this] {
        if (console_)
            console_(std::string(kStillTransferringLine));
    });
    stopTimer_ = timerId;
    System()->SetTimer(GetHWND(), timerId, intervalMs);
}

void CNeritMainWnd::Attach(ProgramSettings& settings, MouseConnection& mouse)
{
    settings_ = &settings;
    mouse_ = &mouse;
    pending_ = std::make_unique<settings::PendingChanges>(settings.Files(), settings.Folder());
    workflow_ = std::make_unique<ProfileWorkflow>(*this, settings, area_);
    macros_ = std::make_unique<MacroWorkflow>(*this, manager_, settings::Store(), state_, language_, settings.Folder(),
                                              settings.Files());
    if (recorderClock_ != nullptr)
        macros_->UseRecorderInput(recorderInput_, *recorderClock_);
}

void CNeritMainWnd::UseDeviceMonitor(platform::DeviceMonitor* monitor, platform::Clock& clock)
{
    monitor_ = monitor;
    presence_ = std::make_unique<DevicePresence>(*this, state_, clock);
}

void CNeritMainWnd::UseRecorderInput(platform::RawInput* desktop, platform::Clock& clock)
{
    recorderInput_ = desktop;
    recorderClock_ = &clock;
    if (macros_ != nullptr)
        macros_->UseRecorderInput(desktop, clock);
}

void CNeritMainWnd::UseDesktop(FileDialog* fileDialog, UrlOpener* urlOpener)
{
    fileDialog_ = fileDialog;
    urlOpener_ = urlOpener;
}

bool CNeritMainWnd::Open()
{
    const std::optional<WindowMask> mask = MaskRegion::Load(programFolder_);
    if (Create(WindowId::None, kTitle, SkinUI::WindowStyle::kNormal, 0, 0, 0, kFallbackSize.cx, kFallbackSize.cy)
        == WindowId::None)
        return false;
    // The layout's size replaces the mask's when it gives one.
    SkinUI::UISize size = manager_.GetInitialSize();
    if (size.cx <= 0 || size.cy <= 0)
        size = mask ? SkinUI::UISize{mask->width, mask->height} : kFallbackSize;
    System()->MoveWindow(GetHWND(), {0, 0, size.cx, size.cy});
    if (mask && !mask->region.rects.empty())
        System()->SetWindowRegion(GetHWND(), mask->region);
    CenterWindow();
    ShowWindow(true, true);
    return true;
}

void CNeritMainWnd::Raise()
{
    ShowWindow(true, true);
    System()->SetFocus(GetHWND());
}

intptr_t CNeritMainWnd::HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_CREATE)
        return OnCreate() ? 0 : -1;
    // The desktop's close asks as the close button does; a recording ends
    // first, as the answer would not be heard while it goes on.
    if (message == WM_CLOSE) {
        if (macros_ != nullptr)
            macros_->StopRecording();
        CControlUI* close = manager_.FindControl(u"closebtn");
        AskToExit(close != nullptr ? close : manager_.GetRoot());
        return 0;
    }
    if (message == WM_TIMER && stops_ != nullptr && wParam == stopTimer_) {
        stops_->Check();
        return 0;
    }
    if (message == WM_DESTROY)
        System()->PostQuitMessage(0);
    if (message == kStartupDeviceWork) {
        OnStartupDeviceWork();
        return 0;
    }
    if (message == kFileDialogAnswer) {
        const auto id = static_cast<FileDialog::RequestId>(wParam);
        const bool macroFile = macros_ != nullptr && macros_->OnFileDialogAnswer(id);
        if (!macroFile && workflow_ != nullptr)
            workflow_->OnFileDialogAnswer(id);
        return 0;
    }
    if (message == WM_COMMAND) {
        const int command = static_cast<int>(wParam & 0xFFFF);
        const bool macroCommand = macros_ != nullptr && macros_->OnCommand(command);
        if (!macroCommand && ButtonAssignment::IsAssignCommand(command))
            assignment_.OnCommand(command);
        return 0;
    }
    if (message == WM_TIMER && wParam == ButtonAssignment::kWarningTimer) {
        assignment_.OnWarningTimer();
        return 0;
    }
    if (message == WM_TIMER && macros_ != nullptr && macros_->OnTimer(wParam))
        return 0;
    if (message == WM_TIMER && wParam == DevicePresence::kPollTimer) {
        if (presence_ != nullptr)
            presence_->Poll();
        return 0;
    }
    if (macros_ != nullptr && macros_->Recording()) {
        macros_->OnWindowMessage(message, wParam, lParam);
        if (macros_->SwallowWhileRecording(message, lParam))
            return 0;
    }
    if (FilterInput(message, lParam))
        return 0;
    // The skin draws the frame: its caption moves the window.
    if (drag_.OnMessage(message, lParam))
        return 0;
    if (message == WM_MOUSEMOVE)
        assignment_.ShowHoverPictures(LowSigned(lParam), HighSigned(lParam));
    if (message == WM_TIMER && guard_ != nullptr && wParam == raiseTimer_) {
        if (guard_->TakeRaiseRequests())
            Raise();
        return 0;
    }
    intptr_t result = 0;
    if (manager_.MessageHandler(message, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

bool CNeritMainWnd::OnCreate()
{
    manager_.Init(System(), GetHWND());
    manager_.SetHasNativeWindow(true);
    manager_.SetResourcePath(SkinFolder());
    SkinUI::CLayoutBuilder builder;
    if (!manager_.AttachDialog(builder.Create(Layout::kMainFrame, "xml", &callback_, &manager_)))
        return false;
    manager_.AddNotifier(this);
    if (workflow_ != nullptr)
        workflow_->UseFileDialog(fileDialog_, GetHWND(), kFileDialogAnswer);
    if (macros_ != nullptr)
        macros_->UseFileDialog(fileDialog_, GetHWND(), kFileDialogAnswer);
    InitWindow();
    return true;
}

void CNeritMainWnd::InitWindow()
{
    // Arrival and removal of the mouse, learnt from the device monitor.
    if (presence_ != nullptr && presence_->Use(monitor_))
        System()->SetTimer(GetHWND(), DevicePresence::kPollTimer, DevicePresence::kPollIntervalMs);
    else
        hotPlugUnwatched_ = presence_ != nullptr;
    MainFrameSetup::ApplyLanguage(manager_, language_);
    // The skin is drawn for one size: the window is not maximised.
    for (const char16_t* name : {u"maxbtn", u"restorebtn"}) {
        if (CControlUI* control = manager_.FindControl(name))
            control->SetVisible(false);
    }
    for (int button = 0; button < settings::kButtons; ++button) {
        if (CControlUI* control = manager_.FindControl(u"button_" + Digit(button + 1) + u"_btn")) {
            control->SetAttribute(u"align", u"left");
            control->SetAttribute(u"textpadding", u"8,0,0,0");
            control->SetAttribute(u"nativebkcolor", u"#FF000000");
            control->SetAttribute(u"textcolor", u"#00FFFFFF");
        }
    }
    // The sliders' own handlers come with the pages' handling.
    for (const char16_t* name : {u"default_delay_time_edit", u"insert_delay_time_edit", u"edit_delay_time_edit"}) {
        if (CControlUI* edit = manager_.FindControl(name)) {
            edit->SetAttribute(u"nativebkcolor", u"#FF000000");
            edit->SetAttribute(u"textcolor", u"#00FFFFFF");
            edit->SetText(u"50");
        }
    }
    SetVersionLabels();
    SetLinks();
    if (settings_ != nullptr)
        settings_->Config().SaveLanguage(language_);
}

void CNeritMainWnd::SetVersionLabels()
{
    // The firmware's number follows once the mouse has been asked.
    const std::u16string software = std::u16string(kSoftwareVersionCaption[language_]) + std::u16string(kSoftwareVersion);
    for (const auto& [name, text] : {std::pair{u"apversionlabel", software},
                                     std::pair{u"fwversionlabel", std::u16string(kFirmwareVersionCaption[language_])}}) {
        if (CControlUI* label = manager_.FindControl(name)) {
            label->SetText(text);
            label->SetAttribute(u"align", u"left");
            label->SetAttribute(u"textcolor", u"#00FF4444");
        }
    }
}

bool CNeritMainWnd::ShowFirmwareVersion()
{
    CControlUI* label = manager_.FindControl(u"fwversionlabel");
    int version = 0;
    const bool read = mouse_ != nullptr && mouse_->Commands().GetFirmwareVersion(version) && version > 0;
    if (mouse_ != nullptr)
        mouse_->Link().CloseDevice();
    state_.firmwareVersion = read ? version : 0;
    if (label != nullptr)
        label->SetText(std::u16string(kFirmwareVersionCaption[language_])
                       + (read ? VersionText(version) : std::u16string(kUnknownFirmware)));
    return read;
}

void CNeritMainWnd::SetLinks()
{
    for (const auto& [name, address] : {std::pair{u"websitelinkbtn", kWebsiteAddress[language_]},
                                        std::pair{u"socialnetworklinkbtn", kSocialNetworkAddress[language_]}}) {
        if (CControlUI* link = manager_.FindControl(name)) {
            link->SetText(u" {u}" + std::u16string(address) + u"{/u} ");
            link->SetAttribute(u"showhtml", u"true");
            link->SetAttribute(u"align", u"left");
            link->SetAttribute(u"textcolor", u"#00FF4444");
            link->SetAttribute(u"tooltip", std::u16string(address));
        }
    }
}

void CNeritMainWnd::OnWindowInit()
{
    if (initialised_)
        return;
    initialised_ = true;
    if (auto* tab = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(kTabOptions[0]))) {
        state_.currentTab = 0;
        tab->Selected(true, true);
    }
    if (auto* sensor = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(u"sensor_optica_btn"))) {
        state_.currentSensorTab = 0;
        sensor->Selected(true, true);
    }
    System()->PostMessage(GetHWND(), kStartupDeviceWork, 0, 0);
}

void CNeritMainWnd::OnStartupDeviceWork()
{
    if (hotPlugUnwatched_)
        TellHotPlugUnwatched();
    ShowFirmwareVersion();
    state_.deviceMissing = !CheckDevicePresent();
    if (!state_.deviceMissing)
        LoadStartupProfile();
}

void CNeritMainWnd::RunDeviceWork(const std::function<void()>& work)
{
    // The transfers report to the busy state only while it runs: the
    // settings may outlive the window or go before it.
    const bool outermost = settings_ != nullptr && !busy_.Active();
    if (outermost)
        settings_->Sync().SetProgress(&busy_);
    busy_.Run(language_, work);
    if (outermost)
        settings_->Sync().SetProgress(nullptr);
}

// Both handles are closed again, also when only one collection was found.
// A mouse that another program holds for its command is there all the same:
// what it cannot do meanwhile fails with its own message.
bool CNeritMainWnd::CheckDevicePresent()
{
    if (mouse_ == nullptr)
        return false;
    const bool present = mouse_->Link().OpenDevice() || mouse_->Link().LastProblem() == device::LinkProblem::Busy;
    mouse_->Link().CloseDevice();
    return present;
}

void CNeritMainWnd::LoadStartupProfile()
{
    if (settings_ == nullptr)
        return;
    int remembered = 0;
    // A profile whose read fails keeps the settings last applied, else its
    // defaults.
    settings::ProfileSet failed, changed;
    RunDeviceWork([&] { failed = settings_->Commands().LoadFromMouse(remembered, &changed); });
    ShowFailedProfiles(failed);
    if (!changed.Empty())
        ShowNotice(settings::ChangedOnMouseText(changed, language_), MB_OK | MB_ICONINFORMATION);
    const bool known = remembered >= 0 && remembered < ProfileArea::kProfiles;
    // The remembered profile is in use and shown, whether or not the page
    // has its option.
    const int shown = known ? remembered : 0;
    settings::Store().Profile(static_cast<size_t>(shown)).Set(settings::layout::profile::kInUse, uint8_t{1});
    // What the mouse holds, before pending changes are laid over it, counts
    // as unchanged until settings are applied.
    if (pending_ != nullptr)
        pending_->RememberLoaded(settings::Store());
    if (LoadPendingChanges(changed))
        settings::Store().Profile(static_cast<size_t>(shown)).Set(settings::layout::profile::kInUse, uint8_t{1});
    RefreshPages(shown);
    if (auto* led = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(u"ledlightonoffoption"))) {
        led->Selected(true, false);
        SwitchLeds(true);
    }
    if (mouse_->Link().OpenDevice())
        mouse_->Commands().SetCurrentProfile(static_cast<uint8_t>(state_.shownProfile));
    mouse_->Link().CloseDevice();
    ApplyLanguageGeometry(manager_, language_);
    System()->Invalidate(GetHWND());
}

// Changes not applied yet are the store the user goes on with, but for the
// profiles just taken from the mouse as changed elsewhere: the notice named
// those as the mouse holds them.
bool CNeritMainWnd::LoadPendingChanges(const settings::ProfileSet& changedOnMouse)
{
    const std::string path = settings_->Folder().Path(settings::kPendingChangesFile);
    auto pending = std::make_unique<settings::SettingsStore>();
    const int loaded = settings::LoadAllProfilesFile(*pending, settings_->Files(), path);
    if (loaded == settings::kProfileFileCannotOpen && !settings_->Files().Exists(path))
        return false;
    if (loaded != settings::kProfileFileLoaded) {
        // Kept aside, so that leaving with nothing changed does not remove it.
        const std::string aside = settings::KeepDamagedAside(settings_->Files(), path);
        std::string notice(kPendingDamagedText[static_cast<size_t>(language_)]);
        ShowNotice(notice.replace(notice.find("%s"), 2, aside.empty() ? path : aside), MB_OK | MB_ICONWARNING);
        return false;
    }
    settings::SettingsStore& store = settings::Store();
    for (int number : changedOnMouse.Numbers()) {
        const size_t index = static_cast<size_t>(number - 1);
        std::copy_n(store.Profile(index).Bytes(), settings::layout::profile::kSize, pending->Profile(index).Bytes());
    }
    std::copy_n(pending->Bytes(), settings::SettingsStore::Size(), store.Bytes());
    ShowNotice(std::string(kPendingChangesText[static_cast<size_t>(language_)]), MB_OK | MB_ICONINFORMATION);
    return true;
}

void CNeritMainWnd::ShowFailedProfiles(const settings::ProfileSet& failed)
{
    if (failed.Empty())
        return;
    // Read from profile 5 down to 1: the list names them in that order.
    std::string list;
    const std::vector<int> numbers = failed.Numbers();
    for (auto number = numbers.rbegin(); number != numbers.rend(); ++number)
        list += " " + std::to_string(*number) + " ";
    std::string text = "\r\nFailed to load profile : \r\n\r\n  " + list + ". \r\n";
    if (const std::string problem = mouse_ != nullptr ? mouse_->ProblemText() : ""; !problem.empty())
        text += "\r\n" + problem + "\r\n";
    System()->MessageBox(GetHWND(), text, std::string(kNoticeCaption), MB_OKCANCEL);
}

void CNeritMainWnd::ShowNotice(const std::string& text, unsigned flags)
{
    System()->MessageBox(GetHWND(), text, std::string(kNoticeCaption), flags);
}

int CNeritMainWnd::AskQuestion(const std::string& text)
{
    return System()->MessageBox(GetHWND(), text, std::string(kNoticeCaption), MB_OKCANCEL | MB_ICONQUESTION);
}

// ---- showing a profile ----

void CNeritMainWnd::RefreshPages(int index)
{
    if (index < 0 || index >= ProfileArea::kProfiles)
        return;
    // A recording belongs to the profile shown so far.
    if (macros_ != nullptr)
        macros_->StopRecording();
    settings::LoadWorkingMacros(settings::Store(), index);
    area_.ShowPictures(index);
    if (settings_ != nullptr)
        settings_->Config().SaveShownProfileIndex(index);
    assignment_.ShowTexts(index);
    sensors_.Refresh(index);
    area_.ShowInUse();
    performance_.Refresh(index);
    SetVersionLabels();
    ShowFirmwareVersion();
    SetLinks();
    area_.ShowName(index);
    ShowLeds();
    state_.shownProfile = index;
    area_.SelectOption(index);
    if (macros_ != nullptr)
        macros_->ShowMacros();
}

// The lighting option and the mouse follow the stored switch.
void CNeritMainWnd::ShowLeds()
{
    const bool on = settings::Store().LedOn();
    if (auto* led = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(u"ledlightonoffoption")))
        led->Selected(on, false);
    SwitchLeds(on);
}

bool CNeritMainWnd::SwitchLeds(bool on)
{
    if (settings_ != nullptr)
        return settings_->Commands().SetLeds(on).ok;
    settings::Store().SetLedOn(on);
    return true;
}

// ---- input while busy or asked ----

namespace {

bool IsPress(unsigned message)
{
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
}

// Input that could change a setting: every button, the wheel and the keys.
bool IsInput(unsigned message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP:
    case WM_MOUSEWHEEL: case WM_CONTEXTMENU:
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
    case WM_CHAR: case WM_SYSCHAR:
        return true;
    default:
        return false;
    }
}

}  // namespace

// The window takes no input while a question or a file dialog is open (a
// press gives the question the keyboard back), nor while the mouse is
// missing: then only a press on the quit button passes, and the first press
// says why.
bool CNeritMainWnd::FilterInput(unsigned message, intptr_t lParam)
{
    if (!IsInput(message))
        return false;
    const bool dialog = (workflow_ != nullptr && workflow_->DialogOpen()) || (macros_ != nullptr && macros_->DialogOpen());
    if (PopupState::IsOpen() || dialog) {
        if (IsPress(message) && PopupState::IsOpen())
            System()->SetFocus(PopupState::Top());
        return true;
    }
    if (!state_.deviceMissing || !IsPress(message))
        return false;
    // The quit button still quits (its question follows).
    CControlUI* quit = manager_.FindControl(u"quitbtn");
    const int x = LowSigned(lParam), y = HighSigned(lParam);
    const SkinUI::UIRect rect = quit != nullptr ? quit->GetItemRect() : SkinUI::UIRect{};
    if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom)
        return false;
    if ((state_.popupFlags & PopupFlag::kNoDevice) == 0)
        OpenPopup(PopupKind::kNoDevice, PopupFlag::kNoDevice, manager_.FindControl(u"masterresetbtn"));
    return true;
}

void CNeritMainWnd::OpenPopup(int kind, unsigned flag, CControlUI* owner)
{
    ShowPopup(std::make_unique<CPopupMessageWnd>(kind), flag, owner);
}

void CNeritMainWnd::ShowPopup(std::unique_ptr<CPopupWnd> popup, unsigned flag, CControlUI* owner)
{
    if (!popup->Show(owner))
        return;
    popup.release();  // frees itself when its window is gone
    state_.popupFlags |= flag;
}

// A question is asked only while no other question is open.
void CNeritMainWnd::OpenQuestion(int kind, unsigned flag, CControlUI* owner)
{
    if ((state_.popupFlags & PopupFlag::kQuestions) == 0)
        OpenPopup(kind, flag, owner);
}

// ---- notifications ----

namespace {

// The flag each answer clears.
struct AnswerFlag {
    std::u16string_view answer;
    unsigned flag;
};
constexpr AnswerFlag kAnswerFlags[] = {
    {u"reset_all_setting", PopupFlag::kReset},          {u"reset_all_setting_cancel", PopupFlag::kReset},
    {u"reset_profile_default", PopupFlag::kReset},      {u"reset_profile_default_cancel", PopupFlag::kReset},
    {u"apply_new_setting", PopupFlag::kApply},          {u"apply_new_setting_cancel", PopupFlag::kApply},
    {u"save_profile_setting", PopupFlag::kApply},       {u"save_profile_setting_cancel", PopupFlag::kApply},
    {u"exit_program", PopupFlag::kExit},                {u"exit_program_cancel", PopupFlag::kExit},
    {ExitChangesAnswer::kApply, PopupFlag::kExit},      {ExitChangesAnswer::kDiscard, PopupFlag::kExit},
    {u"keyboard_not_detected", PopupFlag::kNoDevice},   {u"keyboard_not_detected_cancel", PopupFlag::kNoDevice},
    {u"msgbox_ok_btn", PopupFlag::kMessageBox},
    {u"button_singlekey", PopupFlag::kKeyPopup},        {u"button_singlekey_cancel", PopupFlag::kKeyPopup},
};

std::u16string_view SenderName(const SkinUI::NotifyMessage& message)
{
    return message.sender != nullptr ? std::u16string_view(message.sender->GetName()) : std::u16string_view();
}

bool SameText(std::u16string_view a, std::u16string_view b)
{
    return NameRouting::Match(a, b, true) == 0;
}

}  // namespace

// clang-format off
std::span<const CNeritMainWnd::Route> CNeritMainWnd::ClickRoutes()
{
    static const Route routes[] = {
    {u"closebtn", &CNeritMainWnd::OnExitButton},
    {u"quitbtn", &CNeritMainWnd::OnExitButton},
    {u"minbtn", &CNeritMainWnd::OnMinimizeButton},
    {u"masterresetbtn", &CNeritMainWnd::OnResetAllButton},
    {u"profileokbtn", &CNeritMainWnd::OnApplyButton},
    {u"kprofileokbtn", &CNeritMainWnd::OnApplyButton},
    {u"profilecancelbtn", &CNeritMainWnd::OnCancelButton},
    {u"kprofilecancelbtn", &CNeritMainWnd::OnCancelButton},
    {u"profileloadbtn", &CNeritMainWnd::OnLoadButton},
    {u"kprofileloadbtn", &CNeritMainWnd::OnLoadButton},
    {u"profilesavebtn", &CNeritMainWnd::OnSaveToFileButton},
    {u"kprofilesavebtn", &CNeritMainWnd::OnSaveToFileButton},
    {u"profile#savebtn", &CNeritMainWnd::OnProfileSaveButton, 1, 5},
    {u"kprofile#savebtn", &CNeritMainWnd::OnProfileSaveButton, 1, 5},
    {u"profile#defaultbtn", &CNeritMainWnd::OnProfileDefaultButton, 1, 5},
    {u"kprofile#defaultbtn", &CNeritMainWnd::OnProfileDefaultButton, 1, 5},
    {u"profile#option", &CNeritMainWnd::OnProfileOption, 1, 5},
    {u"kprofile#option", &CNeritMainWnd::OnProfileOption, 1, 5},
    {u"laser_L#X_up_btn", &CNeritMainWnd::OnPageMessage, 1, 4},
    {u"laser_L#X_down_btn", &CNeritMainWnd::OnPageMessage, 1, 4},
    {u"laser_L#Y_up_btn", &CNeritMainWnd::OnPageMessage, 1, 4},
    {u"laser_L#Y_down_btn", &CNeritMainWnd::OnPageMessage, 1, 4},
    {u"update_app_btn", &CNeritMainWnd::OnSupportLink},
    {u"update_fw_btn", &CNeritMainWnd::OnSupportLink},
    {u"websitelinkbtn", &CNeritMainWnd::OnWebsiteLink},
    {u"link_website_btn", &CNeritMainWnd::OnWebsiteLink},
    {u"socialnetworklinkbtn", &CNeritMainWnd::OnSocialNetworkLink},
    {u"link_socialnetwork_btn", &CNeritMainWnd::OnSocialNetworkLink},
    {u"button_#_btn", &CNeritMainWnd::OnAssignButton, 1, 7},
    };
    return routes;
}

// Compared without regard to case.
std::span<const CNeritMainWnd::Route> CNeritMainWnd::SelectionRoutes()
{
    static const Route routes[] = {
    {u"maincontrolbtn", &CNeritMainWnd::OnTabOption},
    {u"performancebtn", &CNeritMainWnd::OnTabOption},
    {u"macromanagebtn", &CNeritMainWnd::OnTabOption},
    {u"techsupportbtn", &CNeritMainWnd::OnTabOption},
    {u"ledlightonoffoption", &CNeritMainWnd::OnLedOption},
    {u"profile#_inuse_option", &CNeritMainWnd::OnInUseOption, 1, 5},
    {u"kprofile#_inuse_option", &CNeritMainWnd::OnInUseOption, 1, 5},
    };
    return routes;
}

// Notification types of the questions' answers, without regard to case.
std::span<const CNeritMainWnd::Route> CNeritMainWnd::AnswerRoutes()
{
    static const Route routes[] = {
    {u"reset_all_setting", &CNeritMainWnd::OnResetAllAnswer},
    {u"apply_new_setting", &CNeritMainWnd::OnApplyAnswer},
    {u"reset_profile_default", &CNeritMainWnd::OnResetProfileAnswer},
    {u"save_profile_setting", &CNeritMainWnd::OnSaveProfileAnswer},
    {u"exit_program", &CNeritMainWnd::OnExitAnswer},
    {ExitChangesAnswer::kApply, &CNeritMainWnd::OnExitApplyAnswer},
    {ExitChangesAnswer::kDiscard, &CNeritMainWnd::OnExitDiscardAnswer},
    {u"keyboard_not_detected", &CNeritMainWnd::OnNoDeviceAnswer},
    {u"reset_all_setting_cancel", &CNeritMainWnd::OnCancelAnswer},
    {u"reset_profile_default_cancel", &CNeritMainWnd::OnCancelAnswer},
    {u"apply_new_setting_cancel", &CNeritMainWnd::OnCancelAnswer},
    {u"save_profile_setting_cancel", &CNeritMainWnd::OnCancelAnswer},
    {u"exit_program_cancel", &CNeritMainWnd::OnCancelAnswer},
    {u"keyboard_not_detected_cancel", &CNeritMainWnd::OnCancelAnswer},
    {u"msgbox_ok_btn", &CNeritMainWnd::OnCancelAnswer},
    {u"button_singlekey", &CNeritMainWnd::OnSingleKeyAnswer},
    {u"button_singlekey_cancel", &CNeritMainWnd::OnCancelAnswer},
    {u"macro_playoption_ok", &CNeritMainWnd::OnPlayOptionAnswer},
    {u"macro_playoption_cancel", &CNeritMainWnd::OnCancelAnswer},
    };
    return routes;
}
// clang-format on

void CNeritMainWnd::Notify(SkinUI::NotifyMessage& message)
{
    Dispatch(message);
}

// The first rule that applies handles the message.
bool CNeritMainWnd::Dispatch(SkinUI::NotifyMessage& message)
{
    const std::u16string_view sender = SenderName(message);
    if (state_.recording && sender != u"macro_record_stop_btn")
        return false;
    if (message.type == u"windowinit") {
        OnWindowInit();
        return true;
    }
    if (macros_ != nullptr && macros_->Handle(message))
        return true;
    if (message.type == u"click") {
        const auto route = FindRoute<Handler>(ClickRoutes(), sender);
        if (route)
            (this->*route.route->handler)(route.number, message);
        return static_cast<bool>(route);
    }
    if (SameText(message.type, u"itemselect") && sender == u"selectlanguagecmb" && message.sender != nullptr) {
        OnLanguageSelected(*message.sender);
        return true;
    }
    if (SameText(message.type, u"selectchanged")) {
        OnSelectChanged(message);
        return true;
    }
    if (SameText(message.type, u"valuechanged"))
        return performance_.Handle(message) || sensors_.Handle(message);
    OnAnswer(message);
    return true;
}

void CNeritMainWnd::OnSelectChanged(SkinUI::NotifyMessage& message)
{
    const std::u16string_view sender = SenderName(message);
    const auto route = FindRoute<Handler>(SelectionRoutes(), sender, true);
    if (route) {
        (this->*route.route->handler)(route.number, message);
        return;
    }
    if (!sensors_.Handle(message))
        performance_.Handle(message);
}

void CNeritMainWnd::OnAnswer(SkinUI::NotifyMessage& message)
{
    for (const AnswerFlag& entry : kAnswerFlags) {
        if (SameText(entry.answer, message.type))
            state_.popupFlags &= ~entry.flag;
    }
    const auto route = FindRoute<Handler>(AnswerRoutes(), message.type, true);
    if (route)
        (this->*route.route->handler)(route.number, message);
}

// ---- clicks ----

void CNeritMainWnd::OnExitButton(int, SkinUI::NotifyMessage& message)
{
    AskToExit(message.sender);
}

void CNeritMainWnd::AskToExit(CControlUI* owner)
{
    if ((state_.popupFlags & PopupFlag::kQuestions) != 0)
        return;
    if (pending_ != nullptr && pending_->Any(settings::Store(), state_.shownProfile))
        ShowPopup(std::make_unique<CExitChangesWnd>(language_), PopupFlag::kExit, owner);
    else
        OpenPopup(PopupKind::kExitProgram, PopupFlag::kExit, owner);
}

void CNeritMainWnd::OnMinimizeButton(int, SkinUI::NotifyMessage&)
{
    System()->MinimizeWindow(GetHWND());
}

void CNeritMainWnd::OnResetAllButton(int, SkinUI::NotifyMessage& message)
{
    OpenQuestion(PopupKind::kResetAll, PopupFlag::kReset, message.sender);
}

void CNeritMainWnd::OnApplyButton(int, SkinUI::NotifyMessage& message)
{
    if (workflow_ != nullptr && workflow_->CanApply())
        OpenQuestion(PopupKind::kApplySettings, PopupFlag::kApply, message.sender);
}

void CNeritMainWnd::OnCancelButton(int, SkinUI::NotifyMessage&)
{
    if (workflow_ != nullptr)
        workflow_->Discard();
}

void CNeritMainWnd::OnLoadButton(int, SkinUI::NotifyMessage&)
{
    if (workflow_ != nullptr)
        workflow_->LoadFromFile();
}

void CNeritMainWnd::OnSaveToFileButton(int, SkinUI::NotifyMessage&)
{
    if (workflow_ != nullptr)
        workflow_->SaveToFile();
}

// Only the shown profile's buttons do anything.
void CNeritMainWnd::OnProfileSaveButton(int number, SkinUI::NotifyMessage& message)
{
    if (number - 1 == state_.shownProfile)
        OpenQuestion(PopupKind::kSaveProfile, PopupFlag::kApply, message.sender);
}

void CNeritMainWnd::OnProfileDefaultButton(int number, SkinUI::NotifyMessage& message)
{
    if (number - 1 == state_.shownProfile)
        OpenQuestion(PopupKind::kResetProfile, PopupFlag::kReset, message.sender);
}

// A click on the shown profile turns it on or off; on another one shows it.
void CNeritMainWnd::OnProfileOption(int number, SkinUI::NotifyMessage&)
{
    if (number - 1 == state_.shownProfile) {
        settings::ProfileSettings profile = settings::Store().Profile(static_cast<size_t>(number - 1));
        const uint8_t inUse = profile.Get(settings::layout::profile::kInUse);
        profile.Set(settings::layout::profile::kInUse, uint8_t{inUse == 0 ? uint8_t{1} : uint8_t{0}});
    }
    RefreshPages(number - 1);
}

void CNeritMainWnd::OnPageMessage(int, SkinUI::NotifyMessage& message)
{
    if (!sensors_.Handle(message))
        performance_.Handle(message);
}

void CNeritMainWnd::OnSupportLink(int, SkinUI::NotifyMessage&)
{
    OpenAddress(kSupportAddress[static_cast<size_t>(language_)]);
}

void CNeritMainWnd::OnWebsiteLink(int, SkinUI::NotifyMessage&)
{
    OpenAddress(kWebsiteAddress[static_cast<size_t>(language_)]);
}

void CNeritMainWnd::OnSocialNetworkLink(int, SkinUI::NotifyMessage&)
{
    OpenAddress(kSocialNetworkAddress[static_cast<size_t>(language_)]);
}

void CNeritMainWnd::OnAssignButton(int number, SkinUI::NotifyMessage& message)
{
    assignment_.OnButtonClick(number, message.sender);
}

// Without a program for web pages the user is given the address.
void CNeritMainWnd::OpenAddress(std::u16string_view address)
{
    if (urlOpener_ == nullptr)
        return;
    const std::string text = settings::ToNarrow(address);
    if (urlOpener_->Open(text) == UrlOpenResult::Started)
        return;
    std::string notice(kNoBrowserText[static_cast<size_t>(language_)]);
    notice.replace(notice.find("%s"), 2, text);
    ShowNotice(notice, MB_OK | MB_ICONINFORMATION);
}

// ---- selections ----

void CNeritMainWnd::OnTabOption(int, SkinUI::NotifyMessage& message)
{
    int page = 0;
    while (page < static_cast<int>(std::size(kTabOptions)) && !SameText(kTabOptions[page], message.sender->GetName()))
        ++page;
    auto* tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(manager_.FindControl(u"Tabs"));
    if (tabs == nullptr || tabs->GetCurSel() == page)
        return;
    SelectTab(page);
    if (page <= 1 && initialised_ && !busy_.Active())
        RefreshPages(state_.shownProfile);
}

// A switch the mouse refused shows the lights as they are.
void CNeritMainWnd::OnLedOption(int, SkinUI::NotifyMessage& message)
{
    auto* option = dynamic_cast<SkinUI::COptionUI*>(message.sender);
    if (option != nullptr && !SwitchLeds(option->IsSelected()))
        option->Selected(settings::Store().LedOn(), false);
}

void CNeritMainWnd::OnInUseOption(int number, SkinUI::NotifyMessage& message)
{
    auto* option = dynamic_cast<SkinUI::COptionUI*>(message.sender);
    if (option == nullptr)
        return;
    const uint8_t inUse = option->IsSelected() ? 1 : 0;
    settings::Store().Profile(static_cast<size_t>(number - 1)).Set(settings::layout::profile::kInUse, inUse);
    area_.ShowPictures(state_.shownProfile);
}

// A new language: its skin folder, font, pictures, texts and geometry.
void CNeritMainWnd::OnLanguageSelected(CControlUI& combo)
{
    auto* list = dynamic_cast<SkinUI::CComboUI*>(&combo);
    if (list == nullptr || list->GetCount() <= 0 || list->GetCurSel() < 0)
        return;
    const int previous = language_;
    SetLanguage(list->GetCurSel());
    manager_.SetResourcePath(SkinFolder());
    if (language_ == previous)
        return;
    MainFrameSetup::ApplyLanguage(manager_, language_);
    if (settings_ != nullptr && !settings_->Config().SaveLanguage(language_))
        TellConfigNotWritten();
    manager_.ReloadImages();
    RefreshPages(state_.shownProfile);
    ApplyLanguageGeometry(manager_, language_);
    System()->Invalidate(GetHWND());
}

// Said on standard error as well: the notice may not be seen.
void CNeritMainWnd::TellHotPlugUnwatched()
{
    const std::string text(kHotPlugUnwatchedText[static_cast<size_t>(language_)]);
    if (console_)
        console_(std::string(kHotPlugUnwatchedLine));
    ShowNotice(text, MB_OK | MB_ICONWARNING);
}

// Once a run: the language changes all the same, only not for the next start.
void CNeritMainWnd::TellConfigNotWritten()
{
    if (configTold_)
        return;
    configTold_ = true;
    const settings::ConfigFile& config = settings_->Config();
    ShowNotice(FillIn(kConfigNotWrittenText[static_cast<size_t>(language_)],
                      {config.Path(), ReasonText(config.LastError(), language_)}),
               MB_OK | MB_ICONWARNING);
}

// ---- answers ----

void CNeritMainWnd::OnResetAllAnswer(int, SkinUI::NotifyMessage&)
{
    if (workflow_ != nullptr)
        workflow_->ResetAll();
}

void CNeritMainWnd::OnApplyAnswer(int, SkinUI::NotifyMessage&)
{
    if (workflow_ != nullptr)
        workflow_->Apply();
}

void CNeritMainWnd::OnResetProfileAnswer(int, SkinUI::NotifyMessage&)
{
    if (workflow_ != nullptr)
        workflow_->ResetShown();
}

void CNeritMainWnd::OnSaveProfileAnswer(int, SkinUI::NotifyMessage&)
{
    if (workflow_ != nullptr)
        workflow_->SaveShown();
}

void CNeritMainWnd::OnExitAnswer(int, SkinUI::NotifyMessage&)
{
    EndProgram(true);
}

// Applied as the Apply button applies, failures told; with no profile in use
// nothing can be applied, and the program stays.
void CNeritMainWnd::OnExitApplyAnswer(int, SkinUI::NotifyMessage&)
{
    if (workflow_ == nullptr || !workflow_->CanApply())
        return;
    workflow_->Apply();
    EndProgram(true);
}

void CNeritMainWnd::OnExitDiscardAnswer(int, SkinUI::NotifyMessage&)
{
    EndProgram(false);
}

// What could not be applied stays as pending changes; a pending-changes file
// left from before goes when nothing is pending any more.
bool CNeritMainWnd::KeepChanges(bool keep)
{
    if (pending_ == nullptr || (keep ? pending_->Keep(settings::Store(), state_.shownProfile) : pending_->Drop()))
        return true;
    const std::string path = pending_->Path();
    const platform::FileError error = settings_->Files().LastError();
    if (stops_ != nullptr && stops_->Signal() != 0) {
        if (console_)
            console_(FillIn(kChangesNotKeptLine, {path, ReasonText(error, 0)}));
    } else {
        ShowNotice(settings::FailedToWriteText({}, {path}, language_), MB_OK | MB_ICONWARNING);
    }
    return false;
}

void CNeritMainWnd::EndProgram(bool keepChanges)
{
    if (ending_)
        return;
    ending_ = true;
    KeepChanges(keepChanges);
    System()->PostQuitMessage(0);
}

void CNeritMainWnd::EndForSignal(int)
{
    EndProgram(true);
}

// The notice comes back for as long as the mouse stays away.
void CNeritMainWnd::OnNoDeviceAnswer(int, SkinUI::NotifyMessage&)
{
    if (state_.deviceMissing)
        OpenPopup(PopupKind::kNoDevice, PopupFlag::kNoDevice, manager_.FindControl(u"masterresetbtn"));
}

void CNeritMainWnd::OnCancelAnswer(int, SkinUI::NotifyMessage&) {}

// An OK without a captured key changes nothing, as a cancel.
void CNeritMainWnd::OnSingleKeyAnswer(int, SkinUI::NotifyMessage&)
{
    const PopupResult& result = PopupResult::Current();
    if (result.HasKey())
        assignment_.OnSingleKey({result.virtualKey, result.keyIndex, result.modifiers});
}

void CNeritMainWnd::OnPlayOptionAnswer(int, SkinUI::NotifyMessage&)
{
    const MacroPlayChoice& choice = CMacroPlayOptionWnd::LastChoice();
    if (choice.chosen)
        assignment_.OnPlayOption({choice.option, choice.count});
}

// The key popup opens only while no question of the first three kinds is
// open; it starts on the button's own key.
void CNeritMainWnd::OpenKeyPopup(SkinUI::CControlUI* anchor)
{
    constexpr unsigned kBlockingFlags = 0x0001 | 0x0002 | 0x0004;
    if ((state_.popupFlags & kBlockingFlags) != 0)
        return;
    int32_t preselected = 0;
    const int button = state_.selectedButton;
    if (button >= 0 && button < settings::kButtons) {
        const settings::ProfileSettings profile = settings::Store().Profile(static_cast<size_t>(state_.shownProfile));
        if (profile.Get(settings::layout::profile::kButtonFunction, static_cast<size_t>(button))
            == settings::function::SingleKey)
            preselected = profile.Get(settings::layout::profile::kButtonParam, static_cast<size_t>(button));
    }
    auto popup = std::make_unique<CKeysMessageWnd>(language_, preselected);
    if (!popup->Show(anchor))
        return;
    popup.release();  // frees itself when its window is gone
    state_.popupFlags |= PopupFlag::kKeyPopup;
}

// The chosen macro's play mode, preselected from what the button has.
void CNeritMainWnd::OpenPlayOptionPopup(SkinUI::CControlUI* anchor, int button, int profile)
{
    if (button < 0 || button >= settings::kButtons || profile < 0 || profile >= ProfileArea::kProfiles)
        return;
    const int32_t mode = settings::Store().Profile(static_cast<size_t>(profile))
                             .Get(settings::layout::profile::kMacroPlayMode, static_cast<size_t>(button));
    auto popup = std::make_unique<CMacroPlayOptionWnd>(language_, mode);
    if (popup->Show(anchor))
        popup.release();  // frees itself when its window is gone
}

// ---- the mouse leaving and coming back ----

// A recording ends as the stop button ends it; the notice opens once.
void CNeritMainWnd::MouseGone()
{
    if (macros_ != nullptr)
        macros_->StopRecording();
    if ((state_.popupFlags & PopupFlag::kNoDevice) == 0)
        OpenPopup(PopupKind::kNoDevice, PopupFlag::kNoDevice, manager_.FindControl(u"masterresetbtn"));
}

// Our own popups close as if cancelled; other programs' windows stay. The
// changes not applied yet are kept first and laid over what is read again.
void CNeritMainWnd::MouseBack()
{
    CPopupWnd::CloseAll();
    state_.popupFlags = 0;
    KeepChanges(true);
    LoadStartupProfile();
}

void CNeritMainWnd::OpenMacroLimitBox(SkinUI::CControlUI* anchor)
{
    ShowPopup(std::make_unique<CMessageBoxWnd>(MessageBoxKind::kMacroLimit), PopupFlag::kMessageBox, anchor);
}

bool CNeritMainWnd::ShowPage(int page)
{
    if (page < 0 || page >= static_cast<int>(std::size(kTabOptions)))
        return false;
    auto* tab = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(kTabOptions[page]));
    if (tab == nullptr)
        return false;
    tab->Selected(true, true);
    return true;
}

void CNeritMainWnd::SelectTab(int tab)
{
    state_.currentTab = tab;
    if (auto* tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(manager_.FindControl(u"Tabs")))
        tabs->SelectItem(tab);
}

}  // namespace NeritApp
