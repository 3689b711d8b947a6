// The file system through POSIX calls. Files are replaced by writing a
// temporary file next to the target, syncing it and renaming it over the
// target, so readers see either the old or the new contents.
#pragma once

#include "platform/file_system.h"

#include <optional>

namespace platform {

class PosixFileSystem final : public FileSystem {
public:
    ReadResult ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) override;
    bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size) override;
    bool AppendFile(const std::string& path, const uint8_t* data, size_t size) override;
    bool CreateDirectories(const std::string& path) override;
    bool IsWritableDirectory(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::string ResolvedPath(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool RenameFile(const std::string& from, const std::string& to) override;
    FileError LastError() const override { return lastError_; }

private:
    bool Fail(FileError error);
    bool FailWithErrno();
    // The file a write to `path` replaces: the path itself, or the target
    // of a symbolic link; false when that is not a regular file.
    bool ReplacedFile(const std::string& path, std::string& target);
    // Fills the temporary file; `mode` is given to it when set.
    bool WriteTemporary(int fd, std::optional<unsigned> mode, const uint8_t* data, size_t size);
    bool MakeDirectory(const std::string& path);

    FileError lastError_ = FileError::None;
};

}  // namespace platform
