// The program's data folder (config.ini, profile/Macros, ...): the folder of
// the executable when it is writable, so that a copy of the program carries
// its settings; otherwise $XDG_DATA_HOME/NeritMice (by default
// ~/.local/share/NeritMice). A folder can also be given outright.
#pragma once

#include "platform/file_system.h"
#include "platform/paths.h"

#include <string>
#include <string_view>

namespace settings {

class DataFolder {
public:
    static constexpr std::string_view kFolderName = "NeritMice";

    DataFolder(platform::FileSystem& files, platform::Paths& paths);
    DataFolder(platform::FileSystem& files, std::string_view folder);

    const std::string& Folder() const { return folder_; }
    // folder + "/" + relative.
    std::string Path(std::string_view relative) const;
    // Creates the folder (and `relativeFolder` below it) when missing; true
    // when it exists afterwards.
    bool Create(std::string_view relativeFolder = {});

private:
    static std::string Choose(platform::FileSystem& files, platform::Paths& paths);

    platform::FileSystem& files_;
    std::string folder_;
};

}  // namespace settings
