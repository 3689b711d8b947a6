#include "settings/HostCopy.h"

#include <algorithm>
#include <cstring>
#include <vector>
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

// A profile with what the mouse does not keep blanked, the names a read
// makes up for macros among it.
std::vector<uint8_t> KeptValues(const SettingsStore& store, int index)
{
    const uint8_t* bytes = store.Profile(index).Bytes();
    std::vector<uint8_t> kept(bytes, bytes + prof::kSize);
    for (const Span& span : kHostOnly)
        std::fill_n(kept.begin() + static_cast<std::ptrdiff_t>(span.offset), span.size, uint8_t{0});
    for (size_t k = 0; k < prof::kMacroSlots; ++k) {
        const size_t name = prof::kMacros + k * layout::macro::kSize + layout::macro::kName.offset;
        std::fill_n(kept.begin() + static_cast<std::ptrdiff_t>(name), layout::macro::kName.size, uint8_t{0});
    }
    return kept;
}

}  // namespace

void HostCopy::CopyHostOnlyValues(const SettingsStore& from, SettingsStore& to, int index)
{
    const uint8_t* source = from.Profile(index).Bytes();
    uint8_t* target = to.Profile(index).Bytes();
    for (const Span& span : kHostOnly)
        std::memcpy(target + span.offset, source + span.offset, span.size);
}

bool HostCopy::SameKeptValues(const SettingsStore& a, const SettingsStore& b, int index)
{
    return KeptValues(a, index) == KeptValues(b, index);
}

// The host's five profiles written as an apply writes them, then read back
// and taken into a store as the reads of the user's mouse were.
bool HostCopy::Echo(const SettingsStore& host, SettingsStore& echoed)
{
    auto records = std::make_unique<RecordTable>();
    for (int p = 0; p < kProfiles; ++p) {
        FillRecord(host, p, MacroSource::ProfileCopy, (*records)[p]);
        if (!echo_.WriteProfileRecord(static_cast<uint8_t>(p), (*records)[p]))
            return false;
    }
    for (int p = kProfiles - 1; p >= 0; --p) {
        (*records)[p] = {};
        if (!echo_.ReadProfileRecord(static_cast<uint8_t>(p), (*records)[p]))
            return false;
        ReadRecord(echoed, p, (*records)[p], pointer_, 0);
    }
    return true;
}

ProfileSet HostCopy::Merge(SettingsStore& store, const SettingsStore& host, ProfileSet unread)
{
    auto echoed = std::make_unique<SettingsStore>();
    const bool known = Echo(host, *echoed);
    ProfileSet changed;
    for (int p = 0; p < kProfiles; ++p) {
        if (unread.Contains(p) || (known && SameKeptValues(store, *echoed, p))) {
            CopyProfile(host, store, p);
            continue;
        }
        CopyHostOnlyValues(host, store, p);
        if (known)
            changed.Add(p);
    }
    return changed;
}

}  // namespace settings
