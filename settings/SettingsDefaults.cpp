#include "settings/SettingsDefaults.h"

#include "settings/ButtonFunctions.h"

#include <algorithm>
#include <cstdio>

namespace settings {
namespace {

using namespace layout::profile;

struct StageDefaults {
    std::array<int32_t, kStages> opticalDpi;
    std::array<int32_t, kStages> hdstDpi;
    std::array<int32_t, 2 * kStages> laserLevels;  // (x, yIndex) pairs
};
constexpr StageDefaults kStageDefaults = {
    {400, 800, 1600, 3200},
    {400, 800, 1600, 4800},
    {810, 1, 1620, 2, 3600, 4, 6030, 6},
};

constexpr int32_t kDefaultReportRate = 125;
constexpr int32_t kDefaultScrollSpeed = 3;
constexpr int32_t kDefaultDoubleClickSpeed = 5;
constexpr int32_t kDefaultPointerAcceleration = 5;
constexpr int32_t kDefaultLiftOff = 5;
constexpr int32_t kDefaultAngleSnapping = 5;
constexpr int32_t kProfileResetAmbientLight = 20;

void ApplyDefaults(ProfileSettings profile)
{
    profile.Set(kInUse, uint8_t{1});
    for (int b = 0; b < kButtons; ++b) {
        profile.Set(kButtonFunction, b, kDefaultButtonFunctions[b]);
        profile.Set(kButtonParam, b, int32_t{0});
    }
    profile.Set(kReportRate, kDefaultReportRate);
    profile.Set(kScrollSpeed, kDefaultScrollSpeed);
    profile.Set(kDoubleClickSpeed, kDefaultDoubleClickSpeed);
    profile.Set(kPointerAcceleration, kDefaultPointerAcceleration);
    profile.Set(kPowerSave, int32_t{0});
    profile.Set(kLiftOffDistance, kDefaultLiftOff);
    profile.Set(kAngleSnapping, kDefaultAngleSnapping);
    profile.Set(kOpticalSelected, uint8_t{1});
    profile.Set(kHdstSelected, uint8_t{0});
    profile.Set(kLaserSelected, uint8_t{0});
    for (size_t k = 0; k < kStages; ++k) {
        profile.Set(kOpticalDpi, k, kStageDefaults.opticalDpi[k]);
        profile.Set(kHdstDpi, k, kStageDefaults.hdstDpi[k]);
    }
    for (size_t k = 0; k < 2 * kStages; ++k)
        profile.Set(kLaserLevels, k, kStageDefaults.laserLevels[k]);
    profile.Set(kAmbientLight, int32_t{0});
}

}  // namespace

int FirmwareVersionCache::Refresh(device::CommandSet& commands)
{
    if (commands.Link().OpenDevice())
        Query(commands);
    commands.Link().CloseDevice();
    return last_;
}

int FirmwareVersionCache::Query(device::CommandSet& commands)
{
    int version = 0;
    if (commands.GetFirmwareVersion(version))
        last_ = version;
    return last_;
}

std::string FirmwareVersionText(int version)
{
    char text[32];
    std::snprintf(text, sizeof text, "V%d.%2.2d", version / 100, version % 100);
    return text;
}

void ResetAllSettings(SettingsStore& store, FirmwareVersionCache& firmware, device::CommandSet& commands)
{
    for (size_t p = 0; p < layout::store::kProfileCount; ++p)
        std::fill_n(store.Profile(p).Bytes(), kSize, uint8_t{0});
    store.SetCurrentProfile(1);
    store.SetLedOn(true);
    store.SetFirmwareVersion(FirmwareVersionText(firmware.Refresh(commands)));
    store.SetAppVersion(kAppVersionText);
    for (size_t p = 0; p < layout::store::kProfileCount; ++p)
        ApplyDefaults(store.Profile(p));
}

void ResetProfile(SettingsStore& store, int index)
{
    if (index < 0 || index >= static_cast<int>(layout::store::kProfileCount))
        return;
    ProfileSettings profile = store.Profile(index);
    ApplyDefaults(profile);
    profile.Set(kAmbientLight, kProfileResetAmbientLight);
    profile.Bytes()[kName.offset] = 0;
}

}  // namespace settings
