#include "FakePortalBus.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

#include "platform/CairoPainter.h"
#include "platform/DesktopFileDialog.h"
#include "platform/FakeFileDialog.h"
#include "platform/FileDialogMailbox.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/XdgUrlOpener.h"
#include "platform/ZenityCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>

using namespace platform;
using testsupport::FakePortalBus;
using testsupport::ScopedEnvironment;
using testsupport::TempFolder;

namespace {

constexpr unsigned kAnswerMessage = WM_APP + 7;
// A bound for waits on other processes, never reached when things work.
constexpr auto kLongWait = std::chrono::seconds(30);

// A window that notes the request ids of the answer messages it gets.
struct AnswerWindow {
    HeadlessWindowSystem windows;
    std::vector<uintptr_t> answered;
    WindowId window = windows.CreateWindow(WindowOptions{}, [this](const Message& m) {
        if (m.message == kAnswerMessage && m.lParam == 0)
            answered.push_back(m.wParam);
        return intptr_t{0};
    });

    // Runs the loop until an answer message came (or the long wait is over).
    bool WaitForAnswer()
    {
        const auto until = std::chrono::steady_clock::now() + kLongWait;
        while (answered.empty() && std::chrono::steady_clock::now() < until) {
            windows.RunPending();
            if (answered.empty())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return !answered.empty();
    }
};

FileDialogRequest ProfileSave()
{
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.title = "Save profile";
    request.filters = {{"VQ profile (*.vqp)", {"*.vqp"}}, {"All files(*.*)", {"*"}}};
    request.folder = "/data/Nerit Mice/profile";
    request.fileName = "profile.vqp";
    request.defaultExtension = "vqp";
    return request;
}

FileDialogRequest MacroImport()
{
    FileDialogRequest request;
    request.mode = FileDialogMode::Open;
    request.title = "Import macros";
    request.filters = {{"Macro File (*.vqm)", {"*.vqm"}}};
    request.folder = "/data/macro_files";
    request.defaultExtension = "mcp";
    return request;
}

void WriteScript(const std::string& path, const std::string& body)
{
    std::ofstream(path) << "#!/bin/sh\n" << body;
    ::chmod(path.c_str(), 0755);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A stand-in for zenity that writes its arguments, one a line, to args.txt
// in its folder, prints `printed` and exits with `exitCode`.
void WriteFakeZenity(const TempFolder& folder, const std::string& printed, int exitCode)
{
    WriteScript(folder.File("zenity"), "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                           folder.File("args.txt") + "'\nprintf '%s' '" + printed + "'\nexit " +
                                           std::to_string(exitCode) + "\n");
}

// The threads of the process that are not GLib's own (those carry names of
// their own, "gdbus" and the like): the test's and ours.
int UnnamedThreads()
{
    const auto nameOf = [](const std::filesystem::path& task) { return ReadFile((task / "comm").string()); };
    const std::string process = nameOf("/proc/self");
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        count += nameOf(task.path()) == process ? 1 : 0;
    return count;
}

}  // namespace

TEST(FakeFileDialogTest, AnswersArriveThroughTheLoopOnceEachWithTheSaveExtension)
{
    AnswerWindow ui;
    FakeFileDialog dialog(ui.windows);

    dialog.QueueChosen("/home/u/My profile");
    const auto saveId = dialog.Start(ProfileSave(), ui.window, kAnswerMessage);
    ASSERT_NE(saveId, FileDialog::kNoRequest);
    EXPECT_TRUE(ui.answered.empty()) << "the answer is posted, not sent";
    ui.windows.RunPending();
    ASSERT_EQ(ui.answered, std::vector<uintptr_t>{saveId});
    EXPECT_EQ(dialog.TakeAnswer(saveId), (FileDialogAnswer{FileDialogStatus::Chosen, "/home/u/My profile.vqp", true}));
    EXPECT_EQ(dialog.TakeAnswer(saveId).status, FileDialogStatus::Pending) << "taken once";
    // A name that has its extension is kept as the dialog asked about it.
    dialog.QueueChosen("/home/u/kept.vqp");
    const auto keptId = dialog.Start(ProfileSave(), ui.window, kAnswerMessage);
    ui.windows.RunPending();
    EXPECT_EQ(dialog.TakeAnswer(keptId), (FileDialogAnswer{FileDialogStatus::Chosen, "/home/u/kept.vqp", false}));

    // An open dialog adds no extension; a cancel carries no path.
    dialog.QueueChosen("/data/macro_files/list");
    const auto openId = dialog.Start(MacroImport(), ui.window, kAnswerMessage);
    dialog.QueueCancelled();
    const auto cancelId = dialog.Start(MacroImport(), ui.window, kAnswerMessage);
    ui.windows.RunPending();
    EXPECT_NE(openId, cancelId);
    EXPECT_EQ(dialog.TakeAnswer(openId).path, "/data/macro_files/list");
    EXPECT_EQ(dialog.TakeAnswer(cancelId), (FileDialogAnswer{FileDialogStatus::Cancelled, {}}));

    // Without a script the request waits for the test's answer.
    ui.answered.clear();
    const auto openEnded = dialog.Start(ProfileSave(), ui.window, kAnswerMessage);
    ui.windows.RunPending();
    EXPECT_TRUE(ui.answered.empty());
    EXPECT_EQ(dialog.TakeAnswer(openEnded).status, FileDialogStatus::Pending);
    dialog.Answer(openEnded, {FileDialogStatus::Chosen, ""});
    ui.windows.RunPending();
    EXPECT_EQ(dialog.TakeAnswer(openEnded).status, FileDialogStatus::Failed) << "a choice without a path";

    dialog.FailNextStart();
    ui.answered.clear();
    EXPECT_EQ(dialog.Start(ProfileSave(), ui.window, kAnswerMessage), FileDialog::kNoRequest);
    ui.windows.RunPending();
    EXPECT_TRUE(ui.answered.empty());
    EXPECT_EQ(dialog.Requests().size(), 6u);
    EXPECT_EQ(dialog.Requests()[0].folder, "/data/Nerit Mice/profile");
}

TEST(FileDialogMailboxTest, DefaultExtensionOnlyForANameWithoutOne)
{
    EXPECT_EQ(FileDialogMailbox::WithDefaultExtension("/a.b/name", "vqp"), "/a.b/name.vqp");
    EXPECT_EQ(FileDialogMailbox::WithDefaultExtension("/a/name.VQP", "vqp"), "/a/name.VQP");
    EXPECT_EQ(FileDialogMailbox::WithDefaultExtension("/a/name.txt", "vqp"), "/a/name.txt");
    EXPECT_EQ(FileDialogMailbox::WithDefaultExtension("/a/.hidden", "vqp"), "/a/.hidden.vqp");
    EXPECT_EQ(FileDialogMailbox::WithDefaultExtension("name", "vqm"), "name.vqm");
    EXPECT_EQ(FileDialogMailbox::WithDefaultExtension("/a/name", ""), "/a/name");
}

TEST(ZenityCommandTest, ArgumentsAndAnswers)
{
    const auto save = ZenityCommand::Arguments("zenity", ProfileSave());
    EXPECT_EQ(save, (std::vector<std::string>{"zenity", "--file-selection", "--title=Save profile", "--save",
                                              "--confirm-overwrite", "--filename=/data/Nerit Mice/profile/profile.vqp",
                                              "--file-filter=VQ profile (*.vqp) | *.vqp",
                                              "--file-filter=All files(*.*) | *"}));
    const auto open = ZenityCommand::Arguments("/opt/zenity", MacroImport());
    EXPECT_EQ(open, (std::vector<std::string>{"/opt/zenity", "--file-selection", "--title=Import macros",
                                              "--filename=/data/macro_files/",
                                              "--file-filter=Macro File (*.vqm) | *.vqm"}));

    EXPECT_EQ(ZenityCommand::Answer(0, "/p q/r.vqm\n"), (FileDialogAnswer{FileDialogStatus::Chosen, "/p q/r.vqm"}));
    EXPECT_EQ(ZenityCommand::Answer(1, "").status, FileDialogStatus::Cancelled);
    EXPECT_EQ(ZenityCommand::Answer(0, "").status, FileDialogStatus::Failed);
    EXPECT_EQ(ZenityCommand::Answer(0, "relative\n").status, FileDialogStatus::Failed);
    EXPECT_EQ(ZenityCommand::Answer(5, "/timed/out\n").status, FileDialogStatus::Failed);
    EXPECT_EQ(ZenityCommand::Answer(ChildProcess::kKilled, "").status, FileDialogStatus::Failed);
}

TEST(PortalFileChooserTest, OnlyLocalFileAddressesArePaths)
{
    EXPECT_EQ(PortalFileChooser::PathFromUri("file:///home/u/My%20Profiles/p%231.vqp"), "/home/u/My Profiles/p#1.vqp");
    EXPECT_EQ(PortalFileChooser::PathFromUri("file://localhost/srv/a"), "/srv/a");
    EXPECT_EQ(PortalFileChooser::PathFromUri("file://otherhost/srv/a"), "");
    EXPECT_EQ(PortalFileChooser::PathFromUri("https://example.org/a"), "");
    EXPECT_EQ(PortalFileChooser::PathFromUri("file:///srv/a%2Fb"), "") << "an escaped slash";
    EXPECT_EQ(PortalFileChooser::PathFromUri("file:///tmp/a%00b"), "");
}

class DesktopFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder.Path().empty()); }

    // The portal's bus; skips the test without dbus-daemon.
    bool StartBus()
    {
        bus = std::make_unique<FakePortalBus>(folder.Path().string());
        return bus->Running();
    }
    DesktopFileDialog::Options OnBus() const
    {
        DesktopFileDialog::Options options;
        options.busAddress = bus->Address();
        return options;
    }
    DesktopFileDialog::Options NoBus() const
    {
        DesktopFileDialog::Options options;
        options.busAddress = "unix:path=" + folder.File("no-bus");
        return options;
    }
    FileDialogAnswer Ask(const DesktopFileDialog::Options& options, const FileDialogRequest& request)
    {
        DesktopFileDialog dialog(ui.windows, options);
        ui.answered.clear();
        const auto id = dialog.Start(request, ui.window, kAnswerMessage);
        EXPECT_NE(id, FileDialog::kNoRequest);
        if (!ui.WaitForAnswer())
            return {};
        EXPECT_EQ(ui.answered, std::vector<uintptr_t>{id});
        return dialog.TakeAnswer(id);
    }

    TempFolder folder{"nerit-filedialog"};
    AnswerWindow ui;
    std::unique_ptr<FakePortalBus> bus;
};

