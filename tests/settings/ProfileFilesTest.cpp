#include "platform/FakeFileSystem.h"
#include "settings/ButtonFunctions.h"
#include "settings/ProfileFiles.h"
#include "settings/SettingsDefaults.h"

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
    // A store as the program leaves it: current profile 1, default profiles.
    void Defaults() const
    {
        store->SetCurrentProfile(1);
        for (int p = 0; p < 5; ++p)
            ResetProfile(*store, p);
    }
    std::string StoreBytes() const { return std::string(store->Bytes(), store->Bytes() + SettingsStore::Size()); }
};

TEST_F(ProfileFilesTest, PathsAndShownNames)
{
    EXPECT_EQ(ProfileFilePath(folder, 3), "/data/profile/profile3.vqp");
    EXPECT_EQ(AllProfilesPath(folder), "/data/profile/AllProfile");
    EXPECT_EQ(AllProfilesPath(folder, "/x/all"), "/x/all");
    EXPECT_EQ(WithProfileExtension("/home/u/mine"), "/home/u/mine.vqp");
    EXPECT_EQ(WithProfileExtension("/home/u.d/mine"), "/home/u.d/mine.vqp");
    EXPECT_EQ(WithProfileExtension("/home/u/mine.bak"), "/home/u/mine.bak");
    EXPECT_EQ(WithProfileExtension(""), "");  // never a hidden ".vqp"
    EXPECT_EQ(WithExtension("/home/u/", ".vqm"), "/home/u/");
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

    // A failed write leaves the profile's name as it was.
    Fill(1, 0x41);
    const std::string before = ProfileBytes(1);
    EXPECT_FALSE(SaveProfileFile(*store, files, "/data/profile/", 1));
    EXPECT_FALSE(SaveProfileFile(*store, files, "/nonexistent/dir/x.vqp", 1));
    EXPECT_EQ(ProfileBytes(1), before);

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

    ResetProfile(*store, 3);
    store->Profile(3).SetName("short.vqp");
    const std::string head = ProfileBytes(3).substr(0, 1000);
    files.AddFile("/data/short.vqp", head);
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/short.vqp", 5), kProfileFileCannotOpen);
    ASSERT_EQ(LoadProfileFile(*store, files, "/data/short.vqp", 1), kProfileFileLoaded);
    EXPECT_EQ(ProfileBytes(1), head + std::string(kProfileSize - 1000, '\0'));
    EXPECT_EQ(store->Profile(1).Macro(9).Bytes()[0], 0);

    EXPECT_EQ(ProfileBytes(0), std::string(kProfileSize, '\x11'));
    EXPECT_EQ(ProfileBytes(2), std::string(kProfileSize, '\x33'));
}

TEST_F(ProfileFilesTest, AllProfilesRoundTripIsByteIdentical)
{
    for (size_t i = 0; i < SettingsStore::Size(); ++i)
        store->Bytes()[i] = static_cast<uint8_t>(i * 7 + i / 251);
    Defaults();
    store->SetLedOn(true);
    for (int p = 0; p < 5; ++p) {
        ProfileSettings profile = store->Profile(p);
        for (size_t b = 0; b < layout::profile::kButtonSlots; ++b) {
            profile.Set(layout::profile::kMacroPlayMode, b, int32_t{242});
            if (b >= kButtons) {
                profile.Set(layout::profile::kButtonFunction, b, int32_t{0});
                profile.Set(layout::profile::kButtonParam, b, int32_t{0});
            }
        }
        for (size_t k = 0; k < layout::profile::kMacroSlots; ++k)
            profile.Macro(k).SetNumber(static_cast<int32_t>(k));
    }
    store->Profile(2).SetName("Game.vqp");
    const std::string before = StoreBytes();
    const std::string path = AllProfilesPath(folder);
    ASSERT_TRUE(SaveAllProfilesFile(*store, files, path));
    EXPECT_EQ(files.Contents(path)->size(), SettingsStore::Size());

    std::fill_n(store->Bytes(), SettingsStore::Size(), uint8_t{0x5A});
    ASSERT_EQ(LoadAllProfilesFile(*store, files, path), kProfileFileLoaded);
    EXPECT_EQ(std::string(store->Bytes(), store->Bytes() + SettingsStore::Size()), before);

    files.AddFile(path, "");
    EXPECT_EQ(LoadAllProfilesFile(*store, files, path), kProfileFileEmpty);
    EXPECT_EQ(store->Bytes()[0], before[0]);
    files.SetWritesFail(true);
    EXPECT_FALSE(SaveAllProfilesFile(*store, files, path));
    EXPECT_EQ(*files.Contents(path), "");
}

