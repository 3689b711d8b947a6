#include "device/DeviceLink.h"

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
    }
    return nullptr;
}

bool DeviceLink::OpenDevice()
{
    sawAccessDenied_ = false;
    // Close what a half-opened link may still hold before it is replaced.
    commandHandle_.reset();
    commandHandle_ = FindCollection(kCommandUsagePage, kCommandUsage);
    dataHandle_.reset();
    dataHandle_ = FindCollection(kDataUsagePage, kDataUsage);

    if (IsOpen())
        lastProblem_ = LinkProblem::None;
    else if (sawAccessDenied_)
        lastProblem_ = LinkProblem::AccessDenied;
    else if (commandHandle_ || dataHandle_)
        lastProblem_ = LinkProblem::MissingCollection;
    else
        lastProblem_ = LinkProblem::NoMouse;
    return IsOpen();
}

void DeviceLink::CloseDevice()
{
    commandHandle_.reset();
    dataHandle_.reset();
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

bool DeviceLink::ReadInputStream(uint8_t* buffer, size_t length)
{
    if (!dataHandle_ || length % kReportSize != 0)
        return false;
    for (size_t offset = 0; offset < length; offset += kReportSize) {
        const int got = dataHandle_->ReadInputReport(buffer + offset, kReportSize, kInputReadTimeoutMs);
        const bool ok = got == static_cast<int>(kReportSize);
        Notify(ReportKind::Input, CollectionId::Data, buffer + offset, 1, ok);
        if (!ok)
            return false;
    }
    return true;
}

bool DeviceLink::SetInputQueueLength(unsigned count)
{
    return dataHandle_ && dataHandle_->SetInputQueueLength(count);
}

}  // namespace device