TEST_F(DesktopFileDialogTest, PortalGetsTheRequestAndItsAnswersAreRead)
{
    if (!StartBus())
        GTEST_SKIP() << "dbus-daemon is not available";
    ASSERT_TRUE(bus->StartPortal(0, {"file:///home/u/My%20Profiles/p%201"}));
    // The portal's path lacks the extension the saved profile gets.
    EXPECT_EQ(Ask(OnBus(), ProfileSave()),
              (FileDialogAnswer{FileDialogStatus::Chosen, "/home/u/My Profiles/p 1.vqp", true}));
    auto calls = bus->Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].method, "SaveFile");
    const std::string& sent = calls[0].parameters;
    EXPECT_NE(sent.find("'Save profile'"), std::string::npos) << sent;
    EXPECT_NE(sent.find("'filters': <[('VQ profile (*.vqp)', [(uint32 0, '*.vqp')]), ('All files(*.*)', [(0, '*')])]>"),
              std::string::npos)
        << sent;
    EXPECT_NE(sent.find("'current_filter': <('VQ profile (*.vqp)', [(uint32 0, '*.vqp')])>"), std::string::npos) << sent;
    EXPECT_NE(sent.find("'current_folder': <b'/data/Nerit Mice/profile'>"), std::string::npos) << sent;
    EXPECT_NE(sent.find("'current_name': <'profile.vqp'>"), std::string::npos) << sent;

    // Cancelled by the user, a refusal, and an address that is no local file.
    bus->SetAnswer(1, {});
    EXPECT_EQ(Ask(OnBus(), MacroImport()), (FileDialogAnswer{FileDialogStatus::Cancelled, {}}));
    bus->SetAnswer(2, {});
    EXPECT_EQ(Ask(OnBus(), MacroImport()).status, FileDialogStatus::Failed);
    bus->SetAnswer(0, {"https://example.org/macros.vqm"});
    EXPECT_EQ(Ask(OnBus(), MacroImport()).status, FileDialogStatus::Failed);
    bus->SetAnswer(0, {"file:///data/macro_files/a.vqm"});
    EXPECT_EQ(Ask(OnBus(), MacroImport()).path, "/data/macro_files/a.vqm");
    calls = bus->Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[1].method, "OpenFile");
    EXPECT_EQ(calls[1].parameters.find("current_name"), std::string::npos) << calls[1].parameters;

    // Texts that are not UTF-8 (a name from a file of another code page).
    FileDialogRequest latin1 = ProfileSave();
    latin1.title = "Profil \xfc";
    latin1.fileName = "caf\xe9.vqp";
    bus->SetAnswer(1, {});
    EXPECT_EQ(Ask(OnBus(), latin1).status, FileDialogStatus::Cancelled);
    calls = bus->Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_NE(calls[5].parameters.find("'current_name': <'caf\xef\xbf\xbd.vqp'>"), std::string::npos)
        << calls[5].parameters;
}

