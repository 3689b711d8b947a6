// neritctl's settings commands run one after another on one data folder and
// one simulated mouse, as a user would run them.
#include "CliTestSupport.h"
#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "device/DeviceProfileRecord.h"
#include "platform/FakeClock.h"
#include "sim/SimHidBackend.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "settings/ButtonFunctions.h"
#include "settings/MacroFiles.h"
#include "settings/MacroRecord.h"
#include "settings/ProfileFiles.h"
#include "settings/SettingsDefaults.h"
#include "sim/PersistentMouse.h"
#include "sim/SimStateFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <memory>
#include <vector>

namespace {

using namespace clitest;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class NeritctlSequence : public ::testing::Test {
protected:
    TempFolder temp;
    fs::path dir = temp.path;
    fs::path data = dir / "data";
    fs::path all = data / "profile/AllProfile";
    fs::path pending = data / "profile/PendingChanges";

    RunResult Run(const std::string& args)
    {
        return Neritctl("--simulate=" + (dir / "mouse").string() + " --data-dir " + data.string() + " " + args);
    }
    // Writes profile `index` of the simulated mouse as another program
    // could: the defaults with button 1 playing macro number `macro` with
    // the raw play-mode byte `mode`.
    void WriteOddMacroButton(int index, uint8_t mode, uint8_t macro)
    {
        sim::SimulatedMouse mouse;
        sim::SimStateFile file((dir / "mouse").string());
        ASSERT_NE(file.Load(mouse), sim::StateFileResult::IoError);
        sim::SimHidBackend backend(mouse);
        platform::FakeClock clock;
        device::DeviceLink link(backend, clock);
        device::CommandSet commands(link, device::ProtocolVariant::Program);
        device::ProfileTransfer transfer(commands);
        auto record = std::make_unique<device::DeviceProfileRecord>();
        device::RecordView view(record->data(), device::kProgramLayout);
        view.SetU8(device::kProgramLayout.inUse, 1);
        view.SetButton(0, {device::category::Macro, mode, macro});
        view.SetMacroEventIn(0, 0, {device::kEventWheel, 1, 0, 0});
        view.SetMacroEventCount(0, 1);
        ASSERT_TRUE(link.OpenDevice());
        ASSERT_TRUE(transfer.WriteProfileRecord(static_cast<uint8_t>(index), *record));
        link.CloseDevice();
        ASSERT_EQ(file.Save(mouse), sim::StateFileResult::Saved);
    }
    // Runs a command with the simulated mouse's log, and gives the position
    // (0-based) of the first report whose log line holds `part`.
    size_t PositionIn(const std::string& args, const std::string& part)
    {
        const fs::path log = dir / ("log-" + std::to_string(logs++));
        RunShell("VIMO_SIMULATE_LOG=" + log.string() + " " + NERITCTL_PATH + " --simulate=" + (dir / "mouse").string()
                 + " --data-dir " + data.string() + " " + args);
        std::ifstream in(log);
        size_t position = 0;
        for (std::string line; std::getline(in, line); ++position) {
            if (Contains(line, part))
                return position;
        }
        ADD_FAILURE() << part << " not in the log of " << args;
        return 0;
    }
    // Runs a command whose reports fail from `position` on, as many as one
    // report's attempts.
    RunResult RunFailingAt(const std::string& args, size_t position)
    {
        return RunShell("VIMO_SIMULATE_FAIL_AT=" + std::to_string(position) + ",3 " + NERITCTL_PATH + " --simulate="
                        + (dir / "mouse").string() + " --data-dir " + data.string() + " " + args);
    }
    int logs = 0;

    void UnplugMouse()
    {
        sim::SimulatedMouse mouse;
        sim::SimStateFile file((dir / "mouse").string());
        file.Load(mouse);
        mouse.Unplug();
        ASSERT_EQ(file.Save(mouse), sim::StateFileResult::Saved);
    }
    // A profile file as the program writes it: the defaults, a name, and
    // optionally one macro in its own copy played by button 3.
    std::string ProfileFile(const std::string& name, const std::string& macro = "")
    {
        auto store = std::make_unique<settings::SettingsStore>();
        settings::ResetProfile(*store, 0);
        settings::ProfileSettings profile = store->Profile(0);
        if (!macro.empty()) {
            profile.Macro(0).SetName(macro);
            profile.Macro(0).AddEvent("k", " A ", "down");
            profile.Macro(0).AddEvent("k", " A ", "up");
            profile.Set(settings::layout::profile::kMacroCount, int32_t{1});
            profile.Set(settings::layout::profile::kButtonFunction, 2, settings::function::Macro);
            profile.Set(settings::layout::profile::kButtonParam, 2, int32_t{1});
            profile.Set(settings::layout::profile::kMacroPlayMode, 2, int32_t{1});
        }
        const std::string path = (dir / (name + ".vqp")).string();
        settings::SaveProfileFile(*store, platform::RealFileSystem(), path, 0);
        return path;
    }
};

TEST_F(NeritctlSequence, PullShowExportSaveApplyFromAFreshFolder)
{
    RunResult pull = Run("pull");
    ASSERT_EQ(pull.status, 0) << pull.out;
    RunResult json = Run("show --json --profile 2");
    ASSERT_EQ(json.status, 0) << json.out;
    EXPECT_TRUE(Contains(json.out, "\"profile\": 2")) << json.out;
    EXPECT_TRUE(Contains(json.out, "\"dpi\": 500"));
    // One profile's settings leave out what belongs to the store as a whole.
    EXPECT_FALSE(Contains(json.out, "\"firmwareVersion\"")) << json.out;
    EXPECT_TRUE(Contains(Run("show --json").out, "\"firmwareVersion\": \"V1.07\""));
    EXPECT_FALSE(Contains(json.out, "\"profile\": 1,"));

    RunResult exported = Run("export-profile 1 " + (dir / "one").string());
    ASSERT_EQ(exported.status, 0) << exported.out;
    EXPECT_EQ(fs::file_size(dir / "one.vqp"), 1027137u);
    ASSERT_EQ(Run("save-profile 2").status, 0);
    EXPECT_TRUE(fs::exists(data / "profile/profile2.vqp"));
    RunResult apply = Run("apply");
    ASSERT_EQ(apply.status, 0) << apply.out;
    EXPECT_EQ(fs::file_size(all), 7189486u);
    EXPECT_EQ(fs::file_size(data / "profile/Macros"), 2053284u);

    // The stored name of profile 1 came with the export and is kept.
    RunResult text = Run("show --profile 1");
    EXPECT_TRUE(Contains(text.out, "Profile 1 \"one\" (in use)")) << text.out;
    ASSERT_EQ(Run("led off").status, 0);
    EXPECT_TRUE(Contains(Run("show").out, "LEDs off"));
}

// Only apply and reset-all write the all-profiles file; everything else is
// pending until then, and discard goes back to what was applied.
TEST_F(NeritctlSequence, PendingChangesUntilApplyAndDiscardGoesBack)
{
    ASSERT_EQ(Run("pull").status, 0);
    EXPECT_FALSE(fs::exists(all));
    EXPECT_TRUE(fs::exists(pending));
    EXPECT_TRUE(Contains(Run("show").out, "pending changes not applied yet"));
    EXPECT_TRUE(Contains(Run("show --json").out, "\"pendingChanges\": true"));
    ASSERT_EQ(Run("apply").status, 0);
    EXPECT_TRUE(fs::exists(all));
    EXPECT_FALSE(fs::exists(pending));
    EXPECT_FALSE(Contains(Run("show").out, "pending"));
    const std::string applied = ReadAll(all);

    ASSERT_EQ(Run("import-profile 2 " + ProfileFile("Imported")).status, 0);
    ASSERT_EQ(Run("led off").status, 0);
    EXPECT_EQ(ReadAll(all), applied);
    RunResult shown = Run("show --profile 2");
    EXPECT_TRUE(Contains(shown.out, "Profile 2 \"Imported\"")) << shown.out;
    EXPECT_TRUE(Contains(shown.out, "LEDs off"));

    RunResult discard = Run("discard");
    EXPECT_EQ(discard.status, 0) << discard.out;
    EXPECT_FALSE(fs::exists(pending));
    shown = Run("show --profile 2");
    EXPECT_FALSE(Contains(shown.out, "Imported")) << shown.out;
    EXPECT_TRUE(Contains(shown.out, "LEDs on"));
    EXPECT_TRUE(Contains(Run("discard").out, "no pending changes"));
}

// Saving a profile takes that profile's own macros, not those of the profile
// shown before.
// After a discard the shown profile's macros are the macro list, not those
// of the profile shown when the settings were applied.
TEST_F(NeritctlSequence, DiscardShowsTheShownProfilesMacros)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("import-profile 3 " + ProfileFile("three", "P3MACRO")).status, 0);
    ASSERT_EQ(Run("apply").status, 0);
    EXPECT_TRUE(Contains(Run("show").out, "macros (1): 1=\"P3MACRO\""));
    ASSERT_EQ(Run("import-profile 1 " + ProfileFile("one")).status, 0);
    ASSERT_EQ(Run("discard").status, 0);
    RunResult show = Run("show");
    EXPECT_TRUE(Contains(show.out, "macros (0):")) << show.out;
    ASSERT_EQ(Run("export-macros " + (dir / "list").string()).status, 0);
    EXPECT_EQ(ReadAll(dir / "list.vqm").substr(0, 8), std::string(8, '\0'));
}

