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

bool FakeFileSystem::Fail(FileError error)
{
    lastError_ = error;
    return false;
}

ReadResult FakeFileSystem::ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    const std::string name = Normal(path);
    const auto special = unreadable_.find(name);
    const auto file = files_.find(name);
    if (special != unreadable_.end())
        lastError_ = special->second;
    else if (folders_.count(name) != 0)
        lastError_ = FileError::IsFolder;
    else if (file == files_.end())
        lastError_ = files_.count(Parent(name)) != 0 ? FileError::NotAFolder : FileError::Missing;
    else
        lastError_ = FileError::None;
    if (lastError_ != FileError::None)
        return ReadResult::CannotOpen;
    const size_t size = std::min(maxBytes, file->second.size());
    bytes.assign(file->second.begin(), file->second.begin() + static_cast<std::ptrdiff_t>(size));
    return ReadResult::Ok;
}

FileError FakeFileSystem::WriteError(const std::string& name) const
{
    const FileError error = PlaceError(name);
    if (error != FileError::None)
        return error;
    return writesFail_ ? writeError_ : FileError::None;
}

FileError FakeFileSystem::PlaceError(const std::string& name) const
{
    if (name.empty())
        return FileError::Missing;
    if (folders_.count(name) != 0)
        return FileError::IsFolder;
    // A file that only cannot be read is replaced as any other.
    if (const auto special = unreadable_.find(name); special != unreadable_.end() &&
                                                     special->second == FileError::NotRegular)
        return special->second;
    if (files_.count(name) != 0 && readOnly_.count(name) != 0)
        return FileError::NoPermission;
    const std::string parent = Parent(name);
    if (files_.count(parent) != 0)
        return FileError::NotAFolder;
    if (folders_.count(parent) == 0)
        return FileError::Missing;
    if (readOnly_.count(parent) != 0)
        return FileError::NoPermission;
    return FileError::None;
}

bool FakeFileSystem::WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    const std::string name = Normal(path);
    if (data == nullptr && size > 0)
        return Fail(FileError::Other);
    if (const FileError error = WriteError(name); error != FileError::None)
        return Fail(error);
    unreadable_.erase(name);
    files_[name].assign(data, data + size);
    ++writeCount_;
    lastError_ = FileError::None;
    return true;
}

bool FakeFileSystem::AppendFile(const std::string& path, const uint8_t* data, size_t size)
{
    const std::string name = Normal(path);
    if (data == nullptr && size > 0)
        return Fail(FileError::Other);
    if (const auto special = unreadable_.find(name); special != unreadable_.end())
        return Fail(special->second);
    // An existing file is written in place, whatever its folder allows.
    FileError error = WriteError(name);
    if (files_.count(name) != 0 && error != FileError::NoPermission)
        error = writesFail_ ? writeError_ : FileError::None;
    if (error != FileError::None)
        return Fail(error);
    files_[name].insert(files_[name].end(), data, data + size);
    ++writeCount_;
    lastError_ = FileError::None;
    return true;
}

bool FakeFileSystem::CreateDirectories(const std::string& path)
{
    const std::string name = Normal(path);
    if (name.empty())
        return Fail(FileError::Missing);
    if (files_.count(name) != 0 || unreadable_.count(name) != 0)
        return Fail(FileError::NotAFolder);
    if (folders_.count(name) != 0) {
        lastError_ = FileError::None;
        return true;
    }
    const std::string parent = Parent(name);
    if (folders_.count(parent) == 0 && !CreateDirectories(parent))
        return false;
    if (!CanWriteInto(parent))
        return Fail(FileError::NoPermission);
    folders_.insert(name);
    lastError_ = FileError::None;
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
    return !name.empty() && (files_.count(name) != 0 || folders_.count(name) != 0 || unreadable_.count(name) != 0);
}

std::string FakeFileSystem::ResolvedPath(const std::string& path) { return Normal(path); }  // no links here

bool FakeFileSystem::RemoveFile(const std::string& path)
{
    const std::string name = Normal(path);
    if (folders_.count(name) != 0)
        return Fail(FileError::IsFolder);
    if (Exists(name) && !CanWriteInto(Parent(name)))
        return Fail(FileError::NoPermission);
    files_.erase(name);
    unreadable_.erase(name);
    lastError_ = FileError::None;
    return true;
}

bool FakeFileSystem::RenameFile(const std::string& from, const std::string& to)
{
    const std::string source = Normal(from);
    const std::string target = Normal(to);
    const auto file = files_.find(source);
    if (file == files_.end())
        return Fail(folders_.count(source) != 0 ? FileError::IsFolder : FileError::Missing);
    if (const FileError error = PlaceError(target); error != FileError::None)
        return Fail(error);
    if (!CanWriteInto(Parent(source)))
        return Fail(FileError::NoPermission);
    std::vector<uint8_t> bytes = std::move(file->second);
    files_.erase(file);
    files_[target] = std::move(bytes);
    lastError_ = FileError::None;
    return true;
}

void FakeFileSystem::AddFile(const std::string& path, std::string_view contents)
{
    const std::string name = Normal(path);
    AddParents(name);
    files_[name].assign(contents.begin(), contents.end());
}

void FakeFileSystem::AddUnreadable(const std::string& path, FileError error)
{
    const std::string name = Normal(path);
    AddParents(name);
    unreadable_[name] = error;
}

void FakeFileSystem::AddDirectory(const std::string& path)
{
    const std::string name = Normal(path);
    folders_.insert(name);
    AddParents(name);
}

void FakeFileSystem::SetReadOnly(const std::string& path, bool readOnly)
{
    if (readOnly)
        readOnly_.insert(Normal(path));
    else
        readOnly_.erase(Normal(path));
}

std::optional<std::string> FakeFileSystem::Contents(const std::string& path) const
{
    const auto file = files_.find(Normal(path));
    if (file == files_.end())
        return std::nullopt;
    return std::string(file->second.begin(), file->second.end());
}

}  // namespace platform
