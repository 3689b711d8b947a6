// Files and folders. Settings files are read whole and replaced atomically:
// a temporary file in the same folder is written and then renamed over the
// target, so a crash or a full disk never leaves a half-written file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class ReadResult {
    Ok,
    CannotOpen,  // LastError() tells why
    ReadFailed,  // opened, but reading stopped early; LastError() tells why
};

// Why the last failing call failed.
enum class FileError {
    None,
    Missing,             // the file, or a folder on its path, does not exist
    IsFolder,
    NotAFolder,          // a file stands where a folder is needed
    NotRegular,          // a device, pipe, socket or dangling link stands there
    NoPermission,
    TooLong,             // larger than the reader accepts
    NameTooLong,
    NoSpace,             // disk full, quota or file size limit
    ReadOnlyFileSystem,
    Other,
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Reads at most maxBytes from the start of the file. Only regular files
    // are read, and opening never waits (a pipe gives NotRegular).
    virtual ReadResult ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) = 0;
    // Replaces the file with exactly these bytes; false when it cannot be
    // created or fully written (the old file is then left as it was). Only a
    // regular file is replaced; a symbolic link is followed to its target and
    // stays a link. A file this user may not write is not replaced
    // (NoPermission), though its folder would allow it.
    virtual bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size) = 0;
    // Adds the bytes to the end of the file, creating it when missing. The
    // same files as for a replacement are used (a link is followed to its
    // regular target) and opening never waits; false when the file cannot be
    // opened or the bytes not all written.
    virtual bool AppendFile(const std::string& path, const uint8_t* data, size_t size) = 0;
    // Creates the folder and its parents; true when it exists afterwards.
    virtual bool CreateDirectories(const std::string& path) = 0;
    virtual bool IsWritableDirectory(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // The path with its symbolic links resolved, as far as it exists (the
    // rest is kept as given); the path itself when it cannot be resolved.
    virtual std::string ResolvedPath(const std::string& path) = 0;
    // Removes a file (never a folder); true when nothing stands at the path
    // afterwards.
    virtual bool RemoveFile(const std::string& path) = 0;
    // Gives a file another name in the same folder, replacing a file of that
    // name.
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
    // The reason of the last failing ReadFile, WriteFileAtomic, AppendFile,
    // CreateDirectories, RemoveFile or RenameFile; None after one that
    // succeeded.
    virtual FileError LastError() const = 0;
};

// The process's real file system.
FileSystem& RealFileSystem();

}  // namespace platform
