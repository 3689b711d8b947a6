// What the profile commands report to the user, and the texts the user sees
// for each report in each interface language (0 English, 1 Traditional
// Chinese, 2 Simplified Chinese, 3 German). Message boxes carry the caption
// kNoticeCaption.
#pragma once

#include "settings/ProfileSet.h"

#include <string>
#include <vector>

namespace settings {

inline constexpr const char* kNoticeCaption = "Notice by App";

enum class CommandMessage {
    None,
    FailedToSaveProfile,
    FailedToResetProfile,
    NoActiveProfile,
    SaveProfileError,
    LoadProfileError,
    LeftClickNeeded,  // the last left click cannot be given away
    NothingToDiscard,  // no settings were applied yet and the mouse cannot be read again
};

std::string MessageText(CommandMessage message, int language);

// "\r\nFailed to load profile : \r\n\r\n   1  3 . \r\n" for profiles 1 and 3
// (numbers ascending).
std::string FailedToLoadText(ProfileSet profiles);

// The profiles the mouse holds otherwise than the settings last applied
// wrote them (changed from another computer), taken from the mouse.
std::string ChangedOnMouseText(ProfileSet profiles, int language);

// A message-box text on one line: line breaks and the blank padding around
// them become single blanks ("Failed to load profile : 3 5 .").
std::string OneLine(const std::string& text);

// What a write to the mouse and the files left undone, one line each: the
// profiles the mouse did not take, then each file that was not written.
// Empty when nothing failed.
std::string FailedToWriteText(ProfileSet profiles, const std::vector<std::string>& files, int language);

}  // namespace settings
