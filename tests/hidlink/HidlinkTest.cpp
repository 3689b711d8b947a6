// Loads libhidlink.so with dlopen, as an outside program does, against the
// simulated mouse named by VIMO_SIMULATE, and checks every export's result
// and the reports the mouse received.
#include "hidlink/hidlink.h"
#include "platform/file_lock.h"
#include "sim/SimStateFile.h"
#include "sim/SimulatedMouse.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Api {
    int (*Open_VQ_device)();
    int (*Close_VQ_device)();
    unsigned char (*Get_fw_version)(int*);
    unsigned char (*Get_fw_info)(short*);
    unsigned char (*Get_current_profile_id)(char*);
    unsigned char (*Set_current_profile_id)(unsigned char);
    unsigned char (*Read_profile)(unsigned char, DeviceProfileRecord*);
    unsigned char (*Write_profile)(unsigned char, DeviceProfileRecord*);
    unsigned char (*Set_LED_black_out)();
    unsigned char (*Set_LED_black_out_off)();
};

template <typename Fn>
void Bind(void* library, const char* name, Fn& fn)
{
    fn = reinterpret_cast<Fn>(dlsym(library, name));
    ASSERT_NE(fn, nullptr) << name;
}

class HidlinkTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder{"hidlink-test"};
    fs::path dir = folder.Path();
    fs::path statePath = dir / "mouse.state";
    fs::path logPath = dir / "mouse.log";
    void* library = nullptr;
    Api api{};

    void SetUp() override
    {
        ASSERT_FALSE(dir.empty());
        SetMouse([](sim::SimulatedMouse&) {});
        setenv("VIMO_SIMULATE", statePath.c_str(), 1);
        setenv("VIMO_SIMULATE_LOG", logPath.c_str(), 1);
        library = dlopen(HIDLINK_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        Bind(library, "Open_VQ_device", api.Open_VQ_device);
        Bind(library, "Close_VQ_device", api.Close_VQ_device);
        Bind(library, "Get_fw_version", api.Get_fw_version);
        Bind(library, "Get_fw_info", api.Get_fw_info);
        Bind(library, "Get_current_profile_id", api.Get_current_profile_id);
        Bind(library, "Set_current_profile_id", api.Set_current_profile_id);
        Bind(library, "Read_profile", api.Read_profile);
        Bind(library, "Write_profile", api.Write_profile);
        Bind(library, "Set_LED_black_out", api.Set_LED_black_out);
        Bind(library, "Set_LED_black_out_off", api.Set_LED_black_out_off);
        api.Close_VQ_device();
        fs::remove(logPath);
    }

    void TearDown() override
    {
        if (library != nullptr)
            dlclose(library);
    }

    // Changes the simulated mouse through its state file.
    template <typename Change>
    void SetMouse(Change change)
    {
        sim::SimulatedMouse mouse;
        sim::SimStateFile file(statePath.string());
        if (fs::exists(statePath)) {
            ASSERT_EQ(file.Load(mouse), sim::StateFileResult::Loaded);
        }
        change(mouse);
        ASSERT_EQ(file.Save(mouse), sim::StateFileResult::Saved);
    }

    sim::FirmwareState Mouse() const
    {
        sim::SimulatedMouse mouse;
        sim::SimStateFile(statePath.string()).Load(mouse);
        return mouse.State();
    }

    // The reports the mouse received since the last call, one line each.
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> lines;
        std::ifstream in(logPath);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        in.close();
        fs::remove(logPath);
        return lines;
    }

    // Every export answers as without a mouse and leaves the caller's
    // variables as they were.
    void ExpectEveryExportFails()
    {
        int version = -7;
        short info = -7;
        char current = 'x';
        auto records = std::make_unique<DeviceProfileRecord[]>(5);
        records[4].in_use = 0x5A;
        records[4].report_rate = 0x5A;
        EXPECT_EQ(api.Open_VQ_device(), 0);
        EXPECT_EQ(api.Get_fw_version(&version), 0);
        EXPECT_EQ(api.Get_fw_info(&info), 0);
        EXPECT_EQ(api.Get_current_profile_id(&current), 0);
        EXPECT_EQ(api.Set_current_profile_id(1), 0);
        EXPECT_EQ(api.Read_profile(4, &records[4]), 0);
        EXPECT_EQ(api.Write_profile(4, &records[4]), 0);
        EXPECT_EQ(api.Set_LED_black_out(), 0);
        EXPECT_EQ(api.Set_LED_black_out_off(), 0);
        EXPECT_EQ(api.Close_VQ_device(), 1);
        EXPECT_EQ(version, -7);
        EXPECT_EQ(info, -7);
        EXPECT_EQ(current, 'x');
        EXPECT_EQ(records[4].in_use, 0x5A);
        EXPECT_EQ(records[4].report_rate, 0x5A);
        EXPECT_EQ(records[0].in_use, 0);
    }

    std::vector<std::string> FeatureSets()
    {
        std::vector<std::string> sets;
        for (const std::string& line : TakeLog()) {
            if (line.rfind("feature-set", 0) == 0)
                sets.push_back(line.substr(std::string("feature-set command ").size()));
        }
        return sets;
    }
};

