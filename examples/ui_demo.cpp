// A small program around the UI framework (not NeritMice itself): opens a
// window built from a layout, prints every notification, and can write the
// window to a PNG file. With a display it shows a real window (SDL2);
// --headless renders without one.
//
//   ui_demo [--layout ID|FILE|controls] [--png FILE] [--headless]
//           [--exit-after-click] [--exit-after LINE] [--skin FOLDER]
//
// "--layout controls" shows the controls page: one of each control, with
// slider values shown in labels, options switching a tab layout and a
// button opening a popup menu whose commands are printed as
// "menu command ID". --exit-after ends the demo once it has printed LINE.
#include "platform/CairoPainter.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/SdlWindowSystem.h"
#include "platform/Utf16.h"
#include "ui/ComboUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/MenuUI.h"
#include "ui/ProgressUI.h"
#include "ui/SliderUI.h"
#include "ui/TabLayoutUI.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace {

using namespace SkinUI;

constexpr unsigned kSampleLayout = 900;
constexpr unsigned kControlsLayout = 910;

// The controls page's popup menu: two commands, a separator and a sub-menu.
struct MenuEntry {
    const char16_t* text;
    uint16_t command;  // 0: a separator, or the entry holding the sub-menu
};
constexpr MenuEntry kMenuEntries[] = {{u"Left click", 2001}, {u"Right click", 2002}, {nullptr, 0}};
constexpr const char16_t* kSubMenuTitle = u"Macros";
constexpr MenuEntry kSubMenuEntries[] = {{u"Macro 1", 2010}, {u"Macro 2", 2011}};
constexpr int kMenuWidth = 180;
// The drop-down of the page's combo: wider than the combo, as high as its
// items where the screen has room for them.
constexpr UISize kComboDropBox{180, 0};

struct Options {
    std::string layout;
    std::string png;
    std::string exitAfter;
    std::string skin;  // the folder the layout's images are read from
    bool headless = false;
    bool exitAfterClick = false;
};

// A layout given by number; nothing for a name, or a number too large.
std::optional<unsigned> ResourceId(const std::string& text)
{
    unsigned id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return id;
}

// Why a layout built nothing, for the user.
std::string BuildFailure(const CLayoutBuilder& builder)
{
    switch (builder.LastError()) {
    case CLayoutBuilder::BuildError::TooDeep:
        return "controls or included layouts are nested too deeply";
    case CLayoutBuilder::BuildError::TooLarge:
        return "the layout is too large (too many controls or too much included text)";
    case CLayoutBuilder::BuildError::NoContainer:
        return "a control was placed inside a control that takes no children";
    case CLayoutBuilder::BuildError::Load: {
        const std::string reason = platform::Utf16ToUtf8(builder.Markup().ErrorMessage());
        return reason.empty() ? "the layout could not be loaded" : "the layout could not be loaded: " + reason;
    }
    case CLayoutBuilder::BuildError::None:
        break;
    }
    return "the layout holds no control";
}

// The notifications whose parameters say what happened: new and old index.
bool HasIndexes(std::u16string_view type) { return type == u"itemselect" || type == u"tabselect"; }

class DemoWnd final : public CWindowWnd, public INotifyUI {
public:
    explicit DemoWnd(const Options& options) : options_(options) {}

    std::u16string_view GetWindowClassName() const override { return u"UIDemoWnd"; }

    bool Build()
    {
        manager.Init(System(), GetHWND());
        manager.SetHasNativeWindow(true);
        if (!options_.skin.empty())
            manager.SetResourcePath(options_.skin);
        CLayoutBuilder builder;
        std::unique_ptr<CControlUI> root;
        if (options_.layout.empty())
            root = builder.CreateDetached(kSampleLayout, "xml", nullptr, &manager);
        else if (options_.layout == "controls")
            root = builder.CreateDetached(kControlsLayout, "xml", nullptr, &manager);
        else if (const auto id = ResourceId(options_.layout))
            root = builder.CreateDetached(*id, "xml", nullptr, &manager);
        else
            root = builder.CreateDetached(LayoutText(), nullptr, &manager);
        if (!root) {
            std::fprintf(stderr, "ui_demo: the layout did not build: %s\n", BuildFailure(builder).c_str());
            return false;
        }
        manager.AddNotifier(this);
        if (!manager.AttachDialog(std::move(root)))
            return false;
        // The combo starts on its first item, quietly.
        if (auto* combo = dynamic_cast<CComboUI*>(manager.FindControl(u"demo_combo"))) {
            combo->SetDropBoxSize(kComboDropBox);
            combo->SetCurSel(0);
        }
        return true;
    }

