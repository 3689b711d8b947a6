#include "CliTestSupport.h"
#include "cli/MessageText.h"
#include "cli/ProfileDump.h"
#include "cli/TerminalText.h"
#include "cli/Vocabulary.h"
#include "cli/WatchedFileSystem.h"
#include "platform/FakeFileSystem.h"
#include "sim/SimStateFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace clitest;

TEST(Neritctl, InfoAndDumpAgainstTheSimulatedMouse)
{
    RunResult info = Neritctl("--simulate info");
    EXPECT_EQ(info.status, 0) << info.out;
    EXPECT_NE(info.out.find("V1.07"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("current profile: 1"), std::string::npos) << info.out;

    // dump speaks as show does: DPI, not stage codes.
    RunResult dump = Neritctl("--simulate dump");
    EXPECT_EQ(dump.status, 0) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "Profile 5 (in use)")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "  report rate 125 Hz, power save off, ambient light off\n")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "  button 4: Profile Select\n")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "  button 6: Browser Forward\n")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "  DPI stages 500 1000 1500 2000\n")) << dump.out;
    TempFolder dir;
    RunResult show = Neritctl("--simulate --data-dir " + (dir.path / "data").string() + " show --profile 5");
    EXPECT_TRUE(Contains(show.out, "  DPI stages 500 1000 1500 2000\n")) << show.out;
    EXPECT_TRUE(Contains(show.out, "  report rate 125 Hz, power save off, ambient light off\n")) << show.out;
}

TEST(Neritctl, CommandLineConventions)
{
    RunResult version = Neritctl("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(Contains(version.out, "neritctl " NERITMICE_TEST_VERSION "\n")) << version.out;

    RunResult unknown = Neritctl("--simulate frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(Contains(unknown.out, "a command is required (--simulate took \"frobnicate\" as its state file)"))
        << unknown.out;
    // An option of neritctl itself is not blamed on the command after it.
    RunResult early = Neritctl("--bogus info");
    EXPECT_EQ(early.status, 2);
    EXPECT_TRUE(Contains(early.out, "neritctl: unknown option \"--bogus\" (see neritctl --help)")) << early.out;
    EXPECT_TRUE(Contains(Neritctl("--simulate --data-dir '' show").out, "neritctl: --data-dir: an empty folder name"));
    RunResult late = Neritctl("--simulate info --bogus");
    EXPECT_EQ(late.status, 2);
    EXPECT_TRUE(Contains(late.out, "neritctl: info: ")) << late.out;
    RunResult unknownAlone = Neritctl("frobnicate");
    EXPECT_EQ(unknownAlone.status, 2);
    EXPECT_TRUE(Contains(unknownAlone.out, "unknown command \"frobnicate\"")) << unknownAlone.out;
    RunResult range = Neritctl("--simulate save-profile 6");
    EXPECT_EQ(range.status, 2);
    EXPECT_TRUE(Contains(range.out, "not in range")) << range.out;
    EXPECT_EQ(Neritctl("show --help").status, 0);
    EXPECT_TRUE(Contains(Neritctl("show --help").out, "laserIndex"));
    EXPECT_TRUE(Contains(Neritctl("apply --help").out, "they are not undone"));

    // --simulate FILE with a blank is --simulate=FILE.
    TempFolder dir;
    const std::string state = (dir.path / "mouse").string();
    ASSERT_EQ(Neritctl("--simulate " + state + " --data-dir " + (dir.path / "d").string() + " led off").status, 0);
    EXPECT_TRUE(std::filesystem::exists(state));

    // A file name is echoed with its control characters escaped.
    RunResult named = Neritctl("--simulate --data-dir " + (dir.path / "d").string() +
                               " import-profile 1 \"$(printf 'zz\\033[31mred')\"");
    EXPECT_EQ(named.status, 1);
    EXPECT_TRUE(Contains(named.out, "zz\\x1B[31mred.vqp: missing")) << named.out;
    EXPECT_FALSE(Contains(named.out, "\x1B")) << named.out;
}

TEST(Neritctl, TraceAndStateFile)
{
    TempFolder dir;
    const auto state = dir.path / "state.bin";
    RunResult traced = Neritctl("--simulate=" + state.string() + " --trace info");
    EXPECT_EQ(traced.status, 0) << traced.out;
    EXPECT_NE(traced.out.find("> set-feature command 07 5E 00 00 00 00 00 00"), std::string::npos) << traced.out;
    EXPECT_NE(traced.out.find("< get-feature command 07 01 07 00"), std::string::npos) << traced.out;
    EXPECT_TRUE(std::filesystem::exists(state));

    // A damaged state file is refused with a message, and left as it was.
    std::filesystem::resize_file(state, 10);
    RunResult refused = Neritctl("--simulate=" + state.string() + " info");
    EXPECT_NE(refused.status, 0);
    EXPECT_TRUE(Contains(refused.out, "cannot use the simulated mouse's state file " + state.string() +
                                          ": state file is too short"))
        << refused.out;
    EXPECT_EQ(std::filesystem::file_size(state), 10u);

    // A state file that is no file says what it is.
    RunResult folder = Neritctl("--simulate=" + dir.path.string() + " info");
    EXPECT_TRUE(Contains(folder.out, "state file " + dir.path.string() + ": a folder")) << folder.out;
    const auto pipe = dir.path / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    RunResult fifo = Neritctl("--simulate=" + pipe.string() + " info");
    EXPECT_EQ(fifo.status, 1);
    EXPECT_TRUE(Contains(fifo.out, "state file " + pipe.string() + ": not a regular file")) << fifo.out;
}

// The simulated mouse's report log: written when it can be, and a log that
// cannot be written fails the command with its name and the reason.
TEST(Neritctl, SimulatedMouseLog)
{
    TempFolder dir;
    const std::string command = std::string(NERITCTL_PATH) + " --simulate=" + (dir.path / "state").string() + " info";
    const auto log = dir.path / "reports.log";
    RunResult logged = RunShell("VIMO_SIMULATE_LOG=" + log.string() + " " + command);
    EXPECT_EQ(logged.status, 0) << logged.out;
    EXPECT_GT(std::filesystem::file_size(log), 0u);

    // A pipe of the test's own; it holds the reading end, so that even a
    // blocking open would return at once.
    const auto pipe = dir.path / "pipe.log";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    RunResult refused = RunShell("VIMO_SIMULATE_LOG=" + pipe.string() + " " + command);
    ::close(reader);
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_TRUE(Contains(refused.out, "cannot write the simulated mouse's log " + pipe.string() + ": not a regular file"))
        << refused.out;
}

TEST(ProfileDump, DescribesButtonsAndFirmware)
{
    using device::ButtonEntry;
    namespace category = device::category;
    EXPECT_EQ(cli::FirmwareText(107), "V1.07");
    EXPECT_EQ(cli::FirmwareText(1210), "V12.10");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{category::Key, 0x04, 0x05}), "Single Key Ctrl+Alt+A");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{category::Key, 0xEE, 0x20}), "Single Key RShift+key 238");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{category::Macro, 0xF1, 3}), "Macro 3 (plays while held)");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{category::Macro, 4, 0}), "Macro 0 (plays 4 times)");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{42, 1, 0}), "Unknown (42, 1)");
    EXPECT_EQ(cli::StageText(9), "3500");
    EXPECT_EQ(cli::StageText(10), "index 10");
}