TEST_F(HidlinkTest, SmallExportsAndTheirReports)
{
    EXPECT_EQ(api.Close_VQ_device(), 1);
    EXPECT_EQ(api.Open_VQ_device(), 1);
    TakeLog();

    SetMouse([](sim::SimulatedMouse& m) {
        m.MutableState().firmwareMajor = 2;
        m.MutableState().firmwareMinor = 3;
        m.MutableState().currentProfile = 3;
    });
    int version = 0;
    short info = 0;
    char current = 0;
    EXPECT_EQ(api.Get_fw_version(&version), 1);
    EXPECT_EQ(api.Get_fw_info(&info), 1);
    EXPECT_EQ(version, 203);
    EXPECT_EQ(info, 203);
    EXPECT_EQ(api.Get_current_profile_id(&current), 1);
    EXPECT_EQ(current, 4);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{
                             "feature-set command 07 5E 00 00 00 00 00 00",
                             "feature-get command 07 00 00 00 00 00 00 00 -> 07 02 03 00 00 00 00 00",
                             "feature-set command 07 5E 00 00 00 00 00 00",
                             "feature-get command 07 00 00 00 00 00 00 00 -> 07 02 03 00 00 00 00 00",
                             "feature-set command 07 5C 00 00 00 00 00 00",
                             "feature-get command 07 00 00 00 00 00 00 00 -> 07 04 00 00 00 00 00 00",
                         }));

    EXPECT_EQ(api.Set_current_profile_id(9), 1);
    EXPECT_EQ(api.Set_current_profile_id(2), 1);
    EXPECT_EQ(api.Set_LED_black_out(), 1);
    EXPECT_EQ(Mouse().ledSwitch, 0x00);
    EXPECT_EQ(api.Set_LED_black_out_off(), 1);
    EXPECT_EQ(FeatureSets(), (std::vector<std::string>{
                                 "07 7C 01 00 00 00 00 00",
                                 "07 7C 03 00 00 00 00 00",
                                 "07 04 00 00 00 00 00 00",
                                 "07 04 FF 00 00 00 00 00",
                             }));
    EXPECT_EQ(Mouse().ledSwitch, 0xFF);
    EXPECT_EQ(Mouse().currentProfile, 2);
}

