// Draws the program's windows without a display, for every language: the
// main window on each of its four pages, the four popups and the four
// sensor pages, as PNG files OUT/<language>/<name>.png.
//
//   nerit_screenshots SKINS OUT
//   nerit_screenshots --rects SKINS PAGE NAME...
//
// SKINS holds the skin folders VimoSkin … VimoSkin3. Exits with 1 when a
// layout does not build or a file cannot be written.
//
// With --rects it lays out the English main window on page PAGE (0..3, tab
// order) and prints "NAME left top right bottom" in window coordinates for
// each named control, or "NAME missing"; exits with 1 when one is missing.
// Scripts that click the real window find the controls this way.
#include "app/BoundControls.h"
#include "app/DialogBuilderCallbackEx.h"
#include "app/FramePicture.h"
#include "app/LanguageGeometry.h"
#include "app/MacroPlayOptionWnd.h"
#include "app/MainFrameSetup.h"
#include "app/NeritPageUI.h"
#include "app/ProgramTexts.h"
#include "app/SkinImages.h"
#include "app/SkinLanguages.h"
#include "platform/CairoPainter.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/Utf16.h"
#include "settings/ButtonFunctions.h"
#include "ui/ComboUI.h"
#include "ui/ListLabelElementUI.h"
#include "ui/OptionUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/TabLayoutUI.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace SkinUI;
using namespace NeritApp;

struct Shot {
    const char* file;
    unsigned layout;
};

// The main window's pages in tab order, with the tab option that shows each.
struct Page {
    const char* file;
    const char16_t* tabOption;
};
constexpr Page kPages[] = {{"main_control", u"maincontrolbtn"},
                           {"performance", u"performancebtn"},
                           {"macro", u"macromanagebtn"},
                           {"support", u"techsupportbtn"}};
constexpr Shot kPopups[] = {{"popup_play_option", Layout::kPlayOptionPopup},
                            {"message_box", Layout::kMessageBox},
                            {"popup_key", Layout::kKeyPopup},
                            {"popup_confirmation", Layout::kConfirmationPopup},
                            {"popup_exit_changes", Layout::kExitChangesPopup}};
// The sensor pages stand alone: the main window does not show them.
constexpr std::pair<const char*, std::u16string_view> kSensorPages[] = {
    {"sensor_optical", u"OpticalSensor"},
    {"sensor_hdst", u"HDSTSensor"},
    {"sensor_laser", u"LaserSensor"},
    {"sensor_on_the_fly_dpi", u"OnTheFlyDPI"}};
constexpr UISize kPageSize{960, 560};

// A window of the headless window system that holds one layout.
class ShotWnd final : public CWindowWnd {
public:
    std::u16string_view GetWindowClassName() const override { return u"NeritScreenshotWnd"; }

    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result))
            return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

    // The window at the layout's size (or `fallback`), showing `root`.
    bool Open(std::unique_ptr<CControlUI> root, UISize fallback)
    {
        if (!root)
            return false;
        UISize size = manager.GetInitialSize();
        if (size.cx <= 0 || size.cy <= 0)
            size = fallback;
        if (!manager.AttachDialog(std::move(root)))
            return false;
        System()->MoveWindow(GetHWND(), {0, 0, size.cx, size.cy});
        ShowWindow();
        return true;
    }

    bool Init(const std::string& skin)
    {
        if (Create(platform::WindowId::None, "NeritMice", WindowStyle::kNormal, 0, 0, 0, 100, 100)
            == platform::WindowId::None)
            return false;
        manager.Init(System(), GetHWND());
        manager.SetHasNativeWindow(true);
        manager.SetResourcePath(skin);
        return true;
    }

    bool Write(platform::HeadlessWindowSystem& system, const std::filesystem::path& file)
    {
        system.RunPending();
        const platform::Rect rect = system.GetWindowRect(GetHWND());
        const bool written = FramePicture::Write(manager, rect.Width(), rect.Height(),
                                                 shaped ? FramePicture::Shape::MaskImage
                                                        : FramePicture::Shape::RoundCorners,
                                                 file.string());
        if (!written)
            std::fprintf(stderr, "nerit_screenshots: cannot write %s\n", file.string().c_str());
        return written;
    }

    CWindowUIManager manager;
    bool shaped = false;  // the window takes its shape from the mask picture

};

void ShowPage(CWindowUIManager& manager, int page)
{
    if (auto* option = dynamic_cast<COptionUI*>(manager.FindControl(kPages[page].tabOption)))
        option->Selected(true, false);
    if (auto* tabs = dynamic_cast<CTabLayoutUI*>(manager.FindControl(u"Tabs")))
        tabs->SelectItem(page);
}

