// NeritMice: the configuration program of the Vimo mouse.
#include "app/FramePicture.h"
#include "app/InstanceCheck.h"
#include "app/MouseConnection.h"
#include "app/NeritMainWnd.h"
#include "app/ProgramSettings.h"
#include "app/ProgramTexts.h"
#include "settings/CommandMessages.h"
#include "app/SimulatedPlugMonitor.h"
#include "app/ProgramIcon.h"
#include "app/RefusedPictures.h"
#include "app/SkinFolder.h"
#include "app/StartupOptions.h"
#include "app/WindowClass.h"
#include "platform/DesktopFileDialog.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/PauselessClock.h"
#include "platform/SdlWindowSystem.h"
#include "platform/StopSignals.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/single_instance.h"
#include "platform/UdevDeviceMonitor.h"
#include "platform/XInputRawInput.h"
#include "platform/XdgUrlOpener.h"
#include "ui/WindowUIManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace NeritApp;

constexpr const char* kUsage =
    "usage: NeritMice [--simulate[=STATE]] [--data-dir DIR] [--headless --screenshot FILE.png [--page PAGE]]\n"
    "       NeritMice --version | --help\n"
    "  --simulate[=STATE]  use the simulated mouse, kept in STATE between runs (or VIMO_SIMULATE=STATE)\n"
    "  --data-dir DIR      the data folder (default $XDG_DATA_HOME/NeritMice)\n"
    "  --headless          run without a display\n"
    "  --screenshot FILE   with --headless: load the profiles, draw the main window into FILE and exit\n"
    "  --page PAGE         with --screenshot: the page drawn (buttons, performance, macros or support)\n";
// Outside the ids the controls' own timers take (below 255).
constexpr unsigned kRaiseTimer = 256;
constexpr unsigned kRaiseIntervalMs = 250;
constexpr unsigned kStopTimer = 257;
constexpr unsigned kStopIntervalMs = 100;

// The folder holding VimoSkin … VimoSkin3: beside the executable (the build
// tree), under the executable's install prefix, else the configured install
// place.
std::string ProgramFolder()
{
    std::string missing;
    const std::string folder = SkinFolder::Choose(platform::RealFileSystem(), platform::ProcessPaths().ExecutableDirectory(),
                                                  NERIT_SKINS_FROM_BINDIR, NERIT_INSTALLED_SKINS, &missing);
    if (!missing.empty())
        std::fprintf(stderr, "NeritMice: the skin folder %s is missing; its pages will be empty\n", missing.c_str());
    return folder;
}

// Test hook: VIMO_SIMULATE_FAIL_AT="POSITION,COUNT" fails that many reports
// of the simulated mouse from that position on, as for neritctl.
void InjectFaults(MouseConnection& mouse)
{
    const char* faults = std::getenv("VIMO_SIMULATE_FAIL_AT");
    if (faults == nullptr || mouse.Simulated() == nullptr)
        return;
    unsigned long position = 0, count = 1;
    if (std::sscanf(faults, "%lu,%lu", &position, &count) >= 1)
        mouse.Simulated()->FailAt(position, count);
}

// Measurement hook: VIMO_SIMULATE_PAUSES=0 lets the simulated mouse answer
// without the protocol's pauses. The real mouse always gets them.
platform::Clock& ProgramClock(const StartupOptions& options)
{
    static platform::PauselessClock pauseless;
    const char* pauses = std::getenv("VIMO_SIMULATE_PAUSES");
    if (options.simulate && pauses != nullptr && std::string(pauses) == "0")
        return pauseless;
    return platform::SystemClock();
}

// The main window of a window system, shown on it until the program quits
// (or, headless with a screenshot, drawn into the file).
class Program final {
public:
    explicit Program(const StartupOptions& options) : options_(options) {}

    // The signal that ended the run; 0 for none.
    int StopSignal() const { return stopSignal_; }

