#include "sim/FirmwareState.h"

namespace sim {
namespace {

constexpr std::array<KeyEntry, kKeyEntryCount> kDefaultKeys = {{
    {0x02, 0xF0, 0, 0},  // left click
    {0x02, 0xF1, 0, 0},  // middle click
    {0x02, 0xF2, 0, 0},  // right click
    {0x71, 0xF0, 0, 0},  // DPI level switch
    {0x02, 0xF8, 0, 0},  // browser backward
    {0x02, 0xF9, 0, 0},  // browser forward
    {0x70, 0x03, 0, 0},  // profile select
    {0x02, 0xF4, 0, 0},  // wheel up
    {0x02, 0xF3, 0, 0},  // wheel down
    {0, 0, 0, 0},
}};

constexpr std::array<uint8_t, kStageSize> kDefaultStage = {40, 32, 48, 56, 0x28, 0x00};  // the default DPI stages

constexpr std::array<std::array<uint8_t, kColourSize>, kProfileCount> kProfileColours = {{
    {255, 0, 0},
    {255, 255, 0},
    {0, 255, 255},
    {0, 255, 0},
    {128, 0, 255},
}};

constexpr uint8_t kDefaultAux = 0x10;
constexpr uint8_t kLedLit = 0xFF;
constexpr uint8_t kDefaultMajor = 1;
constexpr uint8_t kDefaultMinor = 7;

}  // namespace

FirmwareState FirmwareState::Fresh()
{
    FirmwareState state;
    for (size_t p = 0; p < kProfileCount; ++p) {
        ProfileState& profile = state.profiles[p];
        profile.inUse = 1;
        profile.keys = kDefaultKeys;
        profile.stage = kDefaultStage;
        profile.colour = kProfileColours[p];
        profile.aux = kDefaultAux;
    }
    state.ledSwitch = kLedLit;
    state.firmwareMajor = kDefaultMajor;
    state.firmwareMinor = kDefaultMinor;
    return state;
}

}  // namespace sim
