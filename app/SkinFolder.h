// Where the program reads its skin folders (VimoSkin … VimoSkin3) from.
#pragma once

#include "platform/file_system.h"

#include <string>

namespace NeritApp {

class SkinFolder {
public:
    // Whether `folder` holds all four skin folders; names the first missing one.
    static bool HoldsAllSkins(platform::FileSystem& files, const std::string& folder, std::string* missing = nullptr);

    // The first folder holding all four skins of: the executable's own folder
    // (the build tree), `relativeToExecutable` under it (an installed tree,
    // wherever its prefix was put), and `installed` (the configured install
    // place). When none holds them, `installed`, with the first skin it lacks
    // in *missing (else *missing is emptied). An empty `executableFolder` (not
    // known) skips the first two.
    static std::string Choose(platform::FileSystem& files, const std::string& executableFolder,
                              const std::string& relativeToExecutable, const std::string& installed,
                              std::string* missing = nullptr);
};

}  // namespace NeritApp
