#include "settings/DataFolder.h"

#include "platform/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

struct FakePaths final : platform::Paths {
    std::string executable = "/opt/neritmice";
    std::string home = "/home/ann";
    std::string dataHome = "/home/ann/.local/share";

    std::string ExecutableDirectory() override { return executable; }
    std::string HomeDirectory() override { return home; }
    std::string XdgDataHome() override { return dataHome; }
};

class DataFolderTest : public testing::Test {
protected:
    platform::FakeFileSystem files_;
    FakePaths paths_;
};

TEST_F(DataFolderTest, WritableExecutableFolderIsChosen)
{
    files_.AddDirectory("/opt/neritmice");
    settings::DataFolder folder(files_, paths_);
    EXPECT_EQ(folder.Folder(), "/opt/neritmice");
    EXPECT_EQ(folder.Path("config.ini"), "/opt/neritmice/config.ini");
    EXPECT_EQ(folder.Path("profile/Macros"), "/opt/neritmice/profile/Macros");
}

TEST_F(DataFolderTest, OtherwiseTheXdgFolderIsCreatedOnDemand)
{
    files_.AddDirectory("/opt/neritmice");
    files_.SetReadOnly("/opt/neritmice");
    files_.AddDirectory("/home/ann");
    settings::DataFolder folder(files_, paths_);
    EXPECT_EQ(folder.Folder(), "/home/ann/.local/share/NeritMice");
    EXPECT_FALSE(files_.Exists(folder.Folder()));  // choosing creates nothing

    ASSERT_TRUE(folder.Create("profile/Macros"));
    EXPECT_TRUE(files_.IsWritableDirectory("/home/ann/.local/share/NeritMice/profile/Macros"));
    EXPECT_TRUE(folder.Create());

    paths_.executable.clear();  // executable not found
    paths_.dataHome = "/data/";
    EXPECT_EQ(settings::DataFolder(files_, paths_).Path("config.ini"), "/data/NeritMice/config.ini");
}

TEST_F(DataFolderTest, WithoutAnyHomeTheExecutableFolderStays)
{
    files_.AddDirectory("/opt/neritmice");
    files_.SetReadOnly("/opt/neritmice");
    paths_.dataHome.clear();
    EXPECT_EQ(settings::DataFolder(files_, paths_).Folder(), "/opt/neritmice");

    paths_.executable.clear();
    settings::DataFolder nowhere(files_, paths_);
    EXPECT_EQ(nowhere.Path("config.ini"), "config.ini");
    EXPECT_FALSE(nowhere.Create());
}

TEST_F(DataFolderTest, ExplicitFolderAndPathJoins)
{
    settings::DataFolder folder(files_, std::string_view("/srv/vimo//"));
    EXPECT_EQ(folder.Folder(), "/srv/vimo");
    EXPECT_EQ(folder.Path("config.ini"), "/srv/vimo/config.ini");
    EXPECT_EQ(folder.Path("/config.ini"), "/srv/vimo/config.ini");
    EXPECT_EQ(folder.Path(""), "/srv/vimo");
    EXPECT_EQ(settings::DataFolder(files_, std::string_view("/")).Path("x"), "/x");
    EXPECT_TRUE(folder.Create("profile"));
    EXPECT_TRUE(files_.IsDirectory("/srv/vimo/profile"));
}

TEST(XdgDataHome, AbsoluteVariableElseHomeLocalShare)
{
    EXPECT_EQ(platform::XdgDataHomeFrom("/xdg/data", "/home/ann"), "/xdg/data");
    EXPECT_EQ(platform::XdgDataHomeFrom("relative/data", "/home/ann"), "/home/ann/.local/share");
    EXPECT_EQ(platform::XdgDataHomeFrom("", "/home/ann/"), "/home/ann/.local/share");
    EXPECT_EQ(platform::XdgDataHomeFrom(nullptr, "/home/ann"), "/home/ann/.local/share");
    EXPECT_EQ(platform::XdgDataHomeFrom(nullptr, ""), "");
}

// The process's own paths, with the environment changed and then restored.
class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const char* name) : name_(name)
    {
        if (const char* value = std::getenv(name))
            saved_ = value;
    }
    ~EnvironmentVariable()
    {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(ProcessPaths, HomeFallsBackToThePasswordDatabase)
{
    EnvironmentVariable home("HOME");
    EnvironmentVariable dataHome("XDG_DATA_HOME");
    platform::Paths& paths = platform::ProcessPaths();

    ::setenv("HOME", "/home/test-user", 1);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(paths.HomeDirectory(), "/home/test-user");
    EXPECT_EQ(paths.XdgDataHome(), "/home/test-user/.local/share");
    ::setenv("XDG_DATA_HOME", "/elsewhere", 1);
    EXPECT_EQ(paths.XdgDataHome(), "/elsewhere");

    ::unsetenv("HOME");
    const std::string fromDatabase = paths.HomeDirectory();
    EXPECT_FALSE(fromDatabase.empty());
    EXPECT_EQ(fromDatabase[0], '/');

    const std::string executable = paths.ExecutableDirectory();
    ASSERT_FALSE(executable.empty());
    EXPECT_EQ(executable[0], '/');
    EXPECT_NE(executable.back(), '/');
}

}  // namespace
