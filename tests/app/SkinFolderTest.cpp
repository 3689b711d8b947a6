// The skin folders the program reads: its own folder, its install prefix,
// the configured install place, in that order.
#include "app/SkinFolder.h"
#include "platform/FakeFileSystem.h"

#include <gtest/gtest.h>

namespace {

using NeritApp::SkinFolder;

void AddSkins(platform::FakeFileSystem& files, const std::string& folder, int count = 4)
{
    const char* names[] = {"VimoSkin", "VimoSkin1", "VimoSkin2", "VimoSkin3"};
    for (int i = 0; i < count; ++i)
        files.AddDirectory(folder + "/" + names[i]);
}

TEST(SkinFolderTest, PrefersTheBuildTreeThenThePrefixThenTheInstalledPlace)
{
    platform::FakeFileSystem files;
    std::string missing = "stale";
    AddSkins(files, "/opt/x/usr/share/NeritMice");
    AddSkins(files, "/usr/share/NeritMice");
    // An unpacked package: found through the prefix, not the configured place.
    EXPECT_EQ(SkinFolder::Choose(files, "/opt/x/usr/bin", "../share/NeritMice", "/usr/share/NeritMice", &missing),
              "/opt/x/usr/share/NeritMice");
    EXPECT_EQ(missing, "");
    // The build tree: the skins beside the program win.
    AddSkins(files, "/opt/x/usr/bin");
    EXPECT_EQ(SkinFolder::Choose(files, "/opt/x/usr/bin", "../share/NeritMice", "/usr/share/NeritMice", &missing),
              "/opt/x/usr/bin");
    // Neither beside the program nor under its prefix: the installed place.
    EXPECT_EQ(SkinFolder::Choose(files, "/home/u/bin", "../share/NeritMice", "/usr/share/NeritMice", &missing),
              "/usr/share/NeritMice");
    EXPECT_EQ(missing, "");
    // The executable's folder unknown: only the installed place is looked at.
    EXPECT_EQ(SkinFolder::Choose(files, "", "../share/NeritMice", "/usr/share/NeritMice", &missing),
              "/usr/share/NeritMice");
}

TEST(SkinFolderTest, SkipsPartialFoldersAndNamesWhatTheInstalledPlaceLacks)
{
    platform::FakeFileSystem files;
    std::string missing;
    // Three of four skins beside the program and under its prefix are not enough.
    AddSkins(files, "/p/bin", 3);
    AddSkins(files, "/p/share/NeritMice", 3);
    AddSkins(files, "/usr/share/NeritMice", 2);
    EXPECT_EQ(SkinFolder::Choose(files, "/p/bin", "../share/NeritMice", "/usr/share/NeritMice", &missing),
              "/usr/share/NeritMice");
    EXPECT_EQ(missing, "/usr/share/NeritMice/VimoSkin2");
    // The fourth skin under the prefix makes it the choice.
    files.AddDirectory("/p/share/NeritMice/VimoSkin3");
    EXPECT_EQ(SkinFolder::Choose(files, "/p/bin", "../share/NeritMice", "/usr/share/NeritMice", &missing),
              "/p/share/NeritMice");
    EXPECT_EQ(missing, "");
}

}  // namespace
