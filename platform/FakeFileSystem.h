// Files and folders in memory, for tests. Writes can be made to fail as on a
// full disk, and folders can be made read-only, so that callers can be
// checked for leaving the old file in place.
#pragma once

#include "platform/file_system.h"

#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace platform {

class FakeFileSystem final : public FileSystem {
public:
    FakeFileSystem();

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

    // Puts a file (and its folders) in place, whatever the failure switches say.
    void AddFile(const std::string& path, std::string_view contents);
    void AddDirectory(const std::string& path);
    // A read-only folder takes no new or renamed files; a read-only file is
    // not replaced.
    void SetReadOnly(const std::string& path, bool readOnly = true);
    // While set, every WriteFileAtomic and AppendFile fails with `error` (a
    // full disk).
    void SetWritesFail(bool fail, FileError error = FileError::NoSpace)
    {
        writesFail_ = fail;
        writeError_ = error;
    }
    // Something that exists at the path but cannot be read: a pipe or device
    // (NotRegular, which is not replaced either) or a file without read
    // permission (NoPermission, which a write replaces).
    void AddUnreadable(const std::string& path, FileError error);

    std::optional<std::string> Contents(const std::string& path) const;
    bool IsDirectory(const std::string& path) const { return folders_.count(Normal(path)) != 0; }
    int WriteCount() const { return writeCount_; }

private:
    static std::string Normal(const std::string& path);
    static std::string Parent(const std::string& path);
    bool CanWriteInto(const std::string& folder) const;
    bool Fail(FileError error);
    // Why a file cannot be written at the normalised name; None when it can.
    FileError WriteError(const std::string& name) const;
    // The same, leaving out the failure switch (nothing is written).
    FileError PlaceError(const std::string& name) const;
    void AddParents(const std::string& path);

    std::map<std::string, std::vector<uint8_t>> files_;
    std::set<std::string> folders_;
    std::set<std::string> readOnly_;
    std::map<std::string, FileError> unreadable_;
    bool writesFail_ = false;
    FileError writeError_ = FileError::NoSpace;
    FileError lastError_ = FileError::None;
    int writeCount_ = 0;
};

}  // namespace platform
