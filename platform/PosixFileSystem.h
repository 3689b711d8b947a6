// The file system through POSIX calls. Files are replaced by writing a
// temporary file next to the target, syncing it and renaming it over the
// target, so readers see either the old or the new contents.
#pragma once

#include "platform/file_system.h"

namespace platform {

class PosixFileSystem final : public FileSystem {
public:
    ReadResult ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) override;
    bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size) override;
    bool CreateDirectories(const std::string& path) override;
    bool IsWritableDirectory(const std::string& path) override;
    bool Exists(const std::string& path) override;
};

}  // namespace platform