TEST_F(NeritctlSequence, SaveProfileKeepsThatProfilesMacros)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("import-profile 3 " + ProfileFile("three", "P3MACRO")).status, 0);
    ASSERT_EQ(Run("import-profile 1 " + ProfileFile("one")).status, 0);
    RunResult save = Run("save-profile 3");
    ASSERT_EQ(save.status, 0) << save.out;
    RunResult json = Run("show --json --profile 3");
    EXPECT_TRUE(Contains(json.out, "P3MACRO")) << json.out;
    RunResult dump = Run("dump");
    EXPECT_TRUE(Contains(dump.out, "button 3: Macro 1 (plays once), 2 events")) << dump.out;
    RunResult text = Run("show");
    EXPECT_TRUE(Contains(text.out, "macros (1): 1=\"P3MACRO\"")) << text.out;
}

TEST_F(NeritctlSequence, ImportRefusesFilesThatAreNoProfiles)
{
    ASSERT_EQ(Run("pull").status, 0);
    const std::string before = Run("show --json").out;
    WriteAll(dir / "settings.json", "{\"profile\": 1, \"reportRate\": 1000}\n");
    RunResult json = Run("import-profile 1 " + (dir / "settings.json").string());
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(Contains(json.out, "Load the profile error . " + (dir / "settings.json").string()
                                       + ": not a settings file of this program (in-use flag out of range)"))
        << json.out;
    std::string random(2 * 1027137, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 2654435761u) >> 11);
    WriteAll(dir / "random.vqp", random);
    RunResult big = Run("import-profile 2 " + (dir / "random.vqp").string());
    EXPECT_EQ(big.status, 1);
    EXPECT_TRUE(Contains(big.out, "random.vqp: too long")) << big.out;
    RunResult missing = Run("import-profile 1 " + (dir / "missing").string());
    EXPECT_TRUE(Contains(missing.out, "Load the profile error . " + (dir / "missing.vqp").string() + ": missing"))
        << missing.out;
    RunResult folder = Run("import-profile 1 " + dir.string() + "/");
    EXPECT_TRUE(Contains(folder.out, ": a folder")) << folder.out;
    // An empty name or a folder path names no file: a usage error, and no
    // hidden ".vqp" or ".vqm" is read or written.
    fs::create_directory(dir / "exd");
    WriteAll(dir / "exd/.vqp", ReadAll(ProfileFile("hidden")));
    for (const std::string& command : {std::string("import-profile 1 ") + (dir / "exd").string() + "/",
                                       std::string("export-profile 1 ") + (dir / "exd").string() + "/",
                                       std::string("export-profile 1 ''"), std::string("export-macros ''"),
                                       std::string("import-macros ''"), std::string("export-macros ") + dir.string() + "/"}) {
        RunResult bad = RunShell("cd " + dir.string() + " && " + NERITCTL_PATH + " --simulate=" + (dir / "mouse").string()
                                 + " --data-dir " + data.string() + " " + command);
        EXPECT_EQ(bad.status, 2) << command << bad.out;
    }
    EXPECT_FALSE(fs::exists(dir / ".vqp"));
    EXPECT_FALSE(fs::exists(dir / ".vqm"));
    EXPECT_FALSE(fs::exists(dir / "exd/.vqm"));
    WriteAll(dir / "empty.vqp", "");
    EXPECT_TRUE(Contains(Run("import-profile 1 " + (dir / "empty.vqp").string()).out, "empty.vqp: empty"));
    EXPECT_EQ(Run("show --json").out, before);

    // One rule for extensions: what export writes, import finds.
    ASSERT_EQ(Run("export-profile 4 " + (dir / "mine").string()).status, 0);
    EXPECT_EQ(Run("import-profile 5 " + (dir / "mine").string()).status, 0);
    ASSERT_EQ(Run("export-macros " + (dir / "list").string()).status, 0);
    EXPECT_TRUE(fs::exists(dir / "list.vqm"));
    fs::remove(data / "profile/Macros");
    EXPECT_EQ(Run("import-macros " + (dir / "list").string()).status, 0);
    EXPECT_TRUE(fs::exists(data / "profile/Macros"));  // an import from elsewhere becomes the default file
}

