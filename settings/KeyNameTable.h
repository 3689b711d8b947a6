// The 104 keys the program knows: Windows virtual-key code, USB HID keyboard
// usage and the name shown in macros and on the pages (" A ", " F1 ", with a
// blank on each side). Lookups go through the table in order and stop at the
// first match.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace settings {

struct KeyName {
    uint8_t virtualKey;
    uint16_t usage;
    const char* name;
};

std::span<const KeyName> KeyNames();
const KeyName* FindKeyByVirtualKey(uint8_t virtualKey);
const KeyName* FindKeyByUsage(uint16_t usage);
// Exact, case-sensitive.
const KeyName* FindKeyByName(std::string_view name);

}  // namespace settings
