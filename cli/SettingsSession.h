// The settings side of a neritctl run: the data folder, the configuration,
// the store (taken from the all-profiles file when there is one) and the
// profile commands over the mouse session.
#pragma once

#include "cli/MouseSession.h"
#include "platform/pointer_settings.h"
#include "settings/ConfigFile.h"
#include "settings/DataFolder.h"
#include "settings/ProfileCommands.h"

#include <memory>
#include <optional>
#include <string>

namespace cli {

class SettingsSession {
public:
    // dataDir: empty for the program's usual data folder. A simulated mouse
    // keeps its pointer settings in the data folder instead of the desktop.
    SettingsSession(MouseSession& mouse, const std::string& dataDir, bool simulated);

    // Creates the folders and fills the store from the all-profiles file, or
    // with the defaults when there is none yet. False with a message when the
    // data folder cannot be used.
    bool Open(std::string& error, bool& hadStoredSettings);
    // Writes the store back to the all-profiles file.
    bool SaveStore();

    settings::SettingsStore& Store() { return store_; }
    settings::ProfileCommands& Commands() { return *commands_; }
    settings::ConfigFile& Config() { return *config_; }
    settings::DataFolder& Folder() { return *folder_; }
    platform::FileSystem& Files() { return files_; }
    int Language() const { return language_; }
    int ShownIndex() const { return shownIndex_; }
    void SetShownIndex(int index);

private:
    MouseSession& mouse_;
    platform::FileSystem& files_;
    settings::SettingsStore& store_;
    std::unique_ptr<settings::DataFolder> folder_;
    std::unique_ptr<settings::ConfigFile> config_;
    std::unique_ptr<platform::PointerSettings> pointer_;
    settings::FirmwareVersionCache firmware_;
    settings::NoPageRefresh pages_;
    std::unique_ptr<settings::ProfileSync> sync_;
    std::unique_ptr<settings::ProfileCommands> commands_;
    int language_ = 0;
    int shownIndex_ = 0;
};

}  // namespace cli
