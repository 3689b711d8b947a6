// Where the process lives: the folder of its executable, the user's home
// folder and the per-user data folder of the XDG base directory rules.
// An empty string means "not known".
#pragma once

#include <string>

namespace platform {

class Paths {
public:
    virtual ~Paths() = default;

    virtual std::string ExecutableDirectory() = 0;
    // $HOME, else the home folder of the user in the password database.
    virtual std::string HomeDirectory() = 0;
    // $XDG_DATA_HOME when absolute, else <home>/.local/share.
    virtual std::string XdgDataHome() = 0;
};

// The XDG rule on its own: `variable` is $XDG_DATA_HOME (null when unset).
std::string XdgDataHomeFrom(const char* variable, const std::string& home);

// The paths of this process.
Paths& ProcessPaths();

}  // namespace platform
