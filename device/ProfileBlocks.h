// The device-side blocks of a profile (key table, key-combination table,
// macro slots) and the codecs between them and the host's button entries
// and macro events.
#pragma once

#include "device/Protocol.h"

#include <array>
#include <cstdint>
#include <optional>

namespace device {

using KeyEntry = std::array<uint8_t, kKeyEntrySize>;
using KeyTable = std::array<KeyEntry, kKeyTableEntries>;
using ComboSlot = std::array<uint8_t, kComboSlotSize>;
using KeyComboTable = std::array<ComboSlot, kKeyTableEntries>;
using MacroSlotWrite = std::array<uint8_t, kMacroSlotWriteSize>;
using MacroSlotRead = std::array<uint8_t, kMacroSlotReadSize>;
using MacroReadBuffer = std::array<MacroSlotRead, kMacroSlots>;
using MacroScratch = std::array<uint8_t, kMacroScratchSize>;

// The block writes send these tables as one run of bytes.
static_assert(sizeof(KeyTable) == kKeyTableEntries * kKeyEntrySize);
static_assert(sizeof(KeyComboTable) == kKeyTableEntries * kComboSlotSize);

// Button entry categories of the host record.
namespace category {
inline constexpr uint8_t MouseButton = 0;
inline constexpr uint8_t Wheel = 1;
inline constexpr uint8_t Key = 2;
inline constexpr uint8_t Macro = 3;
inline constexpr uint8_t ProfileSelect = 8;
inline constexpr uint8_t DpiLevelSwitch = 9;
inline constexpr uint8_t DpiUp = 10;
inline constexpr uint8_t DpiDown = 11;
inline constexpr uint8_t SniperSwitch = 12;
inline constexpr uint8_t TripleClick = 13;
inline constexpr uint8_t DoubleClick = 14;
inline constexpr uint8_t Disabled = 255;
}  // namespace category

// Key-table entry types.
inline constexpr uint8_t kEntryDisabled = 0x00;
inline constexpr uint8_t kEntryFunction = 0x02;
inline constexpr uint8_t kEntryKey = 0x03;
inline constexpr uint8_t kEntryMacro = 0x53;
inline constexpr uint8_t kEntryProfile = 0x70;
inline constexpr uint8_t kEntryDpi = 0x71;

inline constexpr KeyEntry kWheelUpEntry = {0x02, 0xF4, 0, 0};
inline constexpr KeyEntry kWheelDownEntry = {0x02, 0xF3, 0, 0};

// Macro play modes as the host record holds them.
inline constexpr uint8_t kPlayWhileHeld = 0xF1;
inline constexpr uint8_t kPlayToggle = 0xF2;

// Macro event kinds of the host record.
inline constexpr uint8_t kEventKey = 1;
inline constexpr uint8_t kEventMouseButton = 16;
inline constexpr uint8_t kEventWheel = 17;

// Host-side button entry fields that the codecs use.
struct ButtonEntry {
    uint8_t category = 0;
    uint8_t value = 0;
    uint8_t extra = 0;  // modifiers of a key, or the macro number
};

// Host-side macro event in the write form (direction 0 = down).
struct MacroEventIn {
    uint8_t kind = 0;
    uint16_t code = 0;
    uint8_t direction = 0;
    uint32_t delayMs = 0;
};

// Host-side macro event in the read form (direction 1 = down, 2 = up; the
// delay is stored with bytes 0 and 2 of the u32 exchanged).
struct MacroEventOut {
    uint8_t kind = 0;
    uint16_t code = 0;
    uint8_t direction = 0;
    uint32_t delayStored = 0;
};

// Key-table entry for a button; nullopt for a category that has none
// (the entry then stays 00 00 00 00). The macro entry is built by the caller.
std::optional<KeyEntry> FunctionEntryFor(uint8_t category, uint8_t value);
// What a non-key, non-macro entry reads back as; nullopt when the entry
// leaves the record's category and value as they were.
std::optional<ButtonEntry> ReadFunctionEntry(const KeyEntry& entry);

// Key-combination slot of a key button: Ctrl/Shift/Alt markers then usage.
ComboSlot EncodeComboSlot(uint8_t usage, uint8_t writeModifiers);
// The usage and read-side modifier bits (0x01, 0x02, 0x04) of a slot.
ButtonEntry DecodeComboSlot(const ComboSlot& slot);

// Two-byte play-mode header of a macro slot.
std::array<uint8_t, 2> EncodeMacroHeader(uint8_t playMode);
uint8_t DecodeMacroHeader(uint8_t h0, uint8_t h1);

// Three bytes of one macro event.
std::array<uint8_t, 3> EncodeMacroEvent(const MacroEventIn& event, ProtocolVariant variant);
// Decodes one event of a slot read by the program; nullopt at the end mark.
std::optional<MacroEventOut> DecodeMacroEvent(const uint8_t* bytes);

uint32_t SwapDelayBytes(uint32_t delay);

}  // namespace device
