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
#include "platform/pointer_settings.h"
#include "settings/ProfileSet.h"
#include "settings/RecordConversion.h"
#include "settings/SettingsStore.h"

namespace settings {

class HostCopy {
public:
    // `echo` is a transfer to a mouse of its own (never the user's): what
    // it gives back for the host's records is what the user's mouse would
    // hold had nothing else changed it. `pointer` is what reads take the
    // desktop's values from.
    HostCopy(device::ProfileTransfer& echo, platform::PointerSettings& pointer) : echo_(echo), pointer_(pointer) {}

    // `store` holds the profiles as read from the mouse; `unread` names the
    // profiles whose read failed (they take the host's copy). Returns the
    // profiles the mouse holds otherwise than the host's copy would have
    // written them. When that cannot be told every profile the mouse gave
    // stays, with what the mouse does not keep from the host's copy, and
    // none is named.
    ProfileSet Merge(SettingsStore& store, const SettingsStore& host, ProfileSet unread);

    // Copies into profile `index` of `to` the values of `from` that the
    // mouse does not keep.
    static void CopyHostOnlyValues(const SettingsStore& from, SettingsStore& to, int index);
    // Whether profile `index` of both stores holds the same values the mouse
    // keeps.
    static bool SameKeptValues(const SettingsStore& a, const SettingsStore& b, int index);

private:
    // The host's profiles as reads would give them after an apply of them.
    bool Echo(const SettingsStore& host, SettingsStore& echoed);

    device::ProfileTransfer& echo_;
    platform::PointerSettings& pointer_;
};

}  // namespace settings