// Sets attributes on the named control, if the window has it.
void Set(CWindowUIManager& manager, std::u16string_view name,
         std::initializer_list<std::pair<std::u16string_view, std::u16string>> attributes)
{
    CControlUI* control = manager.FindControl(name);
    if (control == nullptr)
        return;
    for (const auto& [attribute, value] : attributes)
        control->SetAttribute(attribute, value);
}

std::u16string Text(std::u16string_view text) { return std::u16string(text); }

// What the main window writes into its controls before it is shown, for a
// mouse with the default functions on profile 1.
void FillFrame(CWindowUIManager& manager, int language)
{
    for (int button = 0; button < settings::kButtons; ++button) {
        const std::u16string name = u"button_" + std::u16string(1, static_cast<char16_t>(u'1' + button)) + u"_btn";
        Set(manager, name, {{u"align", u"left"}, {u"textpadding", u"8,0,0,0"}, {u"textcolor", u"#00FFFFFF"}});
        // The profile switch is never given a text.
        if (button != 3)
            Set(manager, name, {{u"text", Text(kFunctionNames[settings::kDefaultButtonFunctions[button]][language])}});
    }
    Set(manager, u"apversionlabel",
        {{u"text", Text(kSoftwareVersionCaption[language]) + Text(kSoftwareVersion)}, {u"align", u"left"},
         {u"textcolor", u"#00FF4444"}});
    // A firmware version that cannot be read shows as 1.00.
    Set(manager, u"fwversionlabel",
        {{u"text", Text(kFirmwareVersionCaption[language]) + u"V1.00 "}, {u"align", u"left"},
         {u"textcolor", u"#00FF4444"}});
    for (const auto& [name, address] : {std::pair{u"websitelinkbtn", kWebsiteAddress[language]},
                                        std::pair{u"socialnetworklinkbtn", kSocialNetworkAddress[language]}})
        Set(manager, name,
            {{u"text", u" {u}" + Text(address) + u"{/u} "}, {u"showhtml", u"true"}, {u"align", u"left"},
             {u"textcolor", u"#00FF4444"}, {u"tooltip", Text(address)}});
    for (const char16_t* name : {u"Profilenamelabel", u"kProfilenamelabel"})
        Set(manager, name, {{u"text", u"Vimo profile 1"}});
}

// What the popups write into their controls when they open.
void FillPopup(CWindowUIManager& manager, unsigned layout, int language)
{
    if (layout == Layout::kKeyPopup) {
        Set(manager, u"keysmessagetitlelabel", {{u"text", Text(kKeyPopupTitle[language])}});
        Set(manager, u"inputmessagelabel", {{u"text", Text(kKeyPopupPrompt[language])}});
        const char16_t* labels[] = {u"singlekeyshiftlabel", u"singlekeyctrllabel", u"singlekeyaltlabel"};
        for (size_t i = 0; i < std::size(labels); ++i)
            Set(manager, labels[i], {{u"text", Text(kModifierLabels[i])}});
        return;
    }
    if (layout != Layout::kPlayOptionPopup)
        return;
    // "Play once" comes first: the repeat count is hidden.
    Set(manager, u"macro_repeattimes_label", {{u"visible", u"false"}});
    Set(manager, u"macro_repeattimes_edit", {{u"visible", u"false"}});
    auto* combo = dynamic_cast<CComboUI*>(manager.FindControl(u"macro_playback_combo"));
    if (combo == nullptr || combo->GetCount() > 0)
        return;
    CMacroPlayOptionWnd::FillCombo(*combo, language);
    combo->SetCurSel(0);
}

class Shooter {
public:
    Shooter(std::filesystem::path skins, std::filesystem::path out) : skins_(std::move(skins)), out_(std::move(out)) {}

    platform::HeadlessWindowSystem& System() { return system_; }

    bool Language(int language)
    {
        const SkinLanguage& skin = kSkinLanguages[language];
        folder_ = (skins_ / skin.folder).string();
        const std::filesystem::path target = out_ / skin.tag;
        std::error_code error;
        std::filesystem::create_directories(target, error);
        bool ok = Frame(language, target);
        for (const Shot& popup : kPopups)
            ok = Popup(popup, language, target) && ok;
        for (const auto& [file, element] : kSensorPages)
            ok = SensorPage(element, target / (std::string(file) + ".png")) && ok;
        return ok;
    }

