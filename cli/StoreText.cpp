#include "cli/StoreText.h"

#include "cli/TerminalText.h"
#include "cli/Vocabulary.h"
#include "settings/LaserStages.h"
#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"

namespace cli {
namespace {

using namespace settings;
namespace prof = layout::profile;
using nlohmann::json;

constexpr int kProfiles = static_cast<int>(layout::store::kProfileCount);

std::string Trimmed(std::string text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string ButtonText(const ProfileSettings& profile, int b)
{
    const int32_t code = profile.Get(prof::kButtonFunction, b);
    const int32_t param = profile.Get(prof::kButtonParam, b);
    if (code == function::SingleKey) {
        const KeyName* key = FindKeyByVirtualKey(SingleKeyVirtualKey(param));
        return "Single Key "
             + KeyText(SingleKeyModifiers(param), key != nullptr ? key->name : nullptr, SingleKeyVirtualKey(param));
    }
    if (code == function::Macro)
        return MacroText(param, profile.Get(prof::kMacroPlayMode, b));
    const std::string label = Trimmed(FunctionLabel(code));
    return label.empty() ? "(none)" : label;
}

json MacroJson(const MacroRecord& macro)
{
    json events = json::array();
    for (int k = 0; k < macro.EventCount(); ++k) {
        const MacroEvent event = macro.Event(k);
        events.push_back({{"kind", event.Kind()}, {"name", event.Name()}, {"direction", event.Direction()}});
    }
    return {{"number", macro.Number()}, {"name", macro.Name()}, {"events", events}};
}

json ProfileJson(const ProfileSettings& profile, int index)
{
    json buttons = json::array();
    for (int b = 0; b < kButtons; ++b) {
        buttons.push_back({{"function", profile.Get(prof::kButtonFunction, b)},
                           {"param", profile.Get(prof::kButtonParam, b)},
                           {"playMode", profile.Get(prof::kMacroPlayMode, b)},
                           {"text", ButtonText(profile, b)}});
    }
    json stages = json::array();
    for (size_t k = 0; k < prof::kStages; ++k) {
        const int32_t index = profile.Get(prof::kLaserLevels, 2 * k + 1);
        stages.push_back({{"dpi", LaserStageDpi(index)},
                          {"optical", profile.Get(prof::kOpticalDpi, k)},
                          {"hdst", profile.Get(prof::kHdstDpi, k)},
                          {"laserX", profile.Get(prof::kLaserLevels, 2 * k)},
                          {"laserIndex", index}});
    }
    json macros = json::array();
    for (int k = 0; k < std::min(UsedMacroCount(profile.Get(prof::kMacroCount)), kProfileCopySlots); ++k)
        macros.push_back(MacroJson(profile.Macro(k)));
    return {{"profile", index + 1},
            {"name", profile.Name()},
            {"inUse", profile.Get(prof::kInUse) != 0},
            {"reportRate", profile.Get(prof::kReportRate)},
            {"powerSave", profile.Get(prof::kPowerSave)},
            {"ambientLight", profile.Get(prof::kAmbientLight)},
            {"scrollSpeed", profile.Get(prof::kScrollSpeed)},
            {"doubleClickSpeed", profile.Get(prof::kDoubleClickSpeed)},
            {"pointerAcceleration", profile.Get(prof::kPointerAcceleration)},
            {"liftOffDistance", profile.Get(prof::kLiftOffDistance)},
            {"angleSnapping", profile.Get(prof::kAngleSnapping)},
            {"stages", stages},
            {"buttons", buttons},
            {"macros", macros}};
}

std::string ProfileText(const ProfileSettings& profile, int index)
{
    std::string out = ProfileHeading(index + 1, ShownProfileName(profile.Name()), profile.Get(prof::kInUse) != 0);
    out += TimersLine(profile.Get(prof::kReportRate), profile.Get(prof::kPowerSave), profile.Get(prof::kAmbientLight));
    out += "  scroll " + std::to_string(profile.Get(prof::kScrollSpeed)) + ", double-click "
         + std::to_string(profile.Get(prof::kDoubleClickSpeed)) + ", pointer "
         + std::to_string(profile.Get(prof::kPointerAcceleration)) + ", lift-off "
         + std::to_string(profile.Get(prof::kLiftOffDistance)) + ", angle snapping "
         + std::to_string(profile.Get(prof::kAngleSnapping)) + "\n";
    out += "  DPI stages";
    for (size_t k = 0; k < prof::kStages; ++k)
        out += " " + StageText(profile.Get(prof::kLaserLevels, 2 * k + 1));
    out += "\n";
    for (int b = 0; b < kButtons; ++b)
        out += ButtonLine(b + 1, ButtonText(profile, b));
    return out;
}

}  // namespace

std::string StoreAsText(const SettingsStore& store, int profileIndex)
{
    std::string out = "current profile " + std::to_string(store.CurrentProfile()) + ", LEDs "
                    + (store.LedOn() ? "on" : "off") + ", firmware " + EscapeControls(store.FirmwareVersion()) + "\n";
    for (int p = 0; p < kProfiles; ++p) {
        if (profileIndex < 0 || profileIndex == p)
            out += ProfileText(store.Profile(p), p);
    }
    const int macros = UsedMacroCount(store.WorkingMacroCount());
    out += "macros (" + std::to_string(macros) + "):";
    for (int k = 0; k < macros; ++k)
        out += " " + std::to_string(k + 1) + "=\"" + EscapeControls(store.WorkingMacro(k).Name()) + "\"";
    return out + "\n";
}

json StoreAsJson(const SettingsStore& store, int profileIndex)
{
    json profiles = json::array();
    for (int p = 0; p < kProfiles; ++p) {
        if (profileIndex < 0 || profileIndex == p)
            profiles.push_back(ProfileJson(store.Profile(p), p));
    }
    // One profile's settings carry nothing of the store as a whole, so they
    // load into another store as that profile alone.
    if (profileIndex >= 0)
        return {{"profiles", profiles}};
    json macros = json::array();
    for (int k = 0; k < UsedMacroCount(store.WorkingMacroCount()); ++k)
        macros.push_back(MacroJson(store.WorkingMacro(k)));
    return {{"currentProfile", store.CurrentProfile()},
            {"ledOn", store.LedOn()},
            {"appVersion", store.AppVersion()},
            {"firmwareVersion", store.FirmwareVersion()},
            {"profiles", profiles},
            {"macros", macros}};
}

}  // namespace cli
