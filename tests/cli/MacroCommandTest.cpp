// neritctl macro ...: the macro list edited from the command line, run as a
// user would against the simulated mouse.
#include "CliTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace {

using namespace clitest;
namespace fs = std::filesystem;
using nlohmann::json;

class MacroCommands : public ::testing::Test, protected SimulatedSession {
protected:
    using SimulatedSession::Run;
    // The settings show --json prints (notes on standard error go before it).
    json Shown()
    {
        const RunResult shown = Run("show --json");
        EXPECT_EQ(shown.status, 0) << shown.out;
        const size_t start = shown.out.find("\n{");
        return json::parse(shown.out.substr(start == std::string::npos ? 0 : start + 1));
    }
    void Load(const std::string& text)
    {
        std::ofstream(dir / "in.json") << text;
        const RunResult loaded = Run("load-json " + (dir / "in.json").string());
        ASSERT_EQ(loaded.status, 0) << loaded.out;
    }
};

TEST_F(MacroCommands, NewAddShowRenameDeleteAndApply)
{
    ASSERT_EQ(Run("macro new Reload").status, 0);
    // A taken name gets "*", as on the macro page.
    RunResult second = Run("macro new Reload");
    ASSERT_EQ(second.status, 0) << second.out;
    EXPECT_TRUE(Contains(second.out, "macro 2 \"Reload*\"")) << second.out;

    RunResult added = Run("macro add Reload down:r wait:0.050 up:R click:Left wheel:down \"down:page up\" "
                          "press:Back release:Back wait:2147483.647");
    ASSERT_EQ(added.status, 0) << added.out;
    const json macros = Shown()["macros"];
    ASSERT_EQ(macros.size(), 2u);
    const json& events = macros[0]["events"];
    ASSERT_EQ(events.size(), 11u);
    EXPECT_EQ(events[0], (json{{"kind", "k"}, {"name", " R "}, {"direction", "down"}}));
    EXPECT_EQ(events[1], (json{{"kind", "t"}, {"name", "0.050"}, {"direction", ""}}));
    EXPECT_EQ(events[3], (json{{"kind", "m"}, {"name", "Left Click        "}, {"direction", "down"}}));
    EXPECT_EQ(events[4], (json{{"kind", "m"}, {"name", "Left Click        "}, {"direction", "up"}}));
    EXPECT_EQ(events[5], (json{{"kind", "m"}, {"name", "Scroll Wheel Down "}, {"direction", "down"}}));
    EXPECT_EQ(events[6]["direction"], "up");
    EXPECT_EQ(events[7], (json{{"kind", "k"}, {"name", " Page UP "}, {"direction", "down"}}));
    EXPECT_EQ(events[8]["name"], "Browser Backward  ");
    EXPECT_EQ(events[10]["name"], "2147483.647");
    // The profile shown keeps the list as its own copy.
    EXPECT_EQ(Shown()["profiles"][0]["macros"], macros);

    // show prints words macro add takes back.
    RunResult show = Run("macro show Reload");
    ASSERT_EQ(show.status, 0) << show.out;
    EXPECT_TRUE(Contains(show.out, "down:R\nwait:0.050\nup:R\npress:Left\nrelease:Left\npress:WheelDown\n"
                                   "release:WheelDown\ndown:Page UP\npress:Back\nrelease:Back\nwait:2147483.647\n"))
        << show.out;
    RunResult list = Run("macro list");
    EXPECT_TRUE(Contains(list.out, "1 \"Reload\" (11 events)\n2 \"Reload*\" (0 events)\n")) << list.out;

    RunResult renamed = Run("macro rename 'Reload*' Reload");
    EXPECT_TRUE(Contains(renamed.out, "macro 2 \"Reload*\"")) << renamed.out;
    ASSERT_EQ(Run("macro rename 'Reload*' Jump").status, 0);

    // Button 2 plays Jump (macro 2); deleting Reload makes it macro 1.
    Load(R"({"profiles":[{"profile":1,"buttons":[{},{"function":15,"param":2,"playMode":1}]}]})");
    ASSERT_EQ(Run("macro add Jump down:Space up:Space").status, 0);
    ASSERT_EQ(Run("macro delete Reload").status, 0);
    json shown = Shown();
    ASSERT_EQ(shown["macros"].size(), 1u);
    EXPECT_EQ(shown["macros"][0]["name"], "Jump");
    EXPECT_EQ(shown["profiles"][0]["buttons"][1]["param"], 1);
    EXPECT_TRUE(shown["pendingChanges"].get<bool>());

    ASSERT_EQ(Run("apply").status, 0);
    RunResult dump = Run("dump");
    EXPECT_TRUE(Contains(dump.out, "button 2: Macro 1 (plays once), 2 events")) << dump.out;
    // Deleting the macro a button plays gives the button its default back.
    ASSERT_EQ(Run("macro delete Jump").status, 0);
    EXPECT_EQ(Shown()["profiles"][0]["buttons"][1]["function"], 2);
    ASSERT_EQ(Run("discard").status, 0);
    EXPECT_EQ(Shown()["macros"][0]["name"], "Jump");
    // --apply writes the change to the mouse at once; nothing stays pending.
    RunResult applied = Run("macro add Jump down:A --apply");
    ASSERT_EQ(applied.status, 0) << applied.out;
    EXPECT_FALSE(fs::exists(pending));
    EXPECT_TRUE(Contains(Run("dump").out, "button 2: Macro 1 (plays once), 3 events"));
}

