// Painting a 1000 × 640 window of about 200 skinned controls (nine-grid
// button images, a tiled background, sliders, texts): the full repaint of a
// frame, and the repaint of one button's rectangle after it turns hot.
// The same two for the program's real main window, built headless over a
// fresh simulated mouse with its five profiles loaded.
// Prints milliseconds per frame of each and the peak memory of the process.
#include "app/MouseConnection.h"
#include "app/NeritMainWnd.h"
#include "app/ProgramSettings.h"
#include "platform/CairoPainter.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/PauselessClock.h"
#include "platform/Utf16.h"
#include "ui/ButtonUI.h"
#include "ui/IContainerUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"

#include "tests/TempFolder.h"
#include "tests/ui/BmpBuilder.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 640;
constexpr int kRows = 16;
constexpr int kColumns = 12;

// A 24-bit BMP whose colour at (x, y) comes from `color`.
template <class ColorAt>
void WriteBmp(const std::filesystem::path& path, uint32_t width, uint32_t height, ColorAt color)
{
    const std::vector<uint8_t> bytes = testsupport::MakeBmp(width, height, 24, color);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Button states stacked 24 pixels apart, each with a darker 4-pixel rim.
uint32_t ButtonPixel(uint32_t x, uint32_t y)
{
    const uint32_t state = y / 24;
    const bool rim = x < 4 || x >= 86 || y % 24 < 4 || y % 24 >= 20;
    const uint32_t base = 0xFF3050A0u + state * 0x00202000u;
    return rim ? base - 0x00202020u : base;
}

struct Skin {
    std::filesystem::path folder;

    Skin() : folder(std::filesystem::temp_directory_path() / ("paint-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(folder);
        WriteBmp(folder / "button.bmp", 90, 72, ButtonPixel);
        WriteBmp(folder / "bg.bmp", 64, 64, [](uint32_t x, uint32_t y) { return 0xFF181C24u + ((x ^ y) & 7); });
        WriteBmp(folder / "thumb.bmp", 10, 20, [](uint32_t, uint32_t) { return 0xFFE0E0E0u; });
        WriteBmp(folder / "fg.bmp", 8, 8, [](uint32_t, uint32_t y) { return 0xFF00A0FFu - y * 0x00000800u; });
    }
    ~Skin() { std::filesystem::remove_all(folder); }
};

std::string ControlXml(int row, int column)
{
    const std::string n = std::to_string(row * kColumns + column);
    const std::string button = " normalimage=\"file='button.bmp' source='0,0,90,24' corner='4,4,4,4'\""
                               " hotimage=\"file='button.bmp' source='0,24,90,48' corner='4,4,4,4'\""
                               " pushedimage=\"file='button.bmp' source='0,48,90,72' corner='4,4,4,4'\"";
    switch ((row + column) % 5) {
    case 0: return "<Button name=\"b" + n + "\" width=\"76\" text=\"Button " + n + "\"" + button + " />";
    case 1: return "<Option name=\"o" + n + "\" width=\"76\" text=\"Option " + n + "\" group=\"g" +
                   std::to_string(row) + "\"" + button + " selectedimage=\"file='button.bmp' source='0,48,90,72'\" />";
    case 2: return "<Label width=\"76\" textcolor=\"#FFE0E0E0\" endellipsis=\"true\" text=\"Label number " + n + "\" />";
    case 3: return "<Slider width=\"76\" value=\"" + std::to_string(row * 6) + "\" thumbsize=\"10,20\""
                   " thumbimage=\"thumb.bmp\" fgimage=\"fg.bmp\" bkcolor=\"#FF303030\" />";
    default: return "<Text width=\"76\" textcolor=\"#FFA0A0A0\" bordersize=\"1\" bordercolor=\"#FF505050\""
                    " text=\"{u}Text{/u} " + n + " wraps here\" showhtml=\"true\" />";
    }
}

std::string MakeLayout()
{
    std::string xml = "<Window size=\"1000,640\"><Font name=\"Verdana\" size=\"12\" default=\"true\" />"
                      "<VerticalLayout bkimage=\"file='bg.bmp' xtiled='true' ytiled='true'\" inset=\"10,10,10,10\""
                      " childpadding=\"4\">";
    for (int row = 0; row < kRows; ++row) {
        xml += "<HorizontalLayout height=\"34\" childpadding=\"6\">";
        for (int column = 0; column < kColumns; ++column)
            xml += ControlXml(row, column);
        xml += "</HorizontalLayout>";
    }
    return xml + "</VerticalLayout></Window>";
}

struct Window {
    Skin skin;
    SkinUI::CWindowUIManager manager;
    SkinUI::CLayoutBuilder builder;
    std::unique_ptr<SkinUI::CControlUI> root;
    platform::CairoPainter painter{kWidth, kHeight};

    Window()
    {
        manager.SetResourcePath(skin.folder.string());
        root = builder.CreateDetached(platform::Utf8ToUtf16(MakeLayout()), nullptr, &manager);
        if (!root)
            return;
        manager.SetRoot(root.get());
        root->SetItemRect({0, 0, kWidth, kHeight});
        manager.PaintAll(painter);  // loads the images once
    }
};

Window& TheWindow()
{
    static Window window;
    return window;
}

// The program's main window, English, on its first page after the
// start-up load, as the user first sees it.
struct MainWindow {
    testsupport::TempFolder folder{"paint-bench-data"};
    platform::HeadlessWindowSystem system;
    platform::PauselessClock clock;
    NeritApp::MouseConnection mouse{std::string(), clock};
    NeritApp::CNeritMainWnd window{NERIT_SKIN_DIR, 0};
    NeritApp::ProgramSettings settings{mouse, folder.Path().string(), true, window, clock};
    std::unique_ptr<platform::CairoPainter> painter;

    MainWindow()
    {
        SkinUI::CWindowWnd::SetWindowSystem(&system);
        if (folder.Path().empty() || !mouse.Prepare() || settings.Open() != NeritApp::ProgramSettings::OpenResult::Ready)
            return;
        window.SetLanguage(0);
        window.Attach(settings, mouse);
        if (!window.Open())
            return;
        SkinUI::CWindowUIManager::MessageLoop(system);
        const SkinUI::UIRect rect = window.Manager().GetRoot() ? window.Manager().GetRoot()->GetItemRect() : SkinUI::UIRect{};
        if (rect.right > rect.left && rect.bottom > rect.top)
            painter = std::make_unique<platform::CairoPainter>(rect.right - rect.left, rect.bottom - rect.top);
    }
    ~MainWindow()
    {
        if (window.GetHWND() != platform::WindowId::None)
            system.DestroyWindow(window.GetHWND());
        system.RunPending();
        SkinUI::CWindowWnd::SetWindowSystem(nullptr);
    }
};

MainWindow& TheMainWindow()
{
    static MainWindow window;
    return window;
}

void FullRepaint(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.root) {
        state.SkipWithError("layout did not build");
        return;
    }
    for (auto _ : state) {
        window.manager.PaintAll(window.painter);
        benchmark::DoNotOptimize(window.painter.PixelAt(500, 320));
    }
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMillisecond);

// The button turns hot and back on alternate frames; each frame repaints
// just its rectangle.
void ToggleHotRepaints(benchmark::State& state, SkinUI::CWindowUIManager& manager, platform::CairoPainter& painter,
                       SkinUI::CButtonUI& button)
{
    const SkinUI::UIRect rect = button.GetItemRect();
    bool hot = false;
    for (auto _ : state) {
        hot = !hot;
        button.SetButtonState(hot ? SkinUI::CButtonUI::kHot : 0u);
        manager.Paint(painter, rect);
        benchmark::DoNotOptimize(painter.PixelAt(rect.left + 2, rect.top + 2));
    }
    button.SetButtonState(0);
}

void HotButtonRepaint(benchmark::State& state)
{
    Window& window = TheWindow();
    auto* button = dynamic_cast<SkinUI::CButtonUI*>(window.manager.FindControl(u"b60"));
    if (!button) {
        state.SkipWithError("no button b60");
        return;
    }
    ToggleHotRepaints(state, window.manager, window.painter, *button);
}
BENCHMARK(HotButtonRepaint)->Unit(benchmark::kMillisecond);

void MainWindowFullRepaint(benchmark::State& state)
{
    MainWindow& main = TheMainWindow();
    if (!main.painter) {
        state.SkipWithError("the main window did not open");
        return;
    }
    for (auto _ : state) {
        main.window.Manager().PaintAll(*main.painter);
        benchmark::DoNotOptimize(main.painter->PixelAt(main.painter->Width() / 2, main.painter->Height() / 2));
    }
}
BENCHMARK(MainWindowFullRepaint)->Unit(benchmark::kMillisecond);

// The first profile's save button under the pointer and away.
void MainWindowHoverRepaint(benchmark::State& state)
{
    MainWindow& main = TheMainWindow();
    auto* button = dynamic_cast<SkinUI::CButtonUI*>(main.window.Manager().FindControl(u"profile1savebtn"));
    if (!main.painter || button == nullptr || !button->IsVisible()) {
        state.SkipWithError("no visible profile1savebtn in the main window");
        return;
    }
    main.window.Manager().PaintAll(*main.painter);
    ToggleHotRepaints(state, main.window.Manager(), *main.painter, *button);
}
BENCHMARK(MainWindowHoverRepaint)->Unit(benchmark::kMillisecond);

// Keeps the time per frame of each run for the summary.
class FrameReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred)
                milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> milliseconds;
};

int CountControls(SkinUI::CControlUI* control)
{
    int count = 1;
    if (SkinUI::IContainerUI* container = control->GetContainer()) {
        for (int i = 0; i < container->GetCount(); ++i)
            count += CountControls(container->GetItemAt(i));
    }
    return count;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    FrameReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const int controls = TheWindow().root ? CountControls(TheWindow().root.get()) : 0;
    std::printf("\npaint, %d x %d window, %d controls: full repaint %.3f ms/frame, hot button %.4f ms/frame; "
                "peak memory %.1f MiB\n",
                kWidth, kHeight, controls, reporter.milliseconds["FullRepaint"],
                reporter.milliseconds["HotButtonRepaint"], static_cast<double>(usage.ru_maxrss) / 1024.0);
    if (TheMainWindow().painter) {
        std::printf("main window, %d x %d: full repaint %.3f ms/frame, hover repaint %.4f ms/frame\n",
                    TheMainWindow().painter->Width(), TheMainWindow().painter->Height(),
                    reporter.milliseconds["MainWindowFullRepaint"], reporter.milliseconds["MainWindowHoverRepaint"]);
    }
    benchmark::Shutdown();
    return 0;
}
