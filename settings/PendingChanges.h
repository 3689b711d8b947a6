// Changes not applied yet: whether the store differs from the settings last
// applied (the all-profiles file; without one, from what was loaded from the
// mouse), and keeping them in the pending-changes file when the program ends
// without applying them, or dropping that file.
//
// The working macro list counts as the shown profile's macro copy: the
// comparison stores it there first, and leaves the list itself and the
// version texts (which no user changes) out.
#pragma once

#include "platform/file_system.h"
#include "settings/DataFolder.h"
#include "settings/SettingsStore.h"

#include <memory>
#include <optional>
#include <string>

namespace settings {

class PendingChanges {
public:
    PendingChanges(platform::FileSystem& files, const DataFolder& folder);

    // The settings as loaded (from the mouse, before any pending changes are
    // laid over them): they count as unchanged while no settings were ever
    // applied. Until this is called the store holds no settings yet: nothing
    // counts as changed and Keep touches no file.
    void RememberLoaded(const SettingsStore& store);
    // Whether the store differs from the settings last applied.
    bool Any(const SettingsStore& store, int shownIndex);
    // Writes the store (the working list stored into profile `shownIndex`'s
    // copy) to the pending-changes file when it has changes, else removes a
    // pending-changes file left from before. False when the file could not be
    // written or removed (the file system's LastError tells why).
    bool Keep(const SettingsStore& store, int shownIndex);
    // Removes the pending-changes file: the changes are dropped.
    bool Drop();
    std::string Path() const;

private:
    // The store with the working list stored into the shown profile's copy.
    static std::unique_ptr<SettingsStore> Prepared(const SettingsStore& store, int shownIndex);
    // Nothing when no settings were loaded yet.
    std::optional<bool> Differs(const SettingsStore& prepared);

    platform::FileSystem& files_;
    const DataFolder& folder_;
    std::unique_ptr<SettingsStore> loaded_;
};

}  // namespace settings
