#include "device/DeviceLink.h"

#include <algorithm>
#include <cstring>

namespace device {

DeviceLink::DeviceLink(platform::HidBackend& backend, platform::Clock& clock)
    : backend_(backend), clock_(clock)
{
}

std::unique_ptr<platform::HidDevice> DeviceLink::FindCollection(uint16_t usagePage, uint16_t usage)
{
    for (const platform::HidCollectionInfo& info : backend_.Enumerate()) {
        // An interface whose attributes could not be read never matches.
        if (!info.attributesValid || info.vendorId != kVendorId || info.productId != kProductId
            || info.usagePage != usagePage || info.usage != usage)
            continue;
        if (auto handle = backend_.Open(info.path))
            return handle;
        // A matched interface that cannot be opened counts as no match.
        if (backend_.LastOpenError() == platform::HidOpenError::AccessDenied)
            sawAccessDenied_ = true;
        if (backend_.LastOpenError() == platform::HidOpenError::Busy)
            sawBusy_ = true;
    }
    return nullptr;
}

bool DeviceLink::OpenDevice()
{
    sawAccessDenied_ = false;
    sawBusy_ = false;
    // Close what a half-opened link may still hold before it is replaced.
    commandHandle_.reset();
    commandHandle_ = FindCollection(kCommandUsagePage, kCommandUsage);
    dataHandle_.reset();
    // A mouse that another program holds is not waited for twice.
    if (!sawBusy_)
        dataHandle_ = FindCollection(kDataUsagePage, kDataUsage);

    if (IsOpen())
        lastProblem_ = LinkProblem::None;
    else if (sawBusy_)
        lastProblem_ = LinkProblem::Busy;
    else if (sawAccessDenied_)
        lastProblem_ = LinkProblem::AccessDenied;
    else if (commandHandle_ || dataHandle_)
        lastProblem_ = LinkProblem::MissingCollection;
    else
        lastProblem_ = LinkProblem::NoMouse;
    return IsOpen();
}

bool DeviceLink::CloseDevice()
{
    bool kept = true;
    for (std::unique_ptr<platform::HidDevice>* handle : {&commandHandle_, &dataHandle_}) {
        if (*handle) {
            kept = (*handle)->Close() && kept;
            handle->reset();
        }
    }
    if (!kept)
        lastProblem_ = LinkProblem::NotKept;
    return kept;
}

bool DeviceLink::EnsureOpen()
{
    return IsOpen() || OpenDevice();
}

void DeviceLink::Notify(ReportKind kind, CollectionId collection, const uint8_t* bytes, int attempt, bool ok)
{
    if (observer_ != nullptr)
        observer_->OnReport(ReportEvent{kind, collection, bytes, attempt, ok});
}

template <typename Call>
bool DeviceLink::WithRetry(ReportKind kind, CollectionId collection, const uint8_t* bytes, Call call)
{
    for (int attempt = 1; attempt <= kAttemptsPerReport; ++attempt) {
        const bool ok = call();
        Notify(kind, collection, bytes, attempt, ok);
        clock_.SleepMs(kPauseAfterReportMs);
        if (ok)
            return true;
    }
    return false;
}

bool DeviceLink::SetFeatureRetry(const ReportBuffer& report)
{
    return WithRetry(ReportKind::FeatureOut, CollectionId::Command, report.data(), [&] {
        return commandHandle_ && commandHandle_->SendFeatureReport(report.data(), report.size());
    });
}

bool DeviceLink::GetFeatureRetry(ReportBuffer& report)
{
    const ReportBuffer request = report;
    return WithRetry(ReportKind::FeatureIn, CollectionId::Command, report.data(), [&] {
        report = request;
        return commandHandle_ && commandHandle_->GetFeatureReport(report.data(), report.size());
    });
}

bool DeviceLink::SetOutputRetry(const ReportBuffer& report)
{
    return WithRetry(ReportKind::Output, CollectionId::Data, report.data(), [&] {
        return dataHandle_ && dataHandle_->WriteOutputReport(report.data(), report.size());
    });
}

bool DeviceLink::GetFeatureOnce(ReportBuffer& report)
{
    const bool ok = commandHandle_ && commandHandle_->GetFeatureReport(report.data(), report.size());
    Notify(ReportKind::FeatureIn, CollectionId::Command, report.data(), 1, ok);
    return ok;
}

int DeviceLink::ReadOneInput(uint8_t* slot, int timeoutMs)
{
    uint8_t raw[kMaxInputReportSize] = {};
    const int got = dataHandle_->ReadInputReport(raw, sizeof raw, timeoutMs);
    if (got < 0)
        Notify(ReportKind::Input, CollectionId::Data, raw, 1, false);
    if (got <= 0)
        return got;
    std::memset(slot, 0, kReportSize);
    std::memcpy(slot, raw, std::min(static_cast<size_t>(got), kReportSize));
    if (static_cast<size_t>(got) != kReportSize && slot[0] == kDataReportId)
        slot[0] = kForeignReportMark;
    Notify(ReportKind::Input, CollectionId::Data, slot, 1, true);
    return got;
}

int DeviceLink::MsUntil(uint64_t deadline, unsigned cap)
{
    const uint64_t now = clock_.NowMicros();
    if (now >= deadline)
        return 0;
    return static_cast<int>(std::min<uint64_t>((deadline - now + 999) / 1000, cap));
}

size_t DeviceLink::DrainInput()
{
    if (!dataHandle_)
        return 0;
    const uint64_t deadline = clock_.NowMicros() + uint64_t{kInputRunDeadlineMs} * 1000;
    size_t drained = 0;
    uint8_t slot[kReportSize];
    int timeoutMs = 0;
    while (drained < kMaxDrainReports && ReadOneInput(slot, timeoutMs) > 0) {
        ++drained;
        timeoutMs = MsUntil(deadline, kInputQuietMs);
        if (timeoutMs == 0)
            break;
    }
    return drained;
}

InputRun DeviceLink::ReadInputStream(uint8_t* buffer, size_t length, size_t wanted, size_t complete)
{
    InputRun run;
    if (!dataHandle_)
        return run;
    const size_t capacity = length / kReportSize;
    const uint64_t deadline = clock_.NowMicros() + uint64_t{kInputRunDeadlineMs} * 1000;
    size_t dataReports = 0;
    while (run.reports < capacity && dataReports < complete) {
        const int timeoutMs = MsUntil(deadline, dataReports < wanted ? kInputRunDeadlineMs : kInputQuietMs);
        if (timeoutMs == 0)
            break;
        uint8_t* slot = buffer + run.reports * kReportSize;
        const int got = ReadOneInput(slot, timeoutMs);
        // Nothing within the time asked for: the run ends here.
        run.failed = got < 0;
        if (got <= 0)
            break;
        dataReports += slot[0] == kDataReportId ? 1 : 0;
        ++run.reports;
    }
    return run;
}

bool DeviceLink::SetInputQueueLength(unsigned count)
{
    return dataHandle_ && dataHandle_->SetInputQueueLength(count);
}

}  // namespace device
