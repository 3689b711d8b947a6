// The defaults of the store and of one profile.
#pragma once

#include "device/CommandSet.h"
#include "settings/SettingsStore.h"

namespace settings {

inline constexpr const char* kAppVersionText = "V1.10";

// The mouse's firmware version number, asked for when the store is reset;
// the last number obtained stays when the mouse cannot be reached (0 before
// the first one).
class FirmwareVersionCache {
public:
    // Opens the mouse, asks, closes it; returns the number now known.
    int Refresh(device::CommandSet& commands);
    // Asks on the link as it is (opening it on demand, leaving it open).
    int Query(device::CommandSet& commands);
    int Last() const { return last_; }

private:
    int last_ = 0;
};

// "V1.07" for 107.
std::string FirmwareVersionText(int version);

// Zeroes the five profiles, makes profile 1 current, lights the LEDs, sets
// both version texts (asking the mouse) and gives every profile its defaults.
void ResetAllSettings(SettingsStore& store, FirmwareVersionCache& firmware, device::CommandSet& commands);
// Gives profile `index` (0..4) its defaults with ambient light 20 and an
// empty name; its play modes, angle tuning and macro copy stay.
void ResetProfile(SettingsStore& store, int index);

}  // namespace settings
