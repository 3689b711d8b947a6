#include "platform/FakeFileSystem.h"
#include "platform/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
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
    TempFolder()
    {
        std::string name = (fs::temp_directory_path() / "neritmice-fs-XXXXXX").string();
        path = ::mkdtemp(name.data());
    }
    ~TempFolder() { fs::remove_all(path); }
    // What the folder holds, to see that no temporary file is left behind.
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::string path;
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
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    // The rename fails when a folder stands at the target.
    ASSERT_TRUE(files.CreateDirectories(folder.path + "/profile"));
    EXPECT_FALSE(Write(files, folder.path + "/profile", "x"));

    if (::geteuid() != 0) {  // root may write into read-only folders
        fs::permissions(folder.path, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(files.IsWritableDirectory(folder.path));
        EXPECT_FALSE(Write(files, config, "new"));
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
    ASSERT_TRUE(Write(files, path, "a"));
    EXPECT_EQ(mode(), perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
    fs::permissions(path, perms::owner_read | perms::owner_write | perms::group_read);
    ASSERT_TRUE(Write(files, path, "b"));
    EXPECT_EQ(mode(), perms::owner_read | perms::owner_write | perms::group_read);

    // Opening a pipe with no writer would block a plain read for ever.
    ASSERT_EQ(::mkfifo((folder.path + "/pipe").c_str(), 0600), 0);
    EXPECT_EQ(Read(files, folder.path + "/pipe"), "<cannot open>");
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
    EXPECT_EQ(files.WriteCount(), 0);
}

}  // namespace
