// Opens addresses with `xdg-open`: started with the address as its one
// argument (never through a shell) and collected by the opener's reaper
// thread when it ends, so no signal handler is needed and the window never
// blocks, however long the browser keeps the opener running. The reaper ends
// with the opener; an opener still running then is left to the system.
#pragma once

#include "platform/ChildReaper.h"
#include "platform/url_opener.h"

namespace platform {

class XdgUrlOpener final : public UrlOpener {
public:
    // `program` is looked up on PATH unless it holds a '/'.
    explicit XdgUrlOpener(std::string program = "xdg-open") : program_(std::move(program)) {}

    UrlOpenResult Open(const std::string& address) override;

    // The address without the blanks (spaces, tabs, line ends) around it.
    static std::string Trimmed(const std::string& address);

    // How many started openers are still running, uncollected.
    size_t Running() { return reaper_.Watched(); }

private:
    std::string program_;
    ChildReaper reaper_;
};

}  // namespace platform
