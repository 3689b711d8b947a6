#include "platform/FakeClock.h"
#include "platform/FakeFileSystem.h"
#include "platform/FakeLockService.h"
#include "platform/FlockLockService.h"
#include "sim/PersistentMouse.h"
#include "sim/SimStateFile.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sim {
namespace {

namespace fs = std::filesystem;

class SimStateFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir.empty());
        path = (dir / "mouse.state").string();
    }

    void WriteBytes(const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    static FirmwareState Changed()
    {
        FirmwareState state = FirmwareState::Fresh();
        state.currentProfile = 3;
        state.ledSwitch = 0;
        state.ambient = 60;
        state.firmwareMajor = 2;
        state.firmwareMinor = 41;
        state.profiles[1].macros[2][5] = 0xAB;
        state.profiles[4].combos[9][6] = 0xCD;
        state.profiles[2].reportRate = 3;
        return state;
    }

    testsupport::TempFolder folder{"simstate"};
    fs::path dir = folder.Path();
    std::string path;
};

TEST_F(SimStateFileTest, SavesAndLoadsWholeState)
{
    SimulatedMouse saved;
    saved.SetState(Changed());
    SimStateFile file(path);
    ASSERT_EQ(file.Save(saved), StateFileResult::Saved);
    EXPECT_EQ(fs::file_size(path), SimStateFile::kFileSize);
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    SimulatedMouse loaded;
    ASSERT_EQ(file.Load(loaded), StateFileResult::Loaded);
    EXPECT_EQ(loaded.State(), Changed());

    // Fields sit at fixed offsets.
    const std::vector<uint8_t> bytes = SimStateFile::Encode(Changed());
    EXPECT_EQ(bytes[8], 3);
    EXPECT_EQ(bytes[12], 41);
    EXPECT_EQ(bytes[16 + 2328 * 1 + 123 + 245 * 2 + 5], 0xAB);
    EXPECT_EQ(bytes[16 + 2328 * 4 + 53 + 7 * 9 + 6], 0xCD);
    EXPECT_EQ(bytes[16 + 2328 * 2 + 1], 3);
}

TEST_F(SimStateFileTest, MissingFileGivesFreshMouse)
{
    SimulatedMouse mouse;
    mouse.SetState(Changed());
    EXPECT_EQ(SimStateFile(path).Load(mouse), StateFileResult::FreshMouse);
    EXPECT_EQ(mouse.State(), FirmwareState::Fresh());
}

TEST_F(SimStateFileTest, RefusesDamagedFilesAndKeepsMouse)
{
    const std::vector<uint8_t> good = SimStateFile::Encode(Changed());
    struct Case {
        std::vector<uint8_t> bytes;
        StateFileResult expected;
    };
    std::vector<Case> cases;
    cases.push_back({{}, StateFileResult::TooShort});
    cases.push_back({{good.begin(), good.end() - 1}, StateFileResult::TooShort});
    cases.push_back({good, StateFileResult::TooLong});
    cases.back().bytes.push_back(0);
    cases.push_back({good, StateFileResult::BadMagic});
    cases.back().bytes[0] = 'X';
    cases.push_back({good, StateFileResult::BadVersion});
    cases.back().bytes[7] = 2;
    cases.push_back({good, StateFileResult::BadChecksum});
    cases.back().bytes[16 + 2328 * 3 + 500] ^= 0x01;

    for (const Case& c : cases) {
        WriteBytes(c.bytes);
        SimulatedMouse mouse;
        mouse.MutableState().ledSwitch = 0x12;
        const FirmwareState before = mouse.State();
        EXPECT_EQ(SimStateFile(path).Load(mouse), c.expected) << static_cast<int>(c.expected);
        EXPECT_EQ(mouse.State(), before);
    }
}

// The old fixed temporary name may hold a planted link: it is neither
// followed nor replaced, and its target keeps its contents.
TEST_F(SimStateFileTest, SaveDoesNotFollowALinkAtThePredictableTemporaryName)
{
    const std::string victim = (dir / "victim").string();
    WriteBytes({});
    fs::rename(path, victim);
    {
        std::ofstream out(victim);
        out << "precious";
    }
    fs::create_symlink(victim, path + ".tmp");
    SimulatedMouse mouse;
    mouse.SetState(Changed());
    ASSERT_EQ(SimStateFile(path).Save(mouse), StateFileResult::Saved);
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
    EXPECT_EQ(fs::symlink_status(path + ".tmp").type(), fs::file_type::symlink);
    SimulatedMouse loaded;
    EXPECT_EQ(SimStateFile(path).Load(loaded), StateFileResult::Loaded);
    EXPECT_EQ(loaded.State(), Changed());
}

