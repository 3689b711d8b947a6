// A settings file that cannot be read is kept aside, never overwritten nor
// removed: it may still hold what the user made.
#pragma once

#include "platform/file_system.h"

#include <string>

namespace settings {

// "PATH.damaged", or "PATH.damaged-2", -3, ... when earlier copies are kept
// there: a copy is never overwritten.
std::string DamagedAsideName(platform::FileSystem& files, const std::string& path);

// Renames the file to its aside name and gives that name; empty when it could
// not be renamed (the file system's LastError tells why).
std::string KeepDamagedAside(platform::FileSystem& files, const std::string& path);

}  // namespace settings
