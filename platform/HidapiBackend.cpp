#include "platform/HidapiBackend.h"

#include <hidapi/hidapi.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {
namespace {

// Output reports are sent as output reports, not as data written to the
// node: hid_send_output_report from hidapi 0.15, the HIDIOCSOUTPUT ioctl on
// the hidraw node (Linux 5.11 and later) before it, hid_write where the ioctl
// is refused. The kernel then chooses the pipe: the interrupt OUT endpoint
// when the interface has one, a SET_REPORT on the control pipe otherwise
// (always, with the usbhid quirk NO_OUTPUT_REPORTS_ON_INTR_EP).
class HidapiDevice final : public HidDevice {
public:
    HidapiDevice(hid_device* handle, const std::string& path) : handle_(handle), path_(path) {}
    ~HidapiDevice() override
    {
        if (outputFd_ >= 0)
            close(outputFd_);
        hid_close(handle_);
    }
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
#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 15, 0)
        return hid_send_output_report(handle_, data, length) == static_cast<int>(length);
#else
        // The node is opened for the ioctl when an output report is sent, so
        // handles that never send one (the command collection) hold no
        // second descriptor. An open that fails (out of descriptors, say) is
        // tried again with the next report; this one goes by hid_write.
        if (outputFd_ < 0 && !ioctlRefused_)
            outputFd_ = open(path_.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (outputFd_ >= 0 && !ioctlRefused_) {
            const int sent = ioctl(outputFd_, HIDIOCSOUTPUT(length), data);
            if (sent >= 0)
                return sent == static_cast<int>(length);
            if (!OutputIoctlRefused(errno))
                return false;
        }
        return hid_write(handle_, data, length) == static_cast<int>(length);
#endif
    }
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override
    {
        return hid_read_timeout(handle_, data, length, timeoutMs);
    }
    // hidraw keeps its own fixed queue per open node; nothing to set.
    bool SetInputQueueLength(unsigned) override { return true; }

private:
    // A kernel without the ioctl refuses it for good; a device that stalls
    // the SET_REPORT refuses this one report, which then goes by hid_write.
    bool OutputIoctlRefused(int err)
    {
        if (err == ENOTTY || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) {
            ioctlRefused_ = true;
            return true;
        }
        return err == EPIPE;
    }

    hid_device* handle_;
    std::string path_;
    int outputFd_ = -1;
    bool ioctlRefused_ = false;
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
    return std::make_unique<HidapiDevice>(handle, path);
}

}  // namespace platform
