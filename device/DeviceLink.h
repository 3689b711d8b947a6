// The pair of open HID collections through which the mouse is driven, and
// the report exchange with its retry and pacing discipline.
#pragma once

#include "device/Protocol.h"
#include "device/ReportObserver.h"
#include "platform/clock.h"
#include "platform/hid.h"

#include <memory>

namespace device {

// Why the last OpenDevice did not give an open link, or the last
// CloseDevice found that the mouse did not keep what it was sent.
enum class LinkProblem : uint8_t {
    None,
    NoMouse,           // no collection of the mouse is present
    AccessDenied,      // the mouse is present but its nodes cannot be opened
    MissingCollection, // only one of the two collections could be opened
    Busy,              // another program holds the mouse for its command sequence
    NotKept,           // closing: what the sequence sent was not kept
};

// What an input run read gave: the reports stored, and whether the host's
// read failed part-way (as opposed to a run that ended or came short).
struct InputRun {
    size_t reports = 0;
    bool failed = false;
};

class DeviceLink {
public:
    DeviceLink(platform::HidBackend& backend, platform::Clock& clock);

    // First present collection of the mouse with this usage page and usage,
    // opened; null when there is none (or it cannot be opened).
    std::unique_ptr<platform::HidDevice> FindCollection(uint16_t usagePage, uint16_t usage);

    bool OpenDevice();
    // Closes both handles; false (NotKept) when the mouse reports on closing
    // that it could not keep what it was sent since the open.
    bool CloseDevice();
    bool EnsureOpen();
    bool IsOpen() const { return commandHandle_ && dataHandle_; }
    bool HasCommandHandle() const { return commandHandle_ != nullptr; }
    bool HasDataHandle() const { return dataHandle_ != nullptr; }
    LinkProblem LastProblem() const { return lastProblem_; }

    // One 8-byte report, up to three attempts, 5 ms after each attempt.
    bool SetFeatureRetry(const ReportBuffer& report);
    bool GetFeatureRetry(ReportBuffer& report);
    bool SetOutputRetry(const ReportBuffer& report);
    // One get-feature without retry or pause (the macro read's request).
    bool GetFeatureOnce(ReportBuffer& report);
    // Throws away what is still queued on the data collection. When it finds
    // something, the rest of that run may still be on its way: it goes on
    // until the queue has been quiet for kInputQuietMs (within one overall
    // deadline). Returns how many reports it threw away.
    size_t DrainInput();
    // Reads an input run from the data collection into buffer (room for
    // length / 8 reports), report by report, within one overall deadline.
    // It waits for `wanted` data reports (id 9); after them it goes on until
    // `complete` data reports are in (the longest run the block has) or the
    // queue has been quiet for kInputQuietMs, so that no report of this run
    // is left to be taken for the next. A report of another length is stored
    // as a foreign report (its first bytes, id never 9). Stops at the first
    // error. The rest of buffer is untouched.
    InputRun ReadInputStream(uint8_t* buffer, size_t length, size_t wanted, size_t complete);
    bool SetInputQueueLength(unsigned count);

    void SetObserver(ReportObserver* observer) { observer_ = observer; }
    platform::Clock& Clock() { return clock_; }

private:
    template <typename Call>
    bool WithRetry(ReportKind kind, CollectionId collection, const uint8_t* bytes, Call call);
    void Notify(ReportKind kind, CollectionId collection, const uint8_t* bytes, int attempt, bool ok);
    // One input report into an 8-byte slot; the result of the host's read.
    int ReadOneInput(uint8_t* slot, int timeoutMs);
    // Milliseconds left until deadline (micros on the clock), at most cap.
    int MsUntil(uint64_t deadline, unsigned cap);

    platform::HidBackend& backend_;
    platform::Clock& clock_;
    std::unique_ptr<platform::HidDevice> commandHandle_;
    std::unique_ptr<platform::HidDevice> dataHandle_;
    LinkProblem lastProblem_ = LinkProblem::None;
    bool sawAccessDenied_ = false;
    bool sawBusy_ = false;
    ReportObserver* observer_ = nullptr;
};

}  // namespace device
