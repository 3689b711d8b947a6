// Feeds arbitrary device answers (feature answers, input runs, failures) and
// arbitrary host records to the profile transfers of both variants. Nothing
// a mouse answers and nothing a caller's record holds may crash them or make
// them reach outside their buffers.
#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "platform/FakeClock.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// A mouse whose every answer comes from the fuzz input.
class ScriptedBackend final : public platform::HidBackend {
public:
    ScriptedBackend(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    std::vector<platform::HidCollectionInfo> Enumerate() override
    {
        return {{0x251F, 0x1014, 0xFF01, 0x0001, "c", true}, {0x251F, 0x1014, 0xFF03, 0xFF00, "d", true}};
    }
    std::unique_ptr<platform::HidDevice> Open(const std::string&) override { return std::make_unique<Device>(*this); }
    platform::HidOpenError LastOpenError() const override { return platform::HidOpenError::None; }

private:
    struct Device final : platform::HidDevice {
        explicit Device(ScriptedBackend& owner) : owner(owner) {}
        bool SendFeatureReport(const uint8_t*, size_t) override { return owner.Next() % 16 != 0; }
        bool GetFeatureReport(uint8_t* data, size_t length) override { return owner.Fill(data, length); }
        bool WriteOutputReport(const uint8_t*, size_t) override { return owner.Next() % 32 != 0; }
        // Reports of any length up to the buffer, as a node with several
        // collections delivers them; none once the input is used up.
        int ReadInputReport(uint8_t* data, size_t length, int) override
        {
            const size_t wanted = owner.Next() % 4 == 0 ? owner.Next() % (length + 1) : 8;
            const size_t n = std::min(wanted, length);
            return n > 0 && owner.Fill(data, n) ? static_cast<int>(n) : 0;
        }
        bool SetInputQueueLength(unsigned) override { return true; }
        ScriptedBackend& owner;
    };

    uint8_t Next() { return at_ < size_ ? data_[at_++] : 1; }
    bool Fill(uint8_t* out, size_t length)
    {
        if (at_ + length > size_)
            return false;
        std::memcpy(out, data_ + at_, length);
        at_ += length;
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t profile = data[0] % 6;
    const auto variant = (data[1] & 1) ? device::ProtocolVariant::Library : device::ProtocolVariant::Program;

    platform::FakeClock clock;
    ScriptedBackend backend(data + 2, size - 2);
    device::DeviceLink link(backend, clock);
    device::CommandSet commands(link, variant);
    device::ProfileTransfer transfer(commands);

    // Five records, so that the library's profile-4 calls have their array.
    auto records = std::make_unique<std::array<device::DeviceProfileRecord, 5>>();
    uint8_t* record = (*records)[profile == 5 ? 4 : profile].data();
    transfer.Read(profile == 5 ? 4 : profile, record);
    // Write back whatever the read left, plus fuzz bytes over the record.
    const size_t spill = std::min(size, device::record::kSize);
    std::memcpy(record, data, spill);
    transfer.Write(profile == 5 ? 4 : profile, record);
    return 0;
}
