// neritctl set and button against the simulated mouse: what they change
// reaches the mouse only with apply, bad words change nothing, and the
// window's guards hold.
#include "CliTestSupport.h"
#include "settings/ProfileFiles.h"
#include "settings/SettingsDefaults.h"
#include "sim/SimStateFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

namespace {

using namespace clitest;
namespace fs = std::filesystem;

class NeritctlSetButton : public ::testing::Test, protected SimulatedSession {
protected:
    using SimulatedSession::Run;
    // Runs a command and gives its standard error alone.
    RunResult RunQuiet(const std::string& args)
    {
        return RunShell("(" + std::string(NERITCTL_PATH) + " --simulate=" + (dir / "mouse").string() + " --data-dir "
                        + data.string() + " " + args + " 2>" + (dir / "stderr").string() + " >/dev/null)");
    }
    std::string Stderr() { return ReadAll(dir / "stderr"); }

    // A profile file with the defaults and two macros of its own.
    std::string ProfileWithMacros(const std::string& name)
    {
        auto store = std::make_unique<settings::SettingsStore>();
        settings::ResetProfile(*store, 0);
        settings::ProfileSettings profile = store->Profile(0);
        for (int k = 0; k < 2; ++k) {
            profile.Macro(k).SetName(k == 0 ? "Reload" : "reload");
            profile.Macro(k).AddEvent("k", " R ", "down");
            profile.Macro(k).AddEvent("k", " R ", "up");
        }
        profile.Set(settings::layout::profile::kMacroCount, int32_t{2});
        const std::string path = (dir / (name + ".vqp")).string();
        EXPECT_TRUE(settings::SaveProfileFile(*store, platform::RealFileSystem(), path, 0));
        return path;
    }
};

TEST_F(NeritctlSetButton, EverySettingReachesTheMouseOnlyWithApply)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("apply").status, 0);
    const std::string before = Run("dump").out;
    for (const char* change : {"report-rate 1000", "power-save 60", "ambient-light 20", "lift-off 7",
                               "angle-snapping 3", "pointer-speed 8", "double-click 2", "wheel-lines 9",
                               "name 'Game One'", "--profile 2 in-use off", "--profile 3 report-rate 250"}) {
        RunResult set = Run(std::string("set ") + change);
        EXPECT_EQ(set.status, 0) << change << set.out;
    }
    // DPI values snap to the stages, and the note names the snapped ones.
    RunResult dpi = Run("set dpi 400,1000,1600,3500");
    EXPECT_EQ(dpi.status, 0);
    EXPECT_TRUE(Contains(dpi.out, "DPI snapped to the stages the mouse has: 400 to 500, 1600 to 1500\n")) << dpi.out;
    EXPECT_EQ(Run("set --profile 4 dpi 250,500,1000,1250").out, "");  // nothing snapped, nothing said
    EXPECT_TRUE(fs::exists(pending));
    EXPECT_EQ(Run("dump").out, before);  // nothing reached the mouse yet

    RunResult json = Run("show --json --profile 1");
    for (const char* field : {"\"reportRate\": 1000", "\"powerSave\": 60", "\"ambientLight\": 20",
                              "\"liftOffDistance\": 7", "\"angleSnapping\": 3", "\"pointerAcceleration\": 8",
                              "\"doubleClickSpeed\": 2", "\"scrollSpeed\": 9", "\"name\": \"Game One\""})
        EXPECT_TRUE(Contains(json.out, field)) << field << json.out;

    ASSERT_EQ(Run("apply").status, 0);
    EXPECT_FALSE(fs::exists(pending));
    RunResult dump = Run("dump");
    EXPECT_TRUE(Contains(dump.out, "Profile 1 (in use)\n  report rate 1000 Hz, power save 60 s, ambient light 20 s\n"
                                   "  DPI stages 500 1000 1500 3500\n"))
        << dump.out;
    EXPECT_TRUE(Contains(dump.out, "Profile 2 (not in use)")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "Profile 3 (in use)\n  report rate 250 Hz")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "Profile 4 (in use)\n  report rate 125 Hz, power save off")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "  DPI stages 250 500 1000 1250\n")) << dump.out;
    // Lift-off and angle snapping are kept with the applied settings; the
    // mouse's transfer does not carry them.
    json = Run("show --json --profile 1");
    EXPECT_TRUE(Contains(json.out, "\"liftOffDistance\": 7")) << json.out;
    EXPECT_TRUE(Contains(json.out, "\"angleSnapping\": 3")) << json.out;
    // The pointer levels go to the (simulated) desktop: 9 lines, 1650 - 150 x 2 ms, speed 2 x 8.
    EXPECT_EQ(ReadAll(data / "pointer_settings"), "wheel_scroll_lines=9\ndouble_click_time=1350\nmouse_speed=16\n");
    EXPECT_TRUE(Contains(Run("show --profile 1").out, "Profile 1 \"Game One\" (in use)"));

    // --apply writes at once; "0" and "off" are the same choice.
    RunResult now = Run("set --profile 1 power-save 0 --apply");
    EXPECT_EQ(now.status, 0) << now.out;
    EXPECT_FALSE(fs::exists(pending));
    EXPECT_TRUE(Contains(Run("dump").out, "report rate 1000 Hz, power save off, ambient light 20 s")) << now.out;
}

