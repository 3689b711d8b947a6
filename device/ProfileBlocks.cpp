#include "device/ProfileBlocks.h"

namespace device {
namespace {

constexpr int kAnyValue = -1;

// Button functions and their key-table entries. A row gives the host's
// (category, value) that writes the entry, and what the entry reads back as;
// the mouse-button rows do not read back as they were written.
struct FunctionRow {
    uint8_t category;
    int value;  // kAnyValue: any value of the category
    uint8_t type;
    uint8_t code;
    uint8_t readCategory;
    uint8_t readValue;
};

constexpr FunctionRow kFunctionRows[] = {
    {category::MouseButton, 1, kEntryFunction, 0xF0, category::MouseButton, 1},
    {category::MouseButton, 2, kEntryFunction, 0xF2, category::MouseButton, 2},
    {category::MouseButton, 4, kEntryFunction, 0xF1, category::MouseButton, 4},
    {category::MouseButton, 8, kEntryFunction, 0xF8, category::MouseButton, 16},
    {category::MouseButton, 16, kEntryFunction, 0xF9, category::MouseButton, 8},
    {category::Wheel, 1, kEntryFunction, 0xF4, category::Wheel, 1},
    {category::Wheel, 255, kEntryFunction, 0xF3, category::Wheel, 255},
    {category::ProfileSelect, kAnyValue, kEntryProfile, 0x03, category::ProfileSelect, 0},
    {category::DpiLevelSwitch, kAnyValue, kEntryDpi, 0xF0, category::DpiLevelSwitch, 0},
    {category::DpiUp, kAnyValue, kEntryDpi, 0x01, category::DpiUp, 0},
    {category::DpiDown, kAnyValue, kEntryDpi, 0x02, category::DpiDown, 0},
    {category::SniperSwitch, kAnyValue, kEntryDpi, 0x08, category::SniperSwitch, 0},
    {category::TripleClick, kAnyValue, kEntryFunction, 0xFA, category::TripleClick, 0},
    {category::DoubleClick, kAnyValue, kEntryFunction, 0xF7, category::DoubleClick, 0},
};

// Modifier markers of a key-combination slot, in slot order, with the write
// mask and the read bit of the host's entry byte 6.
struct ModifierRow {
    uint8_t marker;
    uint8_t writeMask;
    uint8_t readBit;
};
constexpr ModifierRow kModifierRows[] = {
    {0xE0, 0x11, 0x01},  // Ctrl
    {0xE1, 0x22, 0x02},  // Shift
    {0xE2, 0x44, 0x04},  // Alt
};

// Mouse and wheel event codes of a macro slot, per variant.
struct EventCodeRow {
    uint8_t kind;
    uint16_t hostCode;
    uint8_t programCode;
    uint8_t libraryCode;  // 0: not encoded by the library
};
constexpr EventCodeRow kEventCodeRows[] = {
    {kEventMouseButton, 1, 0xB7, 0xF0},
    {kEventMouseButton, 2, 0xB8, 0xF2},
    {kEventMouseButton, 4, 0xB9, 0xF1},
    {kEventMouseButton, 8, 0xBA, 0x00},
    {kEventMouseButton, 16, 0xBB, 0x00},
    {kEventWheel, 1, 0xC0, 0xF3},
    {kEventWheel, 255, 0xC1, 0xF4},
};

// How the program reads mouse and wheel codes back (not the inverse of the
// write table for the browser buttons).
struct EventReadRow {
    uint8_t deviceCode;
    uint8_t kind;
    uint16_t hostCode;
};
constexpr EventReadRow kEventReadRows[] = {
    {0xB7, kEventMouseButton, 1},  {0xB8, kEventMouseButton, 2}, {0xB9, kEventMouseButton, 4},
    {0xBA, kEventMouseButton, 16}, {0xBB, kEventMouseButton, 8}, {0xC0, kEventWheel, 1},
    {0xC1, kEventWheel, 255},
};

constexpr unsigned kTickMs = 20;

}  // namespace

std::optional<KeyEntry> FunctionEntryFor(uint8_t cat, uint8_t value)
{
    if (cat == category::Disabled)
        return KeyEntry{};
    for (const FunctionRow& row : kFunctionRows) {
        if (row.category == cat && (row.value == kAnyValue || row.value == value))
            return KeyEntry{row.type, row.code, 0, 0};
    }
    return std::nullopt;
}

std::optional<ButtonEntry> ReadFunctionEntry(const KeyEntry& entry)
{
    const uint8_t type = entry[0];
    const uint8_t code = entry[1];
    if (type == kEntryFunction || type == kEntryProfile || type == kEntryDpi) {
        for (const FunctionRow& row : kFunctionRows) {
            if (row.type == type && row.code == code)
                return ButtonEntry{row.readCategory, row.readValue, 0};
        }
        return std::nullopt;  // unknown code of a known type: left as it was
    }
    return ButtonEntry{category::Disabled, 0, 0};
}

ComboSlot EncodeComboSlot(uint8_t usage, uint8_t writeModifiers)
{
    ComboSlot slot{};
    size_t at = 0;
    for (const ModifierRow& row : kModifierRows) {
        if ((writeModifiers & row.writeMask) != 0)
            slot[at++] = row.marker;
    }
    slot[at] = usage;
    return slot;
}

ButtonEntry DecodeComboSlot(const ComboSlot& slot)
{
    ButtonEntry result{category::Key, 0, 0};
    for (uint8_t byte : slot) {
        const ModifierRow* modifier = nullptr;
        for (const ModifierRow& row : kModifierRows) {
            if (row.marker == byte)
                modifier = &row;
        }
        if (modifier == nullptr) {
            result.value = byte;
            break;
        }
        result.extra |= modifier->readBit;
    }
    return result;
}

std::array<uint8_t, 2> EncodeMacroHeader(uint8_t playMode)
{
    if (playMode == kPlayWhileHeld)
        return {0xFF, 0xFF};
    if (playMode == kPlayToggle)
        return {0x00, 0x00};
    return {0x00, playMode};
}

uint8_t DecodeMacroHeader(uint8_t h0, uint8_t h1)
{
    if (h0 == 0xFF && h1 == 0xFF)
        return kPlayWhileHeld;
    if (h0 == 0 && h1 == 0)
        return kPlayToggle;
    return h1;
}

static uint8_t EventCodeByte(const MacroEventIn& event, ProtocolVariant variant)
{
    if (event.kind == kEventKey)
        return static_cast<uint8_t>(event.code & 0xFF);
    for (const EventCodeRow& row : kEventCodeRows) {
        if (row.kind == event.kind && row.hostCode == event.code)
            return variant == ProtocolVariant::Program ? row.programCode : row.libraryCode;
    }
    return 0;
}

std::array<uint8_t, 3> EncodeMacroEvent(const MacroEventIn& event, ProtocolVariant variant)
{
    const uint32_t ticks = event.delayMs / kTickMs;
    uint8_t first = static_cast<uint8_t>((ticks >> 8) & 0x7F);
    if (event.direction == 0)
        first |= 0x80;
    return {first, static_cast<uint8_t>(ticks & 0xFF), EventCodeByte(event, variant)};
}

uint32_t SwapDelayBytes(uint32_t delay)
{
    const uint32_t b0 = delay & 0xFF;
    const uint32_t b2 = (delay >> 16) & 0xFF;
    return (delay & 0xFF00FF00u) | (b0 << 16) | b2;
}

std::optional<MacroEventOut> DecodeMacroEvent(const uint8_t* bytes)
{
    const uint8_t code = bytes[2];
    if (code == 0)
        return std::nullopt;
    MacroEventOut event;
    event.kind = kEventKey;
    event.code = static_cast<uint16_t>(code << 8);
    for (const EventReadRow& row : kEventReadRows) {
        if (row.deviceCode == code) {
            event.kind = row.kind;
            event.code = row.hostCode;
        }
    }
    event.direction = (bytes[0] & 0x80) != 0 ? 1 : 2;
    const uint32_t ticks = (uint32_t{bytes[0] & 0x7Fu} << 8) | bytes[1];
    event.delayStored = SwapDelayBytes(ticks * kTickMs);
    return event;
}

}  // namespace device
