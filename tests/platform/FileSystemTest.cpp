#include "platform/FakeFileSystem.h"
#include "platform/PosixFileSystem.h"
#include "platform/ZipReader.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::FileError;
using platform::ReadResult;

bool Write(platform::FileSystem& files, const std::string& path, std::string_view text)
{
    return files.WriteFileAtomic(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string Read(platform::FileSystem& files, const std::string& path, size_t maxBytes = 1 << 20)
{
    std::vector<uint8_t> bytes{'s', 't', 'a', 'l', 'e'};
    if (files.ReadFile(path, maxBytes, bytes) != ReadResult::Ok)
        return bytes.empty() ? "<cannot open>" : "<stale bytes kept>";
    return std::string(bytes.begin(), bytes.end());
}

// A fresh folder on disk, removed afterwards.
struct TempFolder {
    testsupport::TempFolder folder{"neritmice-fs"};
    std::string path = folder.Path().string();
    // What the folder holds, to see that no temporary file is left behind.
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            names.insert(entry.path().filename().string());
        return names;
    }
};

// Both implementations must behave alike; each subject is a file system and
// a folder in it to work in.
struct Subject {
    std::shared_ptr<platform::FileSystem> files;
    std::shared_ptr<TempFolder> disk;
    std::string root;
};

class FileSystemContract : public testing::TestWithParam<std::function<Subject()>> {
protected:
    Subject s_ = GetParam()();
    platform::FileSystem& files_ = *s_.files;
    std::string At(const std::string& relative) const { return s_.root + "/" + relative; }
};

TEST_P(FileSystemContract, ReadsWholeOrCappedAndRefusesMissingFilesAndFolders)
{
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 + i / 256);
    ASSERT_TRUE(Write(files_, At("big.bin"), big));
    EXPECT_EQ(Read(files_, At("big.bin")), big);
    EXPECT_EQ(Read(files_, At("big.bin"), 150001), big.substr(0, 150001));
    EXPECT_EQ(Read(files_, At("big.bin"), 0), "");

    EXPECT_EQ(Read(files_, At("missing.ini")), "<cannot open>");
    ASSERT_TRUE(files_.CreateDirectories(At("profile")));
    EXPECT_EQ(Read(files_, At("profile")), "<cannot open>");
}

TEST_P(FileSystemContract, WritesReplaceFilesOnlyInExistingFolders)
{
    ASSERT_TRUE(Write(files_, At("a.dat"), "old contents, longer"));
    ASSERT_TRUE(Write(files_, At("a.dat"), "new"));
    EXPECT_EQ(Read(files_, At("a.dat")), "new");
    EXPECT_TRUE(files_.WriteFileAtomic(At("empty.dat"), nullptr, 0));
    EXPECT_EQ(Read(files_, At("empty.dat")), "");
    EXPECT_FALSE(files_.WriteFileAtomic(At("null.dat"), nullptr, 5));
    EXPECT_FALSE(files_.Exists(At("null.dat")));

    EXPECT_FALSE(Write(files_, At("no/such/folder.ini"), "x"));
    EXPECT_FALSE(files_.Exists(At("no")));
    ASSERT_TRUE(files_.CreateDirectories(At("profile")));
    EXPECT_FALSE(Write(files_, At("profile"), "x"));
    EXPECT_TRUE(files_.IsWritableDirectory(At("profile")));
}

TEST_P(FileSystemContract, AppendsCreateAndExtendFilesOnlyInExistingFolders)
{
    const auto append = [&](const std::string& path, std::string_view text) {
        return files_.AppendFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    };
    ASSERT_TRUE(append(At("log.txt"), "one\n"));
    EXPECT_EQ(files_.LastError(), FileError::None);
    ASSERT_TRUE(append(At("log.txt"), "two\n"));
    EXPECT_TRUE(files_.AppendFile(At("log.txt"), nullptr, 0));
    EXPECT_EQ(Read(files_, At("log.txt")), "one\ntwo\n");
    EXPECT_FALSE(files_.AppendFile(At("log.txt"), nullptr, 3));
    EXPECT_EQ(Read(files_, At("log.txt")), "one\ntwo\n");

    EXPECT_FALSE(append(At("no/such.log"), "x"));
    EXPECT_EQ(files_.LastError(), FileError::Missing);
    EXPECT_FALSE(files_.Exists(At("no")));
    ASSERT_TRUE(files_.CreateDirectories(At("profile")));
    EXPECT_FALSE(append(At("profile"), "x"));
    EXPECT_EQ(files_.LastError(), FileError::IsFolder);
    EXPECT_FALSE(append(At("log.txt/inside"), "x"));
    EXPECT_EQ(files_.LastError(), FileError::NotAFolder);
}

