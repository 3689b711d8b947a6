// neritctl load-json: what show --json prints loads back to the same
// settings, and a refused file changes nothing.
#include "CliTestSupport.h"
#include "cli/JsonLoad.h"
#include "settings/ButtonFunctions.h"
#include "settings/ButtonRules.h"
#include "settings/MacroEvent.h"
#include "settings/MacroText.h"
#include "settings/KeyNameTable.h"
#include "settings/LaserStages.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <random>

namespace {

using namespace clitest;
namespace fs = std::filesystem;
using nlohmann::json;

// One data folder and its simulated mouse.
struct Folder {
    fs::path dir;

    RunResult Run(const std::string& args) const { return NeritctlIn(dir, args); }
    json Shown() const
    {
        const RunResult shown = Run("show --json");
        EXPECT_EQ(shown.status, 0) << shown.out;
        const size_t start = shown.out.find("\n{");
        return json::parse(shown.out.substr(start == std::string::npos ? 0 : start + 1));
    }
    RunResult Load(const json& settings, const std::string& name = "in.json") const
    {
        std::ofstream(dir / name) << settings.dump(2);
        return Run("load-json " + (dir / name).string());
    }
    std::string Pending() const { return ReadAll(dir / "data/profile/PendingChanges"); }
};

// A data folder of its own inside the test's folder.
Folder MadeFolder(const fs::path& dir)
{
    fs::create_directories(dir);
    return Folder{dir};
}

// Random valid settings, the same for every run.
class RandomSettings {
public:
    explicit RandomSettings(uint32_t seed) : random_(seed) {}

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::string Name(int most)
    {
        std::string name;
        for (int n = Int(0, most); n > 0; --n)
            name += static_cast<char>(Int(' ', '~'));
        return name;
    }
    // Events of every kind the window makes: keys, buttons, waits.
    json Event()
    {
        const char* direction = Int(0, 1) ? settings::kDirectionDown : settings::kDirectionUp;
        switch (Int(0, 2)) {
        case 0: {
            const auto keys = settings::KeyNames();
            return {{"kind", settings::kKindKey}, {"name", keys[static_cast<size_t>(Int(0, static_cast<int>(keys.size()) - 1))].name},
                    {"direction", direction}};
        }
        case 1:
            return {{"kind", settings::kKindMouse},
                    {"name", settings::ProgramMouseName(static_cast<settings::MouseAction>(Int(0, 2)))},
                    {"direction", direction}};
        default:
            return {{"kind", settings::kKindDelay}, {"name", settings::DelayText(static_cast<uint32_t>(Int(1, 90000)))},
                    {"direction", ""}};
        }
    }
    json Macro(int number)
    {
        json events = json::array();
        for (int n = Int(0, 12); n > 0; --n)
            events.push_back(Event());
        return {{"number", number}, {"name", Name(30)}, {"events", events}};
    }
    json Macros()
    {
        json macros = json::array();
        for (int k = Int(0, 10); k > 0; --k)
            macros.push_back(Macro(static_cast<int>(macros.size()) + 1));
        return macros;
    }
    // Button 4 keeps Profile Select; a macro button plays one of the
    // profile's macros.
    json Button(int b, int macros)
    {
        if (b == settings::kFixedButton)
            return {{"function", settings::function::ProfileSelect}, {"param", 0}, {"playMode", 0}};
        int function = b == 0 ? settings::function::LeftClick : Int(0, settings::function::Disable);
        if (function == settings::function::Macro && macros == 0)
            function = settings::function::Disable;
        int param = Int(0, 0xFFFF);
        if (function == settings::function::Macro)
            param = Int(1, macros);
        if (function == settings::function::SingleKey) {
            const auto keys = settings::KeyNames();
            param = keys[static_cast<size_t>(Int(0, static_cast<int>(keys.size()) - 1))].virtualKey + 256 * Int(0, 15);
        }
        const int mode = Int(1, 101);
        return {{"function", function}, {"param", param}, {"playMode", mode <= 99 ? mode : 241 + mode - 100}};
    }
    json Profile(int number)
    {
        static const int rates[] = {125, 250, 500, 1000};
        json stages = json::array();
        for (int k = 0; k < 4; ++k) {
            const int index = Int(0, 9);
            stages.push_back({{"dpi", settings::kLaserStageDpi[static_cast<size_t>(index)]},
                              {"optical", 400 * Int(0, 255)}, {"hdst", 400 * Int(0, 255)},
                              {"laserX", 90 + 45 * Int(0, 132)},
                              {"laserIndex", index}});
        }
        static const int powerSave[] = {0, 60, 120};
        static const int ambient[] = {0, 20, 60};
        const json macros = Macros();
        json buttons = json::array();
        for (int b = 0; b < 7; ++b)
            buttons.push_back(Button(b, static_cast<int>(macros.size())));
        return {{"profile", number},     {"name", Name(40)},          {"inUse", Int(0, 1) == 1},
                {"reportRate", rates[Int(0, 3)]}, {"powerSave", powerSave[Int(0, 2)]}, {"ambientLight", ambient[Int(0, 2)]},
                {"scrollSpeed", Int(1, 10)},  {"doubleClickSpeed", Int(0, 10)}, {"pointerAcceleration", Int(0, 10)},
                {"liftOffDistance", Int(0, 10)}, {"angleSnapping", Int(0, 10)}, {"stages", stages},
                {"buttons", buttons},        {"macros", macros}};
    }
    // The working list is the shown profile's (the first, in a new folder).
    json Store()
    {
        json profiles = json::array();
        for (int p = 1; p <= 5; ++p)
            profiles.push_back(Profile(p));
        const json working = profiles[0]["macros"];
        return {{"currentProfile", Int(1, 5)}, {"ledOn", Int(0, 1) == 1}, {"profiles", profiles}, {"macros", working}};
    }

private:
    std::mt19937 random_;
};

// What show --json prints beside the values loaded: texts made from them.
json WithoutDerived(json settings)
{
    for (json& profile : settings["profiles"]) {
        for (json& button : profile["buttons"])
            button.erase("text");
    }
    settings.erase("pendingChanges");
    settings.erase("appVersion");
    settings.erase("firmwareVersion");
    return settings;
}

TEST(LoadJson, WhatShowPrintsLoadsBackToTheSameStore)
{
    TempFolder temp;
    const Folder first = MadeFolder(temp.path / "first");
    const Folder second = MadeFolder(temp.path / "second");
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        const json random = RandomSettings(seed).Store();
        RunResult loaded = first.Load(random);
        ASSERT_EQ(loaded.status, 0) << loaded.out;
        const json shown = first.Shown();
        EXPECT_EQ(WithoutDerived(shown), random) << "seed " << seed;

        loaded = second.Load(shown);
        ASSERT_EQ(loaded.status, 0) << loaded.out;
        EXPECT_EQ(second.Pending(), first.Pending()) << "seed " << seed;
        EXPECT_EQ(second.Shown(), shown);
    }
    // After apply, the mouse has what was loaded.
    ASSERT_EQ(second.Run("apply").status, 0);
    EXPECT_TRUE(Contains(second.Run("dump").out, "report rate " +
                                                      std::to_string(second.Shown()["profiles"][0]["reportRate"].get<int>())));
}

