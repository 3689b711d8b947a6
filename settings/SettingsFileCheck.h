// Checks of settings files before their bytes become settings. The files
// have no header, so a file from elsewhere (a text, a macro list, random
// bytes) is recognised by its size and by fields holding values the program
// itself can write.
#pragma once

#include "settings/SettingsStore.h"

#include <cstddef>
#include <cstdint>

namespace settings {

enum class FileProblem {
    None,
    TooShort,
    TooLong,
    InUseFlag,
    ReportRate,
    PowerSave,
    AmbientLight,
    StageIndex,
    ButtonFunction,
    ButtonParameter,
    PlayMode,
    MacroNumber,
    CurrentProfile,
    LedFlag,
    MacroCount,
    MacroName,
    EventCount,
    MacroEvent,
};

// What is wrong with a file, and in which profile (0..4) or macro slot
// (0..19) when it is one.
struct FileCheck {
    FileProblem problem = FileProblem::None;
    int profile = -1;
    int macro = -1;

    bool Ok() const { return problem == FileProblem::None; }
};

class SettingsFileCheck {
public:
    // A profile file: at most one profile long; the fields it covers must
    // hold valid values (what a shorter file does not cover loads as zero).
    static FileCheck CheckProfile(const uint8_t* bytes, size_t size);
    // An all-profiles file: exactly one store long, a current profile 1..5,
    // an LED flag 0 or 1 and five valid profiles.
    static FileCheck CheckStore(const uint8_t* bytes, size_t size);
    // Puts every checked field of the profile back into its valid range, the
    // way the conversion to the mouse's record would read it.
    static void HoldToValidRanges(ProfileSettings profile);

    // The values a profile field may hold.
    static bool ValidRate(int32_t hz);             // 125, 250, 500, 1000
    static bool ValidByte(int32_t value);          // power save, ambient light: 0..255
    static bool ValidStageIndex(int32_t index);    // 0..9
    static bool ValidFunction(int32_t code);       // 0..17
    static bool ValidPlayMode(int32_t mode);       // 0..99, 241, 242
    static bool ValidMacroNumber(int32_t number);  // 0..15
    static bool ValidLevel(int32_t level);         // 0..10 (0 acts as 1)
    static bool ValidParameter(int32_t code, int32_t param);
};

}  // namespace settings
