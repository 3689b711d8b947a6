#include "cli/WatchedFileSystem.h"

#include <algorithm>

namespace cli {

bool WatchedFileSystem::Watch(bool ok, const char* action, const std::string& path)
{
    if (!ok)
        Record(action, path, inner_.LastError());
    return ok;
}

void WatchedFileSystem::Record(const char* action, const std::string& path, platform::FileError error)
{
    anyFailed_ = true;
    const auto known = [&](const FailedChange& failure) { return failure.path == path; };
    if (std::none_of(failures_.begin(), failures_.end(), known))
        failures_.push_back({action, path, error});
}

platform::ReadResult WatchedFileSystem::ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    return inner_.ReadFile(path, maxBytes, bytes);
}

bool WatchedFileSystem::WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    return Watch(inner_.WriteFileAtomic(path, data, size), "write", path);
}

bool WatchedFileSystem::AppendFile(const std::string& path, const uint8_t* data, size_t size)
{
    return Watch(inner_.AppendFile(path, data, size), "write", path);
}

bool WatchedFileSystem::CreateDirectories(const std::string& path)
{
    return Watch(inner_.CreateDirectories(path), "create", path);
}

bool WatchedFileSystem::IsWritableDirectory(const std::string& path) { return inner_.IsWritableDirectory(path); }

bool WatchedFileSystem::Exists(const std::string& path) { return inner_.Exists(path); }

bool WatchedFileSystem::RemoveFile(const std::string& path) { return Watch(inner_.RemoveFile(path), "remove", path); }

bool WatchedFileSystem::RenameFile(const std::string& from, const std::string& to)
{
    return Watch(inner_.RenameFile(from, to), "rename", from);
}

}  // namespace cli