    // Prints the rectangles of the named controls of the English main
    // window on `page`; false when one of them is missing.
    bool Rects(int page, const std::vector<std::string>& names)
    {
        folder_ = (skins_ / kSkinLanguages[0].folder).string();
        ShotWnd window;
        if (!OpenFrame(window, 0))
            return false;
        ShowPage(window.manager, page);
        system_.RunPending();
        bool ok = true;
        for (const std::string& name : names) {
            const CControlUI* control = window.manager.FindControl(platform::Utf8ToUtf16(name));
            if (control == nullptr) {
                std::printf("%s missing\n", name.c_str());
                ok = false;
                continue;
            }
            const UIRect rect = control->GetItemRect();
            std::printf("%s %d %d %d %d\n", name.c_str(), rect.left, rect.top, rect.right, rect.bottom);
        }
        window.Close();
        system_.RunPending();
        return ok;
    }

private:
    std::unique_ptr<CControlUI> Build(ShotWnd& window, unsigned layout, const char* what)
    {
        CLayoutBuilder builder;
        std::unique_ptr<CControlUI> root = builder.Create(layout, "xml", &callback_, &window.manager);
        if (!root)
            std::fprintf(stderr, "nerit_screenshots: %s: layout %u does not build\n", what, layout);
        return root;
    }

    // The main window as the program shows it in `language`.
    bool OpenFrame(ShotWnd& window, int language)
    {
        if (!window.Init(folder_) || !window.Open(Build(window, Layout::kMainFrame, "main_window"), {1000, 680}))
            return false;
        window.shaped = true;
        MainFrameSetup::ApplyLanguage(window.manager, language);
        FillFrame(window.manager, language);
        ApplyLanguageGeometry(window.manager, language);
        return true;
    }

    bool Frame(int language, const std::filesystem::path& target)
    {
        ShotWnd window;
        if (!OpenFrame(window, language))
            return false;
        bool ok = true;
        for (int page = 0; page < static_cast<int>(std::size(kPages)); ++page) {
            ShowPage(window.manager, page);
            ok = window.Write(system_, target / (std::string(kPages[page].file) + ".png")) && ok;
        }
        window.Close();
        system_.RunPending();
        return ok;
    }

    bool Popup(const Shot& popup, int language, const std::filesystem::path& target)
    {
        ShotWnd window;
        if (!window.Init(folder_) || !window.Open(Build(window, popup.layout, popup.file), {}))
            return false;
        FillPopup(window.manager, popup.layout, language);
        const bool ok = window.Write(system_, target / (std::string(popup.file) + ".png"));
        window.Close();
        system_.RunPending();
        return ok;
    }

    bool SensorPage(std::u16string_view element, const std::filesystem::path& file)
    {
        ShotWnd window;
        std::unique_ptr<CControlUI> page = callback_.CreateControl(element);
        if (page == nullptr || page->GetContainer()->GetCount() == 0) {
            std::fprintf(stderr, "nerit_screenshots: %s: the page holds no layout\n", file.string().c_str());
            return false;
        }
        if (!window.Init(folder_) || !window.Open(std::move(page), kPageSize))
            return false;
        const bool ok = window.Write(system_, file);
        window.Close();
        system_.RunPending();
        return ok;
    }

    std::filesystem::path skins_;
    std::filesystem::path out_;
    std::string folder_;
    platform::HeadlessWindowSystem system_;
    CDialogBuilderCallbackEx callback_;
};

// --rects SKINS PAGE NAME...: the page must be a tab's number.
int PrintRects(int argc, char** argv)
{
    const std::string page = argc > 3 ? argv[3] : "";
    const int pages = static_cast<int>(std::size(kPages));
    if (argc < 5 || page.size() != 1 || page[0] < '0' || page[0] >= '0' + pages) {
        std::fprintf(stderr, "usage: nerit_screenshots --rects SKINS PAGE(0..%d) NAME...\n", pages - 1);
        return 2;
    }
    Shooter shooter(argv[2], {});
    CWindowWnd::SetWindowSystem(&shooter.System());
    const bool ok = shooter.Rects(page[0] - '0', std::vector<std::string>(argv + 4, argv + argc));
    CWindowWnd::SetWindowSystem(nullptr);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "--rects")
        return PrintRects(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: nerit_screenshots SKINS OUT | --rects SKINS PAGE NAME...\n");
        return 2;
    }
    Shooter shooter(argv[1], argv[2]);
    CWindowWnd::SetWindowSystem(&shooter.System());
    bool ok = true;
    for (int language = 0; language < static_cast<int>(std::size(kSkinLanguages)); ++language)
        ok = shooter.Language(language) && ok;
    CWindowWnd::SetWindowSystem(nullptr);
    return ok ? 0 : 1;
}
