// The host's own copy of the profiles (the settings last applied) beside
// what the mouse holds.
//
// The mouse keeps only part of a profile: no names, at most 80 events a
// macro without their exact delays, no macro that no button uses, one
// ambient-light value for all profiles, none of the desktop's pointer
// settings. After the profiles are read from the mouse, each one the mouse
// still holds as the host's copy would have written it is replaced by that
// copy. One the mouse holds otherwise (changed from another computer) stays
// as the mouse gave it, with what the mouse does not keep taken from the
// host's copy.
#pragma once

#include "device/ProfileTransfer.h"
#include "settings/ProfileSet.h"
#include "settings/RecordConversion.h"
#include "settings/SettingsStore.h"

namespace settings {

class HostCopy {
public:
    // `echo` is a transfer to a mouse of its own (never the user's): what
    // it gives back for the host's records is what the user's mouse would
    // hold had nothing else changed it.
    explicit HostCopy(device::ProfileTransfer& echo) : echo_(echo) {}

    // `store` holds the profiles as read from the mouse, `read` the records
    // the reads gave; `unread` names the profiles whose read failed (they
    // keep the host's copy). Returns the profiles the mouse holds otherwise
    // than the host's copy would have written them.
    ProfileSet Merge(SettingsStore& store, const SettingsStore& host, const RecordTable& read, ProfileSet unread);

    // Copies into profile `index` of `to` the values of `from` that the
    // mouse does not keep.
    static void CopyHostOnlyValues(const SettingsStore& from, SettingsStore& to, int index);

private:
    bool Echo(const SettingsStore& host, RecordTable& echoed);

    device::ProfileTransfer& echo_;
};

// Whether two records as reads leave them hold the same profile (the
// mouse's one ambient-light value left out).
bool SameReadRecord(const device::DeviceProfileRecord& a, const device::DeviceProfileRecord& b);

}  // namespace settings
