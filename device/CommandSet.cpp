#include "device/CommandSet.h"

#include <algorithm>
#include <cstring>

namespace device {
namespace {

uint8_t Wire(uint8_t p)
{
    return static_cast<uint8_t>(p + 1);
}

constexpr ReportBuffer kEmptyFeature = {kFeatureReportId, 0, 0, 0, 0, 0, 0, 0};

}  // namespace

ReportBuffer CommandSet::Command(uint8_t code, uint8_t b2, uint8_t b3, uint8_t b4, uint8_t b5, uint8_t b6, uint8_t b7)
{
    return ReportBuffer{kFeatureReportId, code, b2, b3, b4, b5, b6, b7};
}

bool CommandSet::Query(const ReportBuffer& command, ReportBuffer& answer)
{
    if (!link_.SetFeatureRetry(command))
        return false;
    answer = kEmptyFeature;
    return link_.GetFeatureRetry(answer);
}

bool CommandSet::OpenedQuery(const ReportBuffer& command, ReportBuffer& answer)
{
    return link_.EnsureOpen() && Query(command, answer);
}

bool CommandSet::OpenedSend(const ReportBuffer& command)
{
    return link_.EnsureOpen() && link_.SetFeatureRetry(command);
}

bool CommandSet::SetLedSwitch(uint8_t state, uint8_t ambient)
{
    return OpenedSend(Command(cmd::SetLedSwitch, state, 0, ambient));
}

bool CommandSet::GetLedState(uint8_t& state, uint8_t& ambient)
{
    ReportBuffer answer;
    if (!OpenedQuery(Command(cmd::GetLedState), answer))
        return false;
    state = answer[1];
    ambient = answer[3];
    return true;
}

bool CommandSet::GetCurrentProfile(uint8_t& profile)
{
    ReportBuffer answer;
    if (!OpenedQuery(Command(cmd::GetCurrentProfile), answer))
        return false;
    profile = answer[1];
    return true;
}

bool CommandSet::SetCurrentProfile(uint8_t p)
{
    const uint8_t n = p < kProfileCount ? Wire(p) : 1;
    return OpenedSend(Command(cmd::SetCurrentProfile, n));
}

bool CommandSet::GetFirmwareVersion(int& version)
{
    ReportBuffer answer;
    if (!OpenedQuery(Command(cmd::GetFirmwareVersion), answer))
        return false;
    version = answer[1] * 100 + answer[2];
    return true;
}

bool CommandSet::BeginTransfer()
{
    return OpenedSend(Command(cmd::BeginTransfer));
}

bool CommandSet::GetProfileFlags(ProfileFlagSet& flags)
{
    ReportBuffer answer;
    if (!Query(Command(cmd::GetProfileFlags), answer))
        return false;
    std::copy_n(answer.begin() + 1, kProfileCount, flags.begin());
    return true;
}

bool CommandSet::SetProfileFlags(const ProfileFlagSet& flags)
{
    return link_.SetFeatureRetry(Command(cmd::SetProfileFlags, flags[0], flags[1], flags[2], flags[3], flags[4]));
}

bool CommandSet::ProfileFlags(bool read, ProfileFlagSet& flags)
{
    return read ? GetProfileFlags(flags) : SetProfileFlags(flags);
}

bool CommandSet::GetReportRate(uint8_t& code)
{
    ReportBuffer answer;
    if (!Query(Command(cmd::GetReportRate), answer))
        return false;
    code = std::min(answer[3], kMaxReportRateCode);
    return true;
}

bool CommandSet::SetReportRate(uint8_t p, uint8_t code)
{
    return link_.SetFeatureRetry(Command(cmd::SetReportRate, Wire(p), 0, std::min(code, kMaxReportRateCode)));
}

bool CommandSet::GetPowerSave(uint8_t p, uint8_t& code)
{
    ReportBuffer answer;
    if (!Query(Command(cmd::GetPowerSave, Wire(p)), answer))
        return false;
    code = answer[3];
    return true;
}

bool CommandSet::SetPowerSave(uint8_t p, uint8_t code)
{
    return link_.SetFeatureRetry(Command(cmd::SetPowerSave, Wire(p), 0, code));
}

bool CommandSet::SetProfileColour(uint8_t p)
{
    const Rgb colour = kProfileColours[p % kProfileCount];
    return link_.SetFeatureRetry(Command(cmd::SetProfileColour, Wire(p), 0, colour.r, colour.g, colour.b));
}

bool CommandSet::SetProfileAux(uint8_t p)
{
    return link_.SetFeatureRetry(Command(cmd::SetProfileAux, Wire(p), 0, kAuxValue));
}

bool CommandSet::BlockWrite(const ReportBuffer& command, const uint8_t* data, int reports, size_t bytesPerReport)
{
    if (!link_.SetFeatureRetry(command))
        return false;
    for (int k = 0; k < reports; ++k) {
        ReportBuffer report{kDataReportId};
        std::memcpy(report.data() + 1, data + bytesPerReport * k, bytesPerReport);
        if (!link_.SetOutputRetry(report))
            return false;
    }
    return true;
}

bool CommandSet::WriteStageCodes(uint8_t p, uint8_t c1, uint8_t c2, uint8_t c3, uint8_t c4)
{
    const uint8_t data[7] = {c1, c2, c3, c4, kTableBlockTag, 0, 0};
    return BlockWrite(Command(cmd::WriteStageCodes, Wire(p), kStageBlockTag), data, 1, sizeof data);
}

bool CommandSet::WriteKeyTable(uint8_t p, const KeyTable& entries)
{
    return BlockWrite(Command(cmd::WriteKeyTable, Wire(p), kTableBlockTag), reinterpret_cast<const uint8_t*>(&entries), kKeyTableEntries,
                      kKeyEntrySize);
}

bool CommandSet::WriteKeyComboTable(const KeyComboTable& slots)
{
    return BlockWrite(Command(cmd::WriteKeyComboTable), reinterpret_cast<const uint8_t*>(&slots), kKeyTableEntries, kComboSlotSize);
}

bool CommandSet::WriteMacroSlot(uint8_t p, uint8_t m, const uint8_t* data)
{
    return BlockWrite(Command(cmd::WriteMacroSlot, Wire(p), m), data, kMacroWriteReports, kDataBytesPerReport);
}

bool CommandSet::BlockRead(const ReportBuffer& command, size_t runReports, int reports, size_t bytesEach,
                           uint8_t* out, size_t outLength)
{
    // Reports left queued by an earlier run must not be taken for this one.
    link_.DrainInput();
    if (!link_.SetFeatureRetry(command))
        return false;
    ReportBuffer answer = kEmptyFeature;
    if (!link_.GetFeatureRetry(answer))
        return false;
    if (variant_ == ProtocolVariant::Program)
        link_.Clock().SleepMs(kPauseBeforeBlockReadMs);
    uint8_t run[(kMaxRunReports + kForeignReportRoom) * kReportSize] = {};
    const InputRun got = link_.ReadInputStream(run, sizeof run, size_t(reports), std::min(runReports, kMaxRunReports));
    // A read that failed part-way leaves the block as the caller prepared it.
    if (!got.failed)
        PickData(run, got.reports, reports, bytesEach, out, outLength);
    return true;
}

void CommandSet::PickData(const uint8_t* run, size_t received, int reports, size_t bytesEach, uint8_t* out,
                          size_t outLength) const
{
    const bool skipForeign = variant_ == ProtocolVariant::Program;
    size_t filled = 0;
    int taken = 0;
    for (size_t at = 0; at < received && taken < reports && filled < outLength; ++at) {
        const uint8_t* report = run + kReportSize * at;
        if (skipForeign && report[0] != kDataReportId)
            continue;
        const size_t take = std::min(bytesEach, outLength - filled);
        std::memcpy(out + filled, report + 1, take);
        filled += take;
        ++taken;
    }
}

bool CommandSet::ReadStageCodes(uint8_t p, StageData& codes)
{
    return BlockRead(Command(cmd::ReadStageCodes, Wire(p), kStageBlockTag), kStageRunReports, 1, codes.size(),
                     codes.data(), codes.size());
}

bool CommandSet::ReadKeyTable(uint8_t p, KeyTable& entries)
{
    // Both variants take nine entries; the mouse may send a tenth report,
    // which belongs to the run all the same.
    return BlockRead(Command(cmd::ReadKeyTable, Wire(p), kTableBlockTag), kKeyTableEntries, kKeyTableEntriesRead,
                     kKeyEntrySize, reinterpret_cast<uint8_t*>(&entries), kKeyTableEntriesRead * kKeyEntrySize);
}

bool CommandSet::ReadKeyComboTable(uint8_t p, KeyComboTable& slots)
{
    return BlockRead(Command(cmd::ReadKeyComboTable, Wire(p), kTableBlockTag), kKeyTableEntries,
                     kKeyTableEntriesRead, kComboSlotSize, reinterpret_cast<uint8_t*>(&slots),
                     kKeyTableEntriesRead * kComboSlotSize);
}

bool CommandSet::ReadOneMacroSlot(uint8_t p, uint8_t m, MacroSlotRead& slot)
{
    link_.DrainInput();
    const ReportBuffer command = Command(cmd::ReadMacroSlot, Wire(p), m, kMacroReadTag0, kMacroReadTag1);
    if (!link_.SetFeatureRetry(command))
        return false;
    link_.SetInputQueueLength(kMacroReadQueueLength);
    // The request keeps the command's tag bytes; its answer is not used.
    ReportBuffer request = command;
    request[1] = request[2] = request[3] = 0;
    link_.GetFeatureOnce(request);
    link_.Clock().SleepMs(kPauseBeforeBlockReadMs);

    // A short run fills what arrived and the rest of the slot stays zero; a
    // read that failed part-way leaves the whole slot zero.
    uint8_t run[(kMacroReadReports + kForeignReportRoom) * kReportSize] = {};
    const InputRun got = link_.ReadInputStream(run, sizeof run, kMacroWriteReports, kMacroReadReports);
    if (!got.failed)
        PickData(run, got.reports, kMacroWriteReports, kDataBytesPerReport, slot.data(), slot.size());
    return true;
}

bool CommandSet::ReadMacroSlots(uint8_t p, MacroReadBuffer& slots)
{
    for (uint8_t m = 0; m < kMacroSlots; ++m) {
        if (!ReadOneMacroSlot(p, m, slots[m]))
            return false;
    }
    return true;
}

}  // namespace device
