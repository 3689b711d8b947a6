// Profile files: raw images of store records, without header or checksum.
// The all-profiles file ("profile/AllProfile") holds the whole store (the
// settings last applied); a profile file ("profile/profileN.vqp", N = 1..5,
// or any exported "*.vqp") holds one profile. Loads give 0 loaded,
// 1 cannot open, 2 empty, 3 not a settings file of this kind (what is wrong
// is told through a FileCheck); only 0 changes the store.
#pragma once

#include "platform/file_system.h"
#include "settings/DataFolder.h"
#include "settings/SettingsFileCheck.h"
#include "settings/SettingsStore.h"

#include <string>
#include <string_view>

namespace settings {

inline constexpr const char* kAllProfilesFile = "profile/AllProfile";
// Changes not applied yet (the whole store, as the all-profiles file): kept by
// neritctl between commands and by an apply the mouse did not take whole;
// the program starts from them.
inline constexpr const char* kPendingChangesFile = "profile/PendingChanges";
inline constexpr std::string_view kProfileExtension = ".vqp";

enum ProfileFileLoad : int {
    kProfileFileLoaded = 0,
    kProfileFileCannotOpen = 1,
    kProfileFileEmpty = 2,
    kProfileFileInvalid = 3,
};

// The file an all-profiles command names: an empty path means the default.
std::string AllProfilesPath(const DataFolder& folder, const std::string& path = {});
// The file of profile number 1..5: "profile/profile<number>.vqp".
std::string ProfileFilePath(const DataFolder& folder, int number);
// A profile name as the pages show it: without a trailing ".vqp" in any
// letter case, unless that is all there is.
std::string ShownProfileName(std::string_view stored);
// The path with `extension` added when its file name has none (an empty
// file name stays empty).
std::string WithExtension(std::string path, std::string_view extension);
// The path with ".vqp" added when its file name has no extension.
std::string WithProfileExtension(std::string path);

// Writes the whole store; false when the file cannot be written (the old
// file then stays as it was).
bool SaveAllProfilesFile(const SettingsStore& store, platform::FileSystem& files, const std::string& path);
// On 0 the store holds the file's bytes. A file of another size, or with a
// field the program never writes, gives 3.
int LoadAllProfilesFile(SettingsStore& store, platform::FileSystem& files, const std::string& path,
                        FileCheck* check = nullptr);

// Puts the file's own name (extension included) into profile `index`'s name,
// then writes the profile. False when the file cannot be written (the name
// then stays as it was) or the index is outside 0..4.
bool SaveProfileFile(SettingsStore& store, platform::FileSystem& files, const std::string& path, int index);
// On 0 profile `index` is zeroed, the file's bytes laid over its start and
// what the file did not cover held to the valid ranges. A file longer than a
// profile, or with a field the program never writes, gives 3. An index
// outside 0..4 gives 1.
int LoadProfileFile(SettingsStore& store, platform::FileSystem& files, const std::string& path, int index,
                    FileCheck* check = nullptr);

}  // namespace settings
