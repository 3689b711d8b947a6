#include "sim/SimStateFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace sim {
namespace {

namespace fs = std::filesystem;

class SimStateFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("simstate-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = (dir / "mouse.state").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void WriteBytes(const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    static FirmwareState Changed()
    {
        FirmwareState state = FirmwareState::Fresh();
        state.currentProfile = 3;
        state.ledSwitch = 0;
        state.ambient = 60;
        state.firmwareMajor = 2;
        state.firmwareMinor = 41;
        state.profiles[1].macros[2][5] = 0xAB;
        state.profiles[4].combos[9][6] = 0xCD;
        state.profiles[2].reportRate = 3;
        return state;
    }

    fs::path dir;
    std::string path;
};

TEST_F(SimStateFileTest, SavesAndLoadsWholeState)
{
    SimulatedMouse saved;
    saved.SetState(Changed());
    SimStateFile file(path);
    ASSERT_EQ(file.Save(saved), StateFileResult::Saved);
    EXPECT_EQ(fs::file_size(path), SimStateFile::kFileSize);
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    SimulatedMouse loaded;
    ASSERT_EQ(file.Load(loaded), StateFileResult::Loaded);
    EXPECT_EQ(loaded.State(), Changed());

    // Fields sit at fixed offsets.
    const std::vector<uint8_t> bytes = SimStateFile::Encode(Changed());
    EXPECT_EQ(bytes[8], 3);
    EXPECT_EQ(bytes[12], 41);
    EXPECT_EQ(bytes[16 + 2328 * 1 + 123 + 245 * 2 + 5], 0xAB);
    EXPECT_EQ(bytes[16 + 2328 * 4 + 53 + 7 * 9 + 6], 0xCD);
    EXPECT_EQ(bytes[16 + 2328 * 2 + 1], 3);
}

TEST_F(SimStateFileTest, MissingFileGivesFreshMouse)
{
    SimulatedMouse mouse;
    mouse.SetState(Changed());
    EXPECT_EQ(SimStateFile(path).Load(mouse), StateFileResult::FreshMouse);
    EXPECT_EQ(mouse.State(), FirmwareState::Fresh());
}

TEST_F(SimStateFileTest, RefusesDamagedFilesAndKeepsMouse)
{
    const std::vector<uint8_t> good = SimStateFile::Encode(Changed());
    struct Case {
        std::vector<uint8_t> bytes;
        StateFileResult expected;
    };
    std::vector<Case> cases;
    cases.push_back({{}, StateFileResult::TooShort});
    cases.push_back({{good.begin(), good.end() - 1}, StateFileResult::TooShort});
    cases.push_back({good, StateFileResult::TooLong});
    cases.back().bytes.push_back(0);
    cases.push_back({good, StateFileResult::BadMagic});
    cases.back().bytes[0] = 'X';
    cases.push_back({good, StateFileResult::BadVersion});
    cases.back().bytes[7] = 2;
    cases.push_back({good, StateFileResult::BadChecksum});
    cases.back().bytes[16 + 2328 * 3 + 500] ^= 0x01;

    for (const Case& c : cases) {
        WriteBytes(c.bytes);
        SimulatedMouse mouse;
        mouse.MutableState().ledSwitch = 0x12;
        const FirmwareState before = mouse.State();
        EXPECT_EQ(SimStateFile(path).Load(mouse), c.expected) << SimStateFile::Describe(c.expected);
        EXPECT_EQ(mouse.State(), before);
    }
}

}  // namespace
}  // namespace sim
