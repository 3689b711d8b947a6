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

SimHidDevice::SimHidDevice(SimulatedMouse& mouse, Collection collection)
    : mouse_(mouse), collection_(collection), generation_(mouse.PlugGeneration())
{
}

bool SimHidDevice::Alive() const
{
    return mouse_.Plugged() && mouse_.PlugGeneration() == generation_;
}

bool SimHidDevice::Accepts(Collection collection, uint8_t reportId, const uint8_t* data, size_t length) const
{
    return Alive() && collection_ == collection && data != nullptr && length == kReportSize &&
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

// Never waits: an empty queue is a timeout at once.
int SimHidDevice::ReadInputReport(uint8_t* data, size_t length, int)
{
    if (!Alive() || collection_ != Collection::Data || data == nullptr || length != kReportSize)
        return -1;
    Report report;
    const int result = mouse_.Input(report);
    if (result > 0)
        std::copy(report.begin(), report.end(), data);
    return result;
}

bool SimHidDevice::SetInputQueueLength(unsigned count)
{
    if (!Alive())
        return false;
    mouse_.SetInputQueueLength(count);
    return true;
}

}  // namespace sim