TEST(TerminalText, ControlCharactersAndBrokenBytesAreEscaped)
{
    EXPECT_EQ(cli::EscapeControls("Game \xC3\xA9t\xC3\xA9"), "Game \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(cli::EscapeControls("\x1B]0;owned\x07\x1B[2J"), "\\x1B]0;owned\\x07\\x1B[2J");
    EXPECT_EQ(cli::EscapeControls("a\x7F\xC2\x9B" "b"), "a\\x7F\\u009Bb");
    EXPECT_EQ(cli::EscapeControls("\x9B" "1J\xFF"), "\\x9B1J\\xFF");
    EXPECT_EQ(cli::EscapeControls("back\\slash"), "back\\\\slash");
    // Bidi overrides and isolates would reorder what follows on screen.
    EXPECT_EQ(cli::EscapeControls("a\xE2\x80\xAEgpj.exe\xE2\x81\xA6x"), "a\\u202Egpj.exe\\u2066x");
    EXPECT_EQ(cli::EscapeControls("\xE2\x80\xA9\xE2\x81\xAA"), "\xE2\x80\xA9\xE2\x81\xAA");  // neighbours stay
    // JSON allows them raw; the output escapes them as JSON does C0.
    EXPECT_EQ(cli::EscapeJsonControls("{\"name\": \"a\x7F\xC2\x80\xC2\x9F\xE2\x80\xAA\xE2\x81\xA9\xC3\xA9\\n\"}"),
              "{\"name\": \"a\\u007F\\u0080\\u009F\\u202A\\u2069\xC3\xA9\\n\"}");
}

// Every failed change is kept once per file, with what was tried on it, so
// that a command names each file once and says what it could not do.
TEST(WatchedFileSystem, EachFailedFileOnceWithItsAction)
{
    platform::FakeFileSystem fake;
    cli::WatchedFileSystem files(fake);
    fake.AddDirectory("/d");
    const uint8_t byte = 1;
    EXPECT_TRUE(files.WriteFileAtomic("/d/ok", &byte, 1));
    fake.SetWritesFail(true, platform::FileError::NoPermission);
    for (int k = 0; k < 6; ++k)
        EXPECT_FALSE(files.WriteFileAtomic("/d/config.ini", &byte, 1));
    fake.AddDirectory("/d/PendingChanges");
    EXPECT_FALSE(files.RemoveFile("/d/PendingChanges"));
    ASSERT_EQ(files.Failures().size(), 2u);
    EXPECT_STREQ(files.Failures()[0].action, "write");
    EXPECT_EQ(files.Failures()[0].path, "/d/config.ini");
    EXPECT_EQ(files.Failures()[0].error, platform::FileError::NoPermission);
    EXPECT_STREQ(files.Failures()[1].action, "remove");
    EXPECT_EQ(files.Failures()[1].path, "/d/PendingChanges");
}

TEST(MessageText, MessageBoxTextsOnOneLine)
{
    EXPECT_EQ(cli::OneLine("\r\nFailed to load profile : \r\n\r\n   3  5 . \r\n"), "Failed to load profile : 3 5 .");
    EXPECT_EQ(cli::OneLine("Please select at least one of the five\n profiles"),
              "Please select at least one of the five profiles");
}

}  // namespace
