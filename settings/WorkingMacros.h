// The working macro list and the profiles' own copies of it.
#pragma once

#include "settings/SettingsStore.h"

namespace settings {

inline constexpr int kWorkingListMacros = 15;  // only slots 1..15 are used
inline constexpr int kProfileCopySlots = 10;

// A stored macro count limited to the macros that can exist (0..15). The
// stored bytes keep what a file brought; every walk over slots uses this.
int UsedMacroCount(int32_t storedCount);

// The working list becomes profile `index`'s copy: all 20 slots cleared, the
// profile's ten macros in slots 1..10, its count (at most 10).
void LoadWorkingMacros(SettingsStore& store, int index);
// Working slots 1..10 and the working count (at most 10) become profile
// `index`'s copy.
void StoreWorkingMacros(SettingsStore& store, int index);
// A profile keeps at most ten macros: the working list keeps its first ten,
// the slots after them are cleared. Returns how many macros were dropped.
int KeepProfileMacros(SettingsStore& store);
// True when another of the used slots (or of the first 15 with allSlots)
// has exactly the name of slot `slot` (0-based), letter case included.
bool IsMacroNameTaken(const SettingsStore& store, int slot, bool allSlots);

}  // namespace settings
