// The mouse's firmware as the host sees it through its two HID collections:
// feature reports (id 7) carry commands and answers on the command
// collection; output reports (id 9) carry block writes to it and input
// reports (id 9) carry block reads back on the data collection.
//
// Every report that reaches the mouse is logged byte for byte. Faults can be
// injected per report kind or at log positions; a failed report changes
// nothing. A command whose fixed or unused bytes are not as the mouse's
// command table has them, or a block write's output report whose fixed bytes
// are wrong, is refused like a failed report. The mouse can also be
// unplugged, hidden in part from enumeration, or refuse opening, for
// SimHidBackend to act on.
//
// Input reports go to host queues as a real host keeps them: every open
// handle that receives input has its own queue (hidraw gives each open file
// one) and gets every input report; what a reader leaves stays queued; a full
// queue drops new reports. The length of each block's run, foreign reports
// in a run and stray reports outside any run can be set. With a clock and an
// arrival interval, the reports of a run reach the host queues one by one
// over time, as an interrupt-IN endpoint delivers them.
#pragma once

#include "platform/clock.h"
#include "sim/FirmwareState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace sim {

inline constexpr size_t kReportSize = 8;
inline constexpr uint8_t kCommandReportId = 7;
inline constexpr uint8_t kDataReportId = 9;

using Report = std::array<uint8_t, kReportSize>;
// An input report as the host hands it over, report id first; any length.
using InputReport = std::vector<uint8_t>;

// What a host queue holds per open handle: hidraw's ring of 64 per open file
// keeps at most 63 reports.
inline constexpr size_t kHostQueueLength = 63;

enum class ReportKind : uint8_t { FeatureSet, FeatureGet, Output, Input };
inline constexpr size_t kReportKindCount = 4;

enum class Collection : uint8_t { Command, Data };

// The blocks that come back as input runs.
enum class RunBlock : uint8_t { Stage, Keys, Combos, Macro };

struct LoggedReport {
    ReportKind kind = ReportKind::FeatureSet;
    Collection collection = Collection::Command;
    Report bytes{};   // host to mouse (set, get request, output) or the input delivered (first 8 bytes)
    Report answer{};  // feature get only: the answer returned; zero when failed
    bool failed = false;  // failed by injection, or refused

    bool operator==(const LoggedReport&) const = default;
};

class SimulatedMouse {
public:
    SimulatedMouse();

    // Report traffic, as the backend hands it over (ids already checked).
    bool FeatureSet(const Report& report);
    // io holds the host's request on entry and the answer on success.
    bool FeatureGet(Report& io);
    bool Output(const Report& report);
    // Pops the oldest report of a host queue into data (cut to length).
    // Returns the bytes stored, 0 when none is queued (not logged, counts no
    // position), -1 when failed by injection (the report stays queued).
    int Input(size_t queue, uint8_t* data, size_t length);

    // Host queues, one per open handle that receives input.
    size_t OpenInputQueue();
    void CloseInputQueue(size_t queue);
    // Reports waiting in the fullest host queue (those that have arrived).
    size_t QueuedInputCount();
    // Input reports reach the host intervalMs apart on this clock, the first
    // intervalMs after the mouse sends it (behind any still on their way).
    // Without a clock, or with 0, every report is there at once.
    void SetInputTiming(platform::Clock* clock, unsigned intervalMs);
    // What a read with this timeout waits for: until a report is queued for
    // the handle or the timeout has passed. With a clock the wait passes on
    // it; the time waited is added up in InputWaitMs either way.
    void AwaitInput(size_t queue, int timeoutMs);
    unsigned InputWaitMs() const { return inputWaitMs_; }

    // Firmware state.
    const FirmwareState& State() const { return state_; }
    FirmwareState& MutableState() { return state_; }
    void SetState(const FirmwareState& state) { state_ = state; }
    void ResetToFresh() { state_ = FirmwareState::Fresh(); }
    bool BlockWritePending() const { return pendingWrite_.has_value(); }
    void SetInputQueueLength(unsigned count) { inputQueueLength_ = count; }
    unsigned InputQueueLength() const { return inputQueueLength_; }

    // Log of every report exchanged, in order.
    const std::vector<LoggedReport>& Log() const { return log_; }
    void ClearLog();
    // Drops the entries logged so far; positions go on counting.
    void ForgetLog() { log_.clear(); }
    void ResetPositions() { position_ = 0; }

    // Fault injection.
    void FailNext(ReportKind kind, unsigned count);
    // Fails the reports at positions [position, position + count), counted
    // over all kinds from the last ClearLog() or ResetPositions().
    void FailAt(size_t position, size_t count = 1);
    void ClearFaults();
    // Inserts a report with this id, `length` bytes long with zero payload,
    // into the next input run.
    void InjectForeignInput(size_t indexInRun, uint8_t reportId, size_t length = kReportSize);
    // Sends an input report now, outside any run.
    void SendInput(const InputReport& report);
    // How many reports the mouse sends for a read of this block: a shorter
    // run leaves out the last data, a longer one ends in [09 00 ...].
    void SetRunReports(RunBlock block, size_t reports);
    size_t RunReports(RunBlock block) const;

