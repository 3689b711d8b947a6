// The settings side of the program: the data folder with its "profile" and
// "macro_files" folders and its lock, the configuration, the store and the
// profile commands over the mouse connection.
#pragma once

#include "app/MouseConnection.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/pointer_settings.h"
#include "settings/ConfigFile.h"
#include "settings/DataFolder.h"
#include "settings/ProfileCommands.h"
#include "sim/EchoTransfer.h"

#include <memory>
#include <string>

namespace NeritApp {

class ProgramSettings {
public:
    enum class OpenResult { Ready, FolderFailed, LockBusy, LockFailed };
    static constexpr unsigned kLockWaitMs = 5000;

    // folder: the data folder, empty for the usual one. A simulated mouse keeps its pointer settings
    // in the data folder instead of the desktop's.
    ProgramSettings(MouseConnection& mouse, const std::string& folder, bool simulated,
                    settings::PageRefresher& pages, platform::Clock& clock,
                    platform::FileSystem& files = platform::RealFileSystem(),
                    platform::LockService& locks = platform::RealLockService());

    // Creates the folders and takes the data folder's lock, held until this
    // object goes away, so that neritctl does not change the files meanwhile.
    OpenResult Open();
    // Why Open failed (FolderFailed, LockFailed).
    platform::FileError OpenError() const { return openError_; }

    settings::ProfileCommands& Commands() { return *commands_; }
    settings::ProfileSync& Sync() { return *sync_; }
    settings::ConfigFile& Config() { return *config_; }
    platform::FileSystem& Files() { return files_; }
    settings::DataFolder& Folder() { return *folder_; }
    MouseConnection& Mouse() { return mouse_; }
    // The language of config.ini, 0..3.
    int Language() const { return config_->LoadLanguage(); }

private:
    MouseConnection& mouse_;
    platform::FileSystem& files_;
    platform::LockService& locks_;
    std::unique_ptr<settings::DataFolder> folder_;
    std::unique_ptr<settings::ConfigFile> config_;
    std::unique_ptr<platform::PointerSettings> pointer_;
    settings::FirmwareVersionCache firmware_;
    std::unique_ptr<settings::ProfileSync> sync_;
    std::unique_ptr<settings::ProfileCommands> commands_;
    // What the mouse would hold of the settings last applied.
    sim::EchoTransfer echo_;
    std::unique_ptr<platform::FileLock> lock_;
    platform::FileError openError_ = platform::FileError::None;
};

}  // namespace NeritApp