TEST(LoadJson, RefusedFilesNameTheKeyAndChangeNothing)
{
    TempFolder temp;
    const Folder folder{temp.path};
    const json valid = RandomSettings(7).Store();
    ASSERT_EQ(folder.Load(valid).status, 0);
    const std::string before = folder.Pending();

    struct Case {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {R"({"profiles":[{"profile":1,"name":"kept?"},{"profile":3,"reportRate":300}]})",
         "profiles[1].reportRate: 300 is not one of 125, 250, 500, 1000"},
        {R"({"profile":[]})", "profile: unknown key"},
        {R"({"profiles":[{"profile":2,"colour":1}]})", "profiles[0].colour: unknown key"},
        {R"({"profiles":[{"profile":6}]})", "profiles[0].profile: 6 is not within 1..5"},
        {R"({"profiles":[{"name":"x"}]})", "profiles[0]: no \"profile\" number"},
        {R"({"profiles":[{"profile":1,"inUse":1}]})", "profiles[0].inUse: 1 is not true or false"},
        {R"({"profiles":[{"profile":1,"powerSave":256}]})", "profiles[0].powerSave: 256 is not within 0..255"},
        {R"({"profiles":[{"profile":1,"angleSnapping":11}]})", "profiles[0].angleSnapping: 11 is not within 0..10"},
        {R"({"profiles":[{"profile":1,"scrollSpeed":4294967297}]})", "profiles[0].scrollSpeed: 4294967297 is not a 32-bit"},
        {R"({"profiles":[{"profile":1,"stages":[{},{},{"laserIndex":10}]}]})",
         "profiles[0].stages[2].laserIndex: 10 is not within 0..9"},
        {R"({"profiles":[{"profile":1,"stages":[{"dpi":1200}]}]})", "profiles[0].stages[0].dpi: 1200 is not one of 250"},
        {R"({"profiles":[{"profile":1,"stages":[{"dpi":500,"laserIndex":0}]}]})",
         "profiles[0].stages[0].dpi: 500 is not the DPI of laserIndex 0 (250)"},
        {R"({"profiles":[{"profile":1,"stages":[{},{},{},{},{}]}]})", "profiles[0].stages: 5 entries, at most 4"},
        {R"({"profiles":[{"profile":1,"buttons":[{"function":18}]}]})",
         "profiles[0].buttons[0].function: 18 is not within 0..17"},
        {R"({"profiles":[{"profile":1,"buttons":[{"function":15,"param":0}]}]})",
         "profiles[0].buttons[0].param: 0 is no parameter of function 15"},
        {R"({"profiles":[{"profile":1,"buttons":[{"playMode":100}]}]})", "profiles[0].buttons[0].playMode: 100"},
        {R"({"macros":[{"name":"a","events":[{"kind":"k","nme":"A"}]}]})", "macros[0].events[0].nme: unknown key"},
        {R"({"macros":[{},{},{},{},{},{},{},{},{},{},{}]})", "macros: 11 entries, at most 10"},
        {R"({"currentProfile":"1"})", "currentProfile: \"1\" is not a whole number"},
        {"[1,2]", "the settings: [1,2] is not an object"},
        {"{\"profiles\": [", "not JSON: at line 1, column 15"},
        // Values the window does not offer, though the record could hold them.
        {R"({"profiles":[{"profile":1,"powerSave":30}]})", "profiles[0].powerSave: 30 is not one of 0, 60, 120"},
        {R"({"profiles":[{"profile":1,"ambientLight":255}]})", "profiles[0].ambientLight: 255 is not one of 0, 20, 60"},
        {R"({"profiles":[{"profile":1,"scrollSpeed":0}]})", "profiles[0].scrollSpeed: 0 is not within 1..10"},
        {R"({"profiles":[{"profile":1,"stages":[{"optical":-400}]}]})",
         "profiles[0].stages[0].optical: -400 is not a multiple of 400"},
        {R"({"profiles":[{"profile":1,"stages":[{},{"hdst":123}]}]})", "profiles[0].stages[1].hdst: 123 is not a multiple"},
        {R"({"profiles":[{"profile":1,"stages":[{"laserX":-1}]}]})", "profiles[0].stages[0].laserX: -1 is neither 0 nor within 90..6030"},
        {R"({"profiles":[{"profile":1,"name":"a\nb"}]})", "profiles[0].name: a name cannot hold control characters"},
        {R"({"macros":[{"name":"m","events":[{"kind":"t","name":"abc","direction":""}]}]})",
         "macros[0].events[0]: not a key or button"},
        {R"({"macros":[{"name":"m","events":[{"kind":"k","name":"A","direction":"sideways"}]}]})",
         "macros[0].events[0]: not a key or button"},
        // The assignment rules of the window.
        {R"({"profiles":[{"profile":1,"buttons":[{},{},{},{"function":7}]}]})",
         "profiles[0].buttons[3]: button 4 always sends Profile Select"},
        {R"({"profiles":[{"profile":2,"buttons":[{"function":2},{"function":2}]}]})",
         "profiles[0].buttons: At least one button is assigned to the left button!"},
        {R"({"profiles":[{"profile":2,"macros":[],"buttons":[{},{"function":15,"param":1,"playMode":1}]}]})",
         "profiles[0].buttons[1].param: macro 1 is not one of the profile's 0 macros"},
        {R"({"profiles":[{"profile":2,"macros":[{"name":"m"}],"buttons":[{},{"function":15,"param":1,"playMode":0}]}]})",
         "profiles[0].buttons[1].playMode: 0 is not within 1..99"},
        // What the parser itself refuses.
        {R"({"reportRate":1,"reportRate":2})", "key \"reportRate\" given twice"},
        {R"({"profiles":[{"profile":2},{"profile":2}]})", "profiles[1].profile: profile 2 is given twice"},
        {"{\"profiles\":[{\"profile\":1,\"name\":\"bad\xff\"}]}", "not JSON: at line 1"},
    };
    for (const Case& c : cases) {
        std::ofstream(temp.path / "bad.json") << c.json;
        const RunResult result = folder.Run("load-json " + (temp.path / "bad.json").string());
        EXPECT_EQ(result.status, 1) << c.json;
        EXPECT_TRUE(Contains(result.out, c.message)) << c.json << "\n" << result.out;
        EXPECT_EQ(folder.Pending(), before) << c.json;
    }
    // Names and events longer than their fields are refused, not cut.
    json longName = {{"profiles", {{{"profile", 1}, {"name", std::string(256, 'n')}}}}};
    RunResult result = folder.Load(longName, "long.json");
    EXPECT_TRUE(Contains(result.out, "profiles[0].name: longer than 255 bytes")) << result.out;
    json events = json::array();
    for (int i = 0; i < 257; ++i)
        events.push_back({{"kind", "t"}, {"name", "0.001"}, {"direction", ""}});
    result = folder.Load({{"macros", {{{"name", "m"}, {"events", events}}}}}, "many.json");
    EXPECT_TRUE(Contains(result.out, "macros[0].events: 257 entries, at most 256")) << result.out;
    EXPECT_EQ(folder.Pending(), before);
    EXPECT_EQ(folder.Run("load-json " + (temp.path / "missing.json").string()).status, 1);
    // Nesting far past any settings file is refused while parsing, not
    // walked (printing it for the message overflowed the stack).
    std::ofstream(temp.path / "deep.json") << "{\"currentProfile\":" << std::string(100000, '[')
                                           << std::string(100000, ']') << "}";
    result = folder.Run("load-json " + (temp.path / "deep.json").string());
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Contains(result.out, "nested deeper than")) << result.out;
    EXPECT_EQ(folder.Pending(), before);
}

