// The three transfers between the store and the mouse: write all profiles,
// write one, read one. Each opens the mouse itself and closes it when done;
// when the mouse cannot be opened it returns false and changes nothing.
#pragma once

#include "device/ProfileTransfer.h"
#include "platform/clock.h"
#include "platform/pointer_settings.h"
#include "settings/RecordConversion.h"
#include "settings/SettingsDefaults.h"

#include <memory>

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

    bool ApplyAllProfiles();
    bool WriteProfileToDevice(int index);
    bool ReadProfileFromDevice(int index);

    // The profile number (1..5) the mouse is to have current, as the last
    // conversion left it.
    uint8_t RememberedDeviceProfile() const { return deviceProfile_; }
    const RecordTable& Records() const { return *records_; }
    device::CommandSet& Commands();
    PageRefresher& Pages() { return pages_; }

private:
    device::DeviceLink& Link();
    void ChooseCurrentProfile();

    SettingsStore& store_;
    device::ProfileTransfer& transfer_;
    platform::PointerSettings& pointer_;
    FirmwareVersionCache& firmware_;
    PageRefresher& pages_;
    platform::Clock& clock_;
    std::unique_ptr<RecordTable> records_;
    uint8_t deviceProfile_ = 1;
};

}  // namespace settings