// A pipe as the state file is neither read nor replaced. The test keeps the
// pipe open at both ends with a whole file's bytes (plus one) waiting in it,
// so that even a blocking read would return at once instead of hanging.
TEST_F(SimStateFileTest, APipeAsStateFileIsRefusedAndKept)
{
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_GE(writer, 0);
    std::vector<uint8_t> bytes = SimStateFile::Encode(Changed());
    bytes.push_back(0);
    ASSERT_EQ(::write(writer, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));

    SimulatedMouse mouse;
    const FirmwareState before = mouse.State();
    EXPECT_EQ(SimStateFile(path).Load(mouse), StateFileResult::IoError);
    EXPECT_EQ(mouse.State(), before);
    EXPECT_EQ(SimStateFile(path).Save(mouse), StateFileResult::IoError);
    EXPECT_EQ(fs::symlink_status(path).type(), fs::file_type::fifo);
    ::close(writer);
    ::close(reader);
}

// Programs sharing the mouse hold it in turn, for a sequence each: from the
// first handle's open to the last one's close, or from Hold to Release. A
// waiting one hears Busy after one wait, with the holder's name; each
// sequence starts from the file, and the file has a sequence's changes as
// soon as it ends.
TEST_F(SimStateFileTest, SequencesTakeTurnsAndKeepTheirChangesAtOnce)
{
    platform::FakeClock clock;
    platform::FakeLockService locks(clock);
    PersistentMouse first(path, "", "NeritMice", platform::RealFileSystem(), locks);
    PersistentMouse second(path, "", "neritctl", platform::RealFileSystem(), locks);
    const auto inFile = [this] {
        SimulatedMouse mouse;
        SimStateFile(path).Load(mouse);
        return mouse.State();
    };
    ASSERT_EQ(first.Hold(), StateFileResult::FreshMouse);
    EXPECT_EQ(second.Hold(), StateFileResult::Busy);
    EXPECT_EQ(second.Open(SimHidBackend::kCommandPath), nullptr);  // no second wait within a failed Hold
    EXPECT_EQ(second.LastOpenError(), platform::HidOpenError::Busy);
    EXPECT_EQ(clock.TotalPausedMs(), PersistentMouse::kLockWaitMs);
    EXPECT_EQ(second.BusyHolder(), "NeritMice");
    second.Release();
    first.Mouse().SetState(Changed());
    ASSERT_EQ(first.Release(), StateFileResult::Saved);
    EXPECT_EQ(inFile(), Changed());  // while the program still runs

    // A handle holds the mouse until its close.
    std::unique_ptr<platform::HidDevice> handle = second.Open(SimHidBackend::kCommandPath);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(second.Mouse().State(), Changed());
    EXPECT_EQ(first.Hold(), StateFileResult::Busy);
    EXPECT_EQ(first.BusyHolder(), "neritctl");
    first.Release();
    second.Mouse().MutableState().ledSwitch = 0;
    EXPECT_TRUE(handle->Close());
    EXPECT_EQ(inFile().ledSwitch, 0);
    ASSERT_EQ(first.Hold(), StateFileResult::Loaded);
    EXPECT_EQ(first.Mouse().State().ledSwitch, 0);  // not what it had in memory

    // Release ends the sequence while a handle stays open: its reports fail
    // until the next one, and the other program goes ahead meanwhile.
    handle = first.Open(SimHidBackend::kCommandPath);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(first.Release(), StateFileResult::Saved);
    Report get{kCommandReportId};
    EXPECT_FALSE(handle->GetFeatureReport(get.data(), get.size()));
    EXPECT_EQ(second.Hold(), StateFileResult::Loaded);
    second.Release();
    ASSERT_EQ(first.Hold(), StateFileResult::Loaded);
    EXPECT_TRUE(handle->GetFeatureReport(get.data(), get.size()));
    first.Release();
    handle.reset();

    // A link to the state file shares its lock.
    const std::string link = (dir / "link.state").string();
    fs::create_symlink(path, link);
    PersistentMouse linked(link, "", "", platform::RealFileSystem(), locks);
    ASSERT_EQ(second.Hold(), StateFileResult::Loaded);
    EXPECT_EQ(linked.Hold(), StateFileResult::Busy);
    EXPECT_TRUE(locks.IsHeld(fs::canonical(path).string() + ".lock"));
    second.Release();

    locks.SetFailure(platform::FileError::NoPermission);
    EXPECT_EQ(linked.Hold(), StateFileResult::LockFailed);
    EXPECT_EQ(linked.StateError(), platform::FileError::NoPermission);
}

