// The mouse's firmware as the host sees it through its two HID collections:
// feature reports (id 7) carry commands and answers on the command
// collection; output reports (id 9) carry block writes to it and input
// reports (id 9) carry block reads back on the data collection.
//
// Every report that reaches the mouse is logged byte for byte. Faults can be
// injected per report kind or at log positions; a failed report changes
// nothing. The mouse can also be unplugged, hidden in part from enumeration,
// or refuse opening, for SimHidBackend to act on.
#pragma once

#include "sim/FirmwareState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace sim {

inline constexpr size_t kReportSize = 8;
inline constexpr uint8_t kCommandReportId = 7;
inline constexpr uint8_t kDataReportId = 9;

using Report = std::array<uint8_t, kReportSize>;

enum class ReportKind : uint8_t { FeatureSet, FeatureGet, Output, Input };
inline constexpr size_t kReportKindCount = 4;

enum class Collection : uint8_t { Command, Data };

struct LoggedReport {
    ReportKind kind = ReportKind::FeatureSet;
    Collection collection = Collection::Command;
    Report bytes{};   // host to mouse (set, get request, output) or the input delivered
    Report answer{};  // feature get only: the answer returned; zero when failed
    bool failed = false;  // failed by injection

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
    // kReportSize when a report was popped, 0 when none is queued (not
    // logged, counts no position), -1 when failed by injection.
    int Input(Report& out);

    // Firmware state.
    const FirmwareState& State() const { return state_; }
    FirmwareState& MutableState() { return state_; }
    void SetState(const FirmwareState& state) { state_ = state; }
    void ResetToFresh() { state_ = FirmwareState::Fresh(); }
    bool BlockWritePending() const { return pendingWrite_.has_value(); }
    size_t QueuedInputCount() const { return inputQueue_.size(); }
    void SetInputQueueLength(unsigned count) { inputQueueLength_ = count; }
    unsigned InputQueueLength() const { return inputQueueLength_; }

    // Log of every report exchanged, in order.
    const std::vector<LoggedReport>& Log() const { return log_; }
    void ClearLog();
    void ResetPositions() { position_ = 0; }

    // Fault injection.
    void FailNext(ReportKind kind, unsigned count);
    // Fails the reports at positions [position, position + count), counted
    // over all kinds from the last ClearLog() or ResetPositions().
    void FailAt(size_t position, size_t count = 1);
    void ClearFaults();
    // Inserts a report with this id and zero payload into the next input run.
    void InjectForeignInput(size_t indexInRun, uint8_t reportId);

    // Presence, as SimHidBackend sees it.
    void ExposeCollections(bool command, bool data);
    bool Exposed(Collection collection) const;
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
    enum class Block : uint8_t { Stage, Keys, Combos, Macro };
    struct BlockTarget {
        Block block;
        size_t profile;
        size_t slot;
    };
    struct BlockShape;
    struct Command;

    static const BlockShape& ShapeOf(Block block);
    static const Command* FindCommand(uint8_t code);
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
    void InsertForeignReports(std::deque<Report>& run);
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
    std::deque<Report> inputQueue_;
    unsigned inputQueueLength_ = 0;

    std::vector<LoggedReport> log_;
    size_t position_ = 0;
    std::array<unsigned, kReportKindCount> failNext_{};
    std::vector<std::pair<size_t, size_t>> failRanges_;  // [first, last)
    std::vector<std::pair<size_t, uint8_t>> foreignInputs_;
    std::optional<size_t> unplugAt_;

    bool commandExposed_ = true;
    bool dataExposed_ = true;
    bool plugged_ = true;
    unsigned plugGeneration_ = 0;
    bool accessDenied_ = false;
};

}  // namespace sim
