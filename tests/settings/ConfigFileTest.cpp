#include "platform/FakeFileSystem.h"
#include "settings/ConfigFile.h"
#include "settings/IniFile.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

IniFile Parse(platform::FakeFileSystem& files, std::string_view text)
{
    files.AddFile("test.ini", text);
    IniFile ini;
    EXPECT_TRUE(ini.Load(files, "test.ini"));
    return ini;
}

TEST(IniFile, ReadsLikeThePrivateProfileCalls)
{
    platform::FakeFileSystem files;
    const IniFile ini = Parse(files,
                              "\xEF\xBB\xBF; comment=1\r\n"
                              "  [ Configuration Option ]  \r\n"
                              "  NUMBER =  07  \r\n"
                              "neg=-1\r\nplus=+5\r\ntail=12abc\r\nword=abc\r\nempty=\r\nquoted=\"4\"\r\n"
                              ";lang=3\r\n"
                              "huge=99999999999\r\n"
                              "[other]\r\nlang=2\r\n"
                              "[configuration option]\r\nlang=1\r\n");
    EXPECT_EQ(ini.GetInt("configuration OPTION", "Number", 9), 7);
    EXPECT_EQ(ini.GetString("Configuration Option", "number"), "07");
    EXPECT_EQ(ini.GetInt("Configuration Option", "neg", 9), -1);
    EXPECT_EQ(ini.GetInt("Configuration Option", "plus", 9), 5);
    EXPECT_EQ(ini.GetInt("Configuration Option", "tail", 9), 12);
    EXPECT_EQ(ini.GetInt("Configuration Option", "word", 9), 0);
    EXPECT_EQ(ini.GetInt("Configuration Option", "empty", 9), 9);
    EXPECT_EQ(ini.GetInt("Configuration Option", "quoted", 9), 4);
    EXPECT_EQ(ini.GetInt("Configuration Option", "huge", 9), static_cast<int>(99999999999 % 4294967296));
    // Comments, other sections and later duplicates of a section do not count.
    EXPECT_EQ(ini.GetInt("Configuration Option", "lang", 9), 9);
    EXPECT_EQ(ini.GetString("other", "lang", "x"), "2");
    EXPECT_EQ(ini.GetString("missing", "lang", "x"), "x");
}

