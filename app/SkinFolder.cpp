#include "app/SkinFolder.h"

#include "app/SkinLanguages.h"

#include <filesystem>

namespace NeritApp {

bool SkinFolder::HoldsAllSkins(platform::FileSystem& files, const std::string& folder, std::string* missing)
{
    for (const SkinLanguage& language : kSkinLanguages) {
        const std::string skin = folder + "/" + std::string(language.folder);
        if (!files.Exists(skin)) {
            if (missing != nullptr)
                *missing = skin;
            return false;
        }
    }
    return true;
}

std::string SkinFolder::Choose(platform::FileSystem& files, const std::string& executableFolder,
                               const std::string& relativeToExecutable, const std::string& installed,
                               std::string* missing)
{
    if (missing != nullptr)
        missing->clear();
    if (!executableFolder.empty()) {
        if (HoldsAllSkins(files, executableFolder))
            return executableFolder;
        if (!relativeToExecutable.empty()) {
            // The executable's folder has its links resolved, so "../"
            // steps can be taken by name.
            const std::string underPrefix =
                (std::filesystem::path(executableFolder) / relativeToExecutable).lexically_normal().string();
            if (HoldsAllSkins(files, underPrefix))
                return underPrefix;
        }
    }
    HoldsAllSkins(files, installed, missing);
    return installed;
}

}  // namespace NeritApp