// A word that is not a key, a value out of range, a malformed list: a usage
// error on one line naming what was wrong, and the store stays as it was.
TEST_F(NeritctlSetButton, BadWordsAreUsageErrorsAndChangeNothing)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("import-profile 1 " + ProfileWithMacros("macros")).status, 0);
    const std::string changes = ReadAll(pending);
    const std::string mouse = ReadAll(dir / "mouse");
    const std::pair<std::string, std::string> bad[] = {
        {"set report-rate 300", "report-rate must be 125, 250, 500 or 1000, not \"300\""},
        {"set report-rate 1000x", "report-rate"},
        {"set power-save 30", "power-save must be off, 60 or 120"},
        {"set ambient-light on", "ambient-light must be off, 20 or 60"},
        {"set dpi 400,800,1600", "dpi takes the four stages"},
        {"set dpi 400,800,1600,3200,4800", "dpi takes the four stages"},
        {"set dpi 400,0,1600,3200", "dpi stage 2 is no DPI value: \"0\""},
        {"set dpi 400,800,,3200", "dpi stage 3 is no DPI value"},
        {"set dpi 400,800,1600,99999999999", "dpi stage 4"},
        {"set lift-off 11", "lift-off must be a level from 0 to 10, not \"11\""},
        {"set angle-snapping +3", "angle-snapping"},
        {"set double-click 1.5", "double-click"},
        {"set pointer-speed ''", "pointer-speed"},
        {"set wheel-lines 0", "wheel-lines must be a level from 1 to 10"},
        {"set in-use yes", "in-use must be on or off"},
        {"set name " + std::string(256, 'n'), "a name holds at most 255 bytes"},
        {"set name \"$(printf 'a\\tb')\"", "control characters"},
        {"set name \"$(printf 'bad\\377')\"", "a name must be UTF-8 text"},
        {"set \"$(printf 'fo\\no')\" 1", "unknown key \"fo\\x0Ao\""},
        {"button 2 key \"$(printf 'A\\nB')\"", "unknown key"},
        {"set speed 3", "unknown key \"speed\""},
        {"button 4 function 'DPI Up'", "button 4 always sends Profile Select"},
        {"button 2 function Teleport", "unknown function \"Teleport\""},
        {"button 2 function 'Single Key'", "button B key KEY"},
        {"button 2 function Macro_1", "unknown function"},
        {"button 2 key Hyper+A", "unknown key \"Hyper+A\""},
        {"button 2 key Ctrl+", "unknown key \"\""},
        {"button 2 key Shift", "unknown key \"Shift\""},
        {"button 2 key F13", "unknown key \"F13\""},
        {"button 2 macro Reload --play repeat 100", "--play takes once, repeat N"},
        {"button 2 macro Reload --play repeat 0", "--play takes"},
        {"button 2 macro Reload --play sometimes", "--play takes"},
        {"button 2 default --play once", "--play belongs to a macro"},
        {"button 2 wiggle", "expected function NAME"},
        {"button 2 default now", "expected function NAME"},
    };
    for (const auto& [command, reason] : bad) {
        RunResult result = RunQuiet(command);
        EXPECT_EQ(result.status, 2) << command;
        const std::string error = Stderr();
        EXPECT_TRUE(Contains(error, "neritctl: ")) << command;
        EXPECT_TRUE(Contains(error, reason)) << command << ": " << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << command << ": " << error;
        EXPECT_EQ(ReadAll(pending), changes) << command;
    }
    // Outside what CLI11 checks itself: still usage errors.
    for (const char* command : {"set --profile 6 name x", "button 8 default", "button 0 default", "set dpi"})
        EXPECT_EQ(RunQuiet(command).status, 2) << command;
    EXPECT_EQ(ReadAll(pending), changes);
    EXPECT_EQ(ReadAll(dir / "mouse"), mouse);
}

