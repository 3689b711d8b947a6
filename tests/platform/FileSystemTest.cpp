#include "platform/FakeFileSystem.h"
#include "platform/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::ReadResult;

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

bool Write(platform::FileSystem& files, const std::string& path, std::string_view text)
{
    return files.WriteFileAtomic(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string Read(platform::FileSystem& files, const std::string& path, size_t maxBytes = 1 << 20)
{
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, maxBytes, bytes) != ReadResult::Ok)
        return "<cannot open>";
    return std::string(bytes.begin(), bytes.end());
}

// A fresh folder on disk, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string name = (fs::temp_directory_path() / "neritmice-fs-XXXXXX").string();
        path_ = ::mkdtemp(name.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    // Names in the folder, to see that no temporary file was left behind.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

// The behaviour both implementations share, run against each of them.
struct Subject {
    std::shared_ptr<platform::FileSystem> files;
    std::string root;
    std::shared_ptr<TempFolder> folder;  // keeps the disk folder alive
};

using SubjectFactory = std::function<Subject()>;

class FileSystemContract : public testing::TestWithParam<SubjectFactory> {
protected:
    void SetUp() override { subject_ = GetParam()(); }
    platform::FileSystem& Files() { return *subject_.files; }
    std::string At(const std::string& relative) const { return subject_.root + "/" + relative; }

    Subject subject_;
};

TEST_P(FileSystemContract, ReadsWholeOrCappedAndRefusesMissingFilesAndFolders)
{
    ASSERT_TRUE(Write(Files(), At("config.ini"), "[Main]\nSkin=1\n"));
    EXPECT_EQ(Read(Files(), At("config.ini")), "[Main]\nSkin=1\n");
    EXPECT_EQ(Read(Files(), At("config.ini"), 6), "[Main]");
    EXPECT_EQ(Read(Files(), At("config.ini"), 0), "");

    std::vector<uint8_t> bytes = Bytes("stale");
    EXPECT_EQ(Files().ReadFile(At("missing.ini"), 100, bytes), ReadResult::CannotOpen);
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(Files().CreateDirectories(At("profile")));
    bytes = Bytes("stale");
    EXPECT_EQ(Files().ReadFile(At("profile"), 100, bytes), ReadResult::CannotOpen);
    EXPECT_TRUE(bytes.empty());
}

TEST_P(FileSystemContract, LargeFilesAreCappedExactly)
{
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 + i / 256);
    ASSERT_TRUE(Write(Files(), At("big.bin"), big));
    EXPECT_EQ(Read(Files(), At("big.bin")), big);
    EXPECT_EQ(Read(Files(), At("big.bin"), 150001), big.substr(0, 150001));
}

TEST_P(FileSystemContract, ReplacingAndEmptyFiles)
{
    ASSERT_TRUE(Write(Files(), At("a.dat"), "old contents, longer"));
    ASSERT_TRUE(Write(Files(), At("a.dat"), "new"));
    EXPECT_EQ(Read(Files(), At("a.dat")), "new");
    EXPECT_TRUE(Files().WriteFileAtomic(At("empty.dat"), nullptr, 0));
    EXPECT_EQ(Read(Files(), At("empty.dat")), "");
    EXPECT_FALSE(Files().WriteFileAtomic(At("null.dat"), nullptr, 5));
    EXPECT_FALSE(Files().Exists(At("null.dat")));
}

TEST_P(FileSystemContract, WritesNeedAnExistingFolderAndNeverReplaceAFolder)
{
    EXPECT_FALSE(Write(Files(), At("no/such/folder.ini"), "x"));
    EXPECT_FALSE(Files().Exists(At("no")));

    ASSERT_TRUE(Files().CreateDirectories(At("profile")));
    EXPECT_FALSE(Write(Files(), At("profile"), "x"));
    EXPECT_TRUE(Files().IsWritableDirectory(At("profile")));
}

TEST_P(FileSystemContract, CreateDirectoriesMakesParentsButNotThroughAFile)
{
    EXPECT_TRUE(Files().CreateDirectories(At("a/b//c/")));
    EXPECT_TRUE(Files().IsWritableDirectory(At("a/b/c")));
    EXPECT_TRUE(Files().IsWritableDirectory(At("a")));
    EXPECT_TRUE(Files().CreateDirectories(At("a/b/c")));  // already there

    ASSERT_TRUE(Write(Files(), At("a/file"), "x"));
    EXPECT_TRUE(Files().Exists(At("a/file")));
    EXPECT_FALSE(Files().IsWritableDirectory(At("a/file")));
    EXPECT_FALSE(Files().CreateDirectories(At("a/file")));
    EXPECT_FALSE(Files().CreateDirectories(At("a/file/sub")));
    EXPECT_FALSE(Files().CreateDirectories(""));

    EXPECT_FALSE(Files().Exists(At("nothing")));
    EXPECT_FALSE(Files().IsWritableDirectory(At("nothing")));
    EXPECT_FALSE(Files().Exists(""));
}

