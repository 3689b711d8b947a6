#include "settings/WorkingMacros.h"

#include <algorithm>

namespace settings {

int UsedMacroCount(int32_t storedCount)
{
    return std::clamp<int32_t>(storedCount, 0, kWorkingListMacros);
}

void LoadWorkingMacros(SettingsStore& store, int index)
{
    const ProfileSettings profile = store.Profile(index);
    if (profile.Bytes() == nullptr)
        return;
    for (size_t slot = 0; slot < layout::store::kWorkingSlots; ++slot)
        store.WorkingMacro(slot).Clear();
    for (int k = 0; k < kProfileCopySlots; ++k)
        store.WorkingMacro(k).CopyFrom(profile.Macro(k));
    // A profile keeps at most its copy's macros, whatever count it holds.
    store.SetWorkingMacroCount(std::clamp<int32_t>(profile.Get(layout::profile::kMacroCount), 0, kProfileCopySlots));
}

void StoreWorkingMacros(SettingsStore& store, int index)
{
    ProfileSettings profile = store.Profile(index);
    if (profile.Bytes() == nullptr)
        return;
    for (int k = 0; k < kProfileCopySlots; ++k)
        profile.Macro(k).CopyFrom(store.WorkingMacro(k));
    profile.Set(layout::profile::kMacroCount,
                std::clamp<int32_t>(store.WorkingMacroCount(), 0, kProfileCopySlots));
}

int KeepProfileMacros(SettingsStore& store)
{
    const int count = UsedMacroCount(store.WorkingMacroCount());
    for (size_t slot = kProfileCopySlots; slot < layout::store::kWorkingSlots; ++slot)
        store.WorkingMacro(slot).Clear();
    if (count <= kProfileCopySlots)
        return 0;
    store.SetWorkingMacroCount(kProfileCopySlots);
    return count - kProfileCopySlots;
}

bool IsMacroNameTaken(const SettingsStore& store, int slot, bool allSlots)
{
    const int searched = allSlots ? kWorkingListMacros : UsedMacroCount(store.WorkingMacroCount());
    if (slot < 0 || slot >= static_cast<int>(layout::store::kWorkingSlots))
        return false;
    const std::string name = store.WorkingMacro(slot).Name();
    for (int other = 0; other < searched; ++other) {
        if (other != slot && store.WorkingMacro(other).Name() == name)
            return true;
    }
    return false;
}

}  // namespace settings
