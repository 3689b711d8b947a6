// Macro list files: a raw image of the working list (the count, then the 20
// slots; 2,053,284 bytes, no header). The default one is "profile/Macros" in
// the program's data folder; exports are usually named "*.vqm".
#pragma once

#include "platform/file_system.h"
#include "settings/DataFolder.h"
#include "settings/SettingsFileCheck.h"
#include "settings/SettingsStore.h"

#include <string>
#include <string_view>

namespace settings {

inline constexpr size_t kMacroFileSize = 4 + layout::store::kWorkingSlots * layout::macro::kSize;
static_assert(kMacroFileSize == 2053284);
inline constexpr const char* kDefaultMacrosFile = "profile/Macros";
inline constexpr std::string_view kMacroExtension = ".vqm";

enum MacroFileLoad : int {
    kMacroFileLoaded = 0,
    kMacroFileCannotOpen = 1,
    kMacroFileEmpty = 2,
    kMacroFileInvalid = 3,
};

// The file a macro command names: an empty path means the default file.
std::string MacrosFilePath(const DataFolder& folder, const std::string& path);

// Writes the working list; false when the file cannot be written (the old
// file then stays as it was).
bool SaveMacrosFile(const SettingsStore& store, platform::FileSystem& files, const std::string& path);
// Replaces the working list with what the file holds (what the file does
// not cover is zero). A file longer than a macro list, or with a field the
// program never writes, gives 3 (what is wrong is told through `check`).
// Nothing changes unless it gives 0.
int LoadMacrosFile(SettingsStore& store, platform::FileSystem& files, const std::string& path,
                   FileCheck* check = nullptr);

}  // namespace settings
