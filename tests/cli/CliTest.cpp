#include "cli/ProfileDump.h"
#include "cli/TraceWriter.h"

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
