// The file system neritctl works through: every call goes on to the real one,
// and every change that fails is remembered with its reason, so that a
// command can name each file it could not write, whichever layer wrote it.
#pragma once

#include "platform/file_system.h"

#include <string>
#include <utility>
#include <vector>

namespace cli {

struct FailedChange {
    const char* action;  // "write", "create", "remove", "rename"
    std::string path;
    platform::FileError error;
};

class WatchedFileSystem final : public platform::FileSystem {
public:
    explicit WatchedFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    platform::ReadResult ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) override;
    bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size) override;
    bool AppendFile(const std::string& path, const uint8_t* data, size_t size) override;
    bool CreateDirectories(const std::string& path) override;
    bool IsWritableDirectory(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::string ResolvedPath(const std::string& path) override { return inner_.ResolvedPath(path); }
    bool RemoveFile(const std::string& path) override;
    bool RenameFile(const std::string& from, const std::string& to) override;
    platform::FileError LastError() const override { return inner_.LastError(); }

    // Each path once, with its first failure.
    const std::vector<FailedChange>& Failures() const { return failures_; }
    // The failures so far, once: a command names them in its own message.
    std::vector<FailedChange> TakeFailures() { return std::exchange(failures_, {}); }
    // True once any change failed, taken or not.
    bool AnyFailed() const { return anyFailed_; }
    // A change refused above this layer, before any call reached it (a
    // configuration file too long to rewrite safely, say).
    void Record(const char* action, const std::string& path, platform::FileError error);

private:
    bool Watch(bool ok, const char* action, const std::string& path);

    platform::FileSystem& inner_;
    std::vector<FailedChange> failures_;
    bool anyFailed_ = false;
};

}  // namespace cli