Subject OnDisk()
{
    auto folder = std::make_shared<TempFolder>();
    return {std::make_shared<platform::PosixFileSystem>(), folder->Path(), folder};
}

Subject InMemory()
{
    auto files = std::make_shared<platform::FakeFileSystem>();
    files->AddDirectory("/data");
    return {files, "/data", nullptr};
}

INSTANTIATE_TEST_SUITE_P(Posix, FileSystemContract, testing::Values(SubjectFactory(OnDisk)));
INSTANTIATE_TEST_SUITE_P(Fake, FileSystemContract, testing::Values(SubjectFactory(InMemory)));

// Failures of the real file system. Each must leave the old file as it was
// and no temporary file behind.
class PosixFailures : public testing::Test {
protected:
    std::string At(const std::string& name) const { return folder_.Path() + "/" + name; }

    TempFolder folder_;
    platform::PosixFileSystem files_;
};

TEST_F(PosixFailures, FullDiskKeepsTheOldFile)
{
    ASSERT_TRUE(Write(files_, At("config.ini"), "old"));
    // A file size limit makes write() fail part-way, as a full disk does.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = Write(files_, At("config.ini"), std::string(100000, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(Read(files_, At("config.ini")), "old");
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"config.ini"});
}

TEST_F(PosixFailures, FailedRenameRemovesTheTemporaryFile)
{
    ASSERT_TRUE(files_.CreateDirectories(At("profile")));
    ASSERT_TRUE(Write(files_, At("profile/Macros"), "kept"));
    EXPECT_FALSE(Write(files_, At("profile"), "replaces a folder"));
    EXPECT_EQ(Read(files_, At("profile/Macros")), "kept");
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"profile"});
}

TEST_F(PosixFailures, ReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into read-only folders";
    ASSERT_TRUE(Write(files_, At("config.ini"), "old"));
    fs::permissions(folder_.Path(), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(files_.IsWritableDirectory(folder_.Path()));
    EXPECT_FALSE(Write(files_, At("config.ini"), "new"));
    fs::permissions(folder_.Path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Read(files_, At("config.ini")), "old");
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"config.ini"});
}

TEST_F(PosixFailures, ReplacementKeepsPermissionsAndPipesAreNotRead)
{
    const auto mode = [](const std::string& path) { return fs::status(path).permissions() & fs::perms::all; };
    using fs::perms;
    ASSERT_TRUE(Write(files_, At("new.ini"), "a"));
    EXPECT_EQ(mode(At("new.ini")), perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
    fs::permissions(At("new.ini"), perms::owner_read | perms::owner_write | perms::group_read);
    ASSERT_TRUE(Write(files_, At("new.ini"), "b"));
    EXPECT_EQ(mode(At("new.ini")), perms::owner_read | perms::owner_write | perms::group_read);

    // Opening a pipe with no writer would block a plain read for ever.
    ASSERT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);
    EXPECT_EQ(Read(files_, At("pipe")), "<cannot open>");
}

TEST(FakeFileSystem, SwitchedFailuresKeepTheOldFile)
{
    platform::FakeFileSystem files;
    files.AddFile("/opt/neritmice/config.ini", "old");
    files.SetWritesFail(true);
    EXPECT_FALSE(Write(files, "/opt/neritmice/config.ini", "new"));
    EXPECT_EQ(files.Contents("/opt/neritmice/config.ini"), "old");
    files.SetWritesFail(false);

    files.SetReadOnly("/opt/neritmice");
    EXPECT_FALSE(files.IsWritableDirectory("/opt/neritmice"));
    EXPECT_FALSE(Write(files, "/opt/neritmice/config.ini", "new"));
    EXPECT_FALSE(files.CreateDirectories("/opt/neritmice/profile"));
    EXPECT_EQ(files.Contents("/opt/neritmice/config.ini"), "old");
    EXPECT_EQ(files.WriteCount(), 0);

    files.SetReadOnly("/opt/neritmice", false);
    EXPECT_TRUE(Write(files, "/opt/neritmice/config.ini", "new"));
    EXPECT_EQ(files.Contents("/opt/neritmice/config.ini"), "new");
    EXPECT_EQ(files.WriteCount(), 1);
}

}  // namespace