    int Run(platform::WindowSystem& system)
    {
        platform::Clock& clock = ProgramClock(options_);
        MouseConnection mouse(options_.simulate, clock);
        const std::string folder = ProgramFolder();
        if (std::optional<ProgramIcon> icon = ProgramIcon::Load(platform::RealFileSystem(), folder + "/" + kWindowIconFile))
            system.SetProgramIcon(icon->width, icon->height, std::move(icon->argb));
        CNeritMainWnd window(folder, 0);
        window.Manager().SetImageRefusalHandler(refusedPictures_.Handler());
        ProgramSettings settings(mouse, options_.dataDir, options_.simulate.has_value(), window, clock);
        // A later start leaves before it touches any file, the simulated
        // mouse's state among them.
        if (!StartInstance(settings.Folder().Folder()))
            return instanceStatus_;
        if (!mouse.Prepare())
            return Fail("cannot use the simulated mouse's state file " + *options_.simulate);
        // The mouse's arrival and removal: udev for the real mouse; for the
        // simulated one SIGUSR1 pulls it and SIGUSR2 plugs it in again.
        std::unique_ptr<platform::DeviceMonitor> monitor;
        if (mouse.Persistent() != nullptr)
            monitor = std::make_unique<SimulatedPlugMonitor>(*mouse.Persistent());
        else
            monitor = std::make_unique<platform::UdevDeviceMonitor>();
        InjectFaults(mouse);
        if (!OpenSettings(settings))
            return 1;
        window.SetLanguage(settings.Language());
        window.Attach(settings, mouse);
        platform::DesktopFileDialog fileDialog(system);
        platform::XdgUrlOpener browser;
        window.UseDesktop(&fileDialog, &browser);
        // Keys and clicks of the whole desktop reach the macro recorder
        // through X; without an X server only the window's own input does.
        platform::XInputRawInput desktopInput(platform::SystemClock());
        window.UseRecorderInput(options_.headless ? nullptr : &desktopInput, platform::SystemClock());
        window.UseDeviceMonitor(monitor.get(), clock);
        if (!window.Open())
            return Fail("cannot create the main window");
        const int status = options_.headless ? RunHeadless(static_cast<platform::HeadlessWindowSystem&>(system), window)
                                             : RunLoop(system, window);
        mouse.Finish();
        return status;
    }

private:
    // Said on standard error and, for a start from the desktop's menu where
    // nobody reads it, in a message box.
    int Fail(const std::string& text)
    {
        std::fprintf(stderr, "NeritMice: %s\n", text.c_str());
        if (!options_.headless)
            SkinUI::CWindowWnd::System()->MessageBox(platform::WindowId::None, text, "NeritMice", platform::MB_OK | platform::MB_ICONERROR);
        return 1;
    }

    static std::string Because(platform::FileError error)
    {
        const size_t index = std::min(static_cast<size_t>(error), kFileErrorTexts.size() - 1);
        return " (" + std::string(kFileErrorTexts[index][0]) + ")";
    }

    bool OpenSettings(ProgramSettings& settings)
    {
        const std::string folder = settings.Folder().Folder();
        switch (settings.Open()) {
        case ProgramSettings::OpenResult::Ready:
            return true;
        case ProgramSettings::OpenResult::FolderFailed:
            Fail("cannot create the data folder " + folder + Because(settings.OpenError()));
            break;
        case ProgramSettings::OpenResult::LockBusy:
            Fail(settings.Folder().HolderIsProgram() ? "another NeritMice is running with the data folder " + folder
                                                     : "the data folder " + folder + " is busy (neritctl is changing it)");
            break;
        case ProgramSettings::OpenResult::LockFailed:
            Fail("cannot lock the data folder " + folder + Because(settings.OpenError()));
            break;
        }
        return false;
    }

