#include "device/DeviceProfileRecord.h"

#include "device/LittleEndian.h"

#include <algorithm>

namespace device {

const RecordLayout& LayoutFor(ProtocolVariant variant)
{
    return variant == ProtocolVariant::Program ? kProgramLayout : kLibraryLayout;
}

uint16_t RecordView::U16(size_t offset) const
{
    return ReadU16(bytes_ + offset);
}

void RecordView::SetU16(size_t offset, uint16_t value)
{
    WriteU16(bytes_ + offset, value);
}

uint32_t RecordView::U32(size_t offset) const
{
    return ReadU32(bytes_ + offset);
}

void RecordView::SetU32(size_t offset, uint32_t value)
{
    WriteU32(bytes_ + offset, value);
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
