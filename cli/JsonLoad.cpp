#include "cli/JsonLoad.h"

#include "cli/ArgumentWords.h"
#include "cli/MacroEventText.h"
#include "cli/MessageText.h"
#include "cli/TerminalText.h"
#include "settings/ButtonFunctions.h"
#include "settings/ButtonRules.h"
#include "settings/CommandMessages.h"
#include "settings/LaserStages.h"
#include "settings/PerformanceValues.h"
#include "settings/SettingsFileCheck.h"
#include "settings/WorkingMacros.h"

#include <cstring>
#include <limits>
#include <set>
#include <vector>

namespace cli {
namespace {

using nlohmann::json;
using settings::SettingsFileCheck;
namespace prof = settings::layout::profile;

// Deeper than any file show --json prints; deeper nesting is refused while
// parsing, before anything walks it.
constexpr int kMaxJsonDepth = 16;
constexpr int32_t kDpiUnit = 400;  // the mouse keeps optical and HDST DPI in units of 400
constexpr size_t kShownButtons = 7;
constexpr int kMaxMacros = settings::kProfileCopySlots;

// Thrown inside one load only, to stop at the first refused key.
struct Refused {
    std::string text;
};

// Field rules: the check and the words that say what it allows.
struct IntRule {
    bool (*valid)(int32_t);
    const char* allowed;
};

// What the window lets a user change a value to. A value left as the store
// holds it passes on the record's own rule, so any store loads back.
struct ChangeRule {
    IntRule stored;
    IntRule changed;
};

bool AnyInt(int32_t) { return true; }
bool PowerSaveChoice(int32_t s) { return settings::IsChoice(settings::kPowerSaveSeconds, s); }
bool AmbientChoice(int32_t s) { return settings::IsChoice(settings::kAmbientLightSeconds, s); }
bool InLevel(const settings::LevelSetting& level, int32_t v) { return v >= level.Lowest() && v <= level.Highest(); }
bool ScrollLevel(int32_t v) { return InLevel(settings::kScrollSpeedLevel, v); }
bool DoubleClickLevel(int32_t v) { return InLevel(settings::kDoubleClickLevel, v); }
bool PointerLevel(int32_t v) { return InLevel(settings::kPointerSpeedLevel, v); }
bool LiftOffLevel(int32_t v) { return InLevel(settings::kLiftOffLevel, v); }
bool AngleLevel(int32_t v) { return InLevel(settings::kAngleSnappingLevel, v); }
bool SensorDpi(int32_t dpi) { return dpi >= 0 && dpi <= 255 * kDpiUnit && dpi % kDpiUnit == 0; }
// A read from the mouse leaves laser X at 0: the mouse keeps the stage's index only.
bool LaserXOrUnread(int32_t x) { return x == 0 || settings::IsLaserX(x); }
bool ValidProfileNumber(int32_t n) { return n >= 1 && n <= static_cast<int32_t>(settings::layout::store::kProfileCount); }

constexpr IntRule kRate{SettingsFileCheck::ValidRate, "is not one of 125, 250, 500, 1000"};
constexpr IntRule kByte{SettingsFileCheck::ValidByte, "is not within 0..255"};
constexpr IntRule kLevel{SettingsFileCheck::ValidLevel, "is not within 0..10"};
constexpr IntRule kStageIndex{SettingsFileCheck::ValidStageIndex, "is not within 0..9"};
constexpr IntRule kFunction{SettingsFileCheck::ValidFunction, "is not within 0..17"};
constexpr IntRule kPlayMode{SettingsFileCheck::ValidPlayMode, "is not within 0..99, nor 241 or 242"};
constexpr IntRule kMacroNumber{SettingsFileCheck::ValidMacroNumber, "is not within 0..15"};
constexpr IntRule kProfileNumber{ValidProfileNumber, "is not within 1..5"};
constexpr IntRule kAny{AnyInt, ""};
constexpr IntRule kSensorDpi{SensorDpi, "is not a multiple of 400 within 0..102000"};
constexpr IntRule kLaserX{LaserXOrUnread, "is neither 0 nor within 90..6030 in steps of 45"};

constexpr ChangeRule Same(IntRule rule) { return {rule, rule}; }

// The profile's plain i32 fields, by key.
struct ProfileIntKey {
    const char* key;
    settings::Field<int32_t> field;
    ChangeRule rule;
};

constexpr ProfileIntKey kProfileInts[] = {
    {"reportRate", prof::kReportRate, Same(kRate)},
    {"powerSave", prof::kPowerSave, {kByte, {PowerSaveChoice, "is not one of 0, 60, 120"}}},
    {"ambientLight", prof::kAmbientLight, {kByte, {AmbientChoice, "is not one of 0, 20, 60"}}},
    {"scrollSpeed", prof::kScrollSpeed, {kLevel, {ScrollLevel, "is not within 1..10"}}},
    {"doubleClickSpeed", prof::kDoubleClickSpeed, {kLevel, {DoubleClickLevel, "is not within 0..10"}}},
    {"pointerAcceleration", prof::kPointerAcceleration, {kLevel, {PointerLevel, "is not within 0..10"}}},
    {"liftOffDistance", prof::kLiftOffDistance, {kLevel, {LiftOffLevel, "is not within 0..10"}}},
    {"angleSnapping", prof::kAngleSnapping, {kLevel, {AngleLevel, "is not within 0..10"}}},
};

// A refusal that reports the first duplicate key or the nesting limit while
// parsing; nlohmann's own errors come as json::parse_error.
struct ParseRefused {
    std::string text;
};

// Refuses duplicate keys (the last would silently win) and deep nesting.
class ParseGuard {
public:
    bool operator()(int depth, json::parse_event_t event, json& parsed)
    {
        if (depth > kMaxJsonDepth)
            throw ParseRefused{"nested deeper than " + std::to_string(kMaxJsonDepth) + " levels"};
        switch (event) {
        case json::parse_event_t::object_start:
            keys_.emplace_back();
            break;
        case json::parse_event_t::object_end:
            if (!keys_.empty())
                keys_.pop_back();
            break;
        case json::parse_event_t::key:
            if (!keys_.empty() && !keys_.back().insert(parsed.get<std::string>()).second)
                throw ParseRefused{"key " + Quoted(parsed.get<std::string>()) + " given twice"};
            break;
        default:
            break;
        }
        return true;
    }

private:
    std::vector<std::set<std::string>> keys_;
};

class Loader {
public:
    Loader(settings::SettingsStore& store, const settings::SettingsStore& before, int shown)
        : store_(store), before_(before), shown_(shown)
    {
    }

