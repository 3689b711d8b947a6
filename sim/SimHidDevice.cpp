#include "sim/SimHidDevice.h"

#include <algorithm>

namespace sim {
namespace {

Report ToReport(const uint8_t* data)
{
    Report report;
    std::copy_n(data, kReportSize, report.begin());
    return report;
}

}  // namespace

SimHidDevice::SimHidDevice(SimulatedMouse& mouse, Collection collection, bool wholeNode)
    : mouse_(mouse), collection_(collection), wholeNode_(wholeNode), generation_(mouse.PlugGeneration())
{
    if (Carries(Collection::Data))
        inputQueue_ = mouse_.OpenInputQueue();
}

SimHidDevice::~SimHidDevice()
{
    if (inputQueue_)
        mouse_.CloseInputQueue(*inputQueue_);
}

bool SimHidDevice::Alive() const
{
    return mouse_.Plugged() && mouse_.PlugGeneration() == generation_;
}

bool SimHidDevice::Accepts(Collection collection, uint8_t reportId, const uint8_t* data, size_t length) const
{
    return Alive() && Carries(collection) && data != nullptr && length == kReportSize &&
           data[0] == reportId;
}

bool SimHidDevice::SendFeatureReport(const uint8_t* data, size_t length)
{
    if (!Accepts(Collection::Command, kCommandReportId, data, length))
        return false;
    return mouse_.FeatureSet(ToReport(data));
}

bool SimHidDevice::GetFeatureReport(uint8_t* data, size_t length)
{
    if (!Accepts(Collection::Command, kCommandReportId, data, length))
        return false;
    Report io = ToReport(data);
    if (!mouse_.FeatureGet(io))
        return false;
    std::copy(io.begin(), io.end(), data);
    return true;
}

bool SimHidDevice::WriteOutputReport(const uint8_t* data, size_t length)
{
    if (!Accepts(Collection::Data, kDataReportId, data, length))
        return false;
    return mouse_.Output(ToReport(data));
}

int SimHidDevice::ReadInputReport(uint8_t* data, size_t length, int timeoutMs)
{
    if (!Alive() || !inputQueue_ || data == nullptr || length == 0)
        return -1;
    mouse_.AwaitInput(*inputQueue_, timeoutMs);
    return mouse_.Input(*inputQueue_, data, length);
}

bool SimHidDevice::SetInputQueueLength(unsigned count)
{
    if (!Alive())
        return false;
    mouse_.SetInputQueueLength(count);
    return true;
}

}  // namespace sim
