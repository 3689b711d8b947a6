// The three transfers between the store and the mouse: write all profiles,
// write one, read one. Each opens the mouse itself and closes it when done;
// when the mouse cannot be opened it returns false and changes nothing.
#pragma once

#include "device/ProfileTransfer.h"
#include "platform/clock.h"
#include "platform/pointer_settings.h"
#include "settings/ProfileSet.h"
#include "settings/RecordConversion.h"
#include "settings/SettingsDefaults.h"
#include "settings/TransferProgress.h"

#include <memory>
#include <optional>

namespace settings {

// The main window's refresh of its pages from the store for a profile.
class PageRefresher {
public:
    virtual ~PageRefresher() = default;
    virtual void RefreshPages(int index) = 0;
};

// For front ends without pages.
class NoPageRefresh final : public PageRefresher {
public:
    void RefreshPages(int) override {}
};

class ProfileSync {
public:
    ProfileSync(SettingsStore& store, device::ProfileTransfer& transfer, platform::PointerSettings& pointer,
                FirmwareVersionCache& firmware, PageRefresher& pages, platform::Clock& clock);

    // Writes all five profiles, going on past a failed one, and returns the
    // profiles whose write failed (all five when the mouse cannot be opened).
    // The working list is first stored into the shown profile's macro copy
    // and gives that profile's macros; every other profile's macros come from
    // its own copy. Each write carries its profile's ambient-light value, and
    // the mouse ends with the current profile's. The pointer settings are
    // applied only when every write succeeded.
    ProfileSet ApplyAllProfiles(std::optional<int> shownIndex);
    // Writes profile `index` with the working list as its macros.
    bool WriteProfileToDevice(int index);
    // Reads profile `index` into the store. A read that fails leaves the
    // profile as it was; either way the working list ends as its macro copy.
    bool ReadProfileFromDevice(int index);

    // The profile number (1..5) the mouse is to have current, as the last
    // conversion left it.
    uint8_t RememberedDeviceProfile() const { return deviceProfile_; }
    const RecordTable& Records() const { return *records_; }
    // Who is told before each profile of a transfer of all five; nullptr
    // for nobody. Not owned.
    void SetProgress(TransferProgress* progress) { progress_ = progress != nullptr ? progress : &noProgress_; }
    TransferProgress& Progress() { return *progress_; }
    device::CommandSet& Commands();
    PageRefresher& Pages() { return pages_; }
    platform::PointerSettings& Pointer() { return pointer_; }

private:
    device::DeviceLink& Link();
    void ChooseCurrentProfile();
    bool SetAmbientLightOf(int index);

    SettingsStore& store_;
    device::ProfileTransfer& transfer_;
    platform::PointerSettings& pointer_;
    FirmwareVersionCache& firmware_;
    PageRefresher& pages_;
    platform::Clock& clock_;
    std::unique_ptr<RecordTable> records_;
    TransferProgress noProgress_;
    TransferProgress* progress_ = &noProgress_;
    uint8_t deviceProfile_ = 1;
};

}  // namespace settings