// Macros loaded are the macros apply writes: the working list and the shown
// profile's copy stay one list, whichever of the two the file gives.
TEST(LoadJson, LoadedMacrosSurviveApplyAndOneProfileLoadsAlone)
{
    TempFolder temp;
    const Folder a = MadeFolder(temp.path / "a");
    const Folder b = MadeFolder(temp.path / "b");
    const json macro = {{"name", "FromJson"}, {"events", {{{"kind", "k"}, {"name", "A"}, {"direction", "down"}}}}};
    ASSERT_EQ(a.Run("macro new Xmac").status, 0);
    ASSERT_EQ(a.Run("apply").status, 0);
    ASSERT_EQ(a.Load({{"macros", {macro}}}).status, 0);
    ASSERT_EQ(a.Run("apply").status, 0);
    EXPECT_EQ(a.Shown()["macros"][0]["name"], "FromJson");
    EXPECT_EQ(a.Shown()["profiles"][0]["macros"][0]["name"], "FromJson");
    ASSERT_EQ(a.Load({{"profiles", {{{"profile", 1}, {"macros", {{{"name", "Second"}}}}}}}}).status, 0);
    EXPECT_TRUE(Contains(a.Run("macro list").out, "\"Second\""));

    // One profile's settings from store a change only that profile of b.
    ASSERT_EQ(a.Run("set --profile 2 report-rate 500").status, 0);
    const RunResult one = a.Run("show --json --profile 2");
    const json profile2 = json::parse(one.out.substr(one.out.find('{')));
    EXPECT_FALSE(profile2.contains("macros"));
    EXPECT_FALSE(profile2.contains("ledOn"));
    ASSERT_EQ(b.Run("led off").status, 0);
    ASSERT_EQ(b.Run("macro new Kept").status, 0);
    const json before = b.Shown();
    ASSERT_EQ(b.Load(profile2).status, 0);
    json after = b.Shown();
    EXPECT_EQ(after["profiles"][1]["reportRate"], 500);
    after["profiles"][1] = before["profiles"][1];
    EXPECT_EQ(after, before);
}

