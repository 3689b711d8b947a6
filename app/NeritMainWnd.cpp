#include "app/NeritMainWnd.h"

#include "app/BoundControls.h"
#include "app/LanguageGeometry.h"
#include "app/MainFrameSetup.h"
#include "app/MaskRegion.h"
#include "app/ProgramTexts.h"
#include "app/SkinLanguages.h"
#include "settings/ButtonFunctions.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "ui/LayoutBuilder.h"
#include "ui/OptionUI.h"
#include "ui/TabLayoutUI.h"

#include <cstdio>
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

std::u16string ProfileOptionName(std::u16string_view prefix, int index)
{
    return std::u16string(prefix) + Digit(index + 1) + u"option";
}

// "V1.07 " for 107.
std::u16string VersionText(int version)
{
    char text[32];
    std::snprintf(text, sizeof text, "V%d.%2.2d ", version / 100, version % 100);
    return std::u16string(text, text + std::char_traits<char>::length(text));
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

void CNeritMainWnd::Attach(ProgramSettings& settings, MouseConnection& mouse)
{
    settings_ = &settings;
    mouse_ = &mouse;
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
    if (message == WM_CLOSE) {
        System()->DestroyWindow(GetHWND());
        return 0;
    }
    if (message == WM_DESTROY)
        System()->PostQuitMessage(0);
    if (message == kStartupDeviceWork) {
        OnStartupDeviceWork();
        return 0;
    }
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
    InitWindow();
    return true;
}

void CNeritMainWnd::InitWindow()
{
    // Device arrival and removal notices: registered by the device-presence
    // handling, which the window does not have yet.
    MainFrameSetup::ApplyLanguage(manager_, language_);
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
    // Raw input for macro recording comes with the macro page's handling.
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

void CNeritMainWnd::ShowFirmwareVersion()
{
    CControlUI* label = manager_.FindControl(u"fwversionlabel");
    if (label == nullptr)
        return;
    int version = 0;
    const bool read = mouse_ != nullptr && mouse_->Commands().GetFirmwareVersion(version) && version > 0;
    if (mouse_ != nullptr)
        mouse_->Link().CloseDevice();
    state_.firmwareVersion = read ? version : 0;
    label->SetText(std::u16string(kFirmwareVersionCaption[language_])
                   + (read ? VersionText(version) : std::u16string(kUnknownFirmware)));
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

bool CNeritMainWnd::CheckDevicePresent()
{
    if (mouse_ == nullptr || !mouse_->Link().OpenDevice())
        return false;
    mouse_->Link().CloseDevice();
    return true;
}

void CNeritMainWnd::LoadStartupProfile()
{
    if (settings_ == nullptr)
        return;
    int remembered = 0;
    // A profile whose read fails keeps its defaults.
    settings::ProfileSet failed;
    RunDeviceWork([&] { failed = settings_->Commands().LoadFromMouse(remembered); });
    ShowFailedProfiles(failed);
    state_.shownProfile = remembered >= 0 && remembered < static_cast<int>(settings::layout::store::kProfileCount) ? remembered : 0;
    ShowProfileOption(state_.shownProfile);
    if (auto* led = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(u"ledlightonoffoption"))) {
        led->Selected(true, false);
        uint8_t state = 0, ambient = 0;
        if (mouse_->Link().OpenDevice() && mouse_->Commands().GetLedState(state, ambient))
            mouse_->Commands().SetLedSwitch(1, ambient);
        mouse_->Link().CloseDevice();
        state_.ledOn = true;
    }
    if (mouse_->Link().OpenDevice())
        mouse_->Commands().SetCurrentProfile(static_cast<uint8_t>(state_.shownProfile + 1));
    mouse_->Link().CloseDevice();
    ApplyLanguageGeometry(manager_, language_);
    System()->Invalidate(GetHWND());
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
    System()->MessageBox(GetHWND(), "\r\nFailed to load profile : \r\n\r\n  " + list + ". \r\n",
                         std::string(kNoticeCaption), MB_OKCANCEL);
}

// The remembered profile is in use and shown, whether or not the page has
// its option.
void CNeritMainWnd::ShowProfileOption(int index)
{
    settings::Store().Profile(static_cast<size_t>(index)).Set(settings::layout::profile::kInUse, uint8_t{1});
    RefreshPages(index);
}

void CNeritMainWnd::RefreshPages(int index)
{
    state_.shownProfile = index;
    // Only the shown profile's options are selected, even when it has none.
    for (int profile = 0; profile < static_cast<int>(settings::layout::store::kProfileCount); ++profile) {
        for (std::u16string_view prefix : {u"profile", u"kprofile"}) {
            auto* option = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(ProfileOptionName(prefix, profile)));
            if (option != nullptr)
                option->Selected(profile == index, false);
        }
    }
}

void CNeritMainWnd::SelectTab(int tab)
{
    state_.currentTab = tab;
    if (auto* tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(manager_.FindControl(u"Tabs")))
        tabs->SelectItem(tab);
}

void CNeritMainWnd::OnClick(CControlUI& sender)
{
    const std::u16string_view name = sender.GetName();
    if (name == u"closebtn" || name == u"quitbtn") {
        System()->PostQuitMessage(0);
    } else if (name == u"minbtn") {
        System()->MinimizeWindow(GetHWND());
    }
}

void CNeritMainWnd::Notify(SkinUI::NotifyMessage& message)
{
    if (message.type == u"windowinit") {
        OnWindowInit();
        return;
    }
    if (message.sender == nullptr)
        return;
    if (message.type == u"click") {
        OnClick(*message.sender);
        return;
    }
    if (message.type != u"selectchanged")
        return;
    for (int tab = 0; tab < static_cast<int>(std::size(kTabOptions)); ++tab) {
        if (message.sender->GetName() == kTabOptions[tab])
            SelectTab(tab);
    }
}

}  // namespace NeritApp