TEST_F(HidlinkTest, ReadProfileWritesOnlyItsFieldsAndAllFlagsWithProfileFour)
{
    SetMouse([](sim::SimulatedMouse& m) {
        m.MutableState().profiles[1].inUse = 0;
        m.MutableState().profiles[2].keys[0] = {0x53, 0, 4, 5};
        m.MutableState().profiles[2].reportRate = 3;
        m.MutableState().profiles[2].powerSave = 2;
    });
    auto records = std::make_unique<DeviceProfileRecord[]>(5);
    auto* bytes = reinterpret_cast<uint8_t*>(records.get());
    std::fill(bytes, bytes + 5 * sizeof(DeviceProfileRecord), 0xA5);
    auto before = std::make_unique<DeviceProfileRecord[]>(5);
    std::copy(bytes, bytes + 5 * sizeof(DeviceProfileRecord), reinterpret_cast<uint8_t*>(before.get()));

    for (unsigned char p = 0; p < 5; ++p)
        ASSERT_EQ(api.Read_profile(p, &records[p]), 1) << int(p);

    const DeviceProfileRecord& third = records[2];
    EXPECT_EQ(third.report_rate, 1);
    EXPECT_EQ(third.power_save, 120);
    EXPECT_EQ(third.stages[0].code, 40);
    EXPECT_EQ(third.stages[3].code, 56);
    EXPECT_EQ(third.buttons[0].category, 3);
    EXPECT_EQ(third.buttons[0].value, 5);
    EXPECT_EQ(third.buttons[1].category, 0);  // entry 2: right click
    EXPECT_EQ(third.buttons[1].value, 2);
    for (int p = 0; p < 5; ++p)
        EXPECT_EQ(records[p].in_use, p == 1 ? 0 : 1) << p;

    // Nothing else of the caller's records changed.
    for (int p = 0; p < 5; ++p) {
        const auto* now = reinterpret_cast<const uint8_t*>(&records[p]);
        const auto* was = reinterpret_cast<const uint8_t*>(&before[p]);
        for (size_t i = 0; i < sizeof(DeviceProfileRecord); ++i) {
            const bool written = i == 1 || i == 8 || i == 9 || i == 25 || i == 27 || i == 29 || i == 31
                              || (i >= 34 && i < 34 + 7 * 8 && (i - 34) % 8 < 2);
            if (!written) {
                ASSERT_EQ(now[i], was[i]) << "profile " << p << " byte " << i;
            }
        }
    }
    // The library reads nine key-table reports, no combinations, no macros.
    int macroReads = 0;
    for (const std::string& line : FeatureSets())
        macroReads += line.rfind("07 5A", 0) == 0 || line.rfind("07 44", 0) == 0;
    EXPECT_EQ(macroReads, 0);
}

TEST_F(HidlinkTest, WriteProfileOneAndFour)
{
    auto records = std::make_unique<DeviceProfileRecord[]>(5);
    for (int p = 0; p < 5; ++p) {
        records[p].in_use = static_cast<unsigned char>(p == 2 ? 0 : p + 1);
        records[p].report_rate = 2;
        records[p].power_save = 60;
        for (int k = 0; k < 4; ++k)
            records[p].stages[k].code = static_cast<unsigned char>(60 + k);
        records[p].buttons[0] = {3, 2, {}, 0, 0};
        records[p].macros[0].event_count = 2;
        records[p].macros[0].events[0] = {1, 0, 0x04, 0, {}, 100};
        records[p].macros[0].events[1] = {16, 0, 2, 1, {}, 40};
    }
    ASSERT_EQ(api.Write_profile(1, &records[1]), 1);
    const std::vector<std::string> one = FeatureSets();
    EXPECT_EQ(one.front(), "07 79 00 00 00 00 00 00");
    EXPECT_EQ(one.back(), "07 77 02 10 00 00 00 00");  // ends with the stage codes
    const sim::ProfileState written = Mouse().profiles[1];
    EXPECT_EQ(written.keys[0], (sim::KeyEntry{0x53, 0, 0, 0}));
    EXPECT_EQ(written.macros[0][0], 0);
    EXPECT_EQ(written.macros[0][1], 2);
    EXPECT_EQ(written.macros[0][2], 0x80);  // key down, 5 ticks
    EXPECT_EQ(written.macros[0][3], 5);
    EXPECT_EQ(written.macros[0][4], 0x04);
    EXPECT_EQ(written.macros[0][7], 0xF2);  // right button, library code
    EXPECT_EQ(written.reportRate, 2);
    EXPECT_EQ(written.powerSave, 1);
    EXPECT_EQ(written.stage[0], 60);

    ASSERT_EQ(api.Write_profile(4, &records[4]), 1);
    EXPECT_EQ(FeatureSets().back(), "07 6E 01 02 00 04 05 00");  // the bytes as they are
    EXPECT_EQ(Mouse().profiles[2].inUse, 0);
}

TEST_F(HidlinkTest, NoMouseThenUnplugAndRecovery)
{
    SetMouse([](sim::SimulatedMouse& m) { m.Unplug(); });
    ExpectEveryExportFails();
    EXPECT_TRUE(TakeLog().empty());
    int version = 0;

    SetMouse([](sim::SimulatedMouse& m) { m.Replug(); });
    EXPECT_EQ(api.Get_fw_version(&version), 1);
    SetMouse([](sim::SimulatedMouse& m) { m.Unplug(); });
    EXPECT_EQ(api.Get_fw_version(&version), 0);
    SetMouse([](sim::SimulatedMouse& m) { m.Replug(); });
    // The handles opened before the unplug are stale until reopened.
    EXPECT_EQ(api.Get_fw_version(&version), 0);
    EXPECT_EQ(api.Open_VQ_device(), 1);
    EXPECT_EQ(api.Get_fw_version(&version), 1);
    EXPECT_EQ(version, 107);
}