TEST_F(MacroCommands, TenMacrosAndTwoHundredFiftySixEvents)
{
    for (int k = 1; k <= 10; ++k)
        ASSERT_EQ(Run("macro new m" + std::to_string(k)).status, 0);
    std::string many;
    for (int i = 0; i < 127; ++i)
        many += " click:Right";
    ASSERT_EQ(Run("macro add m1" + many + " wait:1").status, 0);  // 255 events
    const std::string before = ReadAll(pending);

    RunResult eleventh = Run("macro new m11");
    EXPECT_EQ(eleventh.status, 1);
    EXPECT_TRUE(Contains(eleventh.out, "neritctl: a profile keeps at most 10 macros; delete one first"))
        << eleventh.out;
    // A click is two events: the macro would hold 257, and gets neither.
    RunResult full = Run("macro add m1 click:Left");
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(Contains(full.out, "macro \"m1\" has 255 events; 2 more would pass the limit of 256 events"))
        << full.out;
    EXPECT_EQ(ReadAll(pending), before);

    ASSERT_EQ(Run("macro add m1 down:Esc").status, 0);
    EXPECT_EQ(Shown()["macros"][0]["events"].size(), 256u);
    EXPECT_EQ(Run("macro add m1 up:Esc").status, 1);
}

TEST_F(MacroCommands, BadWordsAreUsageErrorsAndChangeNothing)
{
    ASSERT_EQ(Run("macro new m").status, 0);
    const std::string before = ReadAll(pending);
    const char* bad[] = {"down:", "A", "down:NoSuchKey", "click:Up", "wheel:left", "wait:0", "wait:0.0005",
                         "wait:1.2345", "wait:-1", "wait:2147483.648", "wait: 1", "wait:1e3", "hop:A", "press:Middl"};
    for (const char* word : bad) {
        RunResult result = Run(std::string("macro add m down:A '") + word + "'");
        EXPECT_EQ(result.status, 2) << word << ": " << result.out;
        EXPECT_TRUE(Contains(result.out, std::string("neritctl: bad event \"") + word + "\"")) << result.out;
    }
    EXPECT_EQ(Run("macro new ''").status, 2);
    EXPECT_EQ(Run("macro new '   '").status, 2);
    EXPECT_TRUE(Contains(Run("macro export ''").out, "an empty file name"));
    EXPECT_EQ(Run("macro import " + dir.string() + "/").status, 2);
    EXPECT_EQ(Run("macro rename m " + std::string(256, 'x')).status, 2);
    // Names the store could not give back as they were typed.
    EXPECT_TRUE(Contains(Run("macro new \"$(printf 'nl\\nx')\"").out, "control characters"));
    EXPECT_TRUE(Contains(Run("macro rename m \"$(printf 'bad\\377')\"").out, "UTF-8"));
    EXPECT_EQ(Run("macro show nope").status, 1);
    EXPECT_EQ(Run("macro delete nope").status, 1);
    EXPECT_EQ(Run("macro frobnicate").status, 2);
    EXPECT_EQ(ReadAll(pending), before);
    EXPECT_TRUE(Contains(Run("macro add --help").out, "Example: neritctl macro add")) << Run("macro add --help").out;
}