// One button keeps the left click, as in the window; a refusal changes nothing.
TEST_F(NeritctlSetButton, TheLastLeftClickStays)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("import-profile 1 " + ProfileWithMacros("macros")).status, 0);
    const std::string changes = ReadAll(pending);
    for (const char* command : {"button 1 function 'Right Click'", "button 1 disable", "button 1 key A",
                                "button 1 macro Reload", "button 1 macro Missing"}) {
        RunResult refused = RunQuiet(command);
        EXPECT_EQ(refused.status, 1) << command;
        EXPECT_EQ(Stderr(), "neritctl: At least one button is assigned to the left button!\n") << command;
        EXPECT_EQ(ReadAll(pending), changes) << command;
    }
    // Choices that keep it are allowed; a second left click frees the first.
    EXPECT_EQ(Run("button 1 default").status, 0);
    EXPECT_EQ(Run("button 1 function 'LEFT click'").status, 0);
    ASSERT_EQ(Run("button 2 function 'left click'").status, 0);
    ASSERT_EQ(Run("button 1 function 'Right Click'").status, 0);
    EXPECT_EQ(RunQuiet("button 2 function 'DPI Up'").status, 1);
    EXPECT_TRUE(Contains(Stderr(), "At least one button is assigned to the left button!"));
    RunResult show = Run("show --profile 1");
    EXPECT_TRUE(Contains(show.out, "  button 1: Right Click\n  button 2: Left Click\n")) << show.out;
    // The guard looks at the profile being changed, not the shown one.
    EXPECT_EQ(Run("button --profile 2 1 function 'DPI Up'").status, 1);
    EXPECT_EQ(Run("button --profile 2 2 function 'Left Click'").status, 0);
    EXPECT_EQ(Run("button --profile 2 1 function 'DPI Up'").status, 0);
}

