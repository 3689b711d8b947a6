// Conversion between the settings store and the device's profile records.
// The two directions do not mirror each other: the device layer leaves a
// read record in another form than the one its write expects.
#pragma once

#include "device/DeviceProfileRecord.h"
#include "platform/pointer_settings.h"
#include "settings/SettingsStore.h"

#include <array>

namespace settings {

using RecordTable = std::array<device::DeviceProfileRecord, 5>;

// Device codes of the settings' value tables.
uint8_t ReportRateByte(int32_t hz);
int32_t ReportRateHz(uint8_t code);
uint8_t LiftOffByte(int32_t level);
int32_t LiftOffLevel(uint8_t byte);
// The laser code of a DPI stage index; an index outside 0..9 takes the code
// of the nearest valid one.
uint8_t LaserCode(int32_t yIndex);
int32_t LaserIndex(uint8_t code);

// Where a profile's macro blocks come from: the working list (the profile
// being edited) or the profile's own copy (macros 1..10; a higher number
// gives an empty block).
enum class MacroSource { WorkingList, ProfileCopy };

// Fills record `index` (zeroed by the caller) from profile `index`, its
// ambient-light value included.
void FillRecord(const SettingsStore& store, int index, MacroSource macros, device::DeviceProfileRecord& record);
// The macro block of a button from working slot n (1-based), at most 128
// events; returns the number written.
int FillMacroBlock(const MacroRecord& slot, device::RecordView& record, int button);

// Profile `index`, the working list, the current profile and the version
// texts from a record as a read left it. Pointer levels come from the desktop.
void ReadRecord(SettingsStore& store, int index, device::DeviceProfileRecord& record,
                platform::PointerSettings& pointer, int firmwareVersion);
// The events of a read macro block into a working slot (at most 128 kept).
void DecodeMacroBlock(const device::RecordView& record, int button, MacroRecord slot);
// Moves the numbered macros of slots 1..15 down to slots 1..n in order and
// renumbers them and the buttons of profile `index` that use them.
void CompactWorkingMacros(SettingsStore& store, int index);

}  // namespace settings
