#include "device/ProfileBlocks.h"

#include <gtest/gtest.h>

namespace device {
namespace {

TEST(ProfileBlocks, MacroHeaderPlayModes)
{
    EXPECT_EQ(EncodeMacroHeader(kPlayWhileHeld), (std::array<uint8_t, 2>{0xFF, 0xFF}));
    EXPECT_EQ(EncodeMacroHeader(kPlayToggle), (std::array<uint8_t, 2>{0, 0}));
    EXPECT_EQ(EncodeMacroHeader(7), (std::array<uint8_t, 2>{0, 7}));
    EXPECT_EQ(DecodeMacroHeader(0xFF, 0xFF), kPlayWhileHeld);
    EXPECT_EQ(DecodeMacroHeader(0xFF, 0x05), 5);
    EXPECT_EQ(DecodeMacroHeader(0, 0), kPlayToggle);
}

TEST(ProfileBlocks, MacroEventDelaysAndDirections)
{
    using Bytes = std::array<uint8_t, 3>;
    const auto program = ProtocolVariant::Program;
    EXPECT_EQ(EncodeMacroEvent({kEventKey, 0x04, 0, 300}, program), (Bytes{0x80, 0x0F, 0x04}));
    EXPECT_EQ(EncodeMacroEvent({kEventKey, 0x04, 1, 300}, program), (Bytes{0x00, 0x0F, 0x04}));
    EXPECT_EQ(EncodeMacroEvent({kEventKey, 0x04, 7, 19}, program), (Bytes{0x00, 0x00, 0x04}));
    // 35,000 ticks keep their low 15 bits: 0x88B8 -> 0x08B8.
    EXPECT_EQ(EncodeMacroEvent({kEventKey, 0x04, 1, 700000}, program), (Bytes{0x08, 0xB8, 0x04}));
    EXPECT_EQ(EncodeMacroEvent({kEventKey, 0x1234, 0, 0}, program), (Bytes{0x80, 0, 0x34}));

    const uint8_t down[3] = {0x80, 0x0F, 0x04};
    const auto event = DecodeMacroEvent(down);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, kEventKey);
    EXPECT_EQ(event->code, 0x0400);
    EXPECT_EQ(event->direction, 1);
    EXPECT_EQ(event->delayStored, SwapDelayBytes(300));
    EXPECT_EQ(SwapDelayBytes(0x0009FFEC), 0x00ECFF09u);

    const uint8_t end[3] = {0x80, 0x0F, 0x00};
    EXPECT_FALSE(DecodeMacroEvent(end));
}

TEST(ProfileBlocks, MouseEventCodesDifferByVariantAndDirection)
{
    struct Case {
        uint8_t kind;
        uint16_t code;
        uint8_t program, library;
        uint8_t readKind;
        uint16_t readCode;
    };
    const Case cases[] = {
        {kEventMouseButton, 1, 0xB7, 0xF0, kEventMouseButton, 1},
        {kEventMouseButton, 2, 0xB8, 0xF2, kEventMouseButton, 2},
        {kEventMouseButton, 4, 0xB9, 0xF1, kEventMouseButton, 4},
        {kEventMouseButton, 8, 0xBA, 0x00, kEventMouseButton, 16},
        {kEventMouseButton, 16, 0xBB, 0x00, kEventMouseButton, 8},
        {kEventWheel, 1, 0xC0, 0xF3, kEventWheel, 1},
        {kEventWheel, 255, 0xC1, 0xF4, kEventWheel, 255},
        {kEventMouseButton, 3, 0x00, 0x00, 0, 0},
        {9, 1, 0x00, 0x00, 0, 0},
    };
    for (const Case& c : cases) {
        const MacroEventIn in{c.kind, c.code, 0, 0};
        EXPECT_EQ(EncodeMacroEvent(in, ProtocolVariant::Program)[2], c.program) << int(c.kind) << "/" << c.code;
        EXPECT_EQ(EncodeMacroEvent(in, ProtocolVariant::Library)[2], c.library) << int(c.kind) << "/" << c.code;
        const uint8_t bytes[3] = {0, 0, c.program};
        const auto out = DecodeMacroEvent(bytes);
        if (c.program == 0)
            continue;
        ASSERT_TRUE(out);
        EXPECT_EQ(out->kind, c.readKind);
        EXPECT_EQ(out->code, c.readCode);
    }
}

TEST(ProfileBlocks, KeyCombinationSlots)
{
    EXPECT_EQ(EncodeComboSlot(0x04, 0x11 | 0x44), (ComboSlot{0xE0, 0xE2, 0x04, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeComboSlot(0x2C, 0x22), (ComboSlot{0xE1, 0x2C, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeComboSlot(0x05, 0x77), (ComboSlot{0xE0, 0xE1, 0xE2, 0x05, 0, 0, 0}));

    ButtonEntry read = DecodeComboSlot({0xE0, 0xE2, 0x04, 0, 0, 0, 0});
    EXPECT_EQ(read.category, category::Key);
    EXPECT_EQ(read.value, 0x04);
    EXPECT_EQ(read.extra, 0x05);
    read = DecodeComboSlot({0x04, 0xE0, 0, 0, 0, 0, 0});
    EXPECT_EQ(read.value, 0x04);
    EXPECT_EQ(read.extra, 0);
    read = DecodeComboSlot({0xE0, 0xE1, 0xE2, 0xE0, 0xE1, 0xE2, 0xE0});  // only markers
    EXPECT_EQ(read.value, 0);
    EXPECT_EQ(read.extra, 0x07);
}

TEST(ProfileBlocks, FunctionEntriesBothWays)
{
    EXPECT_EQ(FunctionEntryFor(category::MouseButton, 8), (KeyEntry{0x02, 0xF8, 0, 0}));
    EXPECT_EQ(FunctionEntryFor(category::ProfileSelect, 77), (KeyEntry{0x70, 0x03, 0, 0}));
    EXPECT_EQ(FunctionEntryFor(category::Disabled, 1), KeyEntry{});
    EXPECT_FALSE(FunctionEntryFor(category::MouseButton, 3));
    EXPECT_FALSE(FunctionEntryFor(42, 0));

    const auto browser = ReadFunctionEntry({0x02, 0xF8, 0, 0});
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->category, category::MouseButton);
    EXPECT_EQ(browser->value, 16);
    EXPECT_FALSE(ReadFunctionEntry({0x02, 0xF6, 0, 0}));
    EXPECT_FALSE(ReadFunctionEntry({0x70, 0x04, 0, 0}));
    EXPECT_FALSE(ReadFunctionEntry({0x71, 0x03, 0, 0}));
    const auto unknown = ReadFunctionEntry({0x44, 0x01, 0, 0});
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->category, category::Disabled);
    EXPECT_EQ(unknown->value, 0);
}

}  // namespace
}  // namespace device
