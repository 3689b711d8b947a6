// The pointer settings of the running desktop: GNOME's GSettings keys where
// the mouse schema is installed, otherwise a text file of our own.
#pragma once

#include "platform/file_system.h"
#include "platform/pointer_settings.h"

#include <memory>
#include <string>

namespace platform {

// fallbackFile holds whatever the desktop has no key for; it is read and
// written through `files`.
std::unique_ptr<PointerSettings> CreateDesktopPointerSettings(const std::string& fallbackFile,
                                                              FileSystem& files = RealFileSystem());

}  // namespace platform