    // Presence, as SimHidBackend sees it.
    void ExposeCollections(bool command, bool data);
    bool Exposed(Collection collection) const;
    // Both collections on one node (one interface): enumeration lists both
    // with one path, and every handle of it receives every input report.
    // Set before opening handles.
    void SetSharedNode(bool shared) { sharedNode_ = shared; }
    bool SharedNode() const { return sharedNode_; }
    void Unplug();
    // Unplugs as the report at this position arrives: that report and all
    // later ones on the open handles fail and are not logged.
    void UnplugAt(size_t position) { unplugAt_ = position; }
    void Replug() { plugged_ = true; }
    bool Plugged() const { return plugged_; }
    // Changes at every unplug; handles opened under an older one are dead.
    unsigned PlugGeneration() const { return plugGeneration_; }
    void SetAccessDenied(bool denied) { accessDenied_ = denied; }
    bool AccessDenied() const { return accessDenied_; }

private:
    using Block = RunBlock;
    struct BlockTarget {
        Block block;
        size_t profile;
        size_t slot;
    };
    struct BlockShape;
    struct Command;

    static const BlockShape& ShapeOf(Block block);
    static const Command* FindCommand(uint8_t code);
    static bool FixedBytesRight(const Report& command);
    bool OutputBytesRight(const Report& report) const;
    static std::optional<size_t> WireProfile(uint8_t wire);
    std::optional<size_t> CurrentProfile() const;
    ProfileState* ProfileAt(std::optional<size_t> index);
    std::optional<BlockTarget> Target(Block block, std::optional<size_t> profile, size_t slot) const;
    std::span<uint8_t> BlockPart(const BlockTarget& target, size_t k);

    bool UnplugDue();
    bool TakeFault(ReportKind kind);
    void Record(ReportKind kind, const Report& bytes, const Report& answer, bool failed);
    void Execute(const Report& command);
    void QueueRun(Block block, std::optional<size_t> profile, size_t slot);
    void InsertForeignReports(std::deque<InputReport>& run);
    uint64_t Now() const { return clock_ != nullptr ? clock_->NowMicros() : 0; }
    // Sends a report towards the host; it arrives after the input interval.
    void Transmit(const InputReport& report);
    // Moves the reports that have arrived by now into the host queues.
    void Settle();
    void Deliver(const InputReport& report);
    void Wait(unsigned ms);
    void BeginWrite(Block block, std::optional<size_t> profile, size_t slot);
    void StoreWritePart(const Report& report);

    void SetLedSwitch(const Report& command);
    void GetLedState(const Report& command);
    void GetProfileFlags(const Report& command);
    void SetProfileFlags(const Report& command);
    void GetCurrentProfile(const Report& command);
    void SetCurrentProfile(const Report& command);
    void GetFirmwareVersion(const Report& command);
    void BeginTransfer(const Report& command);
    void GetReportRate(const Report& command);
    void SetReportRate(const Report& command);
    void GetPowerSave(const Report& command);
    void SetPowerSave(const Report& command);
    void SetProfileColour(const Report& command);
    void SetProfileAux(const Report& command);
    void ReadStageCodes(const Report& command);
    void WriteStageCodes(const Report& command);
    void ReadKeyTable(const Report& command);
    void WriteKeyTable(const Report& command);
    void ReadKeyComboTable(const Report& command);
    void WriteKeyComboTable(const Report& command);
    void ReadMacroSlot(const Report& command);
    void WriteMacroSlot(const Report& command);

    FirmwareState state_;
    Report answer_{};  // what the next feature get returns
    std::optional<BlockTarget> pendingWrite_;
    size_t pendingIndex_ = 0;  // next report of the pending write
    std::map<size_t, std::deque<InputReport>> hostQueues_;
    struct InFlight {
        InputReport report;
        uint64_t arrivalMicros;
    };
    std::deque<InFlight> inFlight_;  // sent, not yet at the host
    platform::Clock* clock_ = nullptr;
    unsigned inputIntervalMs_ = 0;
    size_t nextQueue_ = 0;
    unsigned inputQueueLength_ = 0;
    unsigned inputWaitMs_ = 0;
    std::array<size_t, 4> runReports_;

    std::vector<LoggedReport> log_;
    size_t position_ = 0;
    std::array<unsigned, kReportKindCount> failNext_{};
    std::vector<std::pair<size_t, size_t>> failRanges_;  // [first, last)
    struct ForeignInput {
        size_t index;
        uint8_t reportId;
        size_t length;
    };
    std::vector<ForeignInput> foreignInputs_;
    std::optional<size_t> unplugAt_;

    bool sharedNode_ = false;
    bool commandExposed_ = true;
    bool dataExposed_ = true;
    bool plugged_ = true;
    unsigned plugGeneration_ = 0;
    bool accessDenied_ = false;
};

}  // namespace sim
