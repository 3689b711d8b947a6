#include "platform/HidapiBackend.h"

#include <hidapi/hidapi.h>

#include <cerrno>
#include <unistd.h>

namespace platform {
namespace {

class HidapiDevice final : public HidDevice {
public:
    explicit HidapiDevice(hid_device* handle) : handle_(handle) {}
    ~HidapiDevice() override { hid_close(handle_); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    bool SendFeatureReport(const uint8_t* data, size_t length) override
    {
        return hid_send_feature_report(handle_, data, length) == static_cast<int>(length);
    }
    bool GetFeatureReport(uint8_t* data, size_t length) override
    {
        return hid_get_feature_report(handle_, data, length) > 0;
    }
    bool WriteOutputReport(const uint8_t* data, size_t length) override
    {
        return hid_write(handle_, data, length) == static_cast<int>(length);
    }
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override
    {
        return hid_read_timeout(handle_, data, length, timeoutMs);
    }
    // hidraw keeps its own fixed queue per open node; nothing to set.
    bool SetInputQueueLength(unsigned) override { return true; }

private:
    hid_device* handle_;
};

HidOpenError ErrorFromErrno(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return HidOpenError::AccessDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return HidOpenError::NotFound;
    default:
        return HidOpenError::Other;
    }
}

}  // namespace

HidapiBackend::HidapiBackend() { hid_init(); }
HidapiBackend::~HidapiBackend() { hid_exit(); }

std::vector<HidCollectionInfo> HidapiBackend::Enumerate()
{
    std::vector<HidCollectionInfo> found;
    hid_device_info* list = hid_enumerate(0, 0);
    for (hid_device_info* it = list; it != nullptr; it = it->next) {
        HidCollectionInfo info;
        info.vendorId = it->vendor_id;
        info.productId = it->product_id;
        info.usagePage = it->usage_page;
        info.usage = it->usage;
        info.path = it->path != nullptr ? it->path : "";
        info.attributesValid = it->path != nullptr;
        found.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return found;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path)
{
    // hidapi's open hides errno behind its own text; ask the node first so
    // that a permission problem can be told apart from a vanished device.
    if (access(path.c_str(), R_OK | W_OK) != 0) {
        lastError_ = ErrorFromErrno(errno);
        return nullptr;
    }
    hid_device* handle = hid_open_path(path.c_str());
    if (handle == nullptr) {
        lastError_ = ErrorFromErrno(errno);
        return nullptr;
    }
    lastError_ = HidOpenError::None;
    return std::make_unique<HidapiDevice>(handle);
}

}  // namespace platform