TEST_P(FileSystemContract, CreateDirectoriesMakesParentsButNotThroughAFile)
{
    EXPECT_TRUE(files_.CreateDirectories(At("a/b//c/")));
    EXPECT_TRUE(files_.IsWritableDirectory(At("a/b/c")));
    EXPECT_TRUE(files_.CreateDirectories(At("a/b/c")));

    ASSERT_TRUE(Write(files_, At("a/file"), "x"));
    EXPECT_TRUE(files_.Exists(At("a/file")));
    EXPECT_FALSE(files_.IsWritableDirectory(At("a/file")));
    EXPECT_FALSE(files_.CreateDirectories(At("a/file/sub")));
    EXPECT_FALSE(files_.CreateDirectories(""));
    EXPECT_FALSE(files_.Exists(At("nothing")));
    EXPECT_FALSE(files_.IsWritableDirectory(At("nothing")));
}

TEST_P(FileSystemContract, RemoveAndRenameFilesButNeverFolders)
{
    ASSERT_TRUE(Write(files_, At("AllProfile"), "bad"));
    ASSERT_TRUE(Write(files_, At("AllProfile.damaged"), "older"));
    ASSERT_TRUE(files_.RenameFile(At("AllProfile"), At("AllProfile.damaged")));
    EXPECT_FALSE(files_.Exists(At("AllProfile")));
    EXPECT_EQ(Read(files_, At("AllProfile.damaged")), "bad");
    EXPECT_FALSE(files_.RenameFile(At("AllProfile"), At("x")));
    EXPECT_EQ(files_.LastError(), FileError::Missing);

    EXPECT_TRUE(files_.RemoveFile(At("AllProfile.damaged")));
    EXPECT_FALSE(files_.Exists(At("AllProfile.damaged")));
    EXPECT_TRUE(files_.RemoveFile(At("AllProfile.damaged")));  // nothing there is fine
    ASSERT_TRUE(files_.CreateDirectories(At("profile")));
    EXPECT_FALSE(files_.RemoveFile(At("profile")));
    EXPECT_EQ(files_.LastError(), FileError::IsFolder);
    EXPECT_FALSE(files_.RenameFile(At("profile"), At("moved")));
    EXPECT_TRUE(files_.IsWritableDirectory(At("profile")));
}

TEST_P(FileSystemContract, FailuresTellTheirReason)
{
    std::vector<uint8_t> bytes;
    EXPECT_EQ(files_.ReadFile(At("missing.ini"), 100, bytes), ReadResult::CannotOpen);
    EXPECT_EQ(files_.LastError(), FileError::Missing);
    ASSERT_TRUE(files_.CreateDirectories(At("profile")));
    EXPECT_EQ(files_.LastError(), FileError::None);
    EXPECT_EQ(files_.ReadFile(At("profile"), 100, bytes), ReadResult::CannotOpen);
    EXPECT_EQ(files_.LastError(), FileError::IsFolder);

    EXPECT_FALSE(Write(files_, At("profile"), "x"));
    EXPECT_EQ(files_.LastError(), FileError::IsFolder);
    EXPECT_FALSE(Write(files_, At("no/such.ini"), "x"));
    EXPECT_EQ(files_.LastError(), FileError::Missing);
    ASSERT_TRUE(Write(files_, At("file"), "x"));
    EXPECT_EQ(files_.LastError(), FileError::None);
    EXPECT_FALSE(Write(files_, At("file/inside.ini"), "x"));
    EXPECT_EQ(files_.LastError(), FileError::NotAFolder);
    EXPECT_FALSE(files_.CreateDirectories(At("file/sub")));
    EXPECT_EQ(files_.LastError(), FileError::NotAFolder);
    EXPECT_EQ(files_.ReadFile(At("file"), 100, bytes), ReadResult::Ok);
    EXPECT_EQ(files_.LastError(), FileError::None);
}

Subject OnDisk()
{
    auto disk = std::make_shared<TempFolder>();
    return {std::make_shared<platform::PosixFileSystem>(), disk, disk->path};
}