// Profile files come from anywhere; only what the program could have written
// is taken, and a refused file leaves the profile as it was.
TEST_F(ProfileFilesTest, ImportRefusesFilesTheProgramNeverWrites)
{
    ResetProfile(*store, 0);
    ASSERT_TRUE(SaveProfileFile(*store, files, "/data/good.vqp", 0));
    std::string good = *files.Contents("/data/good.vqp");
    Fill(1, 0x22);
    const std::string unchanged = ProfileBytes(1);

    struct Case {
        const char* what;
        std::string contents;
        FileProblem problem;
    };
    auto with = [&](size_t offset, int32_t value) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
        return bytes;
    };
    namespace prof = layout::profile;
    std::string random(3000, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::string badFlag = good;
    badFlag[0] = 2;
    const Case cases[] = {
        {"JSON text", "{\"profile\": 1, \"reportRate\": 1000}", FileProblem::InUseFlag},
        {"random bytes", random, FileProblem::None},  // whichever field it hits first
        {"one byte too long", good + "x", FileProblem::TooLong},
        {"in-use flag", badFlag, FileProblem::InUseFlag},
        {"report rate", with(prof::kReportRate.offset, -1803169613), FileProblem::ReportRate},
        {"power save", with(prof::kPowerSave.offset, 256), FileProblem::PowerSave},
        {"ambient light", with(prof::kAmbientLight.offset, -1), FileProblem::AmbientLight},
        {"stage index", with(prof::kLaserLevels.At(7).offset, 10), FileProblem::StageIndex},
        {"function", with(prof::kButtonFunction.At(1).offset, function::Default), FileProblem::ButtonFunction},
        {"play mode", with(prof::kMacroPlayMode.At(0).offset, 243), FileProblem::PlayMode},
        {"macro number", with(prof::kMacros + 3 * layout::macro::kSize, 16), FileProblem::MacroNumber},
    };
    for (const Case& c : cases) {
        files.AddFile("/data/bad.vqp", c.contents);
        FileCheck check;
        EXPECT_EQ(LoadProfileFile(*store, files, "/data/bad.vqp", 1, &check), kProfileFileInvalid) << c.what;
        if (c.problem != FileProblem::None) {
            EXPECT_EQ(check.problem, c.problem) << c.what;
        }
        EXPECT_FALSE(check.Ok()) << c.what;
        EXPECT_EQ(ProfileBytes(1), unchanged) << c.what;
    }

    // Button parameters go with their function.
    std::string macro = with(prof::kButtonFunction.At(2).offset, function::Macro);
    good = macro;
    files.AddFile("/data/bad.vqp", with(prof::kButtonParam.At(2).offset, 16));
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/bad.vqp", 1), kProfileFileInvalid);
    files.AddFile("/data/ok.vqp", with(prof::kButtonParam.At(2).offset, 15));
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/ok.vqp", 1), kProfileFileLoaded);
    good = with(prof::kButtonFunction.At(2).offset, function::SingleKey);
    files.AddFile("/data/bad.vqp", with(prof::kButtonParam.At(2).offset, SingleKeyParam(7, 0x01)));
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/bad.vqp", 1), kProfileFileInvalid);
    files.AddFile("/data/ok.vqp", with(prof::kButtonParam.At(2).offset, SingleKeyParam('A', 0x22)));
    EXPECT_EQ(LoadProfileFile(*store, files, "/data/ok.vqp", 1), kProfileFileLoaded);

    // A short file loads as its bytes and zeros; a zero report rate is held
    // to the rate the mouse would get for it.
    files.AddFile("/data/tiny.vqp", std::string("\x01tiny", 5));
    ASSERT_EQ(LoadProfileFile(*store, files, "/data/tiny.vqp", 1), kProfileFileLoaded);
    EXPECT_EQ(store->Profile(1).Name(), "tiny");
    EXPECT_EQ(store->Profile(1).Get(prof::kReportRate), 1000);
    EXPECT_EQ(store->Profile(1).Get(prof::kPowerSave), 0);

    // Levels outside 1..10 are held to the nearest level; 0 stays (it acts
    // as 1 and is what a short file leaves).
    good = with(prof::kScrollSpeed.offset, -7);
    good = with(prof::kDoubleClickSpeed.offset, 1000000);
    good = with(prof::kAngleSnapping.offset, 200);
    good = with(prof::kLiftOffDistance.offset, 0);
    files.AddFile("/data/levels.vqp", with(prof::kPointerAcceleration.offset, 4));
    ASSERT_EQ(LoadProfileFile(*store, files, "/data/levels.vqp", 1), kProfileFileLoaded);
    EXPECT_EQ(store->Profile(1).Get(prof::kScrollSpeed), 1);
    EXPECT_EQ(store->Profile(1).Get(prof::kDoubleClickSpeed), 10);
    EXPECT_EQ(store->Profile(1).Get(prof::kAngleSnapping), 10);
    EXPECT_EQ(store->Profile(1).Get(prof::kLiftOffDistance), 0);
    EXPECT_EQ(store->Profile(1).Get(prof::kPointerAcceleration), 4);
}

TEST_F(ProfileFilesTest, DamagedAllProfilesFilesAreRefused)
{
    Defaults();
    const std::string path = AllProfilesPath(folder);
    ASSERT_TRUE(SaveAllProfilesFile(*store, files, path));
    const std::string good = *files.Contents(path);
    store->SetCurrentProfile(4);
    const std::string current = StoreBytes();

    auto expectRefused = [&](const std::string& contents, FileProblem problem, int profile) {
        files.AddFile(path, contents);
        FileCheck check;
        EXPECT_EQ(LoadAllProfilesFile(*store, files, path, &check), kProfileFileInvalid);
        EXPECT_EQ(check.problem, problem);
        EXPECT_EQ(check.profile, profile);
        EXPECT_EQ(StoreBytes(), current);
    };
    expectRefused(good.substr(0, good.size() - 1), FileProblem::TooShort, -1);
    expectRefused(good + "x", FileProblem::TooLong, -1);
    std::string bad = good;
    for (char outside : {0, 6}) {  // profiles are numbered 1..5
        bad[0] = outside;
        expectRefused(bad, FileProblem::CurrentProfile, -1);
    }
    bad = good;
    bad[layout::store::kLedOn.offset] = 2;
    expectRefused(bad, FileProblem::LedFlag, -1);
    bad = good;
    bad[layout::store::kProfiles + 3 * kProfileSize + layout::profile::kReportRate.offset] = 7;
    expectRefused(bad, FileProblem::ReportRate, 3);

    files.AddFile(path, good);
    EXPECT_EQ(LoadAllProfilesFile(*store, files, path), kProfileFileLoaded);
    EXPECT_EQ(store->CurrentProfile(), 1);
}

}  // namespace
}  // namespace settings