    // The keys of `top`, then what follows from them: the working list and
    // the shown profile's macro copy kept one list, and the buttons of every
    // profile given checked as the window checks an assignment.
    void Load(const json& top)
    {
        Top(top);
        if (workingMacrosGiven_)
            settings::StoreWorkingMacros(store_, shown_);
        else if (shownMacrosGiven_)
            settings::LoadWorkingMacros(store_, shown_);
        for (const auto& [index, path] : profilesGiven_)
            CheckButtons(index, path);
    }

private:
    void Top(const json& top)
    {
        Expect(top, json::value_t::object, "the settings", "an object");
        for (const auto& [key, value] : top.items()) {
            const std::string path = key;
            if (key == "currentProfile")
                store_.SetCurrentProfile(Int(value, path, kProfileNumber));
            else if (key == "ledOn")
                store_.SetLedOn(Bool(value, path));
            else if (key == "appVersion" || key == "firmwareVersion")
                Text(value, path, 0);  // read from the program and the mouse, not set
            else if (key == "pendingChanges")
                Bool(value, path);
            else if (key == "profiles")
                Profiles(value, path);
            else if (key == "macros")
                WorkingMacros(value, path);
            else
                Unknown(path);
        }
    }

    [[noreturn]] static void Refuse(const std::string& path, const std::string& text)
    {
        throw Refused{path + ": " + text};
    }
    [[noreturn]] static void Unknown(const std::string& path) { Refuse(path, "unknown key"); }