// A file that is no macro list is refused on import and nothing changes:
// neither the pending changes nor profile/Macros.
TEST_F(NeritctlSequence, ImportMacrosRefusesFilesThatAreNoMacroLists)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("import-profile 2 " + ProfileFile("Kept")).status, 0);
    ASSERT_EQ(Run("export-macros " + (dir / "list").string()).status, 0);
    ASSERT_EQ(Run("import-macros " + (dir / "list").string()).status, 0);
    const std::string macros = ReadAll(data / "profile/Macros");
    const std::string before = Run("show --json").out;

    WriteAll(dir / "text.vqm", "{\"macros\": []}\n");
    std::string random(3000000, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteAll(dir / "random.vqm", random);
    WriteAll(dir / "cut.vqm", random.substr(0, 2053284));
    const std::pair<std::string, std::string> files[] = {
        {(dir / "text.vqm").string(), "not a settings file of this program (macro count out of range)"},
        {(dir / "random.vqm").string(), "too long"},
        {(dir / "cut.vqm").string(), "not a settings file of this program"},
        {ProfileFile("profile"), "not a settings file of this program (macro count out of range)"},
    };
    for (const auto& [file, reason] : files) {
        RunResult import = Run("import-macros " + file);
        EXPECT_EQ(import.status, 1) << file;
        EXPECT_TRUE(Contains(import.out, file + ": " + reason)) << import.out;
    }
    RunResult after = Run("show --json");
    EXPECT_EQ(after.out, before);
    EXPECT_TRUE(Contains(after.out, "Kept"));
    EXPECT_EQ(ReadAll(data / "profile/Macros"), macros);
    EXPECT_FALSE(fs::exists(pending.string() + ".damaged"));
}

