// A small program around the UI framework (not NeritMice itself): opens a
// window built from a layout, prints every notification, and can write the
// window to a PNG file. With a display it shows a real window (SDL2);
// --headless renders without one.
//
//   ui_demo [--layout ID|FILE] [--png FILE] [--headless] [--exit-after-click]
#include "platform/CairoPainter.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/SdlWindowSystem.h"
#include "platform/Utf16.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace SkinUI;

constexpr unsigned kSampleLayout = 900;

struct Options {
    std::string layout;
    std::string png;
    bool headless = false;
    bool exitAfterClick = false;
};

class DemoWnd final : public CWindowWnd, public INotifyUI {
public:
    explicit DemoWnd(const Options& options) : options_(options) {}

    std::u16string_view GetWindowClassName() const override { return u"UIDemoWnd"; }

    bool Build()
    {
        manager.Init(System(), GetHWND());
        manager.SetHasNativeWindow(true);
        CLayoutBuilder builder;
        std::unique_ptr<CControlUI> root;
        if (options_.layout.empty())
            root = builder.CreateDetached(kSampleLayout, "xml", nullptr, &manager);
        else if (options_.layout.find_first_not_of("0123456789") == std::string::npos)
            root = builder.CreateDetached(static_cast<unsigned>(std::stoul(options_.layout)), "xml", nullptr, &manager);
        else
            root = builder.CreateDetached(platform::Utf8ToUtf16(options_.layout), nullptr, &manager);
        if (!root) {
            std::fprintf(stderr, "ui_demo: the layout did not build: %s\n",
                         platform::Utf16ToUtf8(builder.Markup().ErrorMessage()).c_str());
            return false;
        }
        manager.AddNotifier(this);
        return manager.AttachDialog(std::move(root));
    }

    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == platform::WM_CLOSE) {
            System()->DestroyWindow(GetHWND());
            return 0;
        }
        if (message == platform::WM_DESTROY)
            System()->PostQuitMessage(0);
        intptr_t result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result))
            return result;
        return 0;
    }

    void Notify(NotifyMessage& message) override
    {
        const std::string sender = message.sender != nullptr ? platform::Utf16ToUtf8(message.sender->GetName()) : "";
        std::printf("notify %s %s\n", platform::Utf16ToUtf8(message.type).c_str(), sender.c_str());
        std::fflush(stdout);
        if (message.type == u"windowinit" && !options_.png.empty())
            WritePng();
        if (message.type == u"click" && options_.exitAfterClick)
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
