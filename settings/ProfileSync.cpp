#include "settings/ProfileSync.h"

#include "settings/PointerLevels.h"
#include "settings/WorkingMacros.h"

namespace settings {
namespace {

constexpr unsigned kPauseAfterProfileWriteMs = 250;
constexpr unsigned kPauseBeforeProfileSwitchMs = 100;
constexpr int kProfiles = static_cast<int>(layout::store::kProfileCount);

bool ValidIndex(int index)
{
    return index >= 0 && index < kProfiles;
}

}  // namespace

ProfileSync::ProfileSync(SettingsStore& store, device::ProfileTransfer& transfer, platform::PointerSettings& pointer,
                         FirmwareVersionCache& firmware, PageRefresher& pages, platform::Clock& clock)
    : store_(store), transfer_(transfer), pointer_(pointer), firmware_(firmware), pages_(pages), clock_(clock),
      records_(std::make_unique<RecordTable>())
{
}

device::CommandSet& ProfileSync::Commands()
{
    return transfer_.Commands();
}

device::DeviceLink& ProfileSync::Link()
{
    return transfer_.Commands().Link();
}

// A current profile outside 1..5 becomes 1; one that is not in use gives way
// to the lowest-numbered profile in use (when there is one).
void ProfileSync::ChooseCurrentProfile()
{
    int32_t current = store_.CurrentProfile();
    if (current < 1 || current > kProfiles)
        current = 1;
    if (store_.Profile(current - 1).Get(layout::profile::kInUse) != 1) {
        for (int p = 0; p < kProfiles; ++p) {
            if (store_.Profile(p).Get(layout::profile::kInUse) == 1) {
                current = p + 1;
                break;
            }
        }
    }
    store_.SetCurrentProfile(current);
    deviceProfile_ = static_cast<uint8_t>(current);
}

ProfileSet ProfileSync::ApplyAllProfiles(std::optional<int> shownIndex)
{
    if (!Link().OpenDevice())
        return ProfileSet::All();
    ChooseCurrentProfile();
    if (shownIndex && ValidIndex(*shownIndex))
        StoreWorkingMacros(store_, *shownIndex);
    *records_ = {};
    for (int p = 0; p < kProfiles; ++p) {
        const MacroSource macros = p == shownIndex ? MacroSource::WorkingList : MacroSource::ProfileCopy;
        FillRecord(store_, p, macros, (*records_)[p]);
    }
    ProfileSet failed;
    for (int p = 0; p < kProfiles; ++p) {
        progress_->BeforeProfile(TransferProgress::Direction::Writing, p, p + 1, kProfiles);
        if (!transfer_.WriteProfileRecord(static_cast<uint8_t>(p), (*records_)[p]))
            failed.Add(p);
        clock_.SleepMs(kPauseAfterProfileWriteMs);
    }
    clock_.SleepMs(kPauseBeforeProfileSwitchMs);
    const int current = deviceProfile_ - 1;
    Commands().SetCurrentProfile(static_cast<uint8_t>(current));
    if (!SetAmbientLightOf(current))
        failed.Add(current);
    // A mouse that could not keep what it was sent has none of it.
    if (!Link().CloseDevice())
        failed = ProfileSet::All();
    if (failed.Empty())
        ApplyPointerSettings(store_, current, pointer_);
    pages_.RefreshPages(current);
    return failed;
}

// The mouse keeps one ambient-light value, which every profile write sets:
// give it the value of profile `index` (asking first, so that it is sent
// only when it differs).
bool ProfileSync::SetAmbientLightOf(int index)
{
    const uint8_t wanted = (*records_)[index][device::kProgramLayout.ambientLight];
    uint8_t state = 0, ambient = 0;
    if (!Commands().GetLedState(state, ambient))
        return false;
    return ambient == wanted || Commands().SetLedSwitch(state, wanted);
}

bool ProfileSync::WriteProfileToDevice(int index)
{
    if (!ValidIndex(index))
        return false;
    // The pages show the profile again whatever the mouse did.
    if (!Link().OpenDevice()) {
        pages_.RefreshPages(index);
        return false;
    }
    if (store_.CurrentProfile() < 1 || store_.CurrentProfile() > kProfiles)
        store_.SetCurrentProfile(1);
    deviceProfile_ = static_cast<uint8_t>(index + 1);
    *records_ = {};
    FillRecord(store_, index, MacroSource::WorkingList, (*records_)[index]);
    StoreWorkingMacros(store_, index);
    bool written = transfer_.WriteProfileRecord(static_cast<uint8_t>(index), (*records_)[index]);
    clock_.SleepMs(kPauseAfterProfileWriteMs);
    written = Link().CloseDevice() && written;
    if (written)
        ApplyPointerSettings(store_, index, pointer_);
    pages_.RefreshPages(index);
    return written;
}

bool ProfileSync::ReadProfileFromDevice(int index)
{
    if (!ValidIndex(index) || !Link().OpenDevice())
        return false;
    device::DeviceProfileRecord& record = (*records_)[index];
    record = {};
    const bool read = transfer_.ReadProfileRecord(static_cast<uint8_t>(index), record);
    deviceProfile_ = static_cast<uint8_t>(index + 1);
    if (read)
        ReadRecord(store_, index, record, pointer_, firmware_.Query(Commands()));
    else
        LoadWorkingMacros(store_, index);
    // Reading selects the profile on the mouse, which it must keep as well.
    const bool kept = Link().CloseDevice();
    pages_.RefreshPages(index);
    return read && kept;
}

}  // namespace settings
