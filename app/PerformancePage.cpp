#include "app/PerformancePage.h"

#include "app/PageControls.h"
#include "app/PageTables.h"

namespace NeritApp {

using PageControls::Find;

PerformancePage::PerformancePage(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store,
                                 const int& shownProfile)
    : manager_(manager), store_(store), shownProfile_(shownProfile),
      dpiStages_(manager, store, shownProfile, PageTables::kDpiStageAxis)
{
}

settings::ProfileSettings PerformancePage::Shown() const
{
    return store_.Profile(static_cast<size_t>(shownProfile_));
}

void PerformancePage::Refresh(int profile)
{
    const settings::ProfileSettings settings = store_.Profile(static_cast<size_t>(profile));
    dpiStages_.Refresh(profile);
    for (const PageTables::ValueOption& option : PageTables::kPerformanceOptions)
        PageControls::ShowSelected(manager_, option.name, settings.Get(option.field) == option.value);
    for (const PageTables::LevelSlider& entry : PageTables::kLevelSliders) {
        if (auto* slider = Find<SkinUI::CSliderUI>(manager_, entry.name)) {
            slider->SetValue(entry.level.positionFor(settings.Get(entry.level.field)));
            slider->Invalidate();
        }
    }
}

bool PerformancePage::Handle(SkinUI::NotifyMessage& message)
{
    if (message.sender == nullptr)
        return false;
    if (message.type == u"selectchanged")
        return OnOption(message);
    if (message.type == u"valuechanged" && OnLevelSlider(message))
        return true;
    return dpiStages_.Handle(message);
}

// Only a selection stores; the option that loses it changes nothing.
bool PerformancePage::OnOption(SkinUI::NotifyMessage& message)
{
    for (const PageTables::ValueOption& option : PageTables::kPerformanceOptions) {
        if (!PageControls::SentBy(message, option.name))
            continue;
        if (PageControls::SelectedNow(message))
            Shown().Set(option.field, option.value);
        return true;
    }
    return false;
}

// The value is clamped to the slider's range first: the wheel can leave it
// a step outside, which must not wrap to the other end.
bool PerformancePage::OnLevelSlider(SkinUI::NotifyMessage& message)
{
    auto* slider = dynamic_cast<SkinUI::CSliderUI*>(message.sender);
    if (slider == nullptr)
        return false;
    for (const PageTables::LevelSlider& entry : PageTables::kLevelSliders) {
        if (slider->GetName() != entry.name)
            continue;
        const int level = entry.level.levelFor(slider->GetValue());
        slider->SetValue(entry.level.positionFor(level));
        slider->Invalidate();
        Shown().Set(entry.level.field, int32_t{level});
        return true;
    }
    return false;
}

}  // namespace NeritApp
