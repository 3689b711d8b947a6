// The program's data folder (config.ini, profile/Macros, ...):
// $XDG_DATA_HOME/NeritMice (by default ~/.local/share/NeritMice), or the
// folder of the executable when it already holds a config.ini (a portable
// copy that carries its settings). A folder can also be given outright.
#pragma once

#include "platform/file_system.h"
#include "platform/paths.h"

#include <string>
#include <string_view>

namespace settings {

class DataFolder {
public:
    static constexpr std::string_view kFolderName = "NeritMice";
    // The file whose presence beside the executable makes a portable copy.
    static constexpr std::string_view kPortableMark = "config.ini";
    // Whoever changes the folder holds the lock of this file: NeritMice for
    // as long as it runs, neritctl for one command. The holder's name stands
    // in the note file, so that a waiting command can say who holds it.
    static constexpr std::string_view kLockFile = ".lock";
    static constexpr std::string_view kHolderNote = ".lock-holder";
    static constexpr std::string_view kProgramHolder = "NeritMice";

    DataFolder(platform::FileSystem& files, platform::Paths& paths);
    DataFolder(platform::FileSystem& files, std::string_view folder);

    const std::string& Folder() const { return folder_; }
    // folder + "/" + relative.
    std::string Path(std::string_view relative) const;
    // Creates the folder (and `relativeFolder` below it) when missing; true
    // when it exists afterwards.
    bool Create(std::string_view relativeFolder = {});
    // Whether the note names NeritMice as the holder of the folder's lock.
    bool HolderIsProgram() const;

private:
    static std::string Choose(platform::FileSystem& files, platform::Paths& paths);

    platform::FileSystem& files_;
    std::string folder_;
};

}  // namespace settings
