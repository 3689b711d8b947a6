#include "device/DeviceProfileRecord.h"

#include <algorithm>

namespace device {

const RecordLayout& LayoutFor(ProtocolVariant variant)
{
    return variant == ProtocolVariant::Program ? kProgramLayout : kLibraryLayout;
}

uint16_t RecordView::U16(size_t offset) const
{
    return static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

void RecordView::SetU16(size_t offset, uint16_t value)
{
    bytes_[offset] = static_cast<uint8_t>(value);
    bytes_[offset + 1] = static_cast<uint8_t>(value >> 8);
}

uint32_t RecordView::U32(size_t offset) const
{
    return uint32_t{bytes_[offset]} | (uint32_t{bytes_[offset + 1]} << 8) | (uint32_t{bytes_[offset + 2]} << 16)
         | (uint32_t{bytes_[offset + 3]} << 24);
}

void RecordView::SetU32(size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

ButtonEntry RecordView::Button(int j) const
{
    const size_t at = ButtonOffset(j);
    return ButtonEntry{U8(at + record::kEntryCategory), U8(at + record::kEntryValue), U8(at + record::kEntryExtra)};
}

void RecordView::SetButton(int j, const ButtonEntry& entry)
{
    const size_t at = ButtonOffset(j);
    SetU8(at + record::kEntryCategory, entry.category);
    SetU8(at + record::kEntryValue, entry.value);
    SetU8(at + record::kEntryExtra, entry.extra);
}

int RecordView::MacroEventCount(int j) const
{
    return std::min<int>(U16(MacroBlockOffset(j) + record::kMacroCount), record::kMacroEventCapacity);
}

void RecordView::SetMacroEventCount(int j, uint16_t count)
{
    SetU16(MacroBlockOffset(j) + record::kMacroCount, count);
}

MacroEventIn RecordView::MacroEvent(int j, int k) const
{
    const size_t at = EventOffset(j, k);
    return MacroEventIn{U8(at + record::kEventKind), U16(at + record::kEventCode), U8(at + record::kEventDirection),
                        U32(at + record::kEventDelay)};
}

void RecordView::SetMacroEvent(int j, int k, const MacroEventOut& event)
{
    const size_t at = EventOffset(j, k);
    SetU8(at + record::kEventKind, event.kind);
    SetU16(at + record::kEventCode, event.code);
    SetU8(at + record::kEventDirection, event.direction);
    SetU32(at + record::kEventDelay, event.delayStored);
}

void RecordView::SetMacroEventIn(int j, int k, const MacroEventIn& event)
{
    SetMacroEvent(j, k, MacroEventOut{event.kind, event.code, event.direction, event.delayMs});
}

}  // namespace device
