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

    // A transfer to a mouse of its own, to tell which profiles the mouse
    // still holds as the settings last applied wrote them; without one the
    // profiles are always taken as the mouse gives them. Not owned.
    void UseEcho(device::ProfileTransfer* echo) { echo_ = echo; }

    // The first connection: defaults, the shown profile from the
    // configuration, then profiles 5 down to 1 from the mouse. Each profile
    // the mouse holds as the settings last applied wrote it is that copy
    // again (names, all events and delays, unused macros, the values the
    // mouse does not keep); the others are taken from the mouse with those
    // values from the settings last applied, named in `changedOnMouse`, and
    // become the settings last applied. Returns the profiles whose read
    // failed; they keep the settings last applied, else their defaults
    // (all five keep their defaults when no read succeeds).
    ProfileSet LoadFromMouse(int& shownIndex, ProfileSet* changedOnMouse = nullptr);

    CommandResult SaveProfile(int index);
    CommandResult ResetProfileToDefault(int index);
    // Needs at least one profile in use; the shown profile becomes current.
    // Fails naming the profiles whose write failed and the files that could
    // not be written. The files are written whatever the mouse did.
    CommandResult Apply(int shownIndex);
    // Everything back to the defaults, on the mouse and in the files; the
    // shown profile becomes the first.
    CommandResult ResetAll(int& shownIndex);
    // The store as it was last applied (the all-profiles file); pending
    // changes are dropped. With nothing applied yet the store stays and the
    // result says NothingToDiscard (LoadProfileError for a damaged file).
    CommandResult Discard(int shownIndex);
    // ".vqp" is added to a file name without extension.
    CommandResult ExportProfile(int index, const std::string& path);
    CommandResult ImportProfile(int index, const std::string& path);
    // Lights or darkens the LEDs, keeping the mouse's ambient-light value.
    CommandResult SetLeds(bool on);

private:
    CommandResult WriteProfileAndFile(int index, CommandMessage failure);
    ProfileSet MergeHostCopy(const ProfileSet& failed);
    // Those profiles of the store written into the whole-store file at
    // `path` when there is one; false when it cannot be written.
    bool UpdateFile(const std::string& path, ProfileSet profiles);
    bool DropPendingChanges();
    // The paths of the files that could not be written.
    std::vector<std::string> SaveAllFiles(const ProfileSet& failed);

    SettingsStore& store_;
    ProfileSync& sync_;
    FirmwareVersionCache& firmware_;
    platform::FileSystem& files_;
    const DataFolder& folder_;
    ConfigFile& config_;
    device::ProfileTransfer* echo_ = nullptr;
};

}  // namespace settings
