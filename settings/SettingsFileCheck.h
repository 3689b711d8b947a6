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
};

}  // namespace settings
