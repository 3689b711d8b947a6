#include "cli/SetCommand.h"

#include "cli/ArgumentWords.h"
#include "settings/LaserStages.h"
#include "settings/PerformanceValues.h"

#include <CLI/CLI.hpp>

namespace cli {

namespace prof = settings::layout::profile;

// What a key sets and how its value is read.
struct SetCommand::Key {
    enum Kind { Choice, Level, Dpi, InUse, Name };
    const char* name;
    Kind kind;
    settings::Field<int32_t> field;        // Choice and Level; unused by the others
    std::span<const int32_t> choices;      // Choice: the values offered; "off" is 0
    const settings::LevelSetting* level;  // Level
};

namespace {

using Key = SetCommand::Key;

// clang-format off
const Key kKeys[] = {
    {"report-rate", Key::Choice, prof::kReportRate, settings::kReportRates, nullptr},
    {"power-save", Key::Choice, prof::kPowerSave, settings::kPowerSaveSeconds, nullptr},
    {"ambient-light", Key::Choice, prof::kAmbientLight, settings::kAmbientLightSeconds, nullptr},
    {"dpi", Key::Dpi, prof::kReportRate, {}, nullptr},
    {"lift-off", Key::Level, prof::kLiftOffDistance, {}, &settings::kLiftOffLevel},
    {"angle-snapping", Key::Level, prof::kAngleSnapping, {}, &settings::kAngleSnappingLevel},
    {"pointer-speed", Key::Level, prof::kPointerAcceleration, {}, &settings::kPointerSpeedLevel},
    {"double-click", Key::Level, prof::kDoubleClickSpeed, {}, &settings::kDoubleClickLevel},
    {"wheel-lines", Key::Level, prof::kScrollSpeed, {}, &settings::kScrollSpeedLevel},
    {"in-use", Key::InUse, prof::kReportRate, {}, nullptr},
    {"name", Key::Name, prof::kReportRate, {}, nullptr},
};
// clang-format on

constexpr size_t kStages = prof::kStages;

std::string ChoiceText(int32_t value)
{
    return value == 0 ? "off" : std::to_string(value);
}

std::string ChoicesText(std::span<const int32_t> choices)
{
    std::string text;
    for (size_t k = 0; k < choices.size(); ++k)
        text += (k == 0 ? "" : k + 1 == choices.size() ? " or " : ", ") + ChoiceText(choices[k]);
    return text;
}

std::string KeyNames()
{
    std::string text;
    for (const Key& key : kKeys)
        text += (text.empty() ? "" : ", ") + std::string(key.name);
    return text;
}

}  // namespace

void SetCommand::AddArguments(CLI::App& sub)
{
    AddProfileOptions(sub, profile_, apply_);
    sub.add_option("KEY", key_, "What to set")->required();
    sub.add_option("VALUE", value_, "Its new value")->required();
}

std::string SetCommand::KeyWords()
{
    std::string text;
    for (const Key& key : kKeys)
        text += (text.empty() ? "" : " ") + std::string(key.name);
    return text;
}

bool SetCommand::Check(std::string& error)
{
    found_ = nullptr;
    for (const Key& key : kKeys) {
        if (key_ == key.name)
            found_ = &key;
    }
    if (found_ == nullptr) {
        error = "set: unknown key " + Quoted(key_) + " (keys: " + KeyNames() + ")";
        return false;
    }
    numbers_.clear();
    switch (found_->kind) {
    case Key::Choice:
        return CheckChoice(error);
    case Key::Level:
        return CheckLevel(error);
    case Key::Dpi:
        return CheckDpi(error);
    case Key::InUse:
        if (value_ == "on" || value_ == "off")
            return true;
        error = "set: in-use must be on or off, not " + Quoted(value_);
        return false;
    case Key::Name:
        return CheckName(error);
    }
    return false;
}

bool SetCommand::CheckChoice(std::string& error)
{
    int32_t value = 0;
    if ((value_ == "off" && settings::IsChoice(found_->choices, 0))
        || (ParseWholeNumber(value_, value) && settings::IsChoice(found_->choices, value))) {
        numbers_.push_back(value);
        return true;
    }
    error = "set: " + std::string(found_->name) + " must be " + ChoicesText(found_->choices) + ", not " + Quoted(value_);
    return false;
}

bool SetCommand::CheckLevel(std::string& error)
{
    const settings::LevelSetting& level = *found_->level;
    int32_t value = 0;
    if (ParseWholeNumber(value_, value) && value >= level.Lowest() && value <= level.Highest()) {
        numbers_.push_back(value);
        return true;
    }
    error = "set: " + std::string(found_->name) + " must be a level from " + std::to_string(level.Lowest()) + " to "
          + std::to_string(level.Highest()) + ", not " + Quoted(value_);
    return false;
}

bool SetCommand::CheckDpi(std::string& error)
{
    size_t start = 0;
    while (numbers_.size() <= kStages) {
        const size_t comma = value_.find(',', start);
        const std::string part = value_.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int32_t dpi = 0;
        if (!ParseWholeNumber(part, dpi) || dpi <= 0) {
            error = "set: dpi stage " + std::to_string(numbers_.size() + 1) + " is no DPI value: " + Quoted(part);
            return false;
        }
        numbers_.push_back(dpi);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (numbers_.size() == kStages)
        return true;
    error = "set: dpi takes the four stages as S1,S2,S3,S4, not " + Quoted(value_);
    return false;
}

// A longer name is refused rather than cut.
bool SetCommand::CheckName(std::string& error)
{
    const std::string problem = NameProblem(value_, prof::kName.size);
    if (!problem.empty())
        error = "set: " + problem;
    return problem.empty();
}

std::vector<std::string> SetCommand::ChangeIn(settings::ProfileSettings profile) const
{
    std::vector<std::string> notes;
    switch (found_->kind) {
    case Key::Choice:
    case Key::Level:
        profile.Set(found_->field, numbers_.front());
        break;
    case Key::InUse:
        profile.Set(prof::kInUse, uint8_t{value_ == "on" ? uint8_t{1} : uint8_t{0}});
        break;
    case Key::Name:
        profile.SetName(value_);
        break;
    case Key::Dpi: {
        std::string snapped;
        for (size_t k = 0; k < kStages; ++k) {
            const int32_t stage = settings::NearestLaserStage(numbers_[k]);
            profile.Set(prof::kLaserLevels, 2 * k + 1, stage);
            if (settings::LaserStageDpi(stage) != numbers_[k])
                snapped += (snapped.empty() ? "" : ", ") + std::to_string(numbers_[k]) + " to "
                         + std::to_string(settings::LaserStageDpi(stage));
        }
        if (!snapped.empty())
            notes.push_back("DPI snapped to the stages the mouse has: " + snapped);
        break;
    }
    }
    return notes;
}

}  // namespace cli
