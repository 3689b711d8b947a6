// Opening a web address with the desktop's browser, without waiting for it.
#pragma once

#include <string>

namespace platform {

enum class UrlOpenResult {
    Started,
    NoOpener,  // the desktop has no program to open addresses with
    Failed,  // an empty or unsafe address, or the program could not be started
};

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Blanks around the address are not part of it. Returns at once.
    virtual UrlOpenResult Open(const std::string& address) = 0;
};

}  // namespace platform
