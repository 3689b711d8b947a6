#include "settings/SettingsFileCheck.h"

#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"

#include <algorithm>
#include <array>

namespace settings {
namespace {

namespace prof = layout::profile;
constexpr size_t kI32 = sizeof(int32_t);
constexpr int32_t kLastMacro = kMacrosInList;
constexpr int32_t kLargestParameter = 0xFFFF;  // a key with its modifier byte

using Check = SettingsFileCheck;

// One i32 field of a profile, its rule and the value it is held to.
struct FieldRule {
    size_t offset;
    bool (*valid)(int32_t);
    FileProblem problem;
    int32_t held;
};

constexpr size_t kRuleCount = 3 + prof::kStages + 2 * prof::kButtonSlots + prof::kMacroSlots;

// Held values are what the conversion to the mouse's record makes of an
// invalid value: 1000 Hz, the low byte, the nearest stage, no function.
constexpr std::array<FieldRule, kRuleCount> kRules = [] {
    std::array<FieldRule, kRuleCount> rules{};
    size_t n = 0;
    rules[n++] = {prof::kReportRate.offset, Check::ValidRate, FileProblem::ReportRate, 1000};
    rules[n++] = {prof::kPowerSave.offset, Check::ValidByte, FileProblem::PowerSave, 0};
    rules[n++] = {prof::kAmbientLight.offset, Check::ValidByte, FileProblem::AmbientLight, 0};
    for (size_t k = 0; k < prof::kStages; ++k)
        rules[n++] = {prof::kLaserLevels.At(2 * k + 1).offset, Check::ValidStageIndex, FileProblem::StageIndex, 0};
    for (size_t b = 0; b < prof::kButtonSlots; ++b) {
        rules[n++] = {prof::kButtonFunction.At(b).offset, Check::ValidFunction, FileProblem::ButtonFunction, 0};
        rules[n++] = {prof::kMacroPlayMode.At(b).offset, Check::ValidPlayMode, FileProblem::PlayMode, 1};
    }
    for (size_t k = 0; k < prof::kMacroSlots; ++k)
        rules[n++] = {prof::kMacros + k * layout::macro::kSize + layout::macro::kNumber.offset, Check::ValidMacroNumber,
                      FileProblem::MacroNumber, 0};
    return rules;
}();

// The pointer and sensor levels 1..10 (0, which a short file leaves, acts
// as 1); a value outside is held to the nearest level.
constexpr Field<int32_t> kLevelFields[] = {prof::kScrollSpeed, prof::kDoubleClickSpeed, prof::kPointerAcceleration,
                                           prof::kLiftOffDistance, prof::kAngleSnapping};
constexpr int32_t kLowestLevel = 1;
constexpr int32_t kHighestLevel = 10;

bool Covers(size_t size, size_t offset, size_t width) { return offset <= size && width <= size - offset; }

int32_t HeldParameter(int32_t code) { return code == function::Macro ? 1 : 0; }

// Reads only; the view never writes through the pointer.
FieldView ReadView(const uint8_t* bytes, size_t size) { return FieldView(const_cast<uint8_t*>(bytes), size); }

FileProblem CheckButtons(const FieldView& view, size_t size)
{
    for (size_t b = 0; b < prof::kButtonSlots; ++b) {
        const Field<int32_t> code = prof::kButtonFunction.At(b);
        const Field<int32_t> param = prof::kButtonParam.At(b);
        if (Covers(size, code.offset, kI32) && Covers(size, param.offset, kI32)
            && !Check::ValidParameter(view.Get(code), view.Get(param)))
            return FileProblem::ButtonParameter;
    }
    return FileProblem::None;
}

}  // namespace

bool SettingsFileCheck::ValidRate(int32_t hz) { return hz == 125 || hz == 250 || hz == 500 || hz == 1000; }
bool SettingsFileCheck::ValidByte(int32_t value) { return value >= 0 && value <= 255; }
bool SettingsFileCheck::ValidStageIndex(int32_t index) { return index >= 0 && index <= 9; }
// 0 is what a read leaves for an entry the conversion does not know.
bool SettingsFileCheck::ValidFunction(int32_t code) { return code >= 0 && code <= function::Disable; }
bool SettingsFileCheck::ValidPlayMode(int32_t mode) { return (mode >= 0 && mode <= 99) || mode == 241 || mode == 242; }
bool SettingsFileCheck::ValidMacroNumber(int32_t number) { return number >= 0 && number <= kLastMacro; }
bool SettingsFileCheck::ValidLevel(int32_t level) { return level >= 0 && level <= kHighestLevel; }

bool SettingsFileCheck::ValidParameter(int32_t code, int32_t param)
{
    if (code == function::Macro)
        return param >= 1 && param <= kLastMacro;
    if (param < 0 || param > kLargestParameter)
        return false;
    const uint8_t key = SingleKeyVirtualKey(param);
    return code != function::SingleKey || key == 0 || FindKeyByVirtualKey(key) != nullptr;
}

FileCheck SettingsFileCheck::CheckProfile(const uint8_t* bytes, size_t size)
{
    if (size > prof::kSize)
        return {FileProblem::TooLong};
    const FieldView view = ReadView(bytes, size);
    if (size >= 1 && view.Get(prof::kInUse) > 1)
        return {FileProblem::InUseFlag};
    for (const FieldRule& rule : kRules) {
        if (Covers(size, rule.offset, kI32) && !rule.valid(view.Get(Field<int32_t>{rule.offset})))
            return {rule.problem};
    }
    return {CheckButtons(view, size)};
}

FileCheck SettingsFileCheck::CheckStore(const uint8_t* bytes, size_t size)
{
    if (size != SettingsStore::Size())
        return {size < SettingsStore::Size() ? FileProblem::TooShort : FileProblem::TooLong};
    const FieldView view = ReadView(bytes, size);
    const int32_t current = view.Get(layout::store::kCurrentProfile);
    if (current < 1 || current > static_cast<int32_t>(layout::store::kProfileCount))
        return {FileProblem::CurrentProfile};
    if (view.Get(layout::store::kLedOn) > 1)
        return {FileProblem::LedFlag};
    for (size_t p = 0; p < layout::store::kProfileCount; ++p) {
        const FileCheck check = CheckProfile(bytes + layout::store::kProfiles + p * prof::kSize, prof::kSize);
        if (!check.Ok())
            return {check.problem, static_cast<int>(p)};
    }
    return {};
}

void SettingsFileCheck::HoldToValidRanges(ProfileSettings profile)
{
    if (profile.Bytes() == nullptr)
        return;
    if (profile.Get(prof::kInUse) > 1)
        profile.Set(prof::kInUse, uint8_t{0});
    for (const FieldRule& rule : kRules) {
        const Field<int32_t> field{rule.offset};
        if (!rule.valid(profile.Get(field)))
            profile.Set(field, rule.held);
    }
    for (size_t b = 0; b < prof::kButtonSlots; ++b) {
        const int32_t code = profile.Get(prof::kButtonFunction, b);
        if (!Check::ValidParameter(code, profile.Get(prof::kButtonParam, b)))
            profile.Set(prof::kButtonParam, b, HeldParameter(code));
    }
    for (const Field<int32_t> level : kLevelFields) {
        const int32_t value = profile.Get(level);
        if (value != 0)
            profile.Set(level, std::clamp(value, kLowestLevel, kHighestLevel));
    }
}

}  // namespace settings
