#include "cli/JsonLoad.h"

#include "cli/MessageText.h"
#include "cli/TerminalText.h"
#include "settings/LaserStages.h"
#include "settings/SettingsFileCheck.h"
#include "settings/WorkingMacros.h"

#include <cstring>
#include <limits>

namespace cli {
namespace {

using nlohmann::json;
using settings::SettingsFileCheck;
namespace prof = settings::layout::profile;

constexpr size_t kMaxJsonBytes = 64u * 1024 * 1024;
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

bool AnyInt(int32_t) { return true; }
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

// The profile's plain i32 fields, by key.
struct ProfileIntKey {
    const char* key;
    settings::Field<int32_t> field;
    IntRule rule;
};

constexpr ProfileIntKey kProfileInts[] = {
    {"reportRate", prof::kReportRate, kRate},
    {"powerSave", prof::kPowerSave, kByte},
    {"ambientLight", prof::kAmbientLight, kByte},
    {"scrollSpeed", prof::kScrollSpeed, kLevel},
    {"doubleClickSpeed", prof::kDoubleClickSpeed, kLevel},
    {"pointerAcceleration", prof::kPointerAcceleration, kLevel},
    {"liftOffDistance", prof::kLiftOffDistance, kLevel},
    {"angleSnapping", prof::kAngleSnapping, kLevel},
};

class Loader {
public:
    explicit Loader(settings::SettingsStore& store) : store_(store) {}

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

private:
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
            Profile(list[i], at, store_.Profile(static_cast<size_t>(number - 1)));
        }
    }

    void Profile(const json& object, const std::string& path, settings::ProfileSettings profile)
    {
        for (const auto& [key, value] : object.items()) {
            const std::string at = path + "." + key;
            if (key == "profile")
                continue;
            if (key == "name")
                profile.SetName(Text(value, at, prof::kName.size));
            else if (key == "inUse")
                profile.Set(prof::kInUse, uint8_t{Bool(value, at) ? uint8_t{1} : uint8_t{0}});
            else if (key == "stages")
                Stages(value, at, profile);
            else if (key == "buttons")
                Buttons(value, at, profile);
            else if (key == "macros")
                ProfileMacros(value, at, profile);
            else if (!ProfileInt(key, value, at, profile))
                Unknown(at);
        }
    }

    static bool ProfileInt(const std::string& key, const json& value, const std::string& path,
                           settings::ProfileSettings profile)
    {
        for (const ProfileIntKey& entry : kProfileInts) {
            if (key == entry.key) {
                profile.Set(entry.field, Int(value, path, entry.rule));
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
                    profile.Set(prof::kOpticalDpi, k, Int(value, field, kAny));
                else if (key == "hdst")
                    profile.Set(prof::kHdstDpi, k, Int(value, field, kAny));
                else if (key == "laserX")
                    profile.Set(prof::kLaserLevels, 2 * k, Int(value, field, kAny));
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

    static void Macro(const json& object, const std::string& path, settings::MacroRecord macro)
    {
        Expect(object, json::value_t::object, path, "an object");
        macro.Clear();
        for (const auto& [key, value] : object.items()) {
            const std::string at = path + "." + key;
            if (key == "number")
                macro.SetNumber(Int(value, at, kMacroNumber));
            else if (key == "name")
                macro.SetName(Text(value, at, settings::layout::macro::kName.size));
            else if (key == "events")
                Events(value, at, macro);
            else
                Unknown(at);
        }
    }

    static void Events(const json& list, const std::string& path, settings::MacroRecord macro)
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
            macro.AddEvent(texts[0], texts[1], texts[2]);
        }
    }

    static void ProfileMacros(const json& list, const std::string& path, settings::ProfileSettings profile)
    {
        Array(list, path, kMaxMacros);
        for (size_t k = 0; k < prof::kMacroSlots; ++k)
            profile.Macro(k).Clear();
        for (size_t k = 0; k < list.size(); ++k)
            Macro(list[k], path + "[" + std::to_string(k) + "]", profile.Macro(k));
        profile.Set(prof::kMacroCount, static_cast<int32_t>(list.size()));
    }

    void WorkingMacros(const json& list, const std::string& path)
    {
        Array(list, path, kMaxMacros);
        for (size_t k = 0; k < settings::layout::store::kWorkingSlots; ++k)
            store_.WorkingMacro(k).Clear();
        for (size_t k = 0; k < list.size(); ++k)
            Macro(list[k], path + "[" + std::to_string(k) + "]", store_.WorkingMacro(k));
        store_.SetWorkingMacroCount(static_cast<int32_t>(list.size()));
    }

    settings::SettingsStore& store_;
};

}  // namespace

bool JsonLoad::Apply(settings::SettingsStore& store, const json& json, std::string& error)
{
    // The keys are applied to a copy, which replaces the store only when
    // every key was taken.
    settings::SettingsStore copy;
    std::memcpy(copy.Bytes(), store.Bytes(), settings::SettingsStore::Size());
    try {
        Loader(copy).Top(json);
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
    if (settings.Files().ReadFile(path, kMaxJsonBytes, bytes) != platform::ReadResult::Ok) {
        error = FileText(path, FileErrorText(settings.Files().LastError()));
        return false;
    }
    const json parsed = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (parsed.is_discarded()) {
        error = FileText(path, "not JSON");
        return false;
    }
    if (!Apply(settings.Store(), parsed, error)) {
        error = FileText(path, error);
        return false;
    }
    return true;
}

}  // namespace cli
