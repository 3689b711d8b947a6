#include "cli/ProfileDump.h"
#include "cli/TraceWriter.h"
#include "sim/SimStateFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct RunResult {
    int status;
    std::string out;
};

// Runs neritctl with arguments; standard error goes with standard output.
RunResult Neritctl(const std::string& args)
{
    const std::string command = std::string(NERITCTL_PATH) + " " + args + " 2>&1";
    RunResult result{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> chunk;
    size_t got;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        result.out.append(chunk.data(), got);
    result.status = pclose(pipe);
    return result;
}

TEST(Neritctl, InfoAndDumpAgainstTheSimulatedMouse)
{
    RunResult info = Neritctl("--simulate info");
    EXPECT_EQ(info.status, 0) << info.out;
    EXPECT_NE(info.out.find("V1.07"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("current profile: 1"), std::string::npos) << info.out;

    RunResult dump = Neritctl("--simulate dump");
    EXPECT_EQ(dump.status, 0) << dump.out;
    EXPECT_NE(dump.out.find("Profile 5"), std::string::npos);
    EXPECT_NE(dump.out.find("report rate: 125 Hz"), std::string::npos);
    EXPECT_NE(dump.out.find("button 4:    Profile Select"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("button 6:    Browser Forward"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("stage codes: 40 32 48 56"), std::string::npos) << dump.out;
}

TEST(Neritctl, TraceAndStateFile)
{
    const auto state = std::filesystem::temp_directory_path() / "neritctl-test-state.bin";
    std::filesystem::remove(state);
    RunResult traced = Neritctl("--simulate=" + state.string() + " --trace info");
    EXPECT_EQ(traced.status, 0) << traced.out;
    EXPECT_NE(traced.out.find("> set-feature command 07 5E 00 00 00 00 00 00"), std::string::npos) << traced.out;
    EXPECT_NE(traced.out.find("< get-feature command 07 01 07 00"), std::string::npos) << traced.out;
    EXPECT_TRUE(std::filesystem::exists(state));

    // A damaged state file is refused with a message, and left as it was.
    std::filesystem::resize_file(state, 10);
    RunResult refused = Neritctl("--simulate=" + state.string() + " info");
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.out.find("state file"), std::string::npos) << refused.out;
    EXPECT_EQ(std::filesystem::file_size(state), 10u);
    std::filesystem::remove(state);
}

// A fresh data folder and simulated mouse for a sequence of neritctl runs.
class NeritctlSequence : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path()
                              / ("neritctl-seq-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    void SetUp() override
    {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    RunResult Run(const std::string& args)
    {
        return Neritctl("--simulate=" + (dir / "mouse").string() + " --data-dir " + (dir / "data").string() + " "
                        + args);
    }
    void UnplugMouse()
    {
        sim::SimulatedMouse mouse;
        sim::SimStateFile file((dir / "mouse").string());
        file.Load(mouse);
        mouse.Unplug();
        ASSERT_EQ(file.Save(mouse), sim::StateFileResult::Saved);
    }
};

TEST_F(NeritctlSequence, PullShowExportSaveApplyFromAFreshFolder)
{
    RunResult pull = Run("pull");
    ASSERT_EQ(pull.status, 0) << pull.out;
    RunResult json = Run("show --json --profile 2");
    ASSERT_EQ(json.status, 0) << json.out;
    EXPECT_NE(json.out.find("\"profile\": 2"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"firmwareVersion\": \"V1.07\""), std::string::npos);
    EXPECT_EQ(json.out.find("\"profile\": 1,"), std::string::npos);

    RunResult exported = Run("export-profile 1 " + (dir / "one").string());
    ASSERT_EQ(exported.status, 0) << exported.out;
    EXPECT_EQ(std::filesystem::file_size(dir / "one.vqp"), 1027137u);
    ASSERT_EQ(Run("save-profile 2").status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "data/profile/profile2.vqp"));
    RunResult apply = Run("apply");
    ASSERT_EQ(apply.status, 0) << apply.out;
    EXPECT_EQ(std::filesystem::file_size(dir / "data/profile/AllProfile"), 7189486u);
    EXPECT_EQ(std::filesystem::file_size(dir / "data/profile/Macros"), 2053284u);

    // The stored name of profile 1 came with the export and is kept.
    RunResult text = Run("show --profile 1");
    EXPECT_NE(text.out.find("Profile 1 \"one\" (in use)"), std::string::npos) << text.out;
    ASSERT_EQ(Run("led off").status, 0);
    EXPECT_NE(Run("show").out.find("LEDs off"), std::string::npos);
}

TEST_F(NeritctlSequence, FailuresSayWhatHappened)
{
    ASSERT_EQ(Run("pull").status, 0);
    UnplugMouse();
    RunResult save = Run("save-profile 3");
    EXPECT_NE(save.status, 0);
    EXPECT_NE(save.out.find("Failed to save the profile !"), std::string::npos) << save.out;
    RunResult reset = Run("reset-profile 3");
    EXPECT_NE(reset.out.find("Failed to reset the default profile !"), std::string::npos) << reset.out;
    RunResult pull = Run("pull");
    EXPECT_NE(pull.status, 0);
    EXPECT_NE(pull.out.find("no Vimo mouse found"), std::string::npos) << pull.out;
    RunResult import = Run("import-profile 1 " + (dir / "missing.vqp").string());
    EXPECT_NE(import.out.find("Load the profile error ."), std::string::npos) << import.out;
    RunResult usage = Run("save-profile 6");
    EXPECT_NE(usage.status, 0);
}

TEST(ProfileDump, DescribesButtonsAndFirmware)
{
    using device::ButtonEntry;
    namespace category = device::category;
    EXPECT_EQ(cli::FirmwareText(107), "V1.07");
    EXPECT_EQ(cli::FirmwareText(1210), "V12.10");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{category::Key, 0x04, 0x05}), "Key 0x04 + Ctrl + Alt");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{category::Macro, 0xF1, 3}), "Macro 3 (plays while held)");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{category::Macro, 4, 0}), "Macro 0 (plays 4 times)");
    EXPECT_EQ(cli::DescribeButton(ButtonEntry{42, 1, 0}), "Unknown (42, 1)");
}

}  // namespace