    static std::string Shown(const json& value)
    {
        std::string text = value.dump(-1, ' ', false, json::error_handler_t::replace);
        return EscapeControls(text.size() > 40 ? text.substr(0, 40) + "..." : text);
    }

    static void Expect(const json& value, json::value_t type, const std::string& path, const char* what)
    {
        if (value.type() != type && !(type == json::value_t::number_integer && value.is_number_unsigned()))
            Refuse(path, Shown(value) + " is not " + what);
    }

    static int32_t Int(const json& value, const std::string& path, const IntRule& rule)
    {
        if (!value.is_number_integer())
            Refuse(path, Shown(value) + " is not a whole number");
        const bool fits = value.is_number_unsigned()
                            ? value.get<uint64_t>() <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max())
                            : value.get<int64_t>() >= std::numeric_limits<int32_t>::min() &&
                                  value.get<int64_t>() <= std::numeric_limits<int32_t>::max();
        if (!fits)
            Refuse(path, Shown(value) + " is not a 32-bit number");
        const auto number = static_cast<int32_t>(value.get<int64_t>());
        if (!rule.valid(number))
            Refuse(path, Shown(value) + " " + rule.allowed);
        return number;
    }

    // A value the store already holds passes on the record's rule; a new one
    // must be one the window offers.
    static int32_t Changed(const json& value, const std::string& path, const ChangeRule& rule, int32_t current)
    {
        const int32_t number = Int(value, path, rule.stored);
        if (number != current && !rule.changed.valid(number))
            Refuse(path, Shown(value) + " " + rule.changed.allowed);
        return number;
    }

    static bool Bool(const json& value, const std::string& path)
    {
        if (!value.is_boolean())
            Refuse(path, Shown(value) + " is not true or false");
        return value.get<bool>();
    }

    // A text of at most `fieldSize` - 1 bytes (0: any length, not stored).
    static std::string Text(const json& value, const std::string& path, size_t fieldSize)
    {
        if (!value.is_string())
            Refuse(path, Shown(value) + " is not a text");
        const std::string text = value.get<std::string>();
        if (fieldSize != 0 && text.size() >= fieldSize)
            Refuse(path, "longer than " + std::to_string(fieldSize - 1) + " bytes");
        if (std::memchr(text.data(), '\0', text.size()) != nullptr)
            Refuse(path, "holds a NUL character");
        return text;
    }

    static std::string Name(const json& value, const std::string& path, size_t fieldSize, const std::string& current)
    {
        const std::string name = Text(value, path, fieldSize);
        if (name != current) {
            if (const std::string problem = NameProblem(name, fieldSize); !problem.empty())
                Refuse(path, problem);
        }
        return name;
    }

    static const json& Array(const json& value, const std::string& path, size_t most)
    {
        Expect(value, json::value_t::array, path, "an array");
        if (value.size() > most)
            Refuse(path, std::to_string(value.size()) + " entries, at most " + std::to_string(most));
        return value;
    }

    void Profiles(const json& list, const std::string& path)
    {
        Array(list, path, settings::layout::store::kProfileCount);
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string at = path + "[" + std::to_string(i) + "]";
            Expect(list[i], json::value_t::object, at, "an object");
            if (!list[i].contains("profile"))
                Refuse(at, "no \"profile\" number saying which profile it is");
            const int32_t number = Int(list[i]["profile"], at + ".profile", kProfileNumber);
            const int index = number - 1;
            for (const auto& given : profilesGiven_) {
                if (given.first == index)
                    Refuse(at + ".profile", "profile " + std::to_string(number) + " is given twice");
            }
            profilesGiven_.emplace_back(index, at);
            Profile(list[i], at, index);
        }
    }

    void Profile(const json& object, const std::string& path, int index)
    {
        settings::ProfileSettings profile = store_.Profile(static_cast<size_t>(index));
        for (const auto& [key, value] : object.items()) {
            const std::string at = path + "." + key;
            if (key == "profile")
                continue;
            if (key == "name")
                profile.SetName(Name(value, at, prof::kName.size, profile.Name()));
            else if (key == "inUse")
                profile.Set(prof::kInUse, uint8_t{Bool(value, at) ? uint8_t{1} : uint8_t{0}});
            else if (key == "stages")
                Stages(value, at, profile);
            else if (key == "buttons")
                Buttons(value, at, profile);
            else if (key == "macros")
                ProfileMacros(value, at, index);
            else if (!ProfileInt(key, value, at, profile))
                Unknown(at);
        }
    }

