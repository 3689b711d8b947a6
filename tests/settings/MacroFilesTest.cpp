#include "platform/FakeFileSystem.h"
#include "settings/MacroFiles.h"
#include "settings/MacroText.h"
#include "settings/WorkingMacros.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// Counts a file may carry are refused on import; any that reach the store
// otherwise are used by every walk over the slots: nothing reads or writes
// outside the 20 slots (the sanitizer build checks this).
TEST_F(MacroFilesTest, HostileCountsStayInsideTheSlots)
{
    for (int32_t count : {-1, 16, 1000000, INT32_MIN, INT32_MAX}) {
        AddFile("hostile", count, std::string(40, 'n'));
        ASSERT_EQ(LoadMacrosFile(*store, files, "hostile"), kMacroFileInvalid);
        store->SetWorkingMacroCount(count);
        EXPECT_LE(UsedMacroCount(store->WorkingMacroCount()), 15);
        StoreWorkingMacros(*store, 0);
        LoadWorkingMacros(*store, 0);
        EXPECT_EQ(store->WorkingMacroCount(), std::clamp(count, 0, 10));
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

// A macro list file is checked before it replaces the working list: what the
// program would never write is refused and nothing changes.
TEST_F(MacroFilesTest, FilesThatAreNoMacroListsAreRefused)
{
    store->SetWorkingMacroCount(1);
    MacroRecord keep = store->WorkingMacro(0);
    keep.SetName("Keep");
    keep.AddEvent(kKindMouse, DeviceMouseName(MouseAction::WheelUp), kDirectionUnknown);
    keep.AddEvent(kKindDelay, DelayText(15), "");
    keep.AddEvent(kKindKey, "unknown", kDirectionDown);
    files.AddDirectory("m");
    ASSERT_TRUE(SaveMacrosFile(*store, files, "m/good.vqm"));
    const std::string good = *files.Contents("m/good.vqm");
    const std::vector<uint8_t> before(WorkingList(), WorkingList() + kMacroFileSize);

    // Bytes of slot `slot` at `offset` in it, in a copy of the good file.
    const auto changed = [&](size_t slot, size_t offset, const std::string& bytes) {
        std::string file = good;
        file.replace(4 + slot * layout::macro::kSize + offset, bytes.size(), bytes);
        return file;
    };
    const size_t event2 = layout::macro::kEvents + 2 * layout::event::kSize;
    const std::string minusOne("\xFF\xFF\xFF\xFF", 4);
    struct Case {
        std::string bytes;
        FileProblem problem;
        int macro;
    };
    const Case cases[] = {
        {"{\"macros\": []}\n", FileProblem::MacroCount, -1},
        {good + "x", FileProblem::TooLong, -1},
        {std::string(layout::profile::kSize, '\0') + "x" + std::string(kMacroFileSize, '\0'), FileProblem::TooLong, -1},
        {minusOne + good.substr(4), FileProblem::MacroCount, -1},
        {changed(3, 0, std::string("\x10\0\0\0", 4)), FileProblem::MacroNumber, 3},
        {changed(0, 4, std::string(256, 'N')), FileProblem::MacroName, 0},
        {changed(19, 260, std::string("\x01\x01\0\0", 4)), FileProblem::EventCount, 19},
        {changed(0, event2, "x"), FileProblem::MacroEvent, 0},
        {changed(0, event2 + 100, std::string("nokey\0", 6)), FileProblem::MacroEvent, 0},
        {changed(0, event2 + 300, std::string("sideways\0", 9)), FileProblem::MacroEvent, 0},
        {changed(0, layout::macro::kEvents + layout::event::kSize + 100, std::string("soon\0", 5)),
         FileProblem::MacroEvent, 0},
        {changed(0, layout::macro::kEvents + 100, std::string("Scroll Wheel Sideways\0", 22)), FileProblem::MacroEvent,
         0},
    };
    for (const Case& c : cases) {
        files.AddFile("m/bad.vqm", c.bytes);
        FileCheck check;
        EXPECT_EQ(LoadMacrosFile(*store, files, "m/bad.vqm", &check), kMacroFileInvalid) << &c - cases;
        EXPECT_EQ(check.problem, c.problem);
        EXPECT_EQ(check.macro, c.macro);
        ASSERT_EQ(std::vector<uint8_t>(WorkingList(), WorkingList() + kMacroFileSize), before);
    }
    // What the program wrote loads, and so does a good file cut short.
    files.AddFile("m/short.vqm", good.substr(0, 4 + layout::macro::kEvents + 400 + 150));
    EXPECT_EQ(LoadMacrosFile(*store, files, "m/short.vqm"), kMacroFileLoaded);
    EXPECT_EQ(LoadMacrosFile(*store, files, "m/good.vqm"), kMacroFileLoaded);
    EXPECT_EQ(std::vector<uint8_t>(WorkingList(), WorkingList() + kMacroFileSize), before);
}

}  // namespace
}  // namespace settings
