// HID access on Linux through hidapi's hidraw backend.
#pragma once

#include "platform/hid.h"

namespace platform {

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    std::vector<HidCollectionInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    HidOpenError LastOpenError() const override { return lastError_; }

private:
    HidOpenError lastError_ = HidOpenError::None;
};

}  // namespace platform
