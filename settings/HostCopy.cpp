#include "settings/HostCopy.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace settings {
namespace {

namespace prof = layout::profile;

constexpr int kProfiles = static_cast<int>(layout::store::kProfileCount);

struct Span {
    size_t offset;
    size_t size;
};

// The parts of a profile that no transfer carries: the name, the desktop's
// pointer settings, lift-off and angle snapping, the optical and HDST stages
// with the selected stages, the laser X values, the angle tuning and the
// ambient-light value (the mouse holds only the current profile's).
constexpr Span kHostOnly[] = {
    {prof::kName.offset, prof::kName.size},
    {prof::kScrollSpeed.offset, prof::kPowerSave.offset - prof::kScrollSpeed.offset},
    {prof::kLiftOffDistance.offset, prof::kHdstDpi.End() - prof::kLiftOffDistance.offset},
    {prof::kLaserSelected.offset, 1},
    {prof::kLaserLevels.At(0).offset, sizeof(int32_t)},
    {prof::kLaserLevels.At(2).offset, sizeof(int32_t)},
    {prof::kLaserLevels.At(4).offset, sizeof(int32_t)},
    {prof::kLaserLevels.At(6).offset, sizeof(int32_t)},
    {prof::kAngleTuning.offset, 1},
    {prof::kAmbientLight.offset, sizeof(int32_t)},
};

void CopyProfile(const SettingsStore& from, SettingsStore& to, int index)
{
    std::memcpy(to.Profile(index).Bytes(), from.Profile(index).Bytes(), prof::kSize);
}

}  // namespace

bool SameReadRecord(const device::DeviceProfileRecord& a, const device::DeviceProfileRecord& b)
{
    const size_t ambient = device::kProgramLayout.ambientLight;
    return std::equal(a.begin(), a.begin() + ambient, b.begin())
        && std::equal(a.begin() + ambient + 1, a.end(), b.begin() + ambient + 1);
}

void HostCopy::CopyHostOnlyValues(const SettingsStore& from, SettingsStore& to, int index)
{
    const uint8_t* source = from.Profile(index).Bytes();
    uint8_t* target = to.Profile(index).Bytes();
    for (const Span& span : kHostOnly)
        std::memcpy(target + span.offset, source + span.offset, span.size);
}

// The host's five profiles written as an apply writes them, then read back.
bool HostCopy::Echo(const SettingsStore& host, RecordTable& echoed)
{
    auto written = std::make_unique<RecordTable>();
    for (int p = 0; p < kProfiles; ++p) {
        FillRecord(host, p, MacroSource::ProfileCopy, (*written)[p]);
        if (!echo_.WriteProfileRecord(static_cast<uint8_t>(p), (*written)[p]))
            return false;
    }
    for (int p = 0; p < kProfiles; ++p) {
        echoed[p] = {};
        if (!echo_.ReadProfileRecord(static_cast<uint8_t>(p), echoed[p]))
            return false;
    }
    return true;
}

ProfileSet HostCopy::Merge(SettingsStore& store, const SettingsStore& host, const RecordTable& read, ProfileSet unread)
{
    auto echoed = std::make_unique<RecordTable>();
    const bool known = Echo(host, *echoed);
    ProfileSet changed;
    for (int p = 0; p < kProfiles; ++p) {
        if (unread.Contains(p) || (known && SameReadRecord(read[p], (*echoed)[p]))) {
            CopyProfile(host, store, p);
            continue;
        }
        CopyHostOnlyValues(host, store, p);
        changed.Add(p);
    }
    return changed;
}

}  // namespace settings
