#include "sim/PersistentHandle.h"

#include "sim/PersistentMouse.h"

namespace sim {

PersistentHandle::PersistentHandle(PersistentMouse& owner, std::unique_ptr<platform::HidDevice> handle)
    : owner_(owner), handle_(std::move(handle))
{
}

PersistentHandle::~PersistentHandle()
{
    Close();
}

bool PersistentHandle::Usable() const
{
    return handle_ != nullptr && owner_.Held();
}

bool PersistentHandle::SendFeatureReport(const uint8_t* data, size_t length)
{
    return Usable() && handle_->SendFeatureReport(data, length);
}

bool PersistentHandle::GetFeatureReport(uint8_t* data, size_t length)
{
    return Usable() && handle_->GetFeatureReport(data, length);
}

bool PersistentHandle::WriteOutputReport(const uint8_t* data, size_t length)
{
    return Usable() && handle_->WriteOutputReport(data, length);
}

int PersistentHandle::ReadInputReport(uint8_t* data, size_t length, int timeoutMs)
{
    return Usable() ? handle_->ReadInputReport(data, length, timeoutMs) : -1;
}

bool PersistentHandle::SetInputQueueLength(unsigned count)
{
    return Usable() && handle_->SetInputQueueLength(count);
}

bool PersistentHandle::Close()
{
    if (handle_ == nullptr)
        return true;
    handle_.reset();
    return owner_.HandleClosed();
}

}  // namespace sim
