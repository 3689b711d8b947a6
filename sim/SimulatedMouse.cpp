#include "sim/SimulatedMouse.h"

#include <algorithm>

namespace sim {

// How a block travels: reports that carry its bytes (a write sends exactly
// these), reports in a read run (the extra ones are [09 00 ...]), and data
// bytes per report.
// What bytes 1..7 of one of its output reports must hold: kAny, or the value.
using OutputPattern = std::array<int16_t, 7>;
// What bytes 2..7 of a command must hold: kAny, or the value.
using CommandPattern = std::array<int16_t, 6>;
constexpr int16_t kAny = -1;

struct SimulatedMouse::BlockShape {
    size_t dataReports;
    size_t runReports;
    size_t bytesPerReport;
    OutputPattern output;
};

struct SimulatedMouse::Command {
    uint8_t code;
    void (SimulatedMouse::*handle)(const Report&);
    CommandPattern bytes;
};

namespace {

// Every byte of a report matches its pattern.
template <size_t N>
bool Matches(const uint8_t* bytes, const std::array<int16_t, N>& pattern)
{
    for (size_t i = 0; i < N; ++i) {
        if (pattern[i] != kAny && bytes[i] != pattern[i])
            return false;
    }
    return true;
}

// Byte positions within a command report.
constexpr size_t kCodeByte = 1;
constexpr size_t kProfileByte = 2;
constexpr size_t kSlotByte = 3;
constexpr size_t kValueByte = 4;  // value of the set commands; colour starts here
constexpr size_t kAnswerByte = 3;  // answer of the per-profile queries
constexpr size_t kFlagsSetByte = 2;
constexpr size_t kFlagsGetByte = 1;
constexpr size_t kLedSetByte = 2;
constexpr size_t kAmbientSetByte = 4;
constexpr size_t kLedGetByte = 1;
constexpr size_t kAmbientGetByte = 3;
constexpr size_t kCurrentProfileByte = 1;
constexpr size_t kMajorByte = 1;
constexpr size_t kMinorByte = 2;

constexpr size_t ToIndex(ReportKind kind) { return static_cast<size_t>(kind); }

constexpr Collection CollectionOf(ReportKind kind)
{
    return kind == ReportKind::FeatureSet || kind == ReportKind::FeatureGet ? Collection::Command
                                                                            : Collection::Data;
}

}  // namespace

SimulatedMouse::SimulatedMouse() : state_(FirmwareState::Fresh())
{
    answer_[0] = kCommandReportId;
    for (size_t b = 0; b < runReports_.size(); ++b)
        runReports_[b] = ShapeOf(static_cast<Block>(b)).runReports;
}

const SimulatedMouse::BlockShape& SimulatedMouse::ShapeOf(Block block)
{
    constexpr int16_t A = kAny;
    static constexpr std::array<BlockShape, 4> kShapes = {{
        {1, 2, kStageSize, {A, A, A, A, 0x28, 0, 0}},                        // Stage
        {kKeyEntryCount, kKeyEntryCount, kKeyEntrySize, {A, A, A, A, 0, 0, 0}},  // Keys
        {kComboSlotCount, kComboSlotCount, kComboSlotSize, {A, A, A, A, A, A, A}},  // Combos
        {35, 36, 7, {A, A, A, A, A, A, A}},                                  // Macro
    }};
    static_assert(35 * 7 == kMacroSlotSize);
    return kShapes[static_cast<size_t>(block)];
}

const SimulatedMouse::Command* SimulatedMouse::FindCommand(uint8_t code)
{
    // Bytes 2..7 of each command: A where the command carries a value, else
    // the fixed byte (0 where unused).
    constexpr int16_t A = kAny;
    static constexpr std::array<Command, 22> kCommands = {{
        {0x04, &SimulatedMouse::SetLedSwitch, {A, 0, A, 0, 0, 0}},
        {0x84, &SimulatedMouse::GetLedState, {0, 0, 0, 0, 0, 0}},
        {0x0F, &SimulatedMouse::GetProfileFlags, {0, 0, 0, 0, 0, 0}},
        {0x6E, &SimulatedMouse::SetProfileFlags, {A, A, A, A, A, 0}},
        {0x5C, &SimulatedMouse::GetCurrentProfile, {0, 0, 0, 0, 0, 0}},
        {0x7C, &SimulatedMouse::SetCurrentProfile, {A, 0, 0, 0, 0, 0}},
        {0x5E, &SimulatedMouse::GetFirmwareVersion, {0, 0, 0, 0, 0, 0}},
        {0x79, &SimulatedMouse::BeginTransfer, {0, 0, 0, 0, 0, 0}},
        {0x5D, &SimulatedMouse::GetReportRate, {0, 0, 0, 0, 0, 0}},
        {0x7D, &SimulatedMouse::SetReportRate, {A, 0, A, 0, 0, 0}},
        {0x53, &SimulatedMouse::GetPowerSave, {A, 0, 0, 0, 0, 0}},
        {0x73, &SimulatedMouse::SetPowerSave, {A, 0, A, 0, 0, 0}},
        {0x76, &SimulatedMouse::SetProfileColour, {A, 0, A, A, A, 0}},
        {0x74, &SimulatedMouse::SetProfileAux, {A, 0, 0x10, 0, 0, 0}},
        {0x57, &SimulatedMouse::ReadStageCodes, {A, 0x10, 0, 0, 0, 0}},
        {0x77, &SimulatedMouse::WriteStageCodes, {A, 0x10, 0, 0, 0, 0}},
        {0x5B, &SimulatedMouse::ReadKeyTable, {A, 0x28, 0, 0, 0, 0}},
        {0x7B, &SimulatedMouse::WriteKeyTable, {A, 0x28, 0, 0, 0, 0}},
        {0x44, &SimulatedMouse::ReadKeyComboTable, {A, 0x28, 0, 0, 0, 0}},
        {0x6F, &SimulatedMouse::WriteKeyComboTable, {0, 0, 0, 0, 0, 0}},
        {0x5A, &SimulatedMouse::ReadMacroSlot, {A, A, 0x18, 0x10, 0, 0}},
        {0x7A, &SimulatedMouse::WriteMacroSlot, {A, A, 0, 0, 0, 0}},
    }};
    auto found = std::find_if(kCommands.begin(), kCommands.end(),
                              [code](const Command& c) { return c.code == code; });
    return found == kCommands.end() ? nullptr : &*found;
}

// The mouse refuses a command whose fixed or unused bytes are not as its
// table says. A command it does not know is taken and does nothing.
bool SimulatedMouse::FixedBytesRight(const Report& command)
{
    const Command* entry = FindCommand(command[kCodeByte]);
    return entry == nullptr || Matches(command.data() + kProfileByte, entry->bytes);
}

// An output report of a block write must hold the block's fixed bytes.
bool SimulatedMouse::OutputBytesRight(const Report& report) const
{
    return !pendingWrite_ || Matches(report.data() + 1, ShapeOf(pendingWrite_->block).output);
}

// ---- report traffic ----

bool SimulatedMouse::FeatureSet(const Report& report)
{
    if (UnplugDue())
        return false;
    const bool failed = TakeFault(ReportKind::FeatureSet) || !FixedBytesRight(report);
    Record(ReportKind::FeatureSet, report, Report{}, failed);
    if (failed)
        return false;
    Execute(report);
    return true;
}

bool SimulatedMouse::FeatureGet(Report& io)
{
    if (UnplugDue())
        return false;
    const bool failed = TakeFault(ReportKind::FeatureGet);
    Record(ReportKind::FeatureGet, io, failed ? Report{} : answer_, failed);
    if (failed)
        return false;
    io = answer_;
    return true;
}

bool SimulatedMouse::Output(const Report& report)
{
    if (UnplugDue())
        return false;
    const bool failed = TakeFault(ReportKind::Output) || !OutputBytesRight(report);
    Record(ReportKind::Output, report, Report{}, failed);
    if (failed)
        return false;
    StoreWritePart(report);
    return true;
}

int SimulatedMouse::Input(size_t queue, uint8_t* data, size_t length)
{
    if (UnplugDue())
        return -1;
    Settle();
    const auto found = hostQueues_.find(queue);
    if (found == hostQueues_.end() || found->second.empty())
        return 0;
    const InputReport& report = found->second.front();
    Report logged{};
    std::copy_n(report.begin(), std::min(report.size(), kReportSize), logged.begin());
    const bool failed = TakeFault(ReportKind::Input);
    Record(ReportKind::Input, failed ? Report{} : logged, Report{}, failed);
    if (failed)
        return -1;
    const size_t stored = std::min(report.size(), length);
    std::copy_n(report.begin(), stored, data);
    found->second.pop_front();
    return static_cast<int>(stored);
}

size_t SimulatedMouse::OpenInputQueue()
{
    hostQueues_[nextQueue_];
    return nextQueue_++;
}

void SimulatedMouse::CloseInputQueue(size_t queue)
{
    hostQueues_.erase(queue);
}

size_t SimulatedMouse::QueuedInputCount()
{
    Settle();
    size_t most = 0;
    for (const auto& [id, queue] : hostQueues_)
        most = std::max(most, queue.size());
    return most;
}

void SimulatedMouse::SetInputTiming(platform::Clock* clock, unsigned intervalMs)
{
    clock_ = clock;
    inputIntervalMs_ = intervalMs;
}

void SimulatedMouse::Transmit(const InputReport& report)
{
    const uint64_t from = inFlight_.empty() ? Now() : std::max(Now(), inFlight_.back().arrivalMicros);
    inFlight_.push_back(InFlight{report, from + uint64_t{inputIntervalMs_} * 1000});
    Settle();
}

void SimulatedMouse::Settle()
{
    while (!inFlight_.empty() && inFlight_.front().arrivalMicros <= Now()) {
        Deliver(inFlight_.front().report);
        inFlight_.pop_front();
    }
}

// Every host queue gets every input report; a full queue drops it.
void SimulatedMouse::Deliver(const InputReport& report)
{
    for (auto& [id, queue] : hostQueues_) {
        if (queue.size() < kHostQueueLength)
            queue.push_back(report);
    }
}

void SimulatedMouse::Wait(unsigned ms)
{
    inputWaitMs_ += ms;
    if (clock_ != nullptr && ms > 0)
        clock_->SleepMs(ms);
}

void SimulatedMouse::AwaitInput(size_t queue, int timeoutMs)
{
    Settle();
    const auto found = hostQueues_.find(queue);
    if (found != hostQueues_.end() && !found->second.empty())
        return;
    const unsigned timeout = timeoutMs > 0 ? unsigned(timeoutMs) : 0;
    if (!inFlight_.empty()) {
        const uint64_t waitMs = (inFlight_.front().arrivalMicros - Now() + 999) / 1000;
        if (waitMs <= timeout) {
            Wait(unsigned(waitMs));
            Settle();
            return;
        }
    }
    Wait(timeout);
}

void SimulatedMouse::SendInput(const InputReport& report)
{
    if (plugged_)
        Transmit(report);
}

void SimulatedMouse::SetRunReports(RunBlock block, size_t reports)
{
    runReports_[static_cast<size_t>(block)] = reports;
}

size_t SimulatedMouse::RunReports(RunBlock block) const
{
    return runReports_[static_cast<size_t>(block)];
}

// ---- log and faults ----

void SimulatedMouse::ClearLog()
{
    log_.clear();
    position_ = 0;
}

void SimulatedMouse::FailNext(ReportKind kind, unsigned count)
{
    failNext_[ToIndex(kind)] = count;
}

void SimulatedMouse::FailAt(size_t position, size_t count)
{
    // A count past the end of the numbers means "from here on".
    const size_t end = count > SIZE_MAX - position ? SIZE_MAX : position + count;
    failRanges_.emplace_back(position, end);
}

void SimulatedMouse::ClearFaults()
{
    failNext_ = {};
    failRanges_.clear();
    foreignInputs_.clear();
    unplugAt_.reset();
}

void SimulatedMouse::InjectForeignInput(size_t indexInRun, uint8_t reportId, size_t length)
{
    foreignInputs_.push_back(ForeignInput{indexInRun, reportId, std::max<size_t>(length, 1)});
}

bool SimulatedMouse::UnplugDue()
{
    if (!unplugAt_ || position_ != *unplugAt_)
        return false;
    unplugAt_.reset();
    Unplug();
    return true;
}

bool SimulatedMouse::TakeFault(ReportKind kind)
{
    const size_t position = position_++;
    const bool atPosition = std::any_of(failRanges_.begin(), failRanges_.end(), [position](const auto& range) {
        return position >= range.first && position < range.second;
    });
    unsigned& next = failNext_[ToIndex(kind)];
    const bool byKind = next > 0;
    if (byKind)
        --next;
    return atPosition || byKind;
}

void SimulatedMouse::Record(ReportKind kind, const Report& bytes, const Report& answer, bool failed)
{
    log_.push_back(LoggedReport{kind, CollectionOf(kind), bytes, answer, failed});
}

// ---- presence ----

void SimulatedMouse::ExposeCollections(bool command, bool data)
{
    commandExposed_ = command;
    dataExposed_ = data;
}

bool SimulatedMouse::Exposed(Collection collection) const
{
    return collection == Collection::Command ? commandExposed_ : dataExposed_;
}

// Power is gone: what was queued or half written is lost, flash stays.
void SimulatedMouse::Unplug()
{
    plugged_ = false;
    ++plugGeneration_;
    pendingWrite_.reset();
    inFlight_.clear();
    for (auto& [id, queue] : hostQueues_)
        queue.clear();
}

// ---- addressing ----

std::optional<size_t> SimulatedMouse::WireProfile(uint8_t wire)
{
    if (wire < 1 || wire > kProfileCount)
        return std::nullopt;
    return size_t{wire} - 1;
}

std::optional<size_t> SimulatedMouse::CurrentProfile() const
{
    if (state_.currentProfile >= kProfileCount)
        return std::nullopt;
    return size_t{state_.currentProfile};
}

ProfileState* SimulatedMouse::ProfileAt(std::optional<size_t> index)
{
    return index && *index < kProfileCount ? &state_.profiles[*index] : nullptr;
}

std::optional<SimulatedMouse::BlockTarget> SimulatedMouse::Target(Block block, std::optional<size_t> profile,
                                                                  size_t slot) const
{
    if (!profile || *profile >= kProfileCount)
        return std::nullopt;
    if (block == Block::Macro && slot >= kMacroSlotCount)
        return std::nullopt;
    return BlockTarget{block, *profile, slot};
}

// The bytes that report k of a block carries; empty past the block's end.
std::span<uint8_t> SimulatedMouse::BlockPart(const BlockTarget& target, size_t k)
{
    const BlockShape& shape = ShapeOf(target.block);
    if (k >= shape.dataReports)
        return {};
    ProfileState& profile = state_.profiles[target.profile];
    switch (target.block) {
    case Block::Stage:
        return profile.stage;
    case Block::Keys:
        return profile.keys[k];
    case Block::Combos:
        return profile.combos[k];
    case Block::Macro:
        return std::span<uint8_t>(profile.macros[target.slot]).subspan(k * shape.bytesPerReport,
                                                                       shape.bytesPerReport);
    }
    return {};
}

// ---- commands ----

void SimulatedMouse::Execute(const Report& command)
{
    pendingWrite_.reset();
    answer_ = Report{};
    answer_[0] = kCommandReportId;
    if (const Command* entry = FindCommand(command[kCodeByte]))
        (this->*entry->handle)(command);
}

// A read sends its run behind whatever is still queued. A read of a block
// that does not exist answers with a run of the same length holding zeros.
void SimulatedMouse::QueueRun(Block block, std::optional<size_t> profile, size_t slot)
{
    const std::optional<BlockTarget> target = Target(block, profile, slot);
    std::deque<InputReport> run;
    for (size_t k = 0; k < RunReports(block); ++k) {
        InputReport report(kReportSize, 0);
        report[0] = kDataReportId;
        if (target) {
            const std::span<uint8_t> part = BlockPart(*target, k);
            std::copy(part.begin(), part.end(), report.begin() + 1);
        }
        run.push_back(std::move(report));
    }
    InsertForeignReports(run);
    for (const InputReport& report : run)
        Transmit(report);
}

void SimulatedMouse::InsertForeignReports(std::deque<InputReport>& run)
{
    for (const ForeignInput& foreign : foreignInputs_) {
        InputReport report(foreign.length, 0);
        report[0] = foreign.reportId;
        run.insert(run.begin() + static_cast<std::ptrdiff_t>(std::min(foreign.index, run.size())), report);
    }
    foreignInputs_.clear();
}

void SimulatedMouse::BeginWrite(Block block, std::optional<size_t> profile, size_t slot)
{
    pendingWrite_ = Target(block, profile, slot);
    pendingIndex_ = 0;
}

// Stores the report as it arrives, so a broken-off write leaves the block
// partly written.
void SimulatedMouse::StoreWritePart(const Report& report)
{
    if (!pendingWrite_)
        return;
    const std::span<uint8_t> part = BlockPart(*pendingWrite_, pendingIndex_);
    std::copy_n(report.begin() + 1, part.size(), part.begin());
    if (++pendingIndex_ >= ShapeOf(pendingWrite_->block).dataReports)
        pendingWrite_.reset();
}

void SimulatedMouse::SetLedSwitch(const Report& command)
{
    state_.ledSwitch = command[kLedSetByte];
    state_.ambient = command[kAmbientSetByte];
}

void SimulatedMouse::GetLedState(const Report&)
{
    answer_[kLedGetByte] = state_.ledSwitch;
    answer_[kAmbientGetByte] = state_.ambient;
}

void SimulatedMouse::GetProfileFlags(const Report&)
{
    for (size_t p = 0; p < kProfileCount; ++p)
        answer_[kFlagsGetByte + p] = state_.profiles[p].inUse;
}

void SimulatedMouse::SetProfileFlags(const Report& command)
{
    for (size_t p = 0; p < kProfileCount; ++p)
        state_.profiles[p].inUse = command[kFlagsSetByte + p];
}

void SimulatedMouse::GetCurrentProfile(const Report&)
{
    answer_[kCurrentProfileByte] = static_cast<uint8_t>(state_.currentProfile + 1);
}

void SimulatedMouse::SetCurrentProfile(const Report& command)
{
    if (const std::optional<size_t> profile = WireProfile(command[kProfileByte]))
        state_.currentProfile = static_cast<uint8_t>(*profile);
}

void SimulatedMouse::GetFirmwareVersion(const Report&)
{
    answer_[kMajorByte] = state_.firmwareMajor;
    answer_[kMinorByte] = state_.firmwareMinor;
}

void SimulatedMouse::BeginTransfer(const Report&) {}

void SimulatedMouse::GetReportRate(const Report&)
{
    if (const ProfileState* profile = ProfileAt(CurrentProfile()))
        answer_[kAnswerByte] = profile->reportRate;
}

void SimulatedMouse::SetReportRate(const Report& command)
{
    if (ProfileState* profile = ProfileAt(WireProfile(command[kProfileByte])))
        profile->reportRate = command[kValueByte];
}

void SimulatedMouse::GetPowerSave(const Report& command)
{
    if (const ProfileState* profile = ProfileAt(WireProfile(command[kProfileByte])))
        answer_[kAnswerByte] = profile->powerSave;
}

void SimulatedMouse::SetPowerSave(const Report& command)
{
    if (ProfileState* profile = ProfileAt(WireProfile(command[kProfileByte])))
        profile->powerSave = command[kValueByte];
}

void SimulatedMouse::SetProfileColour(const Report& command)
{
    if (ProfileState* profile = ProfileAt(WireProfile(command[kProfileByte])))
        std::copy_n(command.begin() + kValueByte, kColourSize, profile->colour.begin());
}

void SimulatedMouse::SetProfileAux(const Report& command)
{
    if (ProfileState* profile = ProfileAt(WireProfile(command[kProfileByte])))
        profile->aux = command[kValueByte];
}

void SimulatedMouse::ReadStageCodes(const Report& command)
{
    QueueRun(Block::Stage, WireProfile(command[kProfileByte]), 0);
}

void SimulatedMouse::WriteStageCodes(const Report& command)
{
    BeginWrite(Block::Stage, WireProfile(command[kProfileByte]), 0);
}

void SimulatedMouse::ReadKeyTable(const Report& command)
{
    QueueRun(Block::Keys, WireProfile(command[kProfileByte]), 0);
}

void SimulatedMouse::WriteKeyTable(const Report& command)
{
    BeginWrite(Block::Keys, WireProfile(command[kProfileByte]), 0);
}

void SimulatedMouse::ReadKeyComboTable(const Report& command)
{
    QueueRun(Block::Combos, WireProfile(command[kProfileByte]), 0);
}

// Carries no profile number: writes the current profile's table.
void SimulatedMouse::WriteKeyComboTable(const Report&)
{
    BeginWrite(Block::Combos, CurrentProfile(), 0);
}

void SimulatedMouse::ReadMacroSlot(const Report& command)
{
    QueueRun(Block::Macro, WireProfile(command[kProfileByte]), command[kSlotByte]);
}

void SimulatedMouse::WriteMacroSlot(const Report& command)
{
    BeginWrite(Block::Macro, WireProfile(command[kProfileByte]), command[kSlotByte]);
}

}  // namespace sim