TEST_F(NeritctlSequence, DamagedSettingsFileIsKeptAsideAndDefaultsUsed)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("export-profile 2 " + (dir / "named").string()).status, 0);
    ASSERT_EQ(Run("apply").status, 0);
    const std::string applied = ReadAll(all);
    fs::resize_file(all, 5000000);

    // Read-only commands say so and leave the file alone.
    RunResult show = Run("show --profile 2");
    EXPECT_EQ(show.status, 0);
    EXPECT_TRUE(Contains(show.out, all.string() + ": damaged, too short; not used")) << show.out;
    EXPECT_FALSE(Contains(show.out, "named"));
    EXPECT_TRUE(fs::exists(all));

    RunResult led = Run("led off");
    EXPECT_EQ(led.status, 0) << led.out;
    EXPECT_TRUE(Contains(led.out, "kept as " + all.string() + ".damaged")) << led.out;
    EXPECT_EQ(fs::file_size(all.string() + ".damaged"), 5000000u);
    EXPECT_FALSE(fs::exists(all));

    // Random bytes of the right size: a current profile out of range.
    std::string random = applied;
    for (size_t i = 0; i < 16; ++i)
        random[i] = static_cast<char>(0xA5 + i);
    WriteAll(all, random);
    fs::remove(pending);
    RunResult text = Run("discard");
    EXPECT_TRUE(Contains(text.out, "damaged, not a settings file of this program (current profile out of range)"))
        << text.out;
    EXPECT_TRUE(Contains(Run("show").out, "current profile 1,"));

    // A second damaged file never replaces the first copy.
    EXPECT_EQ(fs::file_size(all.string() + ".damaged"), 5000000u);
    EXPECT_EQ(ReadAll(all.string() + ".damaged-2"), random);
    WriteAll(all, "short");
    EXPECT_TRUE(Contains(Run("led on").out, "kept as " + all.string() + ".damaged-3"));
    EXPECT_EQ(ReadAll(all.string() + ".damaged-3"), "short");
}