Subject InMemory()
{
    auto files = std::make_shared<platform::FakeFileSystem>();
    files->AddDirectory("/data");
    return {files, nullptr, "/data"};
}

INSTANTIATE_TEST_SUITE_P(Posix, FileSystemContract, testing::Values(OnDisk));
INSTANTIATE_TEST_SUITE_P(Fake, FileSystemContract, testing::Values(InMemory));

// Failed replacements on disk leave the old file and no temporary file.
TEST(PosixFileSystem, FailedWritesKeepTheOldFile)
{
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string config = folder.path + "/config.ini";
    ASSERT_TRUE(Write(files, config, "old"));

    // A file size limit makes write() fail part-way, as a full disk does.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_FALSE(Write(files, config, std::string(100000, 'n')));
    EXPECT_EQ(files.LastError(), FileError::NoSpace);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    // The rename fails when a folder stands at the target.
    ASSERT_TRUE(files.CreateDirectories(folder.path + "/profile"));
    EXPECT_FALSE(Write(files, folder.path + "/profile", "x"));

    if (::geteuid() != 0) {  // root may write into read-only folders
        fs::permissions(folder.path, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(files.IsWritableDirectory(folder.path));
        EXPECT_FALSE(Write(files, config, "new"));
        EXPECT_EQ(files.LastError(), FileError::NoPermission);
        fs::permissions(folder.path, fs::perms::owner_write, fs::perm_options::add);
    }
    EXPECT_EQ(Read(files, config), "old");
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"config.ini", "profile"}));
}

TEST(PosixFileSystem, ReplacementKeepsPermissionsAndPipesAreNotRead)
{
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string path = folder.path + "/settings.ini";
    const auto mode = [&] { return fs::status(path).permissions() & fs::perms::all; };
    using fs::perms;
    // A new file gets the permissions the user's umask gives new files.
    const mode_t savedMask = ::umask(027);
    ASSERT_TRUE(Write(files, path, "a"));
    EXPECT_EQ(mode(), perms::owner_read | perms::owner_write | perms::group_read);
    ::umask(0);
    ASSERT_TRUE(Write(files, folder.path + "/shared.ini", "a"));
    EXPECT_EQ(fs::status(folder.path + "/shared.ini").permissions() & perms::all,
              perms::owner_read | perms::owner_write | perms::group_read | perms::group_write | perms::others_read |
                  perms::others_write);
    ::umask(savedMask);
    // A replaced one keeps its own.
    fs::permissions(path, perms::owner_read | perms::owner_write | perms::others_read);
    ASSERT_TRUE(Write(files, path, "b"));
    EXPECT_EQ(mode(), perms::owner_read | perms::owner_write | perms::others_read);

    // Opening a pipe with no writer would block a plain read for ever.
    ASSERT_EQ(::mkfifo((folder.path + "/pipe").c_str(), 0600), 0);
    EXPECT_EQ(Read(files, folder.path + "/pipe"), "<cannot open>");
}

// Runs `check` as a user who owns nothing here (as root, in a child that
// gives up root; the folder is opened to everyone first) or as this user.
// The check's result is its exit code: 0 when everything held.
int AsOtherUser(const std::string& folder, const std::function<int()>& check)
{
    if (::geteuid() != 0)
        return check();
    fs::permissions(folder, fs::perms::all);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? check() : 100);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

// A file the user may not write is not replaced, though the folder would
// let a rename through.
TEST(PosixFileSystem, ReadOnlyFilesAreNotReplaced)
{
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string path = folder.path + "/config.ini";
    ASSERT_TRUE(Write(files, path, "old"));
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const int result = AsOtherUser(folder.path, [&] {
        if (Write(files, path, "new"))
            return 1;
        if (files.LastError() != FileError::NoPermission)
            return 2;
        return files.AppendFile(path, reinterpret_cast<const uint8_t*>("x"), 1) ? 3 : 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(files, path), "old");
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"config.ini"}));
}

