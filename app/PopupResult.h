// What the key popup chose, kept for its owner: the main window reads it when
// the popup's OK answer arrives. Cleared whenever the popup opens.
#pragma once

#include <cstdint>

namespace NeritApp {

struct PopupResult {
    // keyIndex when no key of the key name table was captured.
    static constexpr uint16_t kNoKey = 255;

    uint16_t virtualKey = 0;
    uint16_t keyIndex = kNoKey;  // in the key name table
    uint16_t usageLow = 0;  // the key's HID usage, low and high byte
    uint16_t usageHigh = 0;
    uint16_t modifiers = 0;  // HID modifier bits: 0x01 left Ctrl … 0x40 right Alt
    uint16_t reserved = 0;

    // False for an OK without a captured key: the owner then changes nothing.
    bool HasKey() const;
    // The button's single-key value: virtual key + 256 × modifiers.
    int32_t SingleKey() const;

    // The one record of the process.
    static PopupResult& Current();
};

}  // namespace NeritApp
