#include "settings/DamagedFiles.h"

namespace settings {
namespace {

constexpr const char* kDamagedSuffix = ".damaged";

}  // namespace

std::string DamagedAsideName(platform::FileSystem& files, const std::string& path)
{
    std::string aside = path + kDamagedSuffix;
    for (int n = 2; files.Exists(aside); ++n)
        aside = path + kDamagedSuffix + "-" + std::to_string(n);
    return aside;
}

std::string KeepDamagedAside(platform::FileSystem& files, const std::string& path)
{
    const std::string aside = DamagedAsideName(files, path);
    return files.RenameFile(path, aside) ? aside : std::string();
}

}  // namespace settings
