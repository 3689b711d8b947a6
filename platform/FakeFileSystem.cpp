#include "platform/FakeFileSystem.h"

#include <algorithm>

namespace platform {

FakeFileSystem::FakeFileSystem()
{
    folders_.insert("/");
    folders_.insert("");  // the current folder, parent of relative names
}

std::string FakeFileSystem::Normal(const std::string& path)
{
    std::string normal;
    for (char c : path) {
        if (c != '/' || normal.empty() || normal.back() != '/')
            normal += c;
    }
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

std::string FakeFileSystem::Parent(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool FakeFileSystem::CanWriteInto(const std::string& folder) const
{
    return folders_.count(folder) != 0 && readOnly_.count(folder) == 0;
}

void FakeFileSystem::AddParents(const std::string& path)
{
    for (std::string folder = Parent(path); folders_.insert(folder).second; folder = Parent(folder)) {
    }
}

ReadResult FakeFileSystem::ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    const auto file = files_.find(Normal(path));
    if (file == files_.end())
        return ReadResult::CannotOpen;
    const size_t size = std::min(maxBytes, file->second.size());
    bytes.assign(file->second.begin(), file->second.begin() + static_cast<std::ptrdiff_t>(size));
    return ReadResult::Ok;
}

bool FakeFileSystem::WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    const std::string name = Normal(path);
    if (writesFail_ || name.empty() || folders_.count(name) != 0 || !CanWriteInto(Parent(name)))
        return false;
    if (data == nullptr && size > 0)
        return false;
    files_[name].assign(data, data + size);
    ++writeCount_;
    return true;
}

bool FakeFileSystem::CreateDirectories(const std::string& path)
{
    const std::string name = Normal(path);
    if (name.empty() || files_.count(name) != 0)
        return false;
    if (folders_.count(name) != 0)
        return true;
    const std::string parent = Parent(name);
    if (folders_.count(parent) == 0 && !CreateDirectories(parent))
        return false;
    if (!CanWriteInto(parent))
        return false;
    folders_.insert(name);
    return true;
}

bool FakeFileSystem::IsWritableDirectory(const std::string& path)
{
    const std::string name = Normal(path);
    return !name.empty() && CanWriteInto(name);
}

bool FakeFileSystem::Exists(const std::string& path)
{
    const std::string name = Normal(path);
    return !name.empty() && (files_.count(name) != 0 || folders_.count(name) != 0);
}

void FakeFileSystem::AddFile(const std::string& path, std::string_view contents)
{
    const std::string name = Normal(path);
    AddParents(name);
    files_[name].assign(contents.begin(), contents.end());
}

void FakeFileSystem::AddDirectory(const std::string& path)
{
    const std::string name = Normal(path);
    folders_.insert(name);
    AddParents(name);
}

void FakeFileSystem::SetReadOnly(const std::string& folder, bool readOnly)
{
    if (readOnly)
        readOnly_.insert(Normal(folder));
    else
        readOnly_.erase(Normal(folder));
}

std::optional<std::string> FakeFileSystem::Contents(const std::string& path) const
{
    const auto file = files_.find(Normal(path));
    if (file == files_.end())
        return std::nullopt;
    return std::string(file->second.begin(), file->second.end());
}

}  // namespace platform