TEST_F(NeritctlSequence, UnreadableSettingsFileStopsTheCommand)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("apply").status, 0);
    const std::string mouse = ReadAll(dir / "mouse");
    fs::remove(all);
    fs::create_directory(all);
    RunResult save = Run("save-profile 1");
    EXPECT_EQ(save.status, 1);
    EXPECT_TRUE(Contains(save.out, "cannot read the settings file " + all.string() + ": a folder")) << save.out;
    EXPECT_EQ(ReadAll(dir / "mouse"), mouse);
    EXPECT_FALSE(fs::exists(data / "profile/profile1.vqp"));
    EXPECT_FALSE(fs::exists(pending));
}

// A profile keeps ten macros: an import of a longer list keeps the first ten
// and says so, and what is shown is what reaches the mouse.
TEST_F(NeritctlSequence, AProfileKeepsTenMacros)
{
    ASSERT_EQ(Run("pull").status, 0);
    auto store = std::make_unique<settings::SettingsStore>();
    for (int k = 0; k < 15; ++k) {
        settings::MacroRecord macro = store->WorkingMacro(k);
        macro.SetNumber(k + 1);
        macro.SetName("M" + std::to_string(k + 1));
        macro.AddEvent("k", " A ", "down");
        macro.AddEvent("k", " A ", "up");
    }
    store->SetWorkingMacroCount(15);
    const std::string list = (dir / "fifteen.vqm").string();
    ASSERT_TRUE(settings::SaveMacrosFile(*store, platform::RealFileSystem(), list));

    RunResult import = Run("import-macros " + list);
    ASSERT_EQ(import.status, 0) << import.out;
    EXPECT_TRUE(Contains(import.out, "kept the first 10 of 15 macros")) << import.out;
    ASSERT_EQ(Run("apply").status, 0);
    RunResult show = Run("show");
    EXPECT_TRUE(Contains(show.out, "macros (10): ")) << show.out;
    EXPECT_TRUE(Contains(show.out, "10=\"M10\"")) << show.out;
    EXPECT_FALSE(Contains(show.out, "M11")) << show.out;
    EXPECT_FALSE(Contains(ReadAll(data / "profile/Macros"), "M11"));
}

// The shown profile is kept in config.ini; one too long to rewrite safely
// is left as it is, and the command says so instead of succeeding quietly.
TEST_F(NeritctlSequence, AConfigurationFileThatCannotBeRewrittenIsNamed)
{
    ASSERT_EQ(Run("pull").status, 0);
    const fs::path config = data / "config.ini";
    const std::string before = ReadAll(config) + std::string(1100 * 1024, 'x') + "\n[Other]\nkey=1\n";
    WriteAll(config, before);
    RunResult import = Run("import-profile 3 " + ProfileFile("three"));
    EXPECT_EQ(import.status, 1) << import.out;
    EXPECT_TRUE(Contains(import.out, config.string() + ": too long")) << import.out;
    EXPECT_EQ(ReadAll(config), before);
}