    static bool ProfileInt(const std::string& key, const json& value, const std::string& path,
                           settings::ProfileSettings profile)
    {
        for (const ProfileIntKey& entry : kProfileInts) {
            if (key == entry.key) {
                profile.Set(entry.field, Changed(value, path, entry.rule, profile.Get(entry.field)));
                return true;
            }
        }
        return false;
    }

    static void Stages(const json& list, const std::string& path, settings::ProfileSettings profile)
    {
        Array(list, path, prof::kStages);
        for (size_t k = 0; k < list.size(); ++k) {
            const std::string at = path + "[" + std::to_string(k) + "]";
            Expect(list[k], json::value_t::object, at, "an object");
            for (const auto& [key, value] : list[k].items()) {
                const std::string field = at + "." + key;
                if (key == "optical")
                    profile.Set(prof::kOpticalDpi, k,
                                Changed(value, field, {kAny, kSensorDpi}, profile.Get(prof::kOpticalDpi, k)));
                else if (key == "hdst")
                    profile.Set(prof::kHdstDpi, k,
                                Changed(value, field, {kAny, kSensorDpi}, profile.Get(prof::kHdstDpi, k)));
                else if (key == "laserX")
                    profile.Set(prof::kLaserLevels, 2 * k,
                                Changed(value, field, {kAny, kLaserX}, profile.Get(prof::kLaserLevels, 2 * k)));
                else if (key == "laserIndex")
                    profile.Set(prof::kLaserLevels, 2 * k + 1, Int(value, field, kStageIndex));
                else if (key != "dpi")
                    Unknown(field);
            }
            if (list[k].contains("dpi"))
                StageDpi(list[k], at + ".dpi", profile, k);
        }
    }

    // dpi names the stage index when laserIndex is not given, and must agree
    // with it when it is.
    static void StageDpi(const json& stage, const std::string& path, settings::ProfileSettings profile, size_t k)
    {
        const int32_t dpi = Int(stage["dpi"], path, kAny);
        if (stage.contains("laserIndex")) {
            const int32_t index = profile.Get(prof::kLaserLevels, 2 * k + 1);
            if (settings::LaserStageDpi(index) != dpi)
                Refuse(path, std::to_string(dpi) + " is not the DPI of laserIndex " + std::to_string(index) + " (" +
                                 std::to_string(settings::LaserStageDpi(index)) + ")");
            return;
        }
        std::string allowed;
        for (size_t index = 0; index < settings::kLaserStageDpi.size(); ++index) {
            if (settings::kLaserStageDpi[index] == dpi) {
                profile.Set(prof::kLaserLevels, 2 * k + 1, static_cast<int32_t>(index));
                return;
            }
            allowed += (allowed.empty() ? "" : ", ") + std::to_string(settings::kLaserStageDpi[index]);
        }
        Refuse(path, std::to_string(dpi) + " is not one of " + allowed);
    }

    static void Buttons(const json& list, const std::string& path, settings::ProfileSettings profile)
    {
        Array(list, path, kShownButtons);
        for (size_t b = 0; b < list.size(); ++b) {
            const std::string at = path + "[" + std::to_string(b) + "]";
            Expect(list[b], json::value_t::object, at, "an object");
            for (const auto& [key, value] : list[b].items()) {
                const std::string field = at + "." + key;
                if (key == "function")
                    profile.Set(prof::kButtonFunction, b, Int(value, field, kFunction));
                else if (key == "param")
                    profile.Set(prof::kButtonParam, b, Int(value, field, kAny));
                else if (key == "playMode")
                    profile.Set(prof::kMacroPlayMode, b, Int(value, field, kPlayMode));
                else if (key == "text")
                    Text(value, field, 0);  // made from the function and its parameter
                else
                    Unknown(field);
            }
            const int32_t code = profile.Get(prof::kButtonFunction, b);
            const int32_t param = profile.Get(prof::kButtonParam, b);
            if (!SettingsFileCheck::ValidParameter(code, param))
                Refuse(at + ".param", std::to_string(param) + " is no parameter of function " + std::to_string(code));
        }
    }

