// The rules of assigning functions to the mouse buttons, shared by the
// window's assignment menu and neritctl: the fixed fourth button, the last
// left click that must stay, and the play modes of a macro button.
#pragma once

#include "settings/ProfileSettings.h"

#include <cstdint>

namespace settings {

// Button 4 (index 3) is not assignable: the mouse always gets Profile Select.
inline constexpr int kFixedButton = 3;

// Stored play modes of a macro button.
namespace play_mode {
inline constexpr int32_t kOnce = 1;
inline constexpr int32_t kMaxRepeat = 99;  // 2..99: that many times
inline constexpr int32_t kWhilePressed = 241;
inline constexpr int32_t kToggle = 242;
}  // namespace play_mode

// True for a mode a macro button can hold: 1..99, 241 or 242.
bool IsPlayMode(int32_t mode);
// The mode a button keeps when its play option is confirmed unchanged: the
// stored one when valid, else play once.
int32_t KeptPlayMode(int32_t stored);

// True when giving button `button` (0..6) the function `code` (as stored,
// never "Default") would take the last left click of the profile: the
// button holds the only Left Click among the buttons the mouse gets.
bool TakesLastLeftClick(const ProfileSettings& profile, int button, int32_t code);
// How many of the buttons the mouse gets hold Left Click.
int LeftClickCount(const ProfileSettings& profile);

}  // namespace settings