TEST_F(HidlinkTest, UnusableStateFilesFailEveryExportAndAreKept)
{
    std::vector<uint8_t> good;
    {
        std::ifstream in(statePath, std::ios::binary);
        good.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_EQ(api.Open_VQ_device(), 1);  // the mouse was there a moment ago
    std::vector<uint8_t> damaged = good;
    damaged[100] ^= 0xFF;
    const std::vector<std::vector<uint8_t>> contents = {
        {}, std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2), damaged};
    for (const std::vector<uint8_t>& bytes : contents) {
        SCOPED_TRACE(bytes.size());
        {
            std::ofstream out(statePath, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
        ExpectEveryExportFails();
        std::ifstream in(statePath, std::ios::binary);
        EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}), bytes);
    }
    // A state file that cannot be read at all.
    fs::remove(statePath);
    fs::create_directory(statePath);
    ExpectEveryExportFails();
    EXPECT_TRUE(fs::is_directory(statePath));

    // A usable file again: the mouse is back.
    fs::remove(statePath);
    SetMouse([](sim::SimulatedMouse&) {});
    EXPECT_EQ(api.Open_VQ_device(), 1);
    int version = 0;
    EXPECT_EQ(api.Get_fw_version(&version), 1);
    EXPECT_EQ(version, 107);
}

// The library holds the simulated mouse's state file for one call at a
// time, so other programs sharing it (neritctl) are not shut out while the
// library stays loaded.
TEST_F(HidlinkTest, TheStateFileIsFreeBetweenCalls)
{
    int version = 0;
    ASSERT_EQ(api.Get_fw_version(&version), 1);
    std::unique_ptr<platform::FileLock> lock;
    EXPECT_EQ(platform::RealLockService().Acquire(statePath.string() + ".lock", 0, lock),
              platform::LockResult::Acquired);
    lock.reset();
    EXPECT_EQ(api.Get_fw_version(&version), 1);
}

// Files of this process cannot grow past a few bytes while it lives (writes
// fail with EFBIG instead of raising SIGXFSZ), whoever the user is.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Active() const { return active_; }

private:
    rlimit saved_{};
    sighandler_t oldHandler_ = SIG_DFL;
    bool active_ = false;
};

TEST_F(HidlinkTest, AStateThatCannotBeSavedFailsTheCall)
{
    ASSERT_EQ(api.Open_VQ_device(), 1);
    unsigned char result = 0xEE;
    {
        // The new state file cannot be written out.
        FileSizeLimit limit(16);
        ASSERT_TRUE(limit.Active());
        result = api.Set_LED_black_out();
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Mouse().ledSwitch, 0xFF);
    // With room again, the same call goes through.
    EXPECT_EQ(api.Set_LED_black_out(), 1);
    EXPECT_EQ(Mouse().ledSwitch, 0x00);
}

TEST_F(HidlinkTest, ProfileNumbersAndTheCurrentProfile)
{
    auto records = std::make_unique<DeviceProfileRecord[]>(5);
    records[4].report_rate = 0x5A;
    EXPECT_EQ(api.Read_profile(2, &records[2]), 1);
    EXPECT_EQ(Mouse().currentProfile, 2);  // reading selects the profile
    EXPECT_EQ(api.Write_profile(3, &records[3]), 1);
    EXPECT_EQ(Mouse().currentProfile, 3);
    TakeLog();

    // Five and more: nothing is read or written, and no profile is selected.
    EXPECT_EQ(api.Read_profile(5, &records[4]), 0);
    EXPECT_EQ(api.Write_profile(9, &records[4]), 0);
    EXPECT_EQ(records[4].report_rate, 0x5A);
    EXPECT_TRUE(FeatureSets().empty());
    EXPECT_EQ(Mouse().currentProfile, 3);
    EXPECT_EQ(api.Set_current_profile_id(5), 1);
    EXPECT_EQ(Mouse().currentProfile, 0);
    char current = 0;
    EXPECT_EQ(api.Get_current_profile_id(&current), 1);
    EXPECT_EQ(current, 1);  // the mouse's own number
}

}  // namespace