TEST_F(NeritctlSequence, FailedWritesAreNamedAndFail)
{
    ASSERT_EQ(Run("pull").status, 0);
    fs::create_directory(data / "profile/Macros");
    RunResult apply = Run("apply");
    EXPECT_EQ(apply.status, 1);
    EXPECT_TRUE(Contains(apply.out, "cannot write " + (data / "profile/Macros").string() + ": a folder")) << apply.out;
    const auto named = [](const std::string& text, const std::string& part) {
        size_t count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(named(apply.out, (data / "profile/Macros").string()), 1u) << apply.out;  // once, with its reason
    EXPECT_TRUE(fs::exists(pending));  // nothing is lost
    // reset-all writes the applied settings file itself.
    const bool applied = fs::exists(data / "profile/AllProfile");
    if (applied)
        fs::rename(data / "profile/AllProfile", dir / "AllProfile.kept");
    fs::create_directory(data / "profile/AllProfile");
    RunResult reset = Run("reset-all");
    EXPECT_EQ(reset.status, 1);
    EXPECT_TRUE(Contains(reset.out, "cannot write " + (data / "profile/AllProfile").string() + ": a folder"))
        << reset.out;
    fs::remove(data / "profile/AllProfile");
    if (applied)
        fs::rename(dir / "AllProfile.kept", data / "profile/AllProfile");
    // The simulated mouse's pointer settings are a file of the data folder too.
    fs::remove(data / "profile/Macros");
    fs::remove(data / "pointer_settings");
    fs::create_directory(data / "pointer_settings");
    RunResult pointer = Run("apply");
    EXPECT_EQ(pointer.status, 1);
    EXPECT_TRUE(Contains(pointer.out, "cannot write " + (data / "pointer_settings").string() + ": a folder"))
        << pointer.out;

    // Only regular files are replaced: a link to a pipe, a pipe. Both are the
    // test's own, so a fault never replaces a node of the machine.
    ASSERT_EQ(::mkfifo((dir / "pipe.vqp").c_str(), 0600), 0);
    fs::create_symlink(dir / "pipe.vqp", dir / "link.vqm");
    RunResult linked = Run("export-macros " + (dir / "link.vqm").string());
    EXPECT_EQ(linked.status, 1);
    EXPECT_TRUE(Contains(linked.out, "link.vqm: not a regular file")) << linked.out;
    EXPECT_TRUE(fs::is_symlink(dir / "link.vqm"));
    EXPECT_TRUE(Contains(Run("export-profile 1 " + (dir / "pipe.vqp").string()).out, "pipe.vqp: not a regular file"));
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.vqp"));

    RunResult export_ = Run("export-profile 1 /nonexistent/dir/x.vqp");
    EXPECT_EQ(export_.status, 1);
    // One line: the program's message, then the file and why.
    EXPECT_TRUE(Contains(export_.out, "neritctl: Save the profile error .; cannot write /nonexistent/dir/x.vqp: missing\n"))
        << export_.out;
    EXPECT_FALSE(Contains(Run("show --profile 1").out, "\"x\""));

    const std::string show = std::string(NERITCTL_PATH) + " --simulate --data-dir " + data.string() + " show";
    RunResult full = RunShell("(" + show + " > /dev/full)");
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(Contains(full.out, "cannot write the standard output: No space left on device")) << full.out;
}

// What the mouse sends is held to the valid ranges when read, so a pull of
// a profile another program wrote can be applied without losing the rest.
TEST_F(NeritctlSequence, PullOfOddMacroButtonsThenApplyKeepsEverything)
{
    ASSERT_EQ(Run("pull").status, 0);
    WriteOddMacroButton(1, 150, 12);
    RunResult pull = Run("pull");
    ASSERT_EQ(pull.status, 0) << pull.out;
    RunResult show = Run("show --json --profile 2");
    EXPECT_EQ(show.status, 0);
    EXPECT_FALSE(Contains(show.out, "damaged")) << show.out;
    RunResult apply = Run("apply");
    EXPECT_EQ(apply.status, 0) << apply.out;
    EXPECT_FALSE(Contains(apply.out, "damaged")) << apply.out;
    EXPECT_FALSE(fs::exists(pending.string() + ".damaged"));
    RunResult dump = Run("dump");
    EXPECT_TRUE(Contains(dump.out, "button 1: Macro 1 (plays once), 1 events")) << dump.out;
    // The profile exported from this store can be imported back.
    ASSERT_EQ(Run("export-profile 2 " + (dir / "odd").string()).status, 0);
    RunResult import = Run("import-profile 3 " + (dir / "odd").string());
    EXPECT_EQ(import.status, 0) << import.out;
}

// An apply or reset-all that reaches no mouse, or is refused, writes nothing
// and keeps the pending changes.
TEST_F(NeritctlSequence, ApplyThatReachesNoMouseKeepsThePendingChanges)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("apply").status, 0);
    const std::string applied = ReadAll(all);
    const std::string macros = ReadAll(data / "profile/Macros");
    std::string unused = ReadAll(ProfileFile("Unused"));
    unused[0] = '\0';  // not in use
    WriteAll(dir / "Unused.vqp", unused);
    for (int n = 1; n <= 5; ++n)
        ASSERT_EQ(Run("import-profile " + std::to_string(n) + " " + (dir / "Unused.vqp").string()).status, 0);
    const std::string changes = ReadAll(pending);

    RunResult refused = Run("apply");
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.out, "Please select at least one")) << refused.out;
    EXPECT_EQ(ReadAll(pending), changes);
    EXPECT_EQ(ReadAll(all), applied);

    UnplugMouse();
    for (const char* command : {"apply", "reset-all"}) {
        RunResult result = Run(command);
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_TRUE(Contains(result.out, "no Vimo mouse found")) << result.out;
        EXPECT_EQ(ReadAll(pending), changes) << command;
        EXPECT_EQ(ReadAll(all), applied) << command;
        EXPECT_EQ(ReadAll(data / "profile/Macros"), macros) << command;
    }
    EXPECT_TRUE(Contains(Run("show --profile 3").out, "\"Unused\""));
}

