#include "platform/FakeFileSystem.h"
#include "settings/ProfileFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace settings {
namespace {

constexpr size_t kProfileSize = layout::profile::kSize;

class ProfileFilesTest : public ::testing::Test {
protected:
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>();
    platform::FakeFileSystem files;
    DataFolder folder{files, "/data"};

    void SetUp() override { files.AddDirectory("/data/profile"); }
    std::string ProfileBytes(int index) const
    {
        const uint8_t* bytes = store->Profile(static_cast<size_t>(index)).Bytes();
        return std::string(bytes, bytes + kProfileSize);
    }
    void Fill(int index, uint8_t value) const { std::fill_n(store->Profile(static_cast<size_t>(index)).Bytes(), kProfileSize, value); }
};

TEST_F(ProfileFilesTest, PathsAndShownNames)
{
    EXPECT_EQ(ProfileFilePath(folder, 3), "/data/profile/profile3.vqp");
    EXPECT_EQ(AllProfilesPath(folder), "/data/profile/AllProfile");
    EXPECT_EQ(AllProfilesPath(folder, "/x/all"), "/x/all");
    EXPECT_EQ(WithProfileExtension("/home/u/mine"), "/home/u/mine.vqp");
    EXPECT_EQ(WithProfileExtension("/home/u.d/mine"), "/home/u.d/mine.vqp");
    EXPECT_EQ(WithProfileExtension("/home/u/mine.bak"), "/home/u/mine.bak");
    EXPECT_EQ(ShownProfileName("profile3.vqp"), "profile3");
    EXPECT_EQ(ShownProfileName("Game.VqP"), "Game");
    EXPECT_EQ(ShownProfileName("a.vq"), "a.vq");
    EXPECT_EQ(ShownProfileName(".vqp"), ".vqp");
    EXPECT_EQ(ShownProfileName("x.vqp.txt"), "x.vqp.txt");
}

TEST_F(ProfileFilesTest, SavingAProfilePutsTheFileNameIntoIt)
{
    Fill(2, 0x33);
    const std::string path = ProfileFilePath(folder, 3);
    ASSERT_TRUE(SaveProfileFile(*store, files, path, 2));
    EXPECT_EQ(store->Profile(2).Name(), "profile3.vqp");
    EXPECT_EQ(ShownProfileName(store->Profile(2).Name()), "profile3");
    EXPECT_EQ(*files.Contents(path), ProfileBytes(2));

    // Cut to 255 bytes between characters: 127 two-byte letters fit.
    std::string longName;
    for (int i = 0; i < 200; ++i)
        longName += "\xC3\xA9";
    ASSERT_TRUE(SaveProfileFile(*store, files, "/data/" + longName, 2));
    EXPECT_EQ(store->Profile(2).Name(), longName.substr(0, 254));

    // An empty name clears the whole field, even when the write fails.
    Fill(1, 0x41);
    EXPECT_FALSE(SaveProfileFile(*store, files, "/data/profile/", 1));
    EXPECT_EQ(ProfileBytes(1).substr(1, 256), std::string(256, '\0'));
    EXPECT_EQ(ProfileBytes(1)[257], 0x41);

    const int writes = files.WriteCount();
    EXPECT_FALSE(SaveProfileFile(*store, files, path, 5));
    EXPECT_FALSE(SaveProfileFile(*store, files, path, -1));
    EXPECT_EQ(files.WriteCount(), writes);
}

TEST_F(ProfileFilesTest, LoadingAProfileZeroesWhatTheFileLacks)
{
    Fill(0, 0x11);
    Fill(1, 0x22);
    Fill(2, 0x33);
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/none.vqp", 1), kProfileFileCannotOpen);
    files.AddFile("/data/empty.vqp", "");
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/empty.vqp", 1), kProfileFileEmpty);
    EXPECT_EQ(ProfileBytes(1), std::string(kProfileSize, '\x22'));

    const std::string head(1000, '\x7E');
    files.AddFile("/data/short.vqp", head);
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/short.vqp", 5), kProfileFileCannotOpen);
    ASSERT_EQ(LoadProfileFile(*store, files, "/data/short.vqp", 1), kProfileFileLoaded);
    EXPECT_EQ(ProfileBytes(1), head + std::string(kProfileSize - 1000, '\0'));
    EXPECT_EQ(store->Profile(1).Macro(9).Bytes()[0], 0);

    files.AddFile("/data/long.vqp", std::string(kProfileSize, '\x44') + "overflow");
    ASSERT_EQ(LoadProfileFile(*store, files, "/data/long.vqp", 1), kProfileFileLoaded);
    EXPECT_EQ(ProfileBytes(1), std::string(kProfileSize, '\x44'));
    EXPECT_EQ(ProfileBytes(0), std::string(kProfileSize, '\x11'));
    EXPECT_EQ(ProfileBytes(2), std::string(kProfileSize, '\x33'));
}

TEST_F(ProfileFilesTest, AllProfilesRoundTripIsByteIdentical)
{
    for (size_t i = 0; i < SettingsStore::Size(); ++i)
        store->Bytes()[i] = static_cast<uint8_t>(i * 7 + i / 251);
    const std::string before(store->Bytes(), store->Bytes() + SettingsStore::Size());
    const std::string path = AllProfilesPath(folder);
    ASSERT_TRUE(SaveAllProfilesFile(*store, files, path));
    EXPECT_EQ(files.Contents(path)->size(), SettingsStore::Size());

    std::fill_n(store->Bytes(), SettingsStore::Size(), uint8_t{0x5A});
    ASSERT_EQ(LoadAllProfilesFile(*store, files, path), kProfileFileLoaded);
    EXPECT_EQ(std::string(store->Bytes(), store->Bytes() + SettingsStore::Size()), before);

    files.AddFile(path, "");
    EXPECT_EQ(LoadAllProfilesFile(*store, files, path), kProfileFileEmpty);
    EXPECT_EQ(store->Bytes()[0], before[0]);
    files.AddFile(path, "\x03");
    ASSERT_EQ(LoadAllProfilesFile(*store, files, path), kProfileFileLoaded);
    EXPECT_EQ(store->CurrentProfile(), 3);
    EXPECT_EQ(store->FirmwareVersion(), "");

    files.SetWritesFail(true);
    EXPECT_FALSE(SaveAllProfilesFile(*store, files, path));
    EXPECT_EQ(*files.Contents(path), "\x03");
}

}  // namespace
}  // namespace settings