// A sequence writes the file when the mouse changed (or has no file yet); a
// file that cannot be written fails the last handle's close and keeps the
// state it had.
TEST_F(SimStateFileTest, ASequenceThatCannotKeepItsChangesFailsItsClose)
{
    platform::FakeClock clock;
    platform::FakeLockService locks(clock);
    platform::FakeFileSystem files;
    files.AddDirectory("/state");
    PersistentMouse mouse("/state/mouse.state", "", "neritctl", files, locks);
    const auto sequence = [&mouse](uint8_t led) {
        std::unique_ptr<platform::HidDevice> command = mouse.Open(SimHidBackend::kCommandPath);
        std::unique_ptr<platform::HidDevice> data = mouse.Open(SimHidBackend::kDataPath);
        if (!command || !data)
            return false;
        mouse.Mouse().MutableState().ledSwitch = led;
        const bool first = command->Close();
        return first && data->Close();
    };
    EXPECT_TRUE(sequence(0xFF));
    ASSERT_TRUE(files.Contents("/state/mouse.state"));  // a new mouse's file
    const int writes = files.WriteCount();
    EXPECT_TRUE(sequence(0xFF));
    EXPECT_EQ(files.WriteCount(), writes);  // nothing changed, nothing written

    struct Case {
        const char* what;
        std::function<void(bool)> fault;
        platform::FileError error;
    };
    const Case cases[] = {
        {"full disk", [&files](bool on) { files.SetWritesFail(on); }, platform::FileError::NoSpace},
        {"read-only folder", [&files](bool on) { files.SetReadOnly("/state", on); }, platform::FileError::NoPermission},
    };
    for (const Case& c : cases) {
        const std::string before = *files.Contents("/state/mouse.state");
        c.fault(true);
        EXPECT_FALSE(sequence(0x00)) << c.what;
        EXPECT_EQ(mouse.LastResult(), StateFileResult::IoError) << c.what;
        EXPECT_EQ(mouse.StateError(), c.error) << c.what;
        EXPECT_EQ(*files.Contents("/state/mouse.state"), before) << c.what;
        EXPECT_FALSE(locks.IsHeld("/state/mouse.state.lock")) << c.what;
        c.fault(false);
    }
    EXPECT_TRUE(sequence(0x00));
    SimulatedMouse kept;
    ASSERT_EQ(SimStateFile("/state/mouse.state", files).Load(kept), StateFileResult::Loaded);
    EXPECT_EQ(kept.State().ledSwitch, 0x00);
}

// The report log goes only into a regular file, never waiting on a pipe; a
// log that cannot be written is reported, while the state is still saved.
TEST_F(SimStateFileTest, TheReportLogIsAppendedOrItsFailureReported)
{
    platform::FakeClock clock;
    platform::FakeLockService locks(clock);
    const std::string log = (dir / "reports.log").string();
    const auto exchange = [](PersistentMouse& mouse) {
        mouse.Hold();
        Report get{7};
        mouse.Mouse().FeatureGet(get);
        return mouse.Release();
    };
    {
        PersistentMouse mouse(path, log, "", platform::RealFileSystem(), locks);
        for (int round = 0; round < 2; ++round)
            EXPECT_EQ(exchange(mouse), StateFileResult::Saved);
        EXPECT_EQ(mouse.LogError(), platform::FileError::None);
    }
    std::ifstream written(log);
    std::string line;
    int lines = 0;
    while (std::getline(written, line)) {
        EXPECT_EQ(line.rfind("feature-get command 07", 0), 0u) << line;
        ++lines;
    }
    EXPECT_EQ(lines, 2);

    // A pipe of our own with a reader, so that even a blocking open would
    // return: nothing goes into it.
    const std::string pipe = (dir / "pipe.log").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        PersistentMouse mouse(path, pipe, "", platform::RealFileSystem(), locks);
        mouse.Hold();
        mouse.Mouse().SetState(Changed());
        EXPECT_EQ(mouse.Release(), StateFileResult::Saved);
        EXPECT_EQ(mouse.LogError(), platform::FileError::NotRegular);
    }
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0);
    ::close(reader);
    SimulatedMouse reloaded;
    ASSERT_EQ(SimStateFile(path).Load(reloaded), StateFileResult::Loaded);
    EXPECT_EQ(reloaded.State(), Changed());
}

// The same between processes, with the real lock: a child holds the mouse
// for its sequence; the parent's waits, hears Busy with the child's name,
// and goes ahead from the child's state once the child has ended.
TEST_F(SimStateFileTest, ProcessesOnOneStateFileTakeTurns)
{
    int ready[2];
    int done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PersistentMouse mouse(path, "", "neritctl");
        const bool held = mouse.Hold() == StateFileResult::FreshMouse;
        mouse.Mouse().SetState(Changed());
        char go = 0;
        if (!held || ::write(ready[1], "r", 1) != 1 || ::read(done[0], &go, 1) != 1)
            ::_exit(2);
        ::_exit(mouse.Release() == StateFileResult::Saved ? 0 : 3);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    platform::FakeClock clock;
    platform::FlockLockService locks(clock);
    PersistentMouse mouse(path, "", "NeritMice", platform::RealFileSystem(), locks);
    EXPECT_EQ(mouse.Hold(), StateFileResult::Busy);
    EXPECT_EQ(mouse.BusyHolder(), "neritctl");
    mouse.Release();

    ASSERT_EQ(::write(done[1], "d", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_EQ(mouse.Hold(), StateFileResult::Loaded);
    EXPECT_EQ(mouse.Mouse().State(), Changed());
    for (int fd : {ready[0], ready[1], done[0], done[1]})
        ::close(fd);
}

}  // namespace
}  // namespace sim
