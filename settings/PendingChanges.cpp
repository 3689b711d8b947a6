#include "settings/PendingChanges.h"

#include "settings/ProfileFiles.h"
#include "settings/SettingsLayout.h"
#include "settings/WorkingMacros.h"

#include <algorithm>
#include <cstring>

namespace settings {
namespace {

// The parts of the store a user changes: the current profile and the five
// profiles, then the LED switch. The working list between them is compared
// through the shown profile's copy.
struct Part {
    size_t offset;
    size_t size;
};
constexpr Part kCompared[] = {
    {0, layout::store::kWorkingMacroCount.offset},
    {layout::store::kLedOn.offset, 1},
};

bool SameSettings(const SettingsStore& a, const SettingsStore& b)
{
    return std::all_of(std::begin(kCompared), std::end(kCompared), [&](const Part& part) {
        return std::memcmp(a.Bytes() + part.offset, b.Bytes() + part.offset, part.size) == 0;
    });
}

void CopyStore(const SettingsStore& from, SettingsStore& to)
{
    std::memcpy(to.Bytes(), from.Bytes(), SettingsStore::Size());
}

}  // namespace

PendingChanges::PendingChanges(platform::FileSystem& files, const DataFolder& folder) : files_(files), folder_(folder)
{
}

std::string PendingChanges::Path() const { return folder_.Path(kPendingChangesFile); }

void PendingChanges::RememberLoaded(const SettingsStore& store)
{
    if (loaded_ == nullptr)
        loaded_ = std::make_unique<SettingsStore>();
    CopyStore(store, *loaded_);
}

std::unique_ptr<SettingsStore> PendingChanges::Prepared(const SettingsStore& store, int shownIndex)
{
    auto prepared = std::make_unique<SettingsStore>();
    CopyStore(store, *prepared);
    StoreWorkingMacros(*prepared, shownIndex);
    return prepared;
}

std::optional<bool> PendingChanges::Differs(const SettingsStore& prepared)
{
    if (loaded_ == nullptr)
        return std::nullopt;
    SettingsStore applied;
    if (LoadAllProfilesFile(applied, files_, AllProfilesPath(folder_)) == kProfileFileLoaded)
        return !SameSettings(prepared, applied);
    return !SameSettings(prepared, *loaded_);
}

bool PendingChanges::Any(const SettingsStore& store, int shownIndex)
{
    return Differs(*Prepared(store, shownIndex)).value_or(false);
}

bool PendingChanges::Keep(const SettingsStore& store, int shownIndex)
{
    const std::unique_ptr<SettingsStore> prepared = Prepared(store, shownIndex);
    const std::optional<bool> differs = Differs(*prepared);
    if (!differs)
        return true;
    if (!*differs)
        return Drop();
    return SaveAllProfilesFile(*prepared, files_, Path());
}

bool PendingChanges::Drop() { return files_.RemoveFile(Path()); }

}  // namespace settings
