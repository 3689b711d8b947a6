// Small POSIX helpers shared by the platform's file code.
#pragma once

#include "platform/file_system.h"

#include <string>

#include <sys/types.h>

namespace platform {

// The reason for an errno value of a file call.
FileError FileErrorOf(int errorNumber);

// The reason a file of this type cannot be used as a regular file.
FileError FileErrorOfType(mode_t mode);

// The folder part of a path: "." for a bare name, "/" for one in the root.
std::string FolderOf(const std::string& path);

// Opens a regular file with `flags` (O_CLOEXEC and O_NONBLOCK added, so that
// a pipe never stalls the open). The type is checked before the open, so a
// device or pipe is never opened, and again on the open descriptor. With
// O_CREAT a missing file is created, but never through a dangling link.
// Returns the descriptor, or -1 with `error` set.
int OpenRegular(const std::string& path, int flags, mode_t mode, FileError& error);

}  // namespace platform
