// Checks of a macro list file before its bytes become the working list. The
// file has no header, so one from elsewhere (a text, a profile file, random
// bytes) is recognised by its size and by fields holding what the program
// itself writes: counts, macro numbers, terminated texts and events of the
// kinds, names and directions the recorder, the editor and a read from the
// mouse make.
#pragma once

#include "settings/SettingsFileCheck.h"

#include <cstddef>
#include <cstdint>

namespace settings {

class MacroFileCheck {
public:
    // `bytes` is a whole macro list (what a shorter file does not cover is
    // zero); `fileSize` is the size of the file it came from.
    static FileCheck CheckMacroList(const uint8_t* bytes, size_t size, size_t fileSize);
};

}  // namespace settings
