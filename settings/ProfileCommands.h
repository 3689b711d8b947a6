// The commands that combine transfers with the settings files, as the main
// window and neritctl both run them. Each reports what the user is to be
// told (CommandMessage, shown through MessageText) or nothing.
#pragma once

#include "platform/file_system.h"
#include "settings/CommandMessages.h"
#include "settings/ConfigFile.h"
#include "settings/DataFolder.h"
#include "settings/ProfileSync.h"

#include <string>
#include <vector>

namespace settings {

struct CommandResult {
    bool ok = true;
    CommandMessage message = CommandMessage::None;
    // The profiles whose transfer to the mouse failed.
    ProfileSet failedProfiles;
    // The settings files that could not be written.
    std::vector<std::string> failedFiles;
};

class ProfileCommands {
public:
    ProfileCommands(SettingsStore& store, ProfileSync& sync, FirmwareVersionCache& firmware,
                    platform::FileSystem& files, const DataFolder& folder, ConfigFile& config);

    // The first connection: defaults, the shown profile from the
    // configuration, then profiles 5 down to 1 from the mouse. Returns the
    // profiles whose read failed; they keep their defaults.
    ProfileSet LoadFromMouse(int& shownIndex);

    CommandResult SaveProfile(int index);
    CommandResult ResetProfileToDefault(int index);
    // Needs at least one profile in use; the shown profile becomes current.
    // Fails naming the profiles whose write failed and the files that could
    // not be written. The files are written whatever the mouse did.
    CommandResult Apply(int shownIndex);
    // Everything back to the defaults, on the mouse and in the files; the
    // shown profile becomes the first.
    CommandResult ResetAll(int& shownIndex);
    // The store as it was last applied (the all-profiles file).
    CommandResult Discard(int shownIndex);
    // ".vqp" is added to a file name without extension.
    CommandResult ExportProfile(int index, const std::string& path);
    CommandResult ImportProfile(int index, const std::string& path);
    // Lights or darkens the LEDs, keeping the mouse's ambient-light value.
    CommandResult SetLeds(bool on);

private:
    CommandResult WriteProfileAndFile(int index, CommandMessage failure);
    // The paths of the files that could not be written.
    std::vector<std::string> SaveAllFiles();

    SettingsStore& store_;
    ProfileSync& sync_;
    FirmwareVersionCache& firmware_;
    platform::FileSystem& files_;
    const DataFolder& folder_;
    ConfigFile& config_;
};

}  // namespace settings