TEST_F(DesktopFileDialogTest, ZenityWhenNoPortalTakesTheRequestThenFailure)
{
    WriteFakeZenity(folder, "/home/u/chosen name\n", 0);
    ScopedEnvironment path("PATH", ScopedEnvironment::PathWithFirst(folder.Path().string()));
    if (StartBus()) {
        // A bus without a portal on it.
        EXPECT_EQ(Ask(OnBus(), ProfileSave()), (FileDialogAnswer{FileDialogStatus::Chosen, "/home/u/chosen name.vqp", true}));
        EXPECT_EQ(ReadFile(folder.File("args.txt")),
                  "--file-selection\n--title=Save profile\n--save\n--confirm-overwrite\n"
                  "--filename=/data/Nerit Mice/profile/profile.vqp\n--file-filter=VQ profile (*.vqp) | *.vqp\n"
                  "--file-filter=All files(*.*) | *\n");
    }
    // A portal that takes the call and never replies.
    if (bus && bus->StartPortal(0, {"file:///from/portal"})) {
        bus->HoldCalls();
        auto options = OnBus();
        options.portalCallTimeoutMs = 100;
        EXPECT_EQ(Ask(options, MacroImport()).path, "/home/u/chosen name");
        EXPECT_EQ(bus->Calls().size(), 1u);
    }
    // No bus at all; the user closes zenity's dialog.
    WriteFakeZenity(folder, "", 1);
    EXPECT_EQ(Ask(NoBus(), MacroImport()), (FileDialogAnswer{FileDialogStatus::Cancelled, {}}));
    EXPECT_NE(ReadFile(folder.File("args.txt")).find("--filename=/data/macro_files/\n"), std::string::npos);

    // Neither a portal nor zenity.
    TempFolder empty{"nerit-filedialog-empty"};
    ScopedEnvironment noZenity("PATH", empty.Path().string());
    EXPECT_EQ(Ask(NoBus(), MacroImport()), (FileDialogAnswer{FileDialogStatus::Failed, {}}));
}

