#include "sim/SimStateFile.h"

#include <algorithm>
#include <array>

namespace sim {
namespace {

constexpr std::array<uint8_t, 7> kMagic = {'V', 'I', 'M', 'O', 'S', 'I', 'M'};
constexpr size_t kVersionOffset = 7;
// Non-zero when the mouse is unplugged, so that another process sharing the
// file sees it gone.
constexpr size_t kUnpluggedOffset = 13;

// One field of a record: `count` items of `size` bytes from `offset`.
template <typename Record>
struct Field {
    size_t offset;
    size_t size;
    size_t count;
    std::span<uint8_t> (*item)(Record&, size_t);
};

std::span<uint8_t> Byte(uint8_t& value) { return {&value, 1}; }

constexpr std::array<Field<FirmwareState>, 5> kHeaderFields = {{
    {8, 1, 1, [](FirmwareState& s, size_t) { return Byte(s.currentProfile); }},
    {9, 1, 1, [](FirmwareState& s, size_t) { return Byte(s.ledSwitch); }},
    {10, 1, 1, [](FirmwareState& s, size_t) { return Byte(s.ambient); }},
    {11, 1, 1, [](FirmwareState& s, size_t) { return Byte(s.firmwareMajor); }},
    {12, 1, 1, [](FirmwareState& s, size_t) { return Byte(s.firmwareMinor); }},
}};

constexpr std::array<Field<ProfileState>, 9> kProfileFields = {{
    {0, 1, 1, [](ProfileState& p, size_t) { return Byte(p.inUse); }},
    {1, 1, 1, [](ProfileState& p, size_t) { return Byte(p.reportRate); }},
    {2, 1, 1, [](ProfileState& p, size_t) { return Byte(p.powerSave); }},
    {3, 1, 1, [](ProfileState& p, size_t) { return Byte(p.aux); }},
    {4, kColourSize, 1, [](ProfileState& p, size_t) { return std::span<uint8_t>(p.colour); }},
    {7, kStageSize, 1, [](ProfileState& p, size_t) { return std::span<uint8_t>(p.stage); }},
    {13, kKeyEntrySize, kKeyEntryCount, [](ProfileState& p, size_t i) { return std::span<uint8_t>(p.keys[i]); }},
    {53, kComboSlotSize, kComboSlotCount,
     [](ProfileState& p, size_t i) { return std::span<uint8_t>(p.combos[i]); }},
    {123, kMacroSlotSize, kMacroSlotCount,
     [](ProfileState& p, size_t i) { return std::span<uint8_t>(p.macros[i]); }},
}};

// Each field starts where the one before ends, and the last ends at `end`.
template <typename Record, size_t N>
constexpr bool Contiguous(const std::array<Field<Record>, N>& fields, size_t start, size_t end)
{
    size_t next = start;
    for (const Field<Record>& field : fields) {
        if (field.offset != next)
            return false;
        next += field.size * field.count;
    }
    return next == end;
}

static_assert(Contiguous(kHeaderFields, kVersionOffset + 1, 13));
static_assert(Contiguous(kProfileFields, 0, SimStateFile::kProfileRecordSize));
static_assert(SimStateFile::kFileSize == 11660);

constexpr size_t kChecksumOffset = SimStateFile::kFileSize - SimStateFile::kChecksumSize;

constexpr size_t ProfileOffset(size_t p) { return SimStateFile::kHeaderSize + p * SimStateFile::kProfileRecordSize; }

// Copies every field between the record and the file bytes at `base`; the
// caller has checked that the bytes hold a whole file.
template <typename Record, size_t N>
void WriteFields(const std::array<Field<Record>, N>& fields, Record& record, std::span<uint8_t> bytes, size_t base)
{
    for (const Field<Record>& field : fields) {
        for (size_t i = 0; i < field.count; ++i) {
            const std::span<uint8_t> item = field.item(record, i);
            std::copy(item.begin(), item.end(), bytes.begin() + base + field.offset + i * field.size);
        }
    }
}

template <typename Record, size_t N>
void ReadFields(const std::array<Field<Record>, N>& fields, Record& record, std::span<const uint8_t> bytes,
                size_t base)
{
    for (const Field<Record>& field : fields) {
        for (size_t i = 0; i < field.count; ++i) {
            const std::span<uint8_t> item = field.item(record, i);
            std::copy_n(bytes.begin() + base + field.offset + i * field.size, item.size(), item.begin());
        }
    }
}

uint32_t Fnv1a(std::span<const uint8_t> bytes)
{
    uint32_t hash = 2166136261u;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= 16777619u;
    }
    return hash;
}

void PutU32(std::span<uint8_t> bytes, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(std::span<const uint8_t> bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= uint32_t{bytes[offset + i]} << (8 * i);
    return value;
}

StateFileResult CheckFraming(std::span<const uint8_t> bytes)
{
    if (bytes.size() < SimStateFile::kFileSize)
        return StateFileResult::TooShort;
    if (bytes.size() > SimStateFile::kFileSize)
        return StateFileResult::TooLong;
    if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin()))
        return StateFileResult::BadMagic;
    if (bytes[kVersionOffset] != SimStateFile::kVersion)
        return StateFileResult::BadVersion;
    if (GetU32(bytes, kChecksumOffset) != Fnv1a(bytes.first(kChecksumOffset)))
        return StateFileResult::BadChecksum;
    return StateFileResult::Loaded;
}

}  // namespace