TEST(IniFile, WritesOnlyTheKeyLine)
{
    platform::FakeFileSystem files;
    IniFile ini = Parse(files, "; keep me\r\n[A]\r\nKey = old\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ini.SetString("a", "key", "new");
    ini.SetString("A", "added", "3");
    ini.SetString("C", "z", "4\nline=injected");
    EXPECT_EQ(ini.Text(), "; keep me\n[A]\nKey=new\nx=1\nadded=3\n\n[B]\ny=2\n\n[C]\nz=4\n");
    ASSERT_TRUE(ini.Save(files, "test.ini"));
    IniFile again;
    ASSERT_TRUE(again.Load(files, "test.ini"));
    EXPECT_EQ(again.Text(), ini.Text());

    EXPECT_FALSE(again.Load(files, "missing.ini"));
    EXPECT_EQ(again.Text(), "");
    again.SetString("S", "k", "v");
    EXPECT_EQ(again.Text(), "[S]\nk=v\n");
}

class ConfigFileTest : public ::testing::Test {
protected:
    platform::FakeFileSystem files;
    DataFolder folder{files, "/data"};
    ConfigFile config{files, folder};

    void SetUp() override { files.AddDirectory("/data"); }
    void Write(std::string_view text) { files.AddFile("/data/config.ini", text); }
};

TEST_F(ConfigFileTest, MissingOrOutOfRangeValuesReadAsZero)
{
    EXPECT_EQ(config.LoadShownProfileIndex(), 0);
    EXPECT_EQ(config.LoadLanguage(), 0);
    Write("[Other]\nnumber=03\n");
    EXPECT_EQ(config.LoadShownProfileIndex(), 0);
    Write("[Configuration Option]\nlang=03\n");
    EXPECT_EQ(config.LoadShownProfileIndex(), 0);
    EXPECT_EQ(config.LoadLanguage(), 3);
    for (const char* number : {"07", "-1", "05", "x"}) {
        Write(std::string("[Configuration Option]\nnumber=") + number + "\nlang=4\n");
        EXPECT_EQ(config.LoadShownProfileIndex(), 0) << number;
        EXPECT_EQ(config.LoadLanguage(), 0);
    }
    Write(std::string(200000, '\0'));
    EXPECT_EQ(config.LoadShownProfileIndex(), 0);
}

TEST_F(ConfigFileTest, TwoDigitValuesAndOneKeyKeepsTheOther)
{
    config.SaveShownProfileIndex(3);
    EXPECT_EQ(*files.Contents("/data/config.ini"), "[Configuration Option]\nnumber=03\n");
    config.SaveLanguage(2);
    config.SaveShownProfileIndex(4);
    EXPECT_EQ(*files.Contents("/data/config.ini"), "[Configuration Option]\nnumber=04\nlang=02\n");
    EXPECT_EQ(config.LoadShownProfileIndex(), 4);
    EXPECT_EQ(config.LoadLanguage(), 2);
    config.SaveLanguage(12);
    config.SaveShownProfileIndex(-1);
    EXPECT_EQ(*files.Contents("/data/config.ini"), "[Configuration Option]\nnumber=-01\nlang=12\n");
    EXPECT_EQ(config.LoadShownProfileIndex(), 0);
}

// A long file is read whole, so a save keeps everything after its first
// 64 KiB; one past the cap is refused and left as it is.
TEST_F(ConfigFileTest, LongFilesKeepTheirEndAndOversizedOnesAreNotWritten)
{
    std::string padding;
    while (padding.size() < 100 * 1024)
        padding += "; a comment line that only takes room in the file\n";
    Write("[Configuration Option]\nnumber=02\n" + padding + "[Later]\nkey=value\n");
    ASSERT_TRUE(config.SaveLanguage(3));
    EXPECT_EQ(*files.Contents("/data/config.ini"),
              "[Configuration Option]\nnumber=02\n" + padding + "lang=03\n[Later]\nkey=value\n");
    EXPECT_EQ(config.LoadLanguage(), 3);
    EXPECT_EQ(config.LoadShownProfileIndex(), 2);

    const std::string oversized = "[Configuration Option]\nlang=01\n" + std::string(IniFile::kMaxFileSize, ';');
    Write(oversized);
    const int writes = files.WriteCount();
    EXPECT_FALSE(config.SaveLanguage(2));
    EXPECT_EQ(config.LastError(), platform::FileError::TooLong);
    EXPECT_FALSE(config.SaveShownProfileIndex(1));
    EXPECT_EQ(*files.Contents("/data/config.ini"), oversized);
    EXPECT_EQ(files.WriteCount(), writes);
    EXPECT_EQ(config.LoadLanguage(), 0);
}

// A config.ini that exists but cannot be read is not replaced; a write
// failure is reported with its reason.
TEST_F(ConfigFileTest, UnreadableOrUnwritableFilesAreReported)
{
    files.AddUnreadable("/data/config.ini", platform::FileError::NoPermission);
    EXPECT_FALSE(config.SaveShownProfileIndex(1));
    EXPECT_EQ(config.LastError(), platform::FileError::NoPermission);
    EXPECT_EQ(files.WriteCount(), 0);

    platform::FakeFileSystem other;
    other.AddDirectory("/data");
    other.SetReadOnly("/data");
    const DataFolder otherFolder(other, "/data");
    ConfigFile readOnly(other, otherFolder);
    EXPECT_FALSE(readOnly.SaveLanguage(1));
    EXPECT_EQ(readOnly.LastError(), platform::FileError::NoPermission);
    other.SetReadOnly("/data", false);
    EXPECT_TRUE(readOnly.SaveLanguage(1));
    EXPECT_EQ(readOnly.LastError(), platform::FileError::None);
    EXPECT_EQ(readOnly.LoadLanguage(), 1);
}

}  // namespace
}  // namespace settings