TEST(FakeFileSystem, SwitchedFailuresKeepTheOldFile)
{
    platform::FakeFileSystem files;
    files.AddFile("/opt/neritmice/config.ini", "old");
    files.SetWritesFail(true);
    EXPECT_FALSE(Write(files, "/opt/neritmice/config.ini", "new"));
    files.SetWritesFail(false);
    files.SetReadOnly("/opt/neritmice");
    EXPECT_FALSE(files.IsWritableDirectory("/opt/neritmice"));
    EXPECT_FALSE(Write(files, "/opt/neritmice/config.ini", "new"));
    EXPECT_FALSE(files.CreateDirectories("/opt/neritmice/profile"));
    EXPECT_EQ(files.Contents("/opt/neritmice/config.ini"), "old");
    files.SetReadOnly("/opt/neritmice", false);
    files.SetReadOnly("/opt/neritmice/config.ini");
    EXPECT_FALSE(Write(files, "/opt/neritmice/config.ini", "new"));
    EXPECT_EQ(files.LastError(), FileError::NoPermission);
    EXPECT_FALSE(files.AppendFile("/opt/neritmice/config.ini", reinterpret_cast<const uint8_t*>("x"), 1));
    EXPECT_EQ(files.Contents("/opt/neritmice/config.ini"), "old");
    EXPECT_EQ(files.WriteCount(), 0);
}

}  // namespace

namespace {

// What stands at the path, without following a link.
fs::file_type TypeAt(const std::string& path) { return fs::symlink_status(path).type(); }

// True when something opened the file (or a file in the folder) since the
// watch began or the last call.
class OpenWatch {
public:
    explicit OpenWatch(const std::string& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        EXPECT_GE(::inotify_add_watch(fd_, path.c_str(), IN_OPEN), 0) << path;
    }
    ~OpenWatch() { ::close(fd_); }
    bool Opened()
    {
        alignas(inotify_event) char events[4096];
        bool opened = false;
        while (::read(fd_, events, sizeof events) > 0)
            opened = true;
        return opened;
    }

private:
    int fd_;
};

// Only regular files are replaced: a link is followed to its regular target
// and stays a link; pipes, devices and dangling links are refused as they are.
TEST(PosixFileSystem, ReplacesOnlyRegularFilesAndFollowsLinks)
{
    TempFolder folder;
    TempFolder outside;
    platform::PosixFileSystem files;
    const std::string target = outside.path + "/real.vqm";
    ASSERT_TRUE(Write(files, target, "old"));
    const std::string link = folder.path + "/link.vqm";
    fs::create_symlink(target, link);
    ASSERT_TRUE(Write(files, link, "new through the link"));
    EXPECT_EQ(TypeAt(link), fs::file_type::symlink);
    EXPECT_EQ(Read(files, target), "new through the link");
    ASSERT_TRUE(files.AppendFile(link, reinterpret_cast<const uint8_t*>("+"), 1));
    EXPECT_EQ(TypeAt(link), fs::file_type::symlink);
    EXPECT_EQ(Read(files, target), "new through the link+");
    EXPECT_EQ(files.ResolvedPath(link), fs::canonical(target).string());
    EXPECT_EQ(files.ResolvedPath(folder.path + "/../" + fs::path(folder.path).filename().string() + "/new.vqm"),
              fs::canonical(folder.path).string() + "/new.vqm");
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"link.vqm"}));
    EXPECT_EQ(outside.Entries(), (std::set<std::string>{"real.vqm"}));

    const std::string pipe = folder.path + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Everything written at here lies in the test's own folder: a fault must
    // never replace a device node of the machine.
    const std::string toPipe = folder.path + "/pipe-link";
    fs::create_symlink(pipe, toPipe);
    const std::string dangling = folder.path + "/dangling";
    fs::create_symlink(folder.path + "/nowhere/x", dangling);
    std::vector<std::string> refused = {pipe, toPipe, dangling};
    // A device node of our own, and a link to it (only root may make one).
    const std::string device = folder.path + "/null";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        fs::create_symlink(device, folder.path + "/device-link");
        refused.insert(refused.end(), {device, folder.path + "/device-link"});
    }
    // Nothing refused is even opened, so a pipe's reader never waits on us.
    OpenWatch watch(folder.path);
    for (const std::string& path : refused) {
        const fs::file_type before = TypeAt(path);
        EXPECT_FALSE(Write(files, path, "x")) << path;
        EXPECT_EQ(files.LastError(), FileError::NotRegular) << path;
        EXPECT_FALSE(files.AppendFile(path, reinterpret_cast<const uint8_t*>("x"), 1)) << path;
        EXPECT_EQ(files.LastError(), FileError::NotRegular) << path;
        EXPECT_EQ(TypeAt(path), before) << path;
        EXPECT_FALSE(watch.Opened()) << path;
    }
    EXPECT_FALSE(fs::exists(folder.path + "/nowhere"));
    EXPECT_EQ(TypeAt(pipe), fs::file_type::fifo);
    EXPECT_EQ(folder.Entries().count("link.vqm"), 1u);
    for (const std::string& name : folder.Entries())
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