std::vector<uint8_t> SimStateFile::Encode(FirmwareState state, bool plugged)
{
    std::vector<uint8_t> bytes(kFileSize, 0);
    std::copy(kMagic.begin(), kMagic.end(), bytes.begin());
    bytes[kVersionOffset] = kVersion;
    bytes[kUnpluggedOffset] = plugged ? 0 : 1;
    WriteFields(kHeaderFields, state, bytes, 0);
    for (size_t p = 0; p < kProfileCount; ++p)
        WriteFields(kProfileFields, state.profiles[p], bytes, ProfileOffset(p));
    PutU32(bytes, kChecksumOffset, Fnv1a(std::span<const uint8_t>(bytes).first(kChecksumOffset)));
    return bytes;
}

StateFileResult SimStateFile::Decode(std::span<const uint8_t> bytes, FirmwareState& out, bool* plugged)
{
    const StateFileResult framing = CheckFraming(bytes);
    if (framing != StateFileResult::Loaded)
        return framing;
    FirmwareState state;
    ReadFields(kHeaderFields, state, bytes, 0);
    for (size_t p = 0; p < kProfileCount; ++p)
        ReadFields(kProfileFields, state.profiles[p], bytes, ProfileOffset(p));
    out = state;
    if (plugged != nullptr)
        *plugged = bytes[kUnpluggedOffset] == 0;
    return StateFileResult::Loaded;
}

StateFileResult SimStateFile::Save(const SimulatedMouse& mouse) const
{
    const std::vector<uint8_t> bytes = Encode(mouse.State(), mouse.Plugged());
    if (!files_.WriteFileAtomic(path_, bytes.data(), bytes.size()))
        return StateFileResult::IoError;
    return StateFileResult::Saved;
}

StateFileResult SimStateFile::Read(FirmwareState& state, bool& plugged) const
{
    // One byte past a whole file is enough to tell a long one.
    std::vector<uint8_t> bytes;
    if (files_.ReadFile(path_, kFileSize + 1, bytes) != platform::ReadResult::Ok)
        return files_.LastError() == platform::FileError::Missing ? StateFileResult::FreshMouse
                                                                 : StateFileResult::IoError;
    return Decode(bytes, state, &plugged);
}

void SimStateFile::SetPlugged(SimulatedMouse& mouse, bool plugged)
{
    if (plugged && !mouse.Plugged())
        mouse.Replug();
    else if (!plugged && mouse.Plugged())
        mouse.Unplug();
}

StateFileResult SimStateFile::Load(SimulatedMouse& mouse) const
{
    FirmwareState state;
    bool plugged = true;
    const StateFileResult result = Read(state, plugged);
    if (result == StateFileResult::FreshMouse)
        mouse.ResetToFresh();
    if (result != StateFileResult::Loaded)
        return result;
    mouse.SetState(state);
    SetPlugged(mouse, plugged);
    return result;
}

StateFileResult SimStateFile::LoadPlugState(SimulatedMouse& mouse) const
{
    FirmwareState state;
    bool plugged = true;
    const StateFileResult result = Read(state, plugged);
    if (result == StateFileResult::Loaded || result == StateFileResult::FreshMouse)
        SetPlugged(mouse, plugged);
    return result;
}

}  // namespace sim