TEST_F(MacroCommands, ImportAndExportAliasTheMacroListCommands)
{
    ASSERT_EQ(Run("macro new Kept").status, 0);
    ASSERT_EQ(Run("macro add Kept down:B up:B").status, 0);
    ASSERT_EQ(Run("macro export " + (dir / "list").string()).status, 0);
    ASSERT_TRUE(fs::exists(dir / "list.vqm"));
    ASSERT_EQ(Run("macro delete Kept").status, 0);
    ASSERT_EQ(Run("macro import " + (dir / "list").string()).status, 0);
    const json macros = Shown()["macros"];
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros[0]["events"].size(), 2u);
}

// Another profile's macros are edited in place; the shown profile's list
// stays the working list.
TEST_F(MacroCommands, ProfileOptionEditsThatProfilesList)
{
    ASSERT_EQ(Run("macro new Shown").status, 0);
    ASSERT_EQ(Run("macro --profile 3 new Reload").status, 0);
    ASSERT_EQ(Run("macro add --profile 3 Reload down:R up:R").status, 0);
    RunResult assigned = Run("button --profile 3 6 macro Reload --play repeat 3 --apply");
    ASSERT_EQ(assigned.status, 0) << assigned.out;
    const json shown = Shown();
    ASSERT_EQ(shown["macros"].size(), 1u);
    EXPECT_EQ(shown["macros"][0]["name"], "Shown");
    EXPECT_EQ(shown["profiles"][2]["macros"][0]["name"], "Reload");
    EXPECT_EQ(shown["profiles"][2]["macros"][0]["events"].size(), 2u);
    EXPECT_TRUE(Contains(Run("macro --profile 3 list").out, "1 \"Reload\" (2 events)"));
    EXPECT_TRUE(Contains(Run("dump").out, "button 6: Macro 1 (plays 3 times), 2 events")) << Run("dump").out;
    // Deleting it there gives profile 3's button its default back, not the
    // shown profile's.
    ASSERT_EQ(Run("macro --profile 3 delete Reload").status, 0);
    EXPECT_EQ(Shown()["profiles"][2]["buttons"][5]["function"], Shown()["profiles"][0]["buttons"][5]["function"]);
    EXPECT_EQ(Run("macro --profile 2 export " + (dir / "x.vqm").string()).status, 2);
}

// What the mouse keeps of macros (80 events, rounded delays, only those a
// button plays, no names) does not replace the host's own copy when the
// profiles are read again, in this or another process.
TEST_F(MacroCommands, APullAfterApplyKeepsEveryEventDelayAndName)
{
    std::string events;
    for (int k = 0; k < 85; ++k)
        events += " down:a wait:0.027 up:a";
    ASSERT_EQ(Run("macro new GG").status, 0);
    ASSERT_EQ(Run("macro new Spare").status, 0);
    ASSERT_EQ(Run("macro add GG" + events).status, 0);
    ASSERT_EQ(Run("button 6 macro GG").status, 0);
    const RunResult applied = Run("apply");
    ASSERT_EQ(applied.status, 0) << applied.out;
    const json before = Shown()["profiles"];

    const RunResult pulled = Run("pull");
    ASSERT_EQ(pulled.status, 0) << pulled.out;
    EXPECT_FALSE(Contains(pulled.out, "Changed elsewhere")) << pulled.out;
    const json after = Shown();
    EXPECT_EQ(after["profiles"], before);
    ASSERT_EQ(after["macros"].size(), 2u);
    EXPECT_EQ(after["macros"][0]["name"], "GG");
    EXPECT_EQ(after["macros"][0]["events"].size(), 255u);
    EXPECT_EQ(after["macros"][0]["events"][1]["name"], "0.027");
    EXPECT_EQ(after["macros"][1]["name"], "Spare");
}

}  // namespace