// Transfers that fail part-way name the profiles; an apply that reached the
// mouse keeps the files as the program writes them but not the desktop's
// pointer settings.
TEST_F(NeritctlSequence, PartlyFailedTransfersNameTheProfiles)
{
    const size_t readOfThree = PositionIn("pull", "command 07 53 03");
    RunResult pull = RunFailingAt("pull", readOfThree);
    EXPECT_EQ(pull.status, 1);
    EXPECT_TRUE(Contains(pull.out, "read 4 of 5 profiles")) << pull.out;
    EXPECT_TRUE(Contains(pull.out, "neritctl: Failed to load profile : 3 .\n")) << pull.out;
    EXPECT_FALSE(Contains(pull.out, "\r")) << pull.out;

    const size_t writeOfTwo = PositionIn("apply", "command 07 7D 02");
    fs::remove(data / "pointer_settings");
    ASSERT_EQ(Run("led off").status, 0);
    RunResult apply = RunFailingAt("apply", writeOfTwo);
    EXPECT_EQ(apply.status, 1);
    EXPECT_TRUE(Contains(apply.out, "neritctl: writing profile 2 to the mouse failed\n")) << apply.out;
    EXPECT_FALSE(fs::exists(data / "pointer_settings"));
    // The files were written, as the program does, and what profile 2 did
    // not take stays pending.
    EXPECT_TRUE(fs::exists(data / "profile/AllProfile"));
    EXPECT_TRUE(fs::exists(pending));
    EXPECT_TRUE(Contains(Run("show").out, "LEDs off"));
}

TEST_F(NeritctlSequence, FailuresSayWhatHappened)
{
    ASSERT_EQ(Run("pull").status, 0);
    UnplugMouse();
    RunResult save = Run("save-profile 3");
    EXPECT_NE(save.status, 0);
    EXPECT_TRUE(Contains(save.out, "Failed to save the profile !")) << save.out;
    RunResult reset = Run("reset-profile 3");
    EXPECT_TRUE(Contains(reset.out, "Failed to reset the default profile !")) << reset.out;
    RunResult pull = Run("pull");
    EXPECT_NE(pull.status, 0);
    EXPECT_TRUE(Contains(pull.out, "no Vimo mouse found")) << pull.out;
}