    // `before` is the macro the slot held: its name and events load back as
    // they are; new ones must be ones the window could make.
    static void Macro(const json& object, const std::string& path, settings::MacroRecord macro,
                      const settings::MacroRecord& before)
    {
        Expect(object, json::value_t::object, path, "an object");
        macro.Clear();
        for (const auto& [key, value] : object.items()) {
            const std::string at = path + "." + key;
            if (key == "number")
                macro.SetNumber(Int(value, at, kMacroNumber));
            else if (key == "name")
                macro.SetName(Name(value, at, settings::layout::macro::kName.size, before.Name()));
            else if (key == "events")
                Events(value, at, macro, before);
            else
                Unknown(at);
        }
    }

    static void Events(const json& list, const std::string& path, settings::MacroRecord macro,
                       const settings::MacroRecord& before)
    {
        namespace ev = settings::layout::event;
        Array(list, path, settings::layout::macro::kEventCapacity);
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string at = path + "[" + std::to_string(i) + "]";
            Expect(list[i], json::value_t::object, at, "an object");
            std::string texts[3];
            for (const auto& [key, value] : list[i].items()) {
                const std::string field = at + "." + key;
                if (key == "kind")
                    texts[0] = Text(value, field, ev::kKind.size);
                else if (key == "name")
                    texts[1] = Text(value, field, ev::kName.size);
                else if (key == "direction")
                    texts[2] = Text(value, field, ev::kDirection.size);
                else
                    Unknown(field);
            }
            if (!MacroEventText::Known({texts[0], texts[1], texts[2]}) && !SameEvent(before, i, texts))
                Refuse(at, "not a key or button pressed or released, nor a wait of 1 ms to 2147483.647 s");
            macro.AddEvent(texts[0], texts[1], texts[2]);
        }
    }

    static bool SameEvent(const settings::MacroRecord& before, size_t i, const std::string (&texts)[3])
    {
        if (i >= static_cast<size_t>(before.EventCount()))
            return false;
        const settings::MacroEvent event = before.Event(i);
        return event.Kind() == texts[0] && event.Name() == texts[1] && event.Direction() == texts[2];
    }

    void ProfileMacros(const json& list, const std::string& path, int index)
    {
        settings::ProfileSettings profile = store_.Profile(static_cast<size_t>(index));
        const settings::ProfileSettings before = before_.Profile(static_cast<size_t>(index));
        Array(list, path, kMaxMacros);
        for (size_t k = 0; k < prof::kMacroSlots; ++k)
            profile.Macro(k).Clear();
        for (size_t k = 0; k < list.size(); ++k)
            Macro(list[k], path + "[" + std::to_string(k) + "]", profile.Macro(k), before.Macro(k));
        profile.Set(prof::kMacroCount, static_cast<int32_t>(list.size()));
        shownMacrosGiven_ = shownMacrosGiven_ || index == shown_;
    }

    void WorkingMacros(const json& list, const std::string& path)
    {
        Array(list, path, kMaxMacros);
        for (size_t k = 0; k < settings::layout::store::kWorkingSlots; ++k)
            store_.WorkingMacro(k).Clear();
        for (size_t k = 0; k < list.size(); ++k)
            Macro(list[k], path + "[" + std::to_string(k) + "]", store_.WorkingMacro(k), before_.WorkingMacro(k));
        store_.SetWorkingMacroCount(static_cast<int32_t>(list.size()));
        workingMacrosGiven_ = true;
    }

    // A button changed from what the store held must be one the window's
    // assignment could give: button 4 stays Profile Select, a macro button
    // plays one of the profile's macros in a play mode, and the last left
    // click stays.
    void CheckButtons(int index, const std::string& path)
    {
        const settings::ProfileSettings profile = store_.Profile(static_cast<size_t>(index));
        const settings::ProfileSettings before = before_.Profile(static_cast<size_t>(index));
        for (size_t b = 0; b < kShownButtons; ++b) {
            const bool changed = profile.Get(prof::kButtonFunction, b) != before.Get(prof::kButtonFunction, b)
                              || profile.Get(prof::kButtonParam, b) != before.Get(prof::kButtonParam, b)
                              || profile.Get(prof::kMacroPlayMode, b) != before.Get(prof::kMacroPlayMode, b);
            if (changed)
                CheckButton(profile, b, path + ".buttons[" + std::to_string(b) + "]");
        }
        if (settings::LeftClickCount(profile) == 0 && settings::LeftClickCount(before) > 0)
            Refuse(path + ".buttons", settings::OneLine(settings::MessageText(settings::CommandMessage::LeftClickNeeded, 0)));
    }

    static void CheckButton(const settings::ProfileSettings& profile, size_t b, const std::string& path)
    {
        if (b == static_cast<size_t>(settings::kFixedButton))
            Refuse(path, "button 4 always sends Profile Select");
        if (profile.Get(prof::kButtonFunction, b) != settings::function::Macro)
            return;
        const int32_t number = profile.Get(prof::kButtonParam, b);
        const int macros = std::min(settings::UsedMacroCount(profile.Get(prof::kMacroCount)), kMaxMacros);
        if (number < 1 || number > macros)
            Refuse(path + ".param", "macro " + std::to_string(number) + " is not one of the profile's "
                                        + std::to_string(macros) + " macros");
        if (!settings::IsPlayMode(profile.Get(prof::kMacroPlayMode, b)))
            Refuse(path + ".playMode", std::to_string(profile.Get(prof::kMacroPlayMode, b))
                                           + " is not within 1..99, nor 241 or 242");
    }

    settings::SettingsStore& store_;
    const settings::SettingsStore& before_;
    int shown_;
    bool workingMacrosGiven_ = false;
    bool shownMacrosGiven_ = false;
    std::vector<std::pair<int, std::string>> profilesGiven_;
};

}  // namespace