// Profiles read from the mouse (laser X left at 0) load into a store that
// never read them, one profile or all five.
TEST(LoadJson, ProfilesReadFromTheMouseLoadIntoAnotherStore)
{
    TempFolder temp;
    const Folder a = MadeFolder(temp.path / "a");
    const Folder b = MadeFolder(temp.path / "b");
    ASSERT_EQ(a.Run("pull").status, 0);
    const RunResult one = a.Run("show --json --profile 2");
    const json profile2 = json::parse(one.out.substr(one.out.find('{')));
    const RunResult loaded = b.Load(profile2);
    ASSERT_EQ(loaded.status, 0) << loaded.out;
    EXPECT_EQ(b.Shown()["profiles"][1], a.Shown()["profiles"][1]);
    const RunResult all = b.Load(a.Shown());
    ASSERT_EQ(all.status, 0) << all.out;
    EXPECT_EQ(b.Shown(), a.Shown());

    // "-" reads standard input, before the simulated mouse is taken: the
    // writer of the pipe may be a command on the same mouse.
    const auto command = [](const Folder& folder) {
        return std::string(NERITCTL_PATH) + " --simulate=" + (folder.dir / "mouse").string() + " --data-dir "
             + (folder.dir / "data").string();
    };
    ASSERT_EQ(a.Run("set --profile 3 report-rate 250").status, 0);
    const RunResult piped = RunShell(command(a) + " show --json --profile 3 | " + command(b) + " load-json -");
    ASSERT_EQ(piped.status, 0) << piped.out;
    EXPECT_EQ(b.Shown()["profiles"][2]["reportRate"], 250);
    const RunResult same = RunShell(command(b) + " show --json | " + command(b) + " load-json -");
    EXPECT_EQ(same.status, 0) << same.out;
    const RunResult bad = RunShell("echo '{\"x\":1}' | " + command(b) + " load-json -");
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(Contains(bad.out, "neritctl: standard input: x: unknown key")) << bad.out;
}

// A refusal late in the file leaves the store as it was, though keys before
// it were valid.
TEST(LoadJson, ARefusalLeavesTheStoreUntouched)
{
    settings::SettingsStore store;
    std::vector<uint8_t> before(store.Bytes(), store.Bytes() + settings::SettingsStore::Size());
    std::string error;
    const json refused = json::parse(R"({"ledOn":true,"macros":[{"name":"m"}],
        "profiles":[{"profile":1,"name":"new","reportRate":500},{"profile":2,"reportRate":7}]})");
    EXPECT_FALSE(cli::JsonLoad::Apply(store, refused, 0, error));
    EXPECT_EQ(error, "profiles[1].reportRate: 7 is not one of 125, 250, 500, 1000");
    EXPECT_TRUE(std::equal(before.begin(), before.end(), store.Bytes()));
    EXPECT_TRUE(cli::JsonLoad::Apply(store, refused["profiles"][0], 0, error) == false);
    EXPECT_TRUE(cli::JsonLoad::Apply(store, json::parse(R"({"profiles":[{"profile":1,"name":"new"}]})"), 0, error));
    EXPECT_EQ(store.Profile(0).Name(), "new");
}

}  // namespace
