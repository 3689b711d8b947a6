// The ten C exports of libhidlink.so.
#include "hidlink/hidlink.h"

#include "device/DeviceProfileRecord.h"
#include "hidlink/LibraryContext.h"

#include <cstddef>

#define HIDLINK_EXPORT extern "C" __attribute__((visibility("default")))

using hidlink::LibraryContext;
using hidlink::WithContext;

// The public record must match the library layout of the device layer.
static_assert(sizeof(DeviceProfileRecord) == device::record::kSize);
static_assert(offsetof(DeviceProfileRecord, in_use) == device::kLibraryLayout.inUse);
static_assert(offsetof(DeviceProfileRecord, report_rate) == device::kLibraryLayout.reportRate);
static_assert(offsetof(DeviceProfileRecord, power_save) == device::kLibraryLayout.powerSave);
static_assert(offsetof(DeviceProfileRecord, stages[0].code) == device::kLibraryLayout.stageCodes[0]);
static_assert(offsetof(DeviceProfileRecord, stages[3].code) == device::kLibraryLayout.stageCodes[3]);
static_assert(offsetof(DeviceProfileRecord, buttons) == device::kLibraryLayout.buttonEntries);
static_assert(offsetof(DeviceProfileRecord, buttons[0].extra) == device::record::kEntryExtra + 34);
static_assert(offsetof(DeviceProfileRecord, macros) == device::kLibraryLayout.macroBlocks);
static_assert(sizeof(VQ_MacroBlock) == device::record::kMacroBlockSize);
static_assert(offsetof(VQ_MacroBlock, events) == device::record::kMacroEvents);
static_assert(sizeof(VQ_MacroEvent) == device::record::kMacroEventSize);
static_assert(offsetof(VQ_MacroEvent, code) == device::record::kEventCode);
static_assert(offsetof(VQ_MacroEvent, direction) == device::record::kEventDirection);
static_assert(offsetof(VQ_MacroEvent, delay) == device::record::kEventDelay);

namespace {

// The library switches the LEDs with an ambient-light value of 0.
constexpr uint8_t kLibraryAmbient = 0;

unsigned char Bool(bool value)
{
    return value ? 1 : 0;
}

// The firmware query, its number stored in the caller's integer only on
// success.
template <typename Integer>
unsigned char StoreFirmwareVersion(Integer* version)
{
    return WithContext<unsigned char>(0, [version](LibraryContext& c) {
        int value = 0;
        const bool ok = c.Commands().GetFirmwareVersion(value);
        if (ok)
            *version = static_cast<Integer>(value);
        return Bool(ok);
    });
}

}  // namespace

HIDLINK_EXPORT int Open_VQ_device(void)
{
    return WithContext(0, [](LibraryContext& c) { return c.Link().OpenDevice() ? 1 : 0; });
}

HIDLINK_EXPORT int Close_VQ_device(void)
{
    return WithContext(1, [](LibraryContext& c) {
        c.Link().CloseDevice();
        return 1;
    });
}

HIDLINK_EXPORT unsigned char Get_fw_version(int* version)
{
    return StoreFirmwareVersion(version);
}

HIDLINK_EXPORT unsigned char Get_fw_info(short* version)
{
    return StoreFirmwareVersion(version);
}

HIDLINK_EXPORT unsigned char Get_current_profile_id(char* profile)
{
    return WithContext<unsigned char>(0, [profile](LibraryContext& c) {
        uint8_t value = 0;
        const bool ok = c.Commands().GetCurrentProfile(value);
        if (ok)
            *profile = static_cast<char>(value);
        return Bool(ok);
    });
}

HIDLINK_EXPORT unsigned char Set_current_profile_id(unsigned char profile)
{
    return WithContext<unsigned char>(0, [profile](LibraryContext& c) {
        return Bool(c.Commands().SetCurrentProfile(profile));
    });
}

HIDLINK_EXPORT unsigned char Read_profile(unsigned char profile, DeviceProfileRecord* record)
{
    return WithContext<unsigned char>(0, [=](LibraryContext& c) {
        return Bool(c.Transfer().Read(profile, reinterpret_cast<uint8_t*>(record)));
    });
}

HIDLINK_EXPORT unsigned char Write_profile(unsigned char profile, DeviceProfileRecord* record)
{
    return WithContext<unsigned char>(0, [=](LibraryContext& c) {
        return Bool(c.Transfer().Write(profile, reinterpret_cast<const uint8_t*>(record)));
    });
}

HIDLINK_EXPORT unsigned char Set_LED_black_out(void)
{
    return WithContext<unsigned char>(
        0, [](LibraryContext& c) { return Bool(c.Commands().SetLedSwitch(device::kLedDark, kLibraryAmbient)); });
}

HIDLINK_EXPORT unsigned char Set_LED_black_out_off(void)
{
    return WithContext<unsigned char>(
        0, [](LibraryContext& c) { return Bool(c.Commands().SetLedSwitch(device::kLedLit, kLibraryAmbient)); });
}