    // Only one program runs per user; a later start raises the running one.
    bool StartInstance(const std::string& dataFolder)
    {
        if (options_.headless)
            return true;
        InstanceCheck::Outcome outcome =
            InstanceCheck::Start(platform::RealSingleInstance(), *SkinUI::CWindowWnd::System(), dataFolder, guard_);
        // Without a runtime folder the lock lives in the data folder, which
        // the first start of all has yet to make.
        if (outcome == InstanceCheck::Outcome::Failed && platform::RealFileSystem().CreateDirectories(dataFolder))
            outcome = InstanceCheck::Start(platform::RealSingleInstance(), *SkinUI::CWindowWnd::System(), dataFolder,
                                           guard_);
        switch (outcome) {
        case InstanceCheck::Outcome::Run:
            return true;
        case InstanceCheck::Outcome::Leave:
            instanceStatus_ = 0;
            return false;
        case InstanceCheck::Outcome::Failed:
            break;
        }
        instanceStatus_ =
            Fail("cannot check for a running copy in " + dataFolder + Because(platform::RealSingleInstance().LastError()));
        return false;
    }

    int RunHeadless(platform::HeadlessWindowSystem& system, CNeritMainWnd& window)
    {
        system.RunPending();
        // Nobody sees the boxes: what they said goes to standard error.
        for (const auto& box : system.MessageBoxCalls())
            std::fprintf(stderr, "NeritMice: %s: %s\n", box.caption.c_str(), settings::OneLine(box.text).c_str());
        if (options_.screenshot.empty())
            return 0;
        if (options_.page != 0 && window.ShowPage(options_.page))
            system.RunPending();
        const platform::Rect rect = system.GetWindowRect(window.GetHWND());
        if (!FramePicture::Write(window.Manager(), rect.Width(), rect.Height(), FramePicture::Shape::MaskImage,
                                 options_.screenshot)) {
            std::fprintf(stderr, "NeritMice: cannot write %s\n", options_.screenshot.c_str());
            return 1;
        }
        return 0;
    }

    // SIGTERM and SIGINT end the loop as a close does, without a question.
    int RunLoop(platform::WindowSystem& system, CNeritMainWnd& window)
    {
        if (guard_)
            window.WatchRaiseRequests(*guard_, kRaiseTimer, kRaiseIntervalMs);
        window.WatchStopSignals(kStopTimer, kStopIntervalMs,
                                [](const std::string& line) { std::fprintf(stderr, "NeritMice: %s\n", line.c_str()); });
        const int status = SkinUI::CWindowUIManager::MessageLoop(system);
        stopSignal_ = window.StopSignal();
        return status;
    }

    const StartupOptions& options_;
    std::unique_ptr<platform::InstanceGuard> guard_;
    int instanceStatus_ = 1;
    RefusedPictures refusedPictures_;
    int stopSignal_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const StartupOptions options =
        StartupOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), std::getenv("VIMO_SIMULATE"));
    switch (options.action) {
    case StartupOptions::Action::Version:
        std::printf("NeritMice %s\n", NERITMICE_VERSION);
        return 0;
    case StartupOptions::Action::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case StartupOptions::Action::Error:
        std::fprintf(stderr, "NeritMice: %s\n%s", options.error.c_str(), kUsage);
        return 2;
    case StartupOptions::Action::Run:
        break;
    }
    std::unique_ptr<platform::WindowSystem> system;
    if (options.headless) {
        system = std::make_unique<platform::HeadlessWindowSystem>();
    } else {
        std::string error;
        system = platform::SdlWindowSystem::Create(&error, kWindowClass);
        if (!system) {
            std::fprintf(stderr, "NeritMice: cannot open the display: %s\n", error.c_str());
            return 1;
        }
    }
    // Counted from the start: one that comes while the profiles are first
    // read ends the program once they are. Headless runs have no loop to
    // look at them.
    if (!options.headless)
        platform::StopSignals::Watch();
    SkinUI::CWindowWnd::SetWindowSystem(system.get());
    Program program(options);
    const int status = program.Run(*system);
    SkinUI::CWindowWnd::SetWindowSystem(nullptr);
    system.reset();
    // Ended by a signal: the parent learns so, as without the wait.
    if (program.StopSignal() != 0)
        platform::StopSignals::EndBy(program.StopSignal());
    return status;
}