// Reads never wait on a pipe or read a device; each gives its reason. A pipe
// or device is refused before it is opened: opening one can already do
// something (a pipe's waiting writer goes on, a device may act).
TEST(PosixFileSystem, ReadsOnlyRegularFilesWithoutWaiting)
{
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string pipe = folder.path + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string toPipe = folder.path + "/pipe-link";
    fs::create_symlink(pipe, toPipe);
    OpenWatch watch(pipe);
    std::vector<uint8_t> bytes{1, 2};
    for (const std::string& path : {pipe, toPipe, std::string("/dev/null"), std::string("/dev/zero")}) {
        EXPECT_EQ(files.ReadFile(path, 100, bytes), ReadResult::CannotOpen) << path;
        EXPECT_EQ(files.LastError(), FileError::NotRegular) << path;
        EXPECT_TRUE(bytes.empty());
        EXPECT_FALSE(watch.Opened()) << path;
    }
    const std::string regular = folder.path + "/regular";
    ASSERT_TRUE(Write(files, regular, "x"));
    OpenWatch regularWatch(regular);
    EXPECT_EQ(Read(files, regular), "x");
    EXPECT_TRUE(regularWatch.Opened());  // the watch does see opens
    // A skin package likewise. The test holds both ends of the pipe, so that
    // even a blocking open would return at once.
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_GE(writer, 0);
    ::close(reader);
    for (const std::string& path : {pipe, folder.path, std::string("/dev/zero")})
        EXPECT_EQ(platform::ReadZipEntry(path, "skin.xml", 1000, bytes), platform::ZipResult::CannotOpen) << path;
    ::close(writer);
    if (::geteuid() != 0) {
        ASSERT_TRUE(Write(files, folder.path + "/secret", "x"));
        fs::permissions(folder.path + "/secret", fs::perms::none);
        EXPECT_EQ(files.ReadFile(folder.path + "/secret", 100, bytes), ReadResult::CannotOpen);
        EXPECT_EQ(files.LastError(), FileError::NoPermission);
    }
}

// A killed writer's temporary goes at the next replacement of its file;
// a live writer's, another file's and anything merely similar stay.
TEST(PosixFileSystem, NextReplacementRemovesStaleTemporaries)
{
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string target = folder.path + "/AllProfile";
    // A process id that is surely gone: a child that has been reaped.
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string gone = std::to_string(child);
    const std::string alive = std::to_string(::getppid());
    const std::vector<std::string> stale = {"AllProfile.tmp-" + gone + "-a1B2c3", "AllProfile.tmp-Xy12ab"};
    const std::vector<std::string> kept = {
        "AllProfile.tmp-" + alive + "-a1B2c3",  // its writer still runs
        "Macros.tmp-" + gone + "-a1B2c3",       // another file's
        "AllProfile.tmp-" + gone + "-a1B2c3d",  // not our pattern
        "AllProfile.tmp-notes",
        "AllProfile.tmp-" + gone + "-a1B2c",
        "AllProfile.tmp-x" + gone + "-a1B2c3",
        "MyAllProfile.tmp-" + gone + "-a1B2c3",
        "AllProfile.bak",
    };
    for (const std::string& name : stale)
        ASSERT_TRUE(Write(files, folder.path + "/" + name, std::string(1000, 's')));
    for (const std::string& name : kept)
        ASSERT_TRUE(Write(files, folder.path + "/" + name, "keep"));
    // The old, pid-less name counts as stale only once it is old.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(folder.path + "/AllProfile.tmp-Xy12ab", old);
    const std::string young = "AllProfile.tmp-Qw34er";
    ASSERT_TRUE(Write(files, folder.path + "/" + young, "young"));
    // A link named like a temporary is not ours to remove.
    const std::string linkName = "AllProfile.tmp-" + gone + "-L1nk00";
    fs::create_symlink(folder.path + "/AllProfile.bak", folder.path + "/" + linkName);

    ASSERT_TRUE(Write(files, target, "settings"));
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert({"AllProfile", young, linkName});
    EXPECT_EQ(folder.Entries(), expected);
    EXPECT_EQ(Read(files, folder.path + "/AllProfile.bak"), "keep");
}

}  // namespace
