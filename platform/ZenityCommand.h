// The command line of `zenity --file-selection` for a dialog request, and the
// answer read from how it ended.
#pragma once

#include "platform/file_dialog.h"

#include <string>
#include <vector>

namespace platform {

class ZenityCommand {
public:
    // The answer of a zenity that closes its output after this many bytes is
    // not a path anyway.
    static constexpr size_t kMaxOutput = 64 * 1024;

    static std::vector<std::string> Arguments(const std::string& program, const FileDialogRequest& request);
    // From the exit code (0 chosen, 1 closed by the user) and the printed path.
    static FileDialogAnswer Answer(int exitCode, const std::string& output);
};

}  // namespace platform
