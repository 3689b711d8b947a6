#include "device/ProfileTransfer.h"

#include <algorithm>

namespace device {

uint8_t RateRecordByte(uint8_t code)
{
    return code < kRateRecordByteForCode.size() ? kRateRecordByteForCode[code] : kRateRecordByteForCode.back();
}

uint8_t RateCode(uint8_t recordByte)
{
    for (uint8_t code = 0; code < kRateRecordByteForCode.size(); ++code) {
        if (kRateRecordByteForCode[code] == recordByte)
            return code;
    }
    return kMaxReportRateCode;
}

uint8_t PowerSaveSeconds(uint8_t code)
{
    return code < kPowerSaveSecondsForCode.size() ? kPowerSaveSecondsForCode[code] : 0;
}

uint8_t PowerSaveCode(uint8_t seconds)
{
    for (uint8_t code = 1; code < kPowerSaveSecondsForCode.size(); ++code) {
        if (kPowerSaveSecondsForCode[code] == seconds)
            return code;
    }
    return 0;
}

ProfileTransfer::ProfileTransfer(CommandSet& commands) : commands_(commands) {}

bool ProfileTransfer::ReadProfileRecord(uint8_t p, DeviceProfileRecord& record)
{
    return IsProgram() && Read(p, record.data());
}

bool ProfileTransfer::WriteProfileRecord(uint8_t p, const DeviceProfileRecord& record)
{
    return IsProgram() && Write(p, record.data());
}

bool ProfileTransfer::Begin(uint8_t p)
{
    // Only profiles 0..4 exist: another number would select the first
    // profile while the per-profile commands went nowhere.
    if (p >= kProfileCount)
        return false;
    if (!commands_.Link().EnsureOpen())
        return false;
    // Their failures show in the next command.
    commands_.BeginTransfer();
    commands_.SetCurrentProfile(p);
    return true;
}

// ---- read ----------------------------------------------------------------

bool ProfileTransfer::Read(uint8_t p, uint8_t* record)
{
    RecordView view(record, LayoutFor(commands_.Variant()));
    if (!Begin(p))
        return false;
    if (IsProgram() && !ReadLedAmbient(view))
        return false;
    if (!ReadRateAndPowerSave(p, view))
        return false;
    if (!ReadButtonBlocks(p)) {
        macroRead_.reset();
        return false;
    }
    DecodeButtons(view);
    macroRead_.reset();
    if (!ReadStageCodes(p, view))
        return false;
    return ReadInUseFlags(p, view);
}

bool ProfileTransfer::ReadLedAmbient(RecordView& view)
{
    uint8_t state = 0, ambient = 0;
    if (!commands_.GetLedState(state, ambient))
        return false;
    view.SetU8(view.Layout().ambientLight, ambient);
    return true;
}

bool ProfileTransfer::ReadRateAndPowerSave(uint8_t p, RecordView& view)
{
    uint8_t rate = 0;
    if (!commands_.GetReportRate(rate))
        return false;
    view.SetU8(view.Layout().reportRate, RateRecordByte(rate));
    uint8_t powerSave = 0;
    if (!commands_.GetPowerSave(p, powerSave))
        return false;
    view.SetU8(view.Layout().powerSave, PowerSaveSeconds(powerSave));
    return true;
}

bool ProfileTransfer::ReadButtonBlocks(uint8_t p)
{
    keyTable_ = {};
    if (!commands_.ReadKeyTable(p, keyTable_))
        return false;
    if (!IsProgram())
        return true;
    comboTable_ = {};
    if (!commands_.ReadKeyComboTable(p, comboTable_))
        return false;
    macroRead_ = std::make_unique<MacroReadBuffer>();
    return commands_.ReadMacroSlots(p, *macroRead_);
}

void ProfileTransfer::DecodeButtons(RecordView& view)
{
    for (int j = 0; j < kButtonCount; ++j) {
        const KeyEntry& entry = keyTable_[kButtonSlot[j]];
        const size_t at = view.ButtonOffset(j);
        if (entry[0] == kEntryKey) {
            DecodeKeyButton(j, view);
        } else if (entry[0] == kEntryMacro) {
            DecodeMacroButton(j, view);
        } else if (const auto read = ReadFunctionEntry(entry)) {
            view.SetU8(at + record::kEntryCategory, read->category);
            view.SetU8(at + record::kEntryValue, read->value);
        }
    }
}

void ProfileTransfer::DecodeKeyButton(int j, RecordView& view)
{
    if (!IsProgram()) {
        view.SetU8(view.ButtonOffset(j) + record::kEntryCategory, category::Key);
        return;
    }
    view.SetButton(j, DecodeComboSlot(comboTable_[kButtonSlot[j]]));
}

void ProfileTransfer::DecodeMacroButton(int j, RecordView& view)
{
    const KeyEntry& entry = keyTable_[kButtonSlot[j]];
    const size_t at = view.ButtonOffset(j);
    view.SetU8(at + record::kEntryCategory, category::Macro);
    if (!IsProgram()) {
        view.SetU8(at + record::kEntryValue, entry[3]);
        return;
    }
    view.SetU8(at + record::kEntryExtra, entry[2]);
    const uint8_t m = entry[3];
    if (m >= kMacroSlots)
        return;
    const MacroSlotRead& slot = (*macroRead_)[m];
    view.SetU8(at + record::kEntryValue, DecodeMacroHeader(slot[0], slot[1]));
    int count = 0;
    for (; count < kMacroEventsRead; ++count) {
        const auto event = DecodeMacroEvent(slot.data() + 2 + 3 * count);
        if (!event)
            break;
        view.SetMacroEvent(j, count, *event);
    }
    view.SetMacroEventCount(j, static_cast<uint16_t>(count));
}

bool ProfileTransfer::ReadStageCodes(uint8_t p, RecordView& view)
{
    StageData codes{};
    if (!commands_.ReadStageCodes(p, codes))
        return false;
    for (size_t i = 0; i < view.Layout().stageCodes.size(); ++i)
        view.SetU8(view.Layout().stageCodes[i], codes[i]);
    return true;
}

bool ProfileTransfer::ReadInUseFlags(uint8_t p, RecordView& view)
{
    const bool allProfiles = !IsProgram();
    if (allProfiles && p != kProfileCount - 1)
        return true;
    ProfileFlagSet flags{};
    if (!commands_.GetProfileFlags(flags))
        return false;
    if (!allProfiles) {
        view.SetU8(view.Layout().inUse, flags[p] != 0 ? 1 : 0);
        return true;
    }
    // The caller's array of five records ends with this one.
    for (int k = 0; k < kProfileCount; ++k) {
        uint8_t* other = view.Bytes() - record::kSize * (kProfileCount - 1 - k);
        other[view.Layout().inUse] = flags[k] != 0 ? 1 : 0;
    }
    return true;
}

// ---- write ---------------------------------------------------------------

bool ProfileTransfer::Write(uint8_t p, const uint8_t* record)
{
    // The view only reads through this pointer.
    const RecordView view(const_cast<uint8_t*>(record), LayoutFor(commands_.Variant()));
    if (!Begin(p))
        return false;
    if (IsProgram() && !WriteLedAmbient(view))
        return false;
    return WriteRateAndPowerSave(p, view) && commands_.SetProfileColour(p) && commands_.SetProfileAux(p)
        && WriteKeyTable(p, view) && WriteKeyComboTable(view) && WriteMacros(p, view) && WriteStageCodes(p, view)
        && WriteInUseFlags(p, view);
}

bool ProfileTransfer::WriteLedAmbient(const RecordView& view)
{
    uint8_t state = 0, ambient = 0;
    return commands_.GetLedState(state, ambient) && commands_.SetLedSwitch(state, view.U8(view.Layout().ambientLight));
}

bool ProfileTransfer::WriteRateAndPowerSave(uint8_t p, const RecordView& view)
{
    return commands_.SetReportRate(p, RateCode(view.U8(view.Layout().reportRate)))
        && commands_.SetPowerSave(p, PowerSaveCode(view.U8(view.Layout().powerSave)));
}

bool ProfileTransfer::WriteKeyTable(uint8_t p, const RecordView& view)
{
    keyTable_ = {};
    for (int j = 0; j < kButtonCount; ++j) {
        const uint8_t s = kButtonSlot[j];
        const ButtonEntry button = view.Button(j);
        if (button.category == category::Key) {
            keyTable_[s] = {kEntryKey, s, 0, 0};
        } else if (button.category == category::Macro) {
            const uint8_t number = IsProgram() ? button.extra : 0;
            keyTable_[s] = {kEntryMacro, 0, number, s};
        } else if (const auto entry = FunctionEntryFor(button.category, button.value)) {
            keyTable_[s] = *entry;
        }
    }
    if (keyTable_[7][0] == 0)
        keyTable_[7] = kWheelUpEntry;
    if (keyTable_[8][0] == 0)
        keyTable_[8] = kWheelDownEntry;
    return commands_.WriteKeyTable(p, keyTable_);
}

bool ProfileTransfer::WriteKeyComboTable(const RecordView& view)
{
    comboTable_ = {};
    for (int j = 0; j < kButtonCount; ++j) {
        const ButtonEntry button = view.Button(j);
        if (button.category == category::Key)
            comboTable_[kButtonSlot[j]] = EncodeComboSlot(button.value, button.extra);
    }
    return commands_.WriteKeyComboTable(comboTable_);
}

bool ProfileTransfer::WriteMacros(uint8_t p, const RecordView& view)
{
    for (int j = 0; j < kButtonCount; ++j) {
        const ButtonEntry button = view.Button(j);
        if (button.category != category::Macro)
            continue;
        macroScratch_ = {};
        const auto header = EncodeMacroHeader(button.value);
        std::copy(header.begin(), header.end(), macroScratch_.begin());
        commands_.Link().Clock().SleepMs(kPauseBeforeMacroWriteMs);
        const int count = view.MacroEventCount(j);
        for (int k = 0; k < count; ++k) {
            const auto bytes = EncodeMacroEvent(view.MacroEvent(j, k), commands_.Variant());
            std::copy(bytes.begin(), bytes.end(), macroScratch_.begin() + 2 + 3 * k);
        }
        // Only the first 245 bytes (81 events) reach the mouse.
        if (!commands_.WriteMacroSlot(p, kButtonSlot[j], macroScratch_.data()))
            return false;
    }
    return true;
}

bool ProfileTransfer::WriteStageCodes(uint8_t p, const RecordView& view)
{
    const auto& at = view.Layout().stageCodes;
    return commands_.WriteStageCodes(p, view.U8(at[0]), view.U8(at[1]), view.U8(at[2]), view.U8(at[3]));
}

bool ProfileTransfer::WriteInUseFlags(uint8_t p, const RecordView& view)
{
    ProfileFlagSet flags{};
    if (IsProgram()) {
        if (!commands_.GetProfileFlags(flags))
            return false;
        flags[p] = view.U8(view.Layout().inUse);
        return commands_.SetProfileFlags(flags);
    }
    if (p != kProfileCount - 1)
        return true;
    // The flags of all five records, as they are, from the caller's array.
    for (int k = 0; k < kProfileCount; ++k) {
        const uint8_t* other = view.Bytes() - record::kSize * (kProfileCount - 1 - k);
        flags[k] = other[view.Layout().inUse];
    }
    return commands_.SetProfileFlags(flags);
}

}  // namespace device
