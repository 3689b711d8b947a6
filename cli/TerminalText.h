// Stored texts (profile and macro names) come from files and may hold
// anything; printed raw, an escape sequence would retitle or clear the
// user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// The text with control characters (C0, DEL, C1) and bytes that are not
// UTF-8 written as \xNN (or \u00NN for C1); a backslash becomes "\\".
std::string EscapeControls(std::string_view text);

}  // namespace cli
