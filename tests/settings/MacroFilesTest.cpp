#include "platform/FakeFileSystem.h"
#include "settings/MacroFiles.h"
#include "settings/MacroText.h"
#include "settings/WorkingMacros.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace settings {
namespace {

class MacroFilesTest : public ::testing::Test {
protected:
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>();
    platform::FakeFileSystem files;

    uint8_t* WorkingList() const { return store->Bytes() + layout::store::kWorkingMacroCount.offset; }

    // A file whose first four bytes are this count and the rest is given.
    void AddFile(const std::string& path, int32_t count, std::string rest = {})
    {
        std::string bytes(4, '\0');
        std::memcpy(bytes.data(), &count, 4);
        files.AddFile(path, bytes + rest);
    }
};

TEST_F(MacroFilesTest, ExportThenImportIsByteIdentical)
{
    store->SetWorkingMacroCount(3);
    for (int k = 0; k < 3; ++k) {
        MacroRecord macro = store->WorkingMacro(k);
        macro.SetName("Macro_" + std::to_string(k + 1));
        macro.AddEvent(kKindKey, " A ", kDirectionDown);
        macro.AddEvent(kKindDelay, DelayText(2005), "");
        macro.AddEvent(kKindMouse, ProgramMouseName(MouseAction::Left), kDirectionUp);
    }
    const std::vector<uint8_t> before(WorkingList(), WorkingList() + kMacroFileSize);
    files.AddDirectory("macro_files");
    ASSERT_TRUE(SaveMacrosFile(*store, files, "macro_files/a.vqm"));
    EXPECT_EQ(files.Contents("macro_files/a.vqm")->size(), kMacroFileSize);

    std::fill_n(WorkingList(), kMacroFileSize, uint8_t{0x5A});
    ASSERT_EQ(LoadMacrosFile(*store, files, "macro_files/a.vqm"), kMacroFileLoaded);
    EXPECT_EQ(std::vector<uint8_t>(WorkingList(), WorkingList() + kMacroFileSize), before);
    EXPECT_EQ(store->WorkingMacro(0).Event(1).Name(), "2.005");
}

TEST_F(MacroFilesTest, MissingEmptyAndShortFiles)
{
    store->SetWorkingMacroCount(4);
    store->WorkingMacro(0).SetName("Keep");
    EXPECT_EQ(LoadMacrosFile(*store, files, "profile/Macros"), kMacroFileCannotOpen);
    files.AddFile("profile/Macros", "");
    EXPECT_EQ(LoadMacrosFile(*store, files, "profile/Macros"), kMacroFileEmpty);
    EXPECT_EQ(store->WorkingMacroCount(), 4);
    EXPECT_EQ(store->WorkingMacro(0).Name(), "Keep");

    // Ten bytes: the count and the first six bytes of slot 1; the rest zero.
    AddFile("ten", 2, std::string("\x07\0\0\0Ab", 6));
    ASSERT_EQ(LoadMacrosFile(*store, files, "ten"), kMacroFileLoaded);
    EXPECT_EQ(store->WorkingMacroCount(), 2);
    EXPECT_EQ(store->WorkingMacro(0).Number(), 7);
    EXPECT_EQ(store->WorkingMacro(0).Name(), "Ab");
    for (size_t i = 10; i < kMacroFileSize; ++i)
        ASSERT_EQ(WorkingList()[i], 0) << i;
}

TEST_F(MacroFilesTest, AFailedSaveLeavesTheOldFile)
{
    const DataFolder folder(files, "/data");
    EXPECT_EQ(MacrosFilePath(folder, ""), "/data/profile/Macros");
    EXPECT_EQ(MacrosFilePath(folder, "/x/y.vqm"), "/x/y.vqm");

    files.AddFile("profile/Macros", "old");
    files.SetWritesFail(true);
    EXPECT_FALSE(SaveMacrosFile(*store, files, "profile/Macros"));
    EXPECT_EQ(*files.Contents("profile/Macros"), "old");
}

// Counts a file may carry, used by every walk over the slots: nothing reads
// or writes outside the 20 slots (the sanitizer build checks this).
TEST_F(MacroFilesTest, HostileCountsStayInsideTheSlots)
{
    for (int32_t count : {-1, 16, 1000000, INT32_MIN, INT32_MAX}) {
        AddFile("hostile", count, std::string(40, 'n'));
        ASSERT_EQ(LoadMacrosFile(*store, files, "hostile"), kMacroFileLoaded);
        EXPECT_EQ(store->WorkingMacroCount(), count);  // kept as stored
        EXPECT_LE(UsedMacroCount(store->WorkingMacroCount()), 15);
        StoreWorkingMacros(*store, 0);
        LoadWorkingMacros(*store, 0);
        EXPECT_EQ(store->WorkingMacroCount(), count);
        for (int slot = -1; slot <= 20; ++slot)
            IsMacroNameTaken(*store, slot, slot % 2 == 0);
        store->WorkingMacro(0).SetEventCount(count);
        EXPECT_GE(store->WorkingMacro(0).EventCount(), 0);
        EXPECT_LE(store->WorkingMacro(0).EventCount(), 256);
    }
}

TEST(MacroText, DelaysAndMouseNames)
{
    EXPECT_EQ(DelayText(1250), "1.250");
    EXPECT_EQ(DelayText(15), "0.015");
    EXPECT_EQ(DelayText(2005), "2.005");
    EXPECT_EQ(DelayText(0), "0.000");
    EXPECT_EQ(ParseDelayText("2.005"), 2005u);
    EXPECT_EQ(ParseDelayText("0.1"), 100u);
    EXPECT_EQ(ParseDelayText("3"), 3000u);
    EXPECT_EQ(ParseDelayText("1.23456"), 1234u);
    EXPECT_FALSE(ParseDelayText(""));
    EXPECT_FALSE(ParseDelayText("."));
    EXPECT_FALSE(ParseDelayText("1.2s"));
    EXPECT_FALSE(ParseDelayText("99999999999"));
    EXPECT_EQ(ParseDelayText(" 2.005  "), 2005u);
    EXPECT_FALSE(ParseDelayText("   "));
    EXPECT_FALSE(ParseDelayText("2 .005"));
    EXPECT_EQ(ParseDelayText("4294967.295"), 4294967295u);
    EXPECT_FALSE(ParseDelayText("4294967.296"));
    EXPECT_STREQ(ProgramMouseName(MouseAction::Left), "Left Click        ");
    EXPECT_EQ(std::strlen(ProgramMouseName(MouseAction::WheelDown)), 18u);
    EXPECT_STREQ(DeviceMouseName(MouseAction::Middle), "Middle Click   ");
    EXPECT_STREQ(DeviceMouseName(MouseAction::BrowserBackward), "Browser Backward");
}

}  // namespace
}  // namespace settings
