#include "app/StageSliders.h"

#include "app/PageControls.h"

#include <algorithm>

namespace NeritApp {

using PageControls::Find;
using SkinUI::CControlUI;
using SkinUI::CSliderUI;

namespace {

// A step button moves the slider by two positions, one level.
constexpr int kStepPositions = 2;

}  // namespace

StageSliders::StageSliders(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store, const int& shownProfile,
                           const PageTables::StageAxis& axis)
    : manager_(manager), store_(store), shownProfile_(shownProfile), axis_(axis)
{
}

void StageSliders::Refresh(int profile)
{
    const settings::ProfileSettings settings = store_.Profile(static_cast<size_t>(profile));
    for (int stage = 1; stage <= PageTables::kStages; ++stage) {
        const int stored =
            settings.Get(settings::layout::profile::kLaserLevels, 2 * static_cast<size_t>(stage - 1) + axis_.pairSlot);
        if (auto* label = manager_.FindControl(PageTables::StageName(axis_.names.label, stage)))
            label->SetText(PageControls::NumberText(axis_.shownFor(stored)));
        if (auto* slider = Find<CSliderUI>(manager_, PageTables::StageName(axis_.names.slider, stage))) {
            slider->SetValue(axis_.positionFor(stored));
            slider->Invalidate();
        }
    }
}

bool StageSliders::Handle(SkinUI::NotifyMessage& message)
{
    if (message.type == u"valuechanged") {
        const int stage = StageOf(message, axis_.names.slider);
        auto* slider = dynamic_cast<CSliderUI*>(message.sender);
        if (stage == 0 || slider == nullptr)
            return false;
        OnSlider(stage, *slider);
        return true;
    }
    if (message.type != u"click")
        return false;
    if (const int up = StageOf(message, axis_.names.upButton)) {
        OnStep(up, kStepPositions);
        return true;
    }
    if (const int down = StageOf(message, axis_.names.downButton)) {
        OnStep(down, -kStepPositions);
        return true;
    }
    return false;
}

int StageSliders::StageOf(const SkinUI::NotifyMessage& message, std::string_view pattern) const
{
    for (int stage = 1; stage <= PageTables::kStages; ++stage) {
        if (PageControls::SentBy(message, PageTables::StageName(pattern, stage)))
            return stage;
    }
    return 0;
}

// The wheel can leave the value a step outside the range; it is clamped
// before use. Dragging snaps to the even position of the value's level.
void StageSliders::OnSlider(int stage, CSliderUI& slider)
{
    CControlUI* label = manager_.FindControl(PageTables::StageName(axis_.names.label, stage));
    if (label == nullptr)
        return;
    const int level = (Clamp(slider.GetValue()) + 1) / 2;
    Set(stage, slider, *label, 2 * level);
}

void StageSliders::OnStep(int stage, int delta)
{
    auto* slider = Find<CSliderUI>(manager_, PageTables::StageName(axis_.names.slider, stage));
    CControlUI* label = manager_.FindControl(PageTables::StageName(axis_.names.label, stage));
    if (slider == nullptr || label == nullptr)
        return;
    // Computed in 64 bits: a slider value set far outside cannot overflow.
    const int64_t moved = int64_t{slider->GetValue()} + delta;
    Set(stage, *slider, *label, static_cast<int>(std::clamp<int64_t>(moved, 0, axis_.sliderMax)));
}

void StageSliders::Set(int stage, CSliderUI& slider, CControlUI& label, int position)
{
    const int stored = axis_.storedFor(position);
    slider.SetValue(position);
    slider.Invalidate();
    label.SetText(PageControls::NumberText(axis_.shownFor(stored)));
    store_.Profile(static_cast<size_t>(shownProfile_))
        .Set(settings::layout::profile::kLaserLevels, 2 * static_cast<size_t>(stage - 1) + axis_.pairSlot,
             int32_t{stored});
}

int StageSliders::Clamp(int position) const
{
    return std::clamp(position, 0, axis_.sliderMax);
}

}  // namespace NeritApp