TEST_F(NeritctlSequence, StoredNamesCannotDriveTheTerminal)
{
    ASSERT_EQ(Run("pull").status, 0);
    const std::string file = ProfileFile("escapes");
    std::string bytes = ReadAll(file);
    const std::string name = std::string("\x1B]0;owned\x07\x1B[2J") + '\0';
    bytes.replace(1, name.size(), name);
    WriteAll(file, bytes);
    ASSERT_EQ(Run("import-profile 1 " + file).status, 0);
    RunResult show = Run("show --profile 1");
    EXPECT_FALSE(Contains(show.out, "\x1B")) << show.out;
    EXPECT_TRUE(Contains(show.out, "Profile 1 \"\\x1B]0;owned\\x07\\x1B[2J\"")) << show.out;

    const std::string c1 = std::string("\xC2\x9B" "2J\xE2\x80\xAE" "cba") + '\0';
    bytes.replace(1, c1.size(), c1);
    WriteAll(file, bytes);
    ASSERT_EQ(Run("import-profile 2 " + file).status, 0);
    RunResult json = Run("show --json --profile 2");
    EXPECT_TRUE(Contains(json.out, "\"name\": \"\\u009B2J\\u202Ecba\"")) << json.out;
    EXPECT_TRUE(Contains(Run("show --profile 2").out, "Profile 2 \"\\u009B2J\\u202Ecba\""));
}

// Changing commands hold the data folder's lock for their whole run.
TEST_F(NeritctlSequence, ConcurrentImportsAreAllKept)
{
    ASSERT_EQ(Run("pull").status, 0);
    std::vector<FILE*> running;
    for (int n = 1; n <= 5; ++n) {
        const std::string line = std::string(NERITCTL_PATH) + " --simulate --data-dir " + data.string()
                               + " import-profile " + std::to_string(n) + " " + ProfileFile("p" + std::to_string(n))
                               + " 2>&1";
        running.push_back(popen(line.c_str(), "r"));
    }
    for (FILE* pipe : running)
        EXPECT_EQ(pclose(pipe), 0);
    const std::string shown = Run("show").out;
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(Contains(shown, "Profile " + std::to_string(n) + " \"p" + std::to_string(n) + "\"")) << shown;
}

TEST_F(NeritctlSequence, BusyFolderSaysWhoHoldsIt)
{
    ASSERT_EQ(Run("pull").status, 0);
    std::unique_ptr<platform::FileLock> lock;
    ASSERT_EQ(platform::RealLockService().Acquire((data / ".lock").string(), 0, lock), platform::LockResult::Acquired);
    WriteAll(data / ".lock-holder", "NeritMice");
    RunResult busy = Run("led off");
    EXPECT_EQ(busy.status, 1);
    EXPECT_TRUE(Contains(busy.out, "NeritMice is open")) << busy.out;
    EXPECT_EQ(Run("show").status, 0);  // reading needs no lock
}

// Another program holds the simulated mouse (for a command sequence of its
// own): a command that needs the mouse fails after a short wait naming the
// holder, one that does not runs, and once the mouse is free it is used.
TEST_F(NeritctlSequence, BusyMouseSaysWhoHoldsIt)
{
    ASSERT_EQ(Run("pull").status, 0);
    auto program = std::make_unique<sim::PersistentMouse>((dir / "mouse").string(), "", "NeritMice");
    ASSERT_EQ(program->Hold(), sim::StateFileResult::Loaded);
    for (const char* command : {"led off", "dump"}) {
        RunResult busy = Run(command);
        EXPECT_EQ(busy.status, 1) << command;
        EXPECT_TRUE(Contains(busy.out, "neritctl: the mouse is busy (NeritMice is using it)\n")) << busy.out;
    }
    EXPECT_EQ(Run("show").status, 0);
    program.reset();
    EXPECT_EQ(Run("led off").status, 0);
}

TEST(NeritctlDataFolder, PerUserFolderAndNothingCreatedByReading)
{
    TempFolder home;
    const std::string env = "env HOME=" + home.path.string() + " XDG_DATA_HOME= ";
    RunResult show = RunShell(env + NERITCTL_PATH + " --simulate show");
    EXPECT_EQ(show.status, 0) << show.out;
    EXPECT_TRUE(fs::is_empty(home.path));
    ASSERT_EQ(RunShell(env + NERITCTL_PATH + " --simulate pull").status, 0);
    EXPECT_TRUE(fs::exists(home.path / ".local/share/NeritMice/profile/PendingChanges"));
    EXPECT_FALSE(fs::exists(fs::path(NERITCTL_PATH).parent_path() / "profile"));
}

}  // namespace