    // A layout file is read relative to the resource folder; with --skin the
    // file is read here so that it can lie anywhere.
    std::u16string LayoutText() const
    {
        if (options_.skin.empty())
            return platform::Utf8ToUtf16(options_.layout);
        std::ifstream file(options_.layout, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return file ? platform::Utf8ToUtf16(text.str()) : platform::Utf8ToUtf16(options_.layout);
    }

    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == platform::WM_CLOSE) {
            System()->DestroyWindow(GetHWND());
            return 0;
        }
        if (message == platform::WM_DESTROY)
            System()->PostQuitMessage(0);
        if (message == platform::WM_COMMAND) {
            Print("menu command " + std::to_string(wParam));
            return 0;
        }
        intptr_t result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result))
            return result;
        return 0;
    }

    void Notify(NotifyMessage& message) override
    {
        const std::string sender = message.sender != nullptr ? platform::Utf16ToUtf8(message.sender->GetName()) : "";
        std::string line = "notify " + platform::Utf16ToUtf8(message.type) + " " + sender;
        if (HasIndexes(message.type))
            line += " " + std::to_string(static_cast<int>(message.wParam)) + " "
                    + std::to_string(static_cast<int>(message.lParam));
        if (const auto* slider = dynamic_cast<const CSliderUI*>(message.sender); slider && message.type == u"valuechanged")
            line += " " + std::to_string(slider->GetValue());
        if (message.type == u"windowinit" && !options_.png.empty())
            WritePng();
        if (message.sender != nullptr)
            OnPageNotify(message);
        Print(line);
        if (message.type == u"click" && options_.exitAfterClick)
            Close();
    }

    // Prints a line for the watching script; ends the demo after the line
    // that --exit-after names.
    void Print(const std::string& line)
    {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        if (!options_.exitAfter.empty() && line == options_.exitAfter)
            Close();
    }

    void WritePng()
    {
        const platform::Rect rect = System()->GetWindowRect(GetHWND());
        platform::CairoPainter painter(rect.Width(), rect.Height());
        manager.PaintAll(painter);
        if (!painter.WritePng(options_.png))
            std::fprintf(stderr, "ui_demo: cannot write %s\n", options_.png.c_str());
    }

    CWindowUIManager manager;

private:
    // What the controls page does beyond the framework's own behaviour.
    void OnPageNotify(const NotifyMessage& message)
    {
        const std::u16string& name = message.sender->GetName();
        if (message.type == u"valuechanged" && (name == u"hslider" || name == u"vslider"))
            ShowSliderValue(*message.sender);
        else if (message.type == u"selectchanged" && name.starts_with(u"tab_option_"))
            SelectTab(message.sender->GetUserData());
        else if (message.type == u"click" && name == u"menu_button")
            OpenMenu(*message.sender);
    }

    // The value in the label beside the slider; the progress bar follows
    // the horizontal slider.
    void ShowSliderValue(CControlUI& sender)
    {
        const auto* slider = dynamic_cast<const CSliderUI*>(&sender);
        if (slider == nullptr)
            return;
        const std::u16string value = platform::Utf8ToUtf16(std::to_string(slider->GetValue()));
        if (CControlUI* label = manager.FindControl(sender.GetName() + u"_value"))
            label->SetText(value);
        auto* progress = dynamic_cast<CProgressUI*>(manager.FindControl(u"progress"));
        if (progress != nullptr && sender.GetName() == u"hslider") {
            progress->SetValue(slider->GetValue());
            progress->Invalidate();
        }
    }

    void SelectTab(std::u16string_view index)
    {
        auto* tabs = dynamic_cast<CTabLayoutUI*>(manager.FindControl(u"demo_tabs"));
        if (tabs != nullptr && index.size() == 1 && index[0] >= u'0' && index[0] <= u'9')
            tabs->SelectItem(index[0] - u'0');
    }

    // Opens the page's popup menu under the button; the menu frees itself
    // when it closes, and its command arrives as WM_COMMAND.
    void OpenMenu(const CControlUI& button)
    {
        auto* menu = new CMenuUI();
        menu->SetWidth(kMenuWidth);
        for (const MenuEntry& entry : kMenuEntries) {
            if (entry.text == nullptr)
                menu->AddSeparator();
            else
                menu->AddItem(entry.text, entry.command);
        }
        CMenuElementUI* more = menu->AddItem(kSubMenuTitle, 0);
        auto sub = std::make_unique<CMenuUI>();
        sub->SetWidth(kMenuWidth);
        for (const MenuEntry& entry : kSubMenuEntries)
            sub->AddItem(entry.text, entry.command);
        menu->AttachSubMenu(more, std::move(sub));
        const platform::Rect window = System()->GetWindowRect(GetHWND());
        const UIRect& rc = button.GetItemRect();
        menu->Show(window.left + rc.left, window.top + rc.bottom, GetHWND());
    }

    const Options& options_;
};

Options Parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--headless")
            options.headless = true;
        else if (arg == "--exit-after-click")
            options.exitAfterClick = true;
        else if (arg == "--png" && i + 1 < argc)
            options.png = argv[++i];
        else if (arg == "--layout" && i + 1 < argc)
            options.layout = argv[++i];
        else if (arg == "--skin" && i + 1 < argc)
            options.skin = argv[++i];
        else if (arg == "--exit-after" && i + 1 < argc)
            options.exitAfter = argv[++i];
    }
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = Parse(argc, argv);
    std::unique_ptr<platform::WindowSystem> system;
    if (!options.headless) {
        std::string error;
        system = platform::SdlWindowSystem::Create(&error);
        if (!system)
            std::fprintf(stderr, "ui_demo: no display (%s); rendering headless\n", error.c_str());
    }
    const bool headless = !system;
    if (headless)
        system = std::make_unique<platform::HeadlessWindowSystem>();
    CWindowWnd::SetWindowSystem(system.get());

    DemoWnd window(options);
    if (window.Create(platform::WindowId::None, "NeritMice UI demo", WindowStyle::kNormal, 0, 100, 100, 320, 200)
        == platform::WindowId::None)
        return 1;
    if (!window.Build())
        return 1;
    const UISize size = window.manager.GetInitialSize();
    if (size.cx > 0 && size.cy > 0)
        system->MoveWindow(window.GetHWND(), {100, 100, 100 + size.cx, 100 + size.cy});
    window.ShowWindow();
    if (headless) {
        static_cast<platform::HeadlessWindowSystem&>(*system).RunPending();
        return 0;
    }
    const int code = CWindowUIManager::MessageLoop(*system);
    CWindowWnd::SetWindowSystem(nullptr);
    return code;
}
