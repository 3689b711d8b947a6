#include "settings/RecordConversion.h"

#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"
#include "settings/MacroText.h"
#include "settings/PointerLevels.h"
#include "settings/SettingsDefaults.h"
#include "settings/WorkingMacros.h"

#include <algorithm>
#include <cstdio>

namespace settings {
namespace {

using device::RecordView;
using device::kProgramLayout;
namespace rec = device::record;
namespace cat = device::category;
namespace prof = layout::profile;

constexpr std::array<uint8_t, 10> kLiftOffCodes = {5, 6, 7, 8, 9, 10, 12, 18, 25, 32};
constexpr std::array<uint8_t, 10> kLaserCodes = {36, 40, 32, 44, 48, 52, 56, 60, 64, 68};
constexpr int kDpiUnit = 400;
constexpr int kMaxEventsInBlock = rec::kMacroEventCapacity;

// Button functions and the (category, value) of their record entries. The
// read side takes a category back to a function through the same rows.
struct FunctionEntry {
    int32_t function;
    uint8_t category;
    uint8_t value;
};
constexpr FunctionEntry kFunctionEntries[] = {
    {function::LeftClick, cat::MouseButton, 1},     {function::RightClick, cat::MouseButton, 2},
    {function::ScrollWheelClick, cat::MouseButton, 4}, {function::BrowserForward, cat::MouseButton, 16},
    {function::BrowserBackward, cat::MouseButton, 8}, {function::ScrollUp, cat::Wheel, 1},
    {function::ScrollDown, cat::Wheel, 255},         {function::DpiUp, cat::DpiUp, 1},
    {function::DpiDown, cat::DpiDown, 1},            {function::DpiLevelSwitch, cat::DpiLevelSwitch, 0},
    {function::ProfileSelect, cat::ProfileSelect, 1}, {function::DoubleClick, cat::DoubleClick, 1},
    {function::TripleClick, cat::TripleClick, 1},    {function::SniperSwitch, cat::SniperSwitch, 1},
    {function::Disable, cat::Disabled, 1},
};

// A read mouse-button entry: value 8 gives Browser Forward on this side.
struct ReadMouseButton {
    uint8_t value;
    int32_t function;
};
constexpr ReadMouseButton kReadMouseButtons[] = {
    {1, function::LeftClick}, {2, function::RightClick}, {4, function::ScrollWheelClick},
    {8, function::BrowserForward}, {16, function::BrowserBackward},
};

// Mouse events of macros and their device codes. Written events are matched
// by name, in this order; read events are named by their code (the browser
// codes the other way round).
struct MouseEventCode {
    MouseAction action;
    uint8_t kind;
    uint16_t code;
};
constexpr MouseEventCode kWrittenMouseEvents[] = {
    {MouseAction::Left, device::kEventMouseButton, 1},
    {MouseAction::Right, device::kEventMouseButton, 2},
    {MouseAction::Middle, device::kEventMouseButton, 4},
    {MouseAction::BrowserForward, device::kEventMouseButton, 8},
    {MouseAction::BrowserBackward, device::kEventMouseButton, 16},
    {MouseAction::WheelUp, device::kEventWheel, 1},
    {MouseAction::WheelDown, device::kEventWheel, 255},
};
constexpr MouseEventCode kReadMouseEvents[] = {
    {MouseAction::Left, device::kEventMouseButton, 1},
    {MouseAction::Right, device::kEventMouseButton, 2},
    {MouseAction::Middle, device::kEventMouseButton, 4},
    {MouseAction::BrowserBackward, device::kEventMouseButton, 8},
    {MouseAction::BrowserForward, device::kEventMouseButton, 16},
    {MouseAction::WheelUp, device::kEventWheel, 1},
    {MouseAction::WheelDown, device::kEventWheel, 255},
};

// An event name stands for a mouse action when it holds the device's name
// for it or the recorder's (only the middle button's differ in more than
// padding: "Middle Click   " and "Scroll Wheel Click").
bool NamesMouseAction(const std::string& name, MouseAction action)
{
    return name.find(DeviceMouseName(action)) != std::string::npos
        || name.find(ProgramMouseName(action)) != std::string::npos;
}

template <typename Table, typename Match>
auto FindRow(const Table& table, Match match) -> decltype(&table[0])
{
    for (const auto& row : table) {
        if (match(row))
            return &row;
    }
    return nullptr;
}

int CeilDiv10RoundHalfUp(int t)
{
    return t / 10 + (t % 10 > 4 ? 1 : 0);
}

// ---- model to record -------------------------------------------------------

void FillScalars(const ProfileSettings& profile, int index, RecordView& record)
{
    record.SetU8(rec::kProfileIndex, static_cast<uint8_t>(index));
    record.SetU8(kProgramLayout.inUse, profile.Get(prof::kInUse) == 1 ? 1 : 0);
    record.SetU16(rec::kConstant, rec::kConstantValue);
    record.SetU8(kProgramLayout.reportRate, ReportRateByte(profile.Get(prof::kReportRate)));
    record.SetU8(kProgramLayout.powerSave, static_cast<uint8_t>(profile.Get(prof::kPowerSave)));
    record.SetU8(kProgramLayout.ambientLight, static_cast<uint8_t>(profile.Get(prof::kAmbientLight)));
    const int32_t angle = profile.Get(prof::kAngleSnapping);
    record.SetU8(rec::kAngleSnapping, angle > 0 ? static_cast<uint8_t>(angle - 1) : 0);
    record.SetU8(rec::kLiftOff, LiftOffByte(profile.Get(prof::kLiftOffDistance)));
    for (size_t k = 0; k < prof::kStages; ++k) {
        record.SetU8(rec::kOpticalDpi + k, static_cast<uint8_t>(profile.Get(prof::kOpticalDpi, k) / kDpiUnit));
        record.SetU8(rec::kHdstDpi + k, static_cast<uint8_t>(profile.Get(prof::kHdstDpi, k) / kDpiUnit));
        record.SetU8(kProgramLayout.stageCodes[k], LaserCode(profile.Get(prof::kLaserLevels, 2 * k + 1)));
    }
}

device::ButtonEntry KeyEntry(int32_t param)
{
    const KeyName* key = FindKeyByVirtualKey(SingleKeyVirtualKey(param));
    return {cat::Key, key != nullptr ? static_cast<uint8_t>(key->usage & 0xFF) : uint8_t{0},
            SingleKeyModifiers(param)};
}

int32_t MacroNumberOf(int32_t param)
{
    return param == 0 ? 1 : param;
}

uint8_t PlayModeOf(int32_t mode)
{
    const bool valid = (mode >= 1 && mode <= 99) || mode == device::kPlayWhileHeld || mode == device::kPlayToggle;
    return valid ? static_cast<uint8_t>(mode) : 1;
}

// Macro `number` (1-based) as the source holds it; a number the source has
// no slot for gives a macro without events.
MacroRecord MacroOf(const SettingsStore& store, const ProfileSettings& profile, MacroSource source, int32_t number)
{
    const size_t slot = static_cast<size_t>(number) - 1;
    return source == MacroSource::WorkingList ? store.WorkingMacro(slot) : profile.Macro(slot);
}

void FillButton(const SettingsStore& store, const ProfileSettings& profile, MacroSource macros, int b,
                RecordView& record)
{
    const int32_t code = profile.Get(prof::kButtonFunction, b);
    const int32_t param = profile.Get(prof::kButtonParam, b);
    if (code == function::Macro) {
        const int32_t number = MacroNumberOf(param);
        record.SetButton(b, {cat::Macro, PlayModeOf(profile.Get(prof::kMacroPlayMode, b)), static_cast<uint8_t>(number)});
        FillMacroBlock(MacroOf(store, profile, macros, number), record, b);
    } else if (code == function::SingleKey) {
        record.SetButton(b, KeyEntry(param));
    } else if (const FunctionEntry* entry = FindRow(kFunctionEntries, [code](const FunctionEntry& e) {
                   return e.function == code;
               })) {
        record.SetButton(b, {entry->category, entry->value, 0});
    }
}

// ---- record to model -------------------------------------------------------

void ReadScalars(const RecordView& record, ProfileSettings& profile)
{
    profile.Set(prof::kInUse, uint8_t{record.U8(kProgramLayout.inUse) != 0 ? uint8_t{1} : uint8_t{0}});
    profile.Set(prof::kPowerSave, int32_t{record.U8(kProgramLayout.powerSave)});
    profile.Set(prof::kReportRate, ReportRateHz(record.U8(kProgramLayout.reportRate)));
    profile.Set(prof::kAngleSnapping, int32_t{record.U8(rec::kAngleSnapping)} + 1);
    profile.Set(prof::kLiftOffDistance, LiftOffLevel(record.U8(rec::kLiftOff)));
    for (size_t k = 0; k < prof::kStages; ++k) {
        profile.Set(prof::kOpticalDpi, k, int32_t{record.U8(rec::kOpticalDpi + k)} * kDpiUnit);
        profile.Set(prof::kHdstDpi, k, int32_t{record.U8(rec::kHdstDpi + k)} * kDpiUnit);
        profile.Set(prof::kLaserLevels, 2 * k + 1, LaserIndex(record.U8(kProgramLayout.stageCodes[k])));
    }
    profile.Set(prof::kAmbientLight, int32_t{record.U8(kProgramLayout.ambientLight)});
}

int32_t FunctionOfEntry(const device::ButtonEntry& entry)
{
    if (entry.category == cat::MouseButton) {
        const auto* row = FindRow(kReadMouseButtons, [&](const ReadMouseButton& r) { return r.value == entry.value; });
        return row != nullptr ? row->function : 0;
    }
    if (entry.category == cat::Wheel)
        return entry.value == 1 ? function::ScrollUp : entry.value == 255 ? function::ScrollDown : 0;
    const auto* row = FindRow(kFunctionEntries, [&](const FunctionEntry& e) {
        return e.category == entry.category && e.category != cat::MouseButton && e.category != cat::Wheel;
    });
    return row != nullptr ? row->function : 0;
}

using MacroNumbers = std::array<int32_t, kButtons>;

bool InProfileRange(int32_t number) { return number >= 1 && number <= static_cast<int32_t>(prof::kMacroSlots); }

using UsedNumbers = std::array<bool, prof::kMacroSlots + 1>;

// The lowest number 1..10 not used yet, now taken.
int32_t TakeFreeNumber(UsedNumbers& used)
{
    size_t free = 1;
    while (used[free])
        ++free;
    used[free] = true;
    return static_cast<int32_t>(free);
}

// The macro number each macro button of a read record plays, held to the
// profile's ten macros so that what is read is what the program can write
// and check. A number outside 1..10 takes the lowest number that no button
// uses, the same one for every button that names it (seven buttons always
// find one).
MacroNumbers MacroNumbersOf(const RecordView& record)
{
    MacroNumbers numbers{};
    UsedNumbers used{};
    for (int b = 0; b < kButtons; ++b) {
        const int32_t number = MacroNumberOf(record.Button(b).extra);
        if (record.Button(b).category == cat::Macro && InProfileRange(number)) {
            numbers[b] = number;
            used[static_cast<size_t>(number)] = true;
        }
    }
    for (int b = 0; b < kButtons; ++b) {
        const device::ButtonEntry entry = record.Button(b);
        if (entry.category != cat::Macro || numbers[b] != 0)
            continue;
        for (int earlier = 0; earlier < b && numbers[b] == 0; ++earlier) {
            if (record.Button(earlier).category == cat::Macro && record.Button(earlier).extra == entry.extra)
                numbers[b] = numbers[earlier];
        }
        if (numbers[b] == 0)
            numbers[b] = TakeFreeNumber(used);
    }
    return numbers;
}

// The play mode is held to what the write side sends (1 for anything else).
void ReadMacroButton(SettingsStore& store, ProfileSettings& profile, const RecordView& record, int b,
                     int32_t number)
{
    const device::ButtonEntry entry = record.Button(b);
    profile.Set(prof::kButtonFunction, b, function::Macro);
    profile.Set(prof::kMacroPlayMode, b, int32_t{PlayModeOf(entry.value)});
    profile.Set(prof::kButtonParam, b, number);
    MacroRecord slot = store.WorkingMacro(static_cast<size_t>(number - 1));
    slot.SetNumber(number);
    if (slot.Name().empty())
        slot.SetName("MACRO_" + std::to_string(number));
    DecodeMacroBlock(record, b, slot);
}

void ReadButton(SettingsStore& store, ProfileSettings& profile, const RecordView& record, int b,
                const MacroNumbers& macros)
{
    const device::ButtonEntry entry = record.Button(b);
    if (entry.category == cat::Macro) {
        ReadMacroButton(store, profile, record, b, macros[static_cast<size_t>(b)]);
    } else if (entry.category == cat::Key) {
        const KeyName* key = FindKeyByUsage(entry.value);
        const uint8_t virtualKey = key != nullptr ? key->virtualKey : 0;
        profile.Set(prof::kButtonFunction, b, function::SingleKey);
        profile.Set(prof::kButtonParam, b, SingleKeyParam(virtualKey, entry.extra));
    } else {
        profile.Set(prof::kButtonFunction, b, FunctionOfEntry(entry));
    }
}

const char* DirectionText(uint8_t direction)
{
    return direction == 1 ? kDirectionDown : direction == 2 ? kDirectionUp : kDirectionUnknown;
}

}  // namespace

uint8_t ReportRateByte(int32_t hz)
{
    switch (hz) {
    case 125: return 5;
    case 250: return 3;
    case 500: return 2;
    default: return 1;
    }
}

int32_t ReportRateHz(uint8_t code)
{
    switch (code) {
    case 2: return 500;
    case 3: return 250;
    case 5: return 125;
    default: return 1000;
    }
}

uint8_t LiftOffByte(int32_t level)
{
    // Level 0 counts as the lowest level; anything else outside 1..10 as the
    // highest.
    if (level == 0)
        return kLiftOffCodes.front();
    if (level < 1 || level > static_cast<int32_t>(kLiftOffCodes.size()))
        return kLiftOffCodes.back();
    return kLiftOffCodes[static_cast<size_t>(level - 1)];
}

int32_t LiftOffLevel(uint8_t byte)
{
    const auto found = std::find(kLiftOffCodes.begin(), kLiftOffCodes.end(), byte);
    if (found != kLiftOffCodes.end())
        return static_cast<int32_t>(found - kLiftOffCodes.begin()) + 1;
    const int t = byte > 7 ? 4 * byte - 28 : 1;
    return t > 9 ? CeilDiv10RoundHalfUp(t) : 1;
}

uint8_t LaserCode(int32_t yIndex)
{
    return kLaserCodes[std::clamp<int32_t>(yIndex, 0, kLaserCodes.size() - 1)];
}

int32_t LaserIndex(uint8_t code)
{
    const auto found = std::find(kLaserCodes.begin(), kLaserCodes.end(), code);
    return found != kLaserCodes.end() ? static_cast<int32_t>(found - kLaserCodes.begin()) : 0;
}

void FillRecord(const SettingsStore& store, int index, MacroSource macros, device::DeviceProfileRecord& bytes)
{
    const ProfileSettings profile = store.Profile(index);
    if (profile.Bytes() == nullptr)
        return;
    RecordView record(bytes.data(), kProgramLayout);
    FillScalars(profile, index, record);
    for (int b = 0; b < kButtons; ++b)
        FillButton(store, profile, macros, b, record);
    // Button 4 is always Profile Select; the wheel entries are fixed.
    record.SetButton(3, {cat::ProfileSelect, 1, 0});
    record.SetButton(7, {cat::Wheel, 1, 0});
    record.SetButton(8, {cat::Wheel, 255, 0});
}

int FillMacroBlock(const MacroRecord& slot, RecordView& record, int button)
{
    const int count = slot.EventCount();
    int written = 0;
    for (int k = 0; k < count && written < kMaxEventsInBlock; ++k) {
        const MacroEvent event = slot.Event(k);
        const std::string kind = event.Kind();
        device::MacroEventIn out{};
        if (kind == kKindKey) {
            const KeyName* key = FindKeyByName(event.Name());
            out = {device::kEventKey, key != nullptr ? key->usage : uint16_t{0}, 0, 0};
        } else if (kind == kKindMouse) {
            const std::string name = event.Name();
            const auto* row = FindRow(kWrittenMouseEvents, [&](const MouseEventCode& m) {
                return NamesMouseAction(name, m.action);
            });
            if (row == nullptr)
                continue;
            out = {row->kind, row->code, 0, 0};
        } else {
            continue;  // a delay belongs to the event before it
        }
        out.direction = event.Direction() == kDirectionUp ? 1 : 0;
        if (k + 1 < count && slot.Event(k + 1).Kind() == kKindDelay)
            out.delayMs = ParseDelayText(slot.Event(k + 1).Name()).value_or(0);
        record.SetMacroEventIn(button, written++, out);
    }
    record.SetMacroEventCount(button, static_cast<uint16_t>(written));
    return written;
}

void DecodeMacroBlock(const RecordView& record, int button, MacroRecord slot)
{
    slot.SetEventCount(0);
    int kept = 0;
    const auto keep = [&](std::string_view kind, std::string_view name, std::string_view direction) {
        if (kept < kMaxEventsInBlock) {
            slot.Event(kept).Set(kind, name, direction);
            ++kept;
        }
    };
    const int count = record.MacroEventCount(button);
    for (int k = 0; k < count && kept < kMaxEventsInBlock; ++k) {
        const device::MacroEventIn event = record.MacroEvent(button, k);
        std::string name = "unknown";
        if (event.kind == device::kEventKey) {
            const uint16_t usage = static_cast<uint16_t>((event.code >> 8) | (event.code << 8));
            if (const KeyName* key = FindKeyByUsage(usage))
                name = key->name;
        } else if (event.kind == device::kEventMouseButton || event.kind == device::kEventWheel) {
            if (const auto* row = FindRow(kReadMouseEvents, [&](const MouseEventCode& m) {
                    return m.kind == event.kind && m.code == event.code;
                }))
                name = DeviceMouseName(row->action);
        } else {
            break;
        }
        keep(event.kind == device::kEventKey ? kKindKey : kKindMouse, name, DirectionText(event.direction));
        if (event.delayMs != 0)
            keep(kKindDelay, DelayText(device::SwapDelayBytes(event.delayMs) & 0x00FFFFFFu), "");
    }
    slot.SetEventCount(kept);
}

void ReadRecord(SettingsStore& store, int index, device::DeviceProfileRecord& bytes,
                platform::PointerSettings& pointer, int firmwareVersion)
{
    ProfileSettings profile = store.Profile(index);
    if (profile.Bytes() == nullptr)
        return;
    store.SetCurrentProfile(index + 1);
    std::fill_n(profile.Bytes(), prof::kSize, uint8_t{0});
    store.SetWorkingMacroCount(0);
    for (size_t slot = 0; slot < layout::store::kWorkingSlots; ++slot)
        store.WorkingMacro(slot).Clear();

    RecordView record(bytes.data(), kProgramLayout);
    if (record.U8(rec::kAngleSnapping) > 9)
        record.SetU8(rec::kAngleSnapping, 9);
    ReadScalars(record, profile);
    const MacroNumbers macros = MacroNumbersOf(record);
    for (int b = 0; b < kButtons; ++b)
        ReadButton(store, profile, record, b, macros);
    ReadPointerSettings(store, index, pointer);
    store.SetFirmwareVersion(FirmwareVersionText(firmwareVersion));
    store.SetAppVersion(kAppVersionText);
    CompactWorkingMacros(store, index);
    StoreWorkingMacros(store, index);
}

void CompactWorkingMacros(SettingsStore& store, int index)
{
    ProfileSettings profile = store.Profile(index);
    int32_t next = 1;
    for (int32_t slotNumber = 1; slotNumber <= kWorkingListMacros; ++slotNumber) {
        MacroRecord slot = store.WorkingMacro(static_cast<size_t>(slotNumber - 1));
        const int32_t oldNumber = slot.Number();
        if (oldNumber == 0)
            continue;
        MacroRecord target = store.WorkingMacro(static_cast<size_t>(next - 1));
        if (slotNumber != next) {
            target.CopyFrom(slot);
            slot.Clear();
            for (int b = 0; b < kButtons; ++b) {
                if (profile.Get(prof::kButtonFunction, b) == function::Macro
                    && profile.Get(prof::kButtonParam, b) == oldNumber)
                    profile.Set(prof::kButtonParam, b, next);
            }
        }
        target.SetNumber(next);
        ++next;
    }
    store.SetWorkingMacroCount(next - 1);
}

}  // namespace settings
