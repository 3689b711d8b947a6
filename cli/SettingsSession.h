// The settings side of a neritctl run: the data folder, the configuration,
// the store and the profile commands over the mouse session.
//
// As in the program, the all-profiles file holds the settings last applied
// and is written only by apply and reset-all. Changes not applied yet live
// in the pending-changes file (the same format), which every command starts
// from when it exists; discard removes it.
#pragma once

#include "cli/FolderLock.h"
#include "cli/MouseSession.h"
#include "cli/WatchedFileSystem.h"
#include "platform/pointer_settings.h"
#include "settings/ConfigFile.h"
#include "settings/DataFolder.h"
#include "settings/ProfileCommands.h"
#include "sim/EchoTransfer.h"
#include "settings/ProfileFiles.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cli {

class SettingsSession final : private settings::PageRefresher {
public:
    // dataDir: empty for the program's usual data folder. A simulated mouse
    // keeps its pointer settings in the data folder instead of the desktop.
    SettingsSession(MouseSession& mouse, const std::string& dataDir, bool simulated);

    // Fills the store from the pending changes, else the all-profiles file
    // (with the shown profile's macro copy as the working list), else the
    // defaults. With `change`, the folders are created and the
    // folder's lock is held until the session ends, and a damaged settings
    // file is kept aside under a ".damaged" name (".damaged-2", ... when
    // that is taken). False with a message when
    // the data folder or a settings file cannot be used; notes for the user
    // (defaults used, a file kept aside) are collected in Notes().
    bool Open(bool change, std::string& error);

    // Keeps the store as the pending changes.
    bool SavePending();
    // Drops the pending changes; false when the file cannot be removed.
    bool DropPending();
    bool HasPending() const { return hasPending_; }

    // Shows profile `index` as the program does: its macro copy becomes the
    // working list, and it is the profile shown.
    void ShowProfile(int index) { RefreshPages(index); }

    settings::SettingsStore& Store() { return store_; }
    settings::ProfileCommands& Commands() { return *commands_; }
    settings::DataFolder& Folder() { return *folder_; }
    WatchedFileSystem& Files() { return files_; }
    int Language() const { return language_; }
    int ShownIndex() const { return shownIndex_; }
    const std::vector<std::string>& Notes() const { return notes_; }
    // False when the store holds the defaults for want of stored settings.
    bool HadStoredSettings() const { return hadStored_; }
    std::string PendingPath() const { return folder_->Path(settings::kPendingChangesFile); }

private:
    enum class Stored { Loaded, None, Failed };

    void RefreshPages(int index) override;
    bool TakeLock(std::string& error);
    bool CheckReadable(const std::string& path, std::string& error);
    Stored LoadStoreFile(const std::string& path, bool change, std::string& error);

    MouseSession& mouse_;
    WatchedFileSystem files_;
    settings::SettingsStore& store_;
    std::unique_ptr<settings::DataFolder> folder_;
    std::unique_ptr<settings::ConfigFile> config_;
    std::unique_ptr<platform::PointerSettings> pointer_;
    settings::FirmwareVersionCache firmware_;
    std::unique_ptr<settings::ProfileSync> sync_;
    std::unique_ptr<settings::ProfileCommands> commands_;
    // What the mouse would hold of the settings last applied.
    sim::EchoTransfer echo_;
    FolderLock lock_;
    std::vector<std::string> notes_;
    bool change_ = false;
    bool hasPending_ = false;
    bool hadStored_ = true;
    int language_ = 0;
    int shownIndex_ = 0;
};

}  // namespace cli
