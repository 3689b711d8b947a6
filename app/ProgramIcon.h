// The program's icon for the desktop's task bar and window switcher, read
// from the PNG that the build draws from the launcher's icon.
#pragma once

#include "platform/file_system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace NeritApp {

struct ProgramIcon {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // straight alpha, row by row

    // Nothing when the file is missing or not an image.
    static std::optional<ProgramIcon> Load(platform::FileSystem& files, const std::string& path);
};

}  // namespace NeritApp
