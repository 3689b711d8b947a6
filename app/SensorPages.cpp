#include "app/SensorPages.h"

#include "app/PageControls.h"
#include "app/PageTables.h"
#include "ui/TabLayoutUI.h"

#include <algorithm>

namespace NeritApp {

namespace {

// Tab options are matched by name in either case.
bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    return std::ranges::equal(a, b, [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

}  // namespace

SensorPages::SensorPages(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store, const int& shownProfile,
                         int& currentSensorTab)
    : manager_(manager), store_(store), shownProfile_(shownProfile), currentSensorTab_(currentSensorTab),
      laserX_(manager, store, shownProfile, PageTables::kLaserXAxis)
{
    for (const PageTables::DpiOptionFamily& family : PageTables::kDpiOptionFamilies) {
        for (int stage = 1; stage <= PageTables::kStages; ++stage) {
            for (int32_t dpi : PageTables::kSensorDpiValues)
                dpiOptions_.push_back(
                    {PageTables::DpiOptionName(family.pattern, stage, dpi), family.field, size_t(stage - 1), dpi});
        }
    }
}

settings::ProfileSettings SensorPages::Shown() const
{
    return store_.Profile(static_cast<size_t>(shownProfile_));
}

void SensorPages::Refresh(int profile)
{
    const settings::ProfileSettings settings = store_.Profile(static_cast<size_t>(profile));
    for (const DpiOption& option : dpiOptions_)
        PageControls::ShowSelected(manager_, option.name, settings.Get(option.field, option.stage) == option.value);
    laserX_.Refresh(profile);
}

bool SensorPages::Handle(SkinUI::NotifyMessage& message)
{
    if (message.sender == nullptr)
        return false;
    if (message.type == u"selectchanged")
        return OnSensorTab(message) || OnDpiOption(message);
    return laserX_.Handle(message);
}

// The title follows every report of a tab option; the page, and the flag
// that the user visited it, change only when the shown page is another.
bool SensorPages::OnSensorTab(SkinUI::NotifyMessage& message)
{
    for (const PageTables::SensorTab& tab : PageTables::kSensorTabs) {
        if (!SameNameIgnoringCase(message.sender->GetName(), tab.option))
            continue;
        if (SkinUI::CControlUI* title = manager_.FindControl(PageTables::kSensorTitleLabel))
            title->SetAttribute(u"bkimage", tab.titleImage);
        auto* pages = PageControls::Find<SkinUI::CTabLayoutUI>(manager_, PageTables::kSensorTabLayout);
        if (pages != nullptr && pages->GetCurSel() != tab.page) {
            currentSensorTab_ = tab.page;
            Shown().Set(tab.visitedFlag, uint8_t{1});
            pages->SelectItem(tab.page);
        }
        return true;
    }
    return false;
}

// Only a selection stores; the option that loses it changes nothing.
bool SensorPages::OnDpiOption(SkinUI::NotifyMessage& message)
{
    for (const DpiOption& option : dpiOptions_) {
        if (!PageControls::SentBy(message, option.name))
            continue;
        if (PageControls::SelectedNow(message))
            Shown().Set(option.field, option.stage, option.value);
        return true;
    }
    return false;
}

}  // namespace NeritApp