TEST_F(DesktopFileDialogTest, OpenDialogsAreClosedWithoutAnswerWhenTheServiceEnds)
{
    if (!StartBus())
        GTEST_SKIP() << "dbus-daemon is not available";
    ASSERT_TRUE(bus->StartPortal(0, {}, false));
    WriteScript(folder.File("zenity"), "printf x > '" + folder.File("args.txt") + "'\nexec sleep 600\n");
    ScopedEnvironment path("PATH", ScopedEnvironment::PathWithFirst(folder.Path().string()));
    {
        DesktopFileDialog portal(ui.windows, OnBus());
        DesktopFileDialog zenity(ui.windows, NoBus());
        portal.Start(ProfileSave(), ui.window, kAnswerMessage);
        zenity.Start(ProfileSave(), ui.window, kAnswerMessage);
        // Both dialogs are up: the portal was called, zenity has started.
        const auto until = std::chrono::steady_clock::now() + kLongWait;
        while ((bus->Calls().empty() || !std::filesystem::exists(folder.File("args.txt"))) &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ui.windows.RunPending();
    EXPECT_TRUE(ui.answered.empty());
    EXPECT_EQ(bus->Calls().size(), 1u);
}

// What the program does for minutes, in seconds: file dialogs through the
// portal (answered, and left open when their service goes), links opened by
// a stand-in xdg-open, and tooltip texts drawn through Pango meanwhile, each
// service on the threads it uses. The sanitizer build reports a GLib thread,
// main context or thread-local value used after its owner has gone, also at
// the test process's exit.
TEST_F(DesktopFileDialogTest, ManyDialogsLinksAndTooltipsInALoop)
{
    if (!StartBus())
        GTEST_SKIP() << "dbus-daemon is not available";
    ASSERT_TRUE(bus->StartPortal(0, {"file:///data/p.vqp"}));
    const int threads = UnnamedThreads();
    // Some openers outlive the loop, as a browser started in front does: the
    // last one surely does.
    WriteScript(folder.File("xdg-open"),
                "echo $$ >> '" + folder.File("openers") + "'\ncase $1 in *[05]|*/24) sleep 2 ;; esac\n");
    WriteFakeZenity(folder, "/data/z.vqp\n", 0);
    ScopedEnvironment path("PATH", ScopedEnvironment::PathWithFirst(folder.Path().string()));
    auto links = std::make_unique<XdgUrlOpener>();
    CairoPainter tooltip(240, 24);
    constexpr int kRounds = 25;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(Ask(OnBus(), ProfileSave()).path, "/data/p.vqp");
        if (round % 5 == 0) {
            ASSERT_EQ(Ask(NoBus(), ProfileSave()).path, "/data/z.vqp");
        }
        ASSERT_EQ(links->Open("https://example.org/" + std::to_string(round)), UrlOpenResult::Started);
        tooltip.Clear(0xFF202228);
        tooltip.DrawText(u"https://example.org/ 說明", FontSpec{}, 0xFFFFFFFF, {0, 0, 240, 24}, 0);
        // A dialog still open when the window goes.
        bus->SetAnswer(0, {}, false);
        {
            DesktopFileDialog open(ui.windows, OnBus());
            open.Start(MacroImport(), ui.window, kAnswerMessage);
            const auto until = std::chrono::steady_clock::now() + kLongWait;
            while (bus->Calls().size() < static_cast<size_t>(2 * round + 2) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        bus->SetAnswer(0, {"file:///data/p.vqp"});
    }
    EXPECT_EQ(bus->Calls().size(), static_cast<size_t>(2 * kRounds));
    // An opener still runs; no thread of the services outlives them.
    EXPECT_GT(links->Running(), 0u);
    links.reset();
    EXPECT_EQ(UnnamedThreads(), threads);
    // Left to the system, which is the test here.
    std::ifstream openers(folder.File("openers"));
    for (pid_t pid; openers >> pid;)
        ::waitpid(pid, nullptr, 0);
}
