#include "settings/SettingsStore.h"

namespace settings {

SettingsStore::SettingsStore() : bytes_(std::make_unique<uint8_t[]>(layout::store::kSize)) {}

int SettingsStore::CurrentProfileIndex() const
{
    const int32_t number = CurrentProfile();
    return number >= 1 && number <= static_cast<int32_t>(layout::store::kProfileCount) ? number - 1 : 0;
}

ProfileSettings SettingsStore::Profile(size_t index) const
{
    if (index >= layout::store::kProfileCount)
        return ProfileSettings(FieldView());
    return ProfileSettings(View().Sub(layout::store::kProfiles + index * layout::profile::kSize, layout::profile::kSize));
}

MacroRecord SettingsStore::WorkingMacro(size_t slot) const
{
    if (slot >= layout::store::kWorkingSlots)
        return MacroRecord(FieldView());
    return MacroRecord(View().Sub(layout::store::kWorkingMacros + slot * layout::macro::kSize, layout::macro::kSize));
}

SettingsStore& Store()
{
    static SettingsStore store;
    return store;
}

}  // namespace settings
