// Tells on standard error of the skin pictures refused for their size: one
// line per file for the life of the program, however many windows ask for
// it and however often they paint.
#pragma once

#include "ui/WindowUIManager.h"

#include <cstdio>
#include <set>
#include <string>

namespace NeritApp {

class RefusedPictures {
public:
    explicit RefusedPictures(std::FILE* out = stderr) : out_(out) {}

    void Report(const SkinUI::ImageRefusal& refusal);
    // A handler for the window managers that reports here; this object must outlive them.
    SkinUI::ImageRefusalHandler Handler();

private:
    std::FILE* out_;
    std::set<std::string> told_;
};

}  // namespace NeritApp
