// Linux key codes (an X key code minus 8) to the Windows virtual-key codes
// of the key table. Left and right variants share one virtual key, as do
// Enter and the keypad's Enter.
#pragma once

#include <cstdint>

namespace platform {

// 0 when the key has no virtual-key code here.
uint8_t VirtualKeyForEvdev(unsigned evdevCode);

}  // namespace platform
