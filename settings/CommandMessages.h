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
};

std::string MessageText(CommandMessage message, int language);

// "\r\nFailed to load profile : \r\n\r\n   1  3 . \r\n" for profiles 1 and 3
// (numbers ascending).
std::string FailedToLoadText(ProfileSet profiles);

// A message-box text on one line: line breaks and the blank padding around
// them become single blanks ("Failed to load profile : 3 5 .").
std::string OneLine(const std::string& text);

// What a write to the mouse and the files left undone, one line each: the
// profiles the mouse did not take, then each file that was not written.
// Empty when nothing failed.
std::string FailedToWriteText(ProfileSet profiles, const std::vector<std::string>& files, int language);

}  // namespace settings
