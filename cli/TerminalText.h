// Stored texts (profile and macro names) come from files and may hold
// anything; printed raw, an escape sequence would retitle or clear the
// user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// The text with control characters (C0, DEL, C1, bidi embeddings, overrides
// and isolates) and bytes that are not UTF-8 written as \xNN (or \uNNNN
// above ASCII); a backslash becomes "\\".
std::string EscapeControls(std::string_view text);
// JSON text (valid UTF-8, as the JSON writer makes it) with DEL, C1 and the
// bidi controls, which JSON allows raw, written as \uNNNN. They occur only
// inside strings, where that escape means the same character.
std::string EscapeJsonControls(std::string_view json);

}  // namespace cli