bool JsonLoad::Parse(const std::vector<uint8_t>& bytes, json& parsed, std::string& error)
{
    try {
        parsed = json::parse(bytes.begin(), bytes.end(), ParseGuard());
        return true;
    } catch (const ParseRefused& refused) {
        error = "not read: " + refused.text;
    } catch (const json::exception& failure) {
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..."
        std::string text = failure.what();
        const size_t at = text.find(" at line ");
        error = "not JSON:" + EscapeControls(at == std::string::npos ? " " + text : text.substr(at));
    }
    return false;
}

bool JsonLoad::Apply(settings::SettingsStore& store, const json& json, int shown, std::string& error)
{
    // The keys are applied to a copy, which replaces the store only when
    // every key was taken.
    settings::SettingsStore copy;
    std::memcpy(copy.Bytes(), store.Bytes(), settings::SettingsStore::Size());
    try {
        Loader(copy, store, shown).Load(json);
    } catch (const Refused& refused) {
        error = refused.text;
        return false;
    }
    std::memcpy(store.Bytes(), copy.Bytes(), settings::SettingsStore::Size());
    return true;
}

bool JsonLoad::LoadFile(SettingsSession& settings, const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (settings.Files().ReadFile(path, kMaxBytes + 1, bytes) != platform::ReadResult::Ok) {
        error = FileText(path, FileErrorText(settings.Files().LastError()));
        return false;
    }
    return LoadBytes(settings, path, bytes, error);
}

bool JsonLoad::LoadBytes(SettingsSession& settings, const std::string& name, const std::vector<uint8_t>& bytes,
                         std::string& error)
{
    json parsed;
    if (bytes.size() > kMaxBytes)
        error = "larger than 64 MB";
    else if (Parse(bytes, parsed, error) && Apply(settings.Store(), parsed, settings.ShownIndex(), error))
        return true;
    error = FileText(name, error);
    return false;
}

}  // namespace cli