TEST_F(NeritctlSetButton, FunctionsKeysAndMacrosReachTheMouse)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("import-profile 3 " + ProfileWithMacros("three")).status, 0);
    ASSERT_EQ(Run("import-profile 1 " + ProfileWithMacros("one")).status, 0);
    EXPECT_EQ(Run("button --profile 3 2 function 'dpi up'").status, 0);
    EXPECT_EQ(Run("button --profile 3 3 key 'RCtrl+Shift+F5'").status, 0);
    EXPECT_EQ(Run("button --profile 3 6 key 'ctrl+num_+'").status, 0);
    // Macros by their exact name (letter case counts), from the profile's own list.
    EXPECT_EQ(Run("button --profile 3 5 macro reload --play repeat 5").status, 0);
    EXPECT_EQ(Run("button --profile 3 7 macro Reload --play hold").status, 0);
    EXPECT_EQ(Run("button 2 macro Reload --play toggle").status, 0);
    RunResult missing = Run("button --profile 2 2 macro Reload");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Contains(missing.out, "profile 2 has no macro named \"Reload\" among its first ten")) << missing.out;

    RunResult json = Run("show --json --profile 3");
    // F5 is virtual key 116; right Ctrl 0x10 and left Shift 0x02.
    EXPECT_TRUE(Contains(json.out, "\"param\": " + std::to_string(116 + 256 * 0x12))) << json.out;
    // show names each side as button key takes it back; lift-off and angle
    // snapping are shown too.
    const RunResult shown = Run("show --profile 3");
    EXPECT_TRUE(Contains(shown.out, "  button 3: Single Key RCtrl+Shift+F5\n")) << shown.out;
    EXPECT_TRUE(Contains(shown.out, ", lift-off 5, angle snapping 5\n")) << shown.out;
    ASSERT_EQ(Run("apply").status, 0);
    RunResult dump = Run("dump");
    EXPECT_TRUE(Contains(dump.out, "  button 2: DPI Up\n  button 3: Single Key Ctrl+Shift+F5\n")) << dump.out;
    EXPECT_TRUE(Contains(dump.out, "  button 5: Macro 2 (plays 5 times), 2 events\n"
                                   "  button 6: Single Key Ctrl+Num_+\n"
                                   "  button 7: Macro 1 (plays while held), 2 events\n"))
        << dump.out;
    EXPECT_TRUE(Contains(dump.out, "  DPI stages 500 1000 1500 2000\n  button 1: Left Click\n"
                                   "  button 2: Macro 1 (toggles), 2 events\n"))
        << dump.out;

    // Without --play the button keeps how it plays; default and disable.
    EXPECT_EQ(Run("button --profile 3 5 macro Reload").status, 0);
    EXPECT_EQ(Run("button --profile 3 6 default").status, 0);
    EXPECT_EQ(Run("button --profile 3 7 disable --apply").status, 0);
    dump = Run("dump");
    EXPECT_TRUE(Contains(dump.out, "  button 5: Macro 1 (plays 5 times), 2 events\n"
                                   "  button 6: Browser Forward\n  button 7: Disable\n"))
        << dump.out;
}

// --apply that reaches no mouse fails and keeps the change pending.
TEST_F(NeritctlSetButton, ApplyAtOnceWithoutAMouseKeepsTheChange)
{
    ASSERT_EQ(Run("pull").status, 0);
    ASSERT_EQ(Run("apply").status, 0);
    {
        sim::SimulatedMouse mouse;
        sim::SimStateFile file((dir / "mouse").string());
        ASSERT_EQ(file.Load(mouse), sim::StateFileResult::Loaded);
        mouse.Unplug();
        ASSERT_EQ(file.Save(mouse), sim::StateFileResult::Saved);
    }
    RunResult set = Run("set report-rate 500 --apply");
    EXPECT_EQ(set.status, 1);
    EXPECT_TRUE(Contains(set.out, "no Vimo mouse found")) << set.out;
    RunResult button = Run("button 2 function 'Triple Click' --apply");
    EXPECT_EQ(button.status, 1);
    RunResult show = Run("show --profile 1");
    EXPECT_TRUE(Contains(show.out, "pending changes not applied yet")) << show.out;
    EXPECT_TRUE(Contains(show.out, "report rate 500 Hz")) << show.out;
    EXPECT_TRUE(Contains(show.out, "button 2: Triple Click")) << show.out;
}

TEST(NeritctlSetButtonHelp, EachCommandHasAnExample)
{
    RunResult set = Neritctl("set --help");
    EXPECT_EQ(set.status, 0);
    EXPECT_TRUE(Contains(set.out, "Example: neritctl set")) << set.out;
    EXPECT_TRUE(Contains(set.out, "wheel-lines")) << set.out;
    RunResult button = Neritctl("button --help");
    EXPECT_EQ(button.status, 0);
    EXPECT_TRUE(Contains(button.out, "Example: neritctl button")) << button.out;
    EXPECT_TRUE(Contains(button.out, "--play")) << button.out;
}

}  // namespace
