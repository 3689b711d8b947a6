#include "settings/DataFolder.h"

#include <algorithm>
#include <vector>

namespace settings {
namespace {

std::string WithoutTrailingSlashes(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

std::string Join(const std::string& folder, std::string_view relative)
{
    while (!relative.empty() && relative.front() == '/')
        relative.remove_prefix(1);
    if (relative.empty())
        return folder;
    if (folder.empty())
        return std::string(relative);
    return (folder.back() == '/' ? folder : folder + "/") + std::string(relative);
}

}  // namespace

DataFolder::DataFolder(platform::FileSystem& files, platform::Paths& paths)
    : files_(files), folder_(Choose(files, paths))
{
}

DataFolder::DataFolder(platform::FileSystem& files, std::string_view folder)
    : files_(files), folder_(WithoutTrailingSlashes(folder))
{
}

// A copy of the program that carries its own settings (a config.ini beside
// the executable) keeps using them; otherwise the per-user data folder.
// Without a home folder the executable's folder is the only one left.
std::string DataFolder::Choose(platform::FileSystem& files, platform::Paths& paths)
{
    const std::string executable = paths.ExecutableDirectory();
    if (!executable.empty() && files.Exists(Join(executable, kPortableMark)))
        return executable;
    const std::string dataHome = paths.XdgDataHome();
    if (dataHome.empty())
        return executable;
    return Join(WithoutTrailingSlashes(dataHome), kFolderName);
}

std::string DataFolder::Path(std::string_view relative) const { return Join(folder_, relative); }

bool DataFolder::Create(std::string_view relativeFolder)
{
    return !folder_.empty() && files_.CreateDirectories(Path(relativeFolder));
}

bool DataFolder::HolderIsProgram() const
{
    const std::string_view program = kProgramHolder;
    std::vector<uint8_t> note;
    if (files_.ReadFile(Path(kHolderNote), program.size(), note) != platform::ReadResult::Ok)
        return false;
    return std::equal(note.begin(), note.end(), program.begin(), program.end());
}

}  // namespace settings
