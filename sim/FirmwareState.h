// What the simulated mouse keeps in its flash: five profiles of blocks and
// settings, plus the global LED, current-profile and firmware-version bytes.
// Plain data, so tests can read and set any field and the state file can
// store it field by field.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sim {

inline constexpr size_t kProfileCount = 5;
inline constexpr size_t kKeyEntryCount = 10;
inline constexpr size_t kKeyEntrySize = 4;
inline constexpr size_t kComboSlotCount = 10;
inline constexpr size_t kComboSlotSize = 7;
inline constexpr size_t kMacroSlotCount = 9;
inline constexpr size_t kMacroSlotSize = 245;
inline constexpr size_t kStageSize = 6;
inline constexpr size_t kColourSize = 3;

using KeyEntry = std::array<uint8_t, kKeyEntrySize>;
using ComboSlot = std::array<uint8_t, kComboSlotSize>;
using MacroSlot = std::array<uint8_t, kMacroSlotSize>;

struct ProfileState {
    uint8_t inUse = 0;  // raw flag byte, non-zero = in use
    std::array<KeyEntry, kKeyEntryCount> keys{};
    std::array<ComboSlot, kComboSlotCount> combos{};
    std::array<MacroSlot, kMacroSlotCount> macros{};
    std::array<uint8_t, kStageSize> stage{};  // bytes 1..6 of the stage-codes output report
    uint8_t reportRate = 0;                   // raw code, stored as received
    uint8_t powerSave = 0;
    std::array<uint8_t, kColourSize> colour{};  // R, G, B
    uint8_t aux = 0;

    bool operator==(const ProfileState&) const = default;
};

struct FirmwareState {
    std::array<ProfileState, kProfileCount> profiles{};
    uint8_t currentProfile = 0;  // 0..4 as the mouse sets it; other values answer as no profile
    uint8_t ledSwitch = 0;
    uint8_t ambient = 0;
    uint8_t firmwareMajor = 0;
    uint8_t firmwareMinor = 0;

    // What a new mouse holds: every profile as the configuration program
    // writes its default settings, firmware V1.07.
    static FirmwareState Fresh();

    bool operator==(const FirmwareState&) const = default;
};

}  // namespace sim
