// The host-side form of one profile (12,460 bytes, little-endian, packed) and
// access to its fields at the offsets of either layout: the program's, or the
// hidlink library's (which places the stage codes and button entries one or
// two bytes earlier).
#pragma once

#include "device/ProfileBlocks.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

struct RecordLayout {
    size_t inUse;
    size_t reportRate;
    size_t powerSave;
    size_t ambientLight;
    std::array<size_t, 4> stageCodes;
    size_t buttonEntries;  // entry j at buttonEntries + 8 j
    size_t macroBlocks;    // block j at macroBlocks + 1544 j
};

inline constexpr RecordLayout kProgramLayout{1, 8, 9, 10, {26, 28, 30, 32}, 36, 108};
inline constexpr RecordLayout kLibraryLayout{1, 8, 9, 10, {25, 27, 29, 31}, 34, 108};

const RecordLayout& LayoutFor(ProtocolVariant variant);

namespace record {
inline constexpr size_t kSize = 12460;
inline constexpr size_t kProfileIndex = 0;
inline constexpr size_t kConstant = 4;  // u16, always 2048
inline constexpr uint16_t kConstantValue = 2048;
inline constexpr size_t kOpticalDpi = 17;
inline constexpr size_t kHdstDpi = 21;
inline constexpr size_t kAngleSnapping = 33;
inline constexpr size_t kLiftOff = 34;
inline constexpr size_t kButtonEntrySize = 8;
inline constexpr int kButtonEntries = 9;
inline constexpr size_t kEntryCategory = 0;
inline constexpr size_t kEntryValue = 1;
inline constexpr size_t kEntryExtra = 6;
inline constexpr size_t kMacroBlockSize = 1544;
inline constexpr int kMacroBlocks = 8;
inline constexpr size_t kMacroCount = 0;  // u16
inline constexpr size_t kMacroEvents = 8;
inline constexpr size_t kMacroEventSize = 12;
inline constexpr int kMacroEventCapacity = 128;
inline constexpr size_t kEventKind = 0;
inline constexpr size_t kEventCode = 2;       // u16
inline constexpr size_t kEventDirection = 4;
inline constexpr size_t kEventDelay = 8;      // u32
}  // namespace record

static_assert(record::kMacroEvents + record::kMacroEventCapacity * record::kMacroEventSize
              == record::kMacroBlockSize);
static_assert(kProgramLayout.macroBlocks + record::kMacroBlocks * record::kMacroBlockSize == record::kSize);
static_assert(kProgramLayout.buttonEntries + record::kButtonEntries * record::kButtonEntrySize
              == kProgramLayout.macroBlocks);

using DeviceProfileRecord = std::array<uint8_t, record::kSize>;

// Field access over the bytes of one record in a given layout. The view does
// not own the bytes; it never reaches outside the 12,460 bytes it is given.
class RecordView {
public:
    RecordView(uint8_t* bytes, const RecordLayout& layout) : bytes_(bytes), layout_(layout) {}

    uint8_t U8(size_t offset) const { return bytes_[offset]; }
    void SetU8(size_t offset, uint8_t value) { bytes_[offset] = value; }
    uint16_t U16(size_t offset) const;
    void SetU16(size_t offset, uint16_t value);
    uint32_t U32(size_t offset) const;
    void SetU32(size_t offset, uint32_t value);

    const RecordLayout& Layout() const { return layout_; }
    uint8_t* Bytes() { return bytes_; }
    const uint8_t* Bytes() const { return bytes_; }

    ButtonEntry Button(int j) const;
    void SetButton(int j, const ButtonEntry& entry);
    size_t ButtonOffset(int j) const { return layout_.buttonEntries + record::kButtonEntrySize * j; }

    size_t MacroBlockOffset(int j) const { return layout_.macroBlocks + record::kMacroBlockSize * j; }
    // Event count of block j, limited to the block's room.
    int MacroEventCount(int j) const;
    void SetMacroEventCount(int j, uint16_t count);
    MacroEventIn MacroEvent(int j, int k) const;
    void SetMacroEvent(int j, int k, const MacroEventOut& event);
    void SetMacroEventIn(int j, int k, const MacroEventIn& event);

private:
    size_t EventOffset(int j, int k) const
    {
        return MacroBlockOffset(j) + record::kMacroEvents + record::kMacroEventSize * k;
    }

    uint8_t* bytes_;
    const RecordLayout& layout_;
};

}  // namespace device
