#include "settings/DataFolder.h"

#include "platform/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

struct FakePaths final : platform::Paths {
    std::string executable = "/opt/neritmice";
    std::string dataHome = "/home/ann/.local/share";

    std::string ExecutableDirectory() override { return executable; }
    std::string HomeDirectory() override { return "/home/ann"; }
    std::string XdgDataHome() override { return dataHome; }
};

TEST(DataFolder, XdgFolderUnlessTheExecutableCarriesItsConfiguration)
{
    platform::FakeFileSystem files;
    FakePaths paths;
    // A writable build or install folder is not a data folder.
    files.AddDirectory("/opt/neritmice");
    settings::DataFolder folder(files, paths);
    EXPECT_EQ(folder.Path("config.ini"), "/home/ann/.local/share/NeritMice/config.ini");
    EXPECT_FALSE(files.Exists(folder.Folder()));  // choosing creates nothing
    ASSERT_TRUE(folder.Create("profile"));
    EXPECT_TRUE(files.IsWritableDirectory("/home/ann/.local/share/NeritMice/profile"));

    // A portable copy: its config.ini makes its folder the data folder, even
    // when that folder is read-only.
    files.AddFile("/opt/neritmice/config.ini", "[Configuration Option]\n");
    files.SetReadOnly("/opt/neritmice");
    EXPECT_EQ(settings::DataFolder(files, paths).Path("profile/Macros"), "/opt/neritmice/profile/Macros");

    paths.executable.clear();  // executable not found
    paths.dataHome = "/data/";
    EXPECT_EQ(settings::DataFolder(files, paths).Folder(), "/data/NeritMice");

    // Without any home, the executable's folder is still read from.
    paths.executable = "/usr/bin";
    paths.dataHome.clear();
    EXPECT_EQ(settings::DataFolder(files, paths).Folder(), "/usr/bin");
}

TEST(DataFolder, ExplicitFolderAndPathJoins)
{
    platform::FakeFileSystem files;
    settings::DataFolder folder(files, "/srv/vimo//");
    EXPECT_EQ(folder.Path("config.ini"), "/srv/vimo/config.ini");
    EXPECT_EQ(folder.Path("/config.ini"), "/srv/vimo/config.ini");
    EXPECT_EQ(folder.Path(""), "/srv/vimo");
    EXPECT_EQ(settings::DataFolder(files, "/").Path("x"), "/x");
    EXPECT_TRUE(folder.Create("profile"));
    EXPECT_TRUE(files.IsDirectory("/srv/vimo/profile"));
    EXPECT_FALSE(settings::DataFolder(files, "").Create());
}

// Sets an environment variable for one test and restores it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            saved_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { saved_ ? ::setenv(name_, saved_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(ProcessPaths, XdgDataHomeThenHomeThenPasswordDatabase)
{
    platform::Paths& paths = platform::ProcessPaths();
    {
        ScopedVariable home("HOME", "/home/test-user");
        ScopedVariable dataHome("XDG_DATA_HOME", "relative/is/ignored");
        EXPECT_EQ(paths.XdgDataHome(), "/home/test-user/.local/share");
        ScopedVariable absolute("XDG_DATA_HOME", "/elsewhere");
        EXPECT_EQ(paths.XdgDataHome(), "/elsewhere");
    }
    ScopedVariable noHome("HOME", nullptr);
    const std::string fromDatabase = paths.HomeDirectory();
    ASSERT_FALSE(fromDatabase.empty());
    EXPECT_EQ(fromDatabase[0], '/');

    const std::string executable = paths.ExecutableDirectory();
    ASSERT_FALSE(executable.empty());
    EXPECT_EQ(executable[0], '/');
    EXPECT_EQ(platform::XdgDataHomeFrom(nullptr, ""), "");
}

}  // namespace
