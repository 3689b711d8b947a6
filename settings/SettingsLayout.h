// Byte layout of the settings records: the in-memory model and the on-disk
// format at once (packed, little-endian; several i32 fields stand at odd
// offsets). Every offset below is pinned by the static_asserts at the end.
#pragma once

#include "settings/FieldView.h"

namespace settings::layout {

namespace event {
inline constexpr size_t kSize = 400;
inline constexpr TextField kKind{0, 100};
inline constexpr TextField kName{100, 200};
inline constexpr TextField kDirection{300, 100};
}  // namespace event

namespace macro {
inline constexpr size_t kSize = 102664;
inline constexpr size_t kEventCapacity = 256;
inline constexpr Field<int32_t> kNumber{0};
inline constexpr TextField kName{4, 256};
inline constexpr Field<int32_t> kEventCount{260};
inline constexpr size_t kEvents = 264;
}  // namespace macro

namespace profile {
inline constexpr size_t kSize = 1027137;
inline constexpr size_t kButtonSlots = 11;
inline constexpr size_t kStages = 4;
inline constexpr size_t kMacroSlots = 10;
inline constexpr Field<uint8_t> kInUse{0};
inline constexpr TextField kName{1, 256};
inline constexpr ArrayField<int32_t, kButtonSlots> kButtonFunction{257};
inline constexpr ArrayField<int32_t, kButtonSlots> kButtonParam{301};
inline constexpr Field<int32_t> kReportRate{345};
inline constexpr Field<int32_t> kScrollSpeed{349};
inline constexpr Field<int32_t> kDoubleClickSpeed{353};
inline constexpr Field<int32_t> kPointerAcceleration{357};
inline constexpr Field<int32_t> kPowerSave{361};
inline constexpr Field<int32_t> kLiftOffDistance{365};
inline constexpr Field<int32_t> kAngleSnapping{369};
inline constexpr Field<uint8_t> kOpticalSelected{373};
inline constexpr ArrayField<int32_t, kStages> kOpticalDpi{374};
inline constexpr Field<uint8_t> kHdstSelected{390};
inline constexpr ArrayField<int32_t, kStages> kHdstDpi{391};
inline constexpr Field<uint8_t> kLaserSelected{407};
// Four (x, yIndex) pairs: x of stage k at 2k, yIndex at 2k + 1.
inline constexpr ArrayField<int32_t, 2 * kStages> kLaserLevels{408};
inline constexpr Field<int8_t> kAngleTuning{440};
inline constexpr ArrayField<int32_t, kButtonSlots> kMacroPlayMode{441};
inline constexpr Field<uint8_t> kReserved485{485};
inline constexpr Field<int32_t> kAmbientLight{486};
inline constexpr Field<int32_t> kMacroCount{493};
inline constexpr size_t kMacros = 497;
}  // namespace profile

namespace store {
inline constexpr size_t kSize = 7189486;
inline constexpr size_t kProfileCount = 5;
inline constexpr size_t kWorkingSlots = 20;
inline constexpr Field<int32_t> kCurrentProfile{0};
inline constexpr size_t kProfiles = 4;
inline constexpr Field<int32_t> kWorkingMacroCount{5135689};
inline constexpr size_t kWorkingMacros = 5135693;
inline constexpr Field<uint8_t> kLedOn{7188973};
inline constexpr TextField kAppVersion{7188974, 256};
inline constexpr TextField kFirmwareVersion{7189230, 256};
}  // namespace store

static_assert(event::kDirection.End() == event::kSize);
static_assert(macro::kEvents + macro::kEventCapacity * event::kSize == macro::kSize);
static_assert(profile::kName.End() == profile::kButtonFunction.offset);
static_assert(profile::kButtonFunction.End() == profile::kButtonParam.offset);
static_assert(profile::kButtonParam.End() == profile::kReportRate.offset);
static_assert(profile::kAngleSnapping.offset + 4 == profile::kOpticalSelected.offset);
static_assert(profile::kOpticalDpi.End() == profile::kHdstSelected.offset);
static_assert(profile::kHdstDpi.End() == profile::kLaserSelected.offset);
static_assert(profile::kLaserLevels.End() == profile::kAngleTuning.offset);
static_assert(profile::kMacroPlayMode.End() == profile::kReserved485.offset);
static_assert(profile::kAmbientLight.offset + 4 + 3 == profile::kMacroCount.offset);
static_assert(profile::kMacros + profile::kMacroSlots * macro::kSize == profile::kSize);
static_assert(store::kProfiles + store::kProfileCount * profile::kSize == store::kWorkingMacroCount.offset);
static_assert(store::kWorkingMacros + store::kWorkingSlots * macro::kSize == store::kLedOn.offset);
static_assert(store::kLedOn.offset + 1 == store::kAppVersion.offset);
static_assert(store::kAppVersion.End() == store::kFirmwareVersion.offset);
static_assert(store::kFirmwareVersion.End() == store::kSize);

}  // namespace settings::layout
