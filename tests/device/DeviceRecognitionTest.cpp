#include "device/DeviceRecognition.h"

#include <gtest/gtest.h>

#include <string>

namespace device {
namespace {

platform::DeviceChange WithHidId(std::string hidId) {
    return {platform::DeviceChange::Kind::Arrival, "/dev/hidraw0", "hidraw", std::move(hidId)};
}

TEST(DeviceRecognitionTest, TheMouseIsRecognisedByItsHidIdInEitherCase) {
    uint16_t vendor = 0;
    uint16_t product = 0;
    ASSERT_TRUE(ParseHidId("0003:0000251F:00001014", vendor, product));
    EXPECT_EQ(vendor, 0x251F);
    EXPECT_EQ(product, 0x1014);

    EXPECT_TRUE(IsVimoDevice(WithHidId("0003:0000251F:00001014")));
    EXPECT_TRUE(IsVimoDevice(WithHidId("0003:0000251f:00001014")));
    EXPECT_TRUE(IsVimoDevice(WithHidId("3:251F:1014")));
    // The HID device's own change (no node) counts as well.
    EXPECT_TRUE(IsVimoDevice({platform::DeviceChange::Kind::Removal,
                              "/sys/devices/pci0000:00/usb1/1-2/1-2:1.1/0003:251F:1014.0004", "hid",
                              "0003:0000251F:00001014"}));
}

TEST(DeviceRecognitionTest, OtherDevicesAreNotTheMouse) {
    EXPECT_FALSE(IsVimoDevice(WithHidId("0003:0000046D:00001014")));  // other vendor
    EXPECT_FALSE(IsVimoDevice(WithHidId("0003:0000251F:0000C077")));  // other product
    EXPECT_FALSE(IsVimoDevice(WithHidId("0003:00001014:0000251F")));  // swapped
    // Numbers that only end in the mouse's ids are other devices, not cut down.
    EXPECT_FALSE(IsVimoDevice(WithHidId("0003:0001251F:00001014")));
    EXPECT_FALSE(IsVimoDevice(WithHidId("0003:0000251F:FFFF1014")));
    // The path tells nothing: without the property it is not the mouse.
    EXPECT_FALSE(IsVimoDevice({platform::DeviceChange::Kind::Arrival,
                               "/sys/devices/usb1/1-2/1-2:1.1/0003:251F:1014.0004/VID_251F&PID_1014", "hid", ""}));
}

TEST(DeviceRecognitionTest, MalformedOrShortPropertiesAreRefusedAndLeaveTheOutputs) {
    const char* malformed[] = {
        "",
        "0003",
        "0003:0000251F",
        "0003:0000251F:",
        ":0000251F:00001014",
        "0003::00001014",
        "00030000251F00001014",
        "0003;0000251F;00001014",
        "0003:0000251F:00001014:",
        "0003:0000251F:00001014:0000",
        "0003:0000251F:00001014 ",
        " 0003:0000251F:00001014",
        "0003:0000251F:00001014x",
        "0003:0000251G:00001014",
        "0003:0x251F:0x1014",
        "0003:+251F:1014",
        "0003:00000000251F:00001014",  // longer than the kernel's eight digits
        "0003:0000251F:000000001014",
        "000000003:0000251F:00001014",
    };
    for (const char* text : malformed) {
        uint16_t vendor = 7;
        uint16_t product = 9;
        EXPECT_FALSE(ParseHidId(text, vendor, product)) << '"' << text << '"';
        EXPECT_EQ(vendor, 7) << text;
        EXPECT_EQ(product, 9) << text;
        EXPECT_FALSE(IsVimoDevice(WithHidId(text))) << text;
    }
}

}  // namespace
}  // namespace device
