#include "settings/ProfileFiles.h"

#include <algorithm>
#include <vector>

namespace settings {
namespace {

constexpr size_t kProfileSize = layout::profile::kSize;

bool IsProfileIndex(int index) { return index >= 0 && index < static_cast<int>(layout::store::kProfileCount); }

std::string_view FileName(std::string_view path) { return path.substr(path.rfind('/') + 1); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `lowerEnd` is in lower case.
bool EndsWithNoCase(std::string_view text, std::string_view lowerEnd)
{
    if (text.size() < lowerEnd.size())
        return false;
    const std::string_view tail = text.substr(text.size() - lowerEnd.size());
    return std::equal(tail.begin(), tail.end(), lowerEnd.begin(), [](char a, char b) { return LowerAscii(a) == b; });
}

using Checker = FileCheck (*)(const uint8_t*, size_t);

// Reads one more byte than the record holds, so that a longer file is seen.
// On success the record is zeroed and the file's bytes laid over its start.
int LoadImage(platform::FileSystem& files, const std::string& path, uint8_t* record, size_t size, Checker checker,
              FileCheck* check)
{
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, size + 1, bytes) != platform::ReadResult::Ok)
        return kProfileFileCannotOpen;
    if (bytes.empty())
        return kProfileFileEmpty;
    const FileCheck result = checker(bytes.data(), bytes.size());
    if (check != nullptr)
        *check = result;
    if (!result.Ok())
        return kProfileFileInvalid;
    std::fill_n(record, size, uint8_t{0});
    std::copy_n(bytes.begin(), bytes.size(), record);
    return kProfileFileLoaded;
}

void SetStoredName(ProfileSettings profile, std::string_view name)
{
    if (name.empty())
        std::fill_n(profile.Bytes() + layout::profile::kName.offset, layout::profile::kName.size, uint8_t{0});
    else
        profile.SetName(name);
}

}  // namespace

std::string AllProfilesPath(const DataFolder& folder, const std::string& path)
{
    return path.empty() ? folder.Path(kAllProfilesFile) : path;
}

std::string ProfileFilePath(const DataFolder& folder, int number)
{
    return folder.Path("profile/profile" + std::to_string(number) + std::string(kProfileExtension));
}

std::string ShownProfileName(std::string_view stored)
{
    if (stored.size() > kProfileExtension.size() && EndsWithNoCase(stored, kProfileExtension))
        stored.remove_suffix(kProfileExtension.size());
    return std::string(stored);
}

// A dot in a folder name is not an extension; an empty file name (a folder
// path) gets none.
std::string WithExtension(std::string path, std::string_view extension)
{
    const std::string_view name = FileName(path);
    if (!name.empty() && name.find('.') == std::string_view::npos)
        path += extension;
    return path;
}

std::string WithProfileExtension(std::string path) { return WithExtension(std::move(path), kProfileExtension); }

bool SaveAllProfilesFile(const SettingsStore& store, platform::FileSystem& files, const std::string& path)
{
    return files.WriteFileAtomic(path, store.Bytes(), SettingsStore::Size());
}

int LoadAllProfilesFile(SettingsStore& store, platform::FileSystem& files, const std::string& path, FileCheck* check)
{
    return LoadImage(files, path, store.Bytes(), SettingsStore::Size(), SettingsFileCheck::CheckStore, check);
}

bool SaveProfileFile(SettingsStore& store, platform::FileSystem& files, const std::string& path, int index)
{
    if (!IsProfileIndex(index))
        return false;
    const ProfileSettings profile = store.Profile(static_cast<size_t>(index));
    uint8_t* name = profile.Bytes() + layout::profile::kName.offset;
    const std::vector<uint8_t> oldName(name, name + layout::profile::kName.size);
    SetStoredName(profile, FileName(path));
    if (files.WriteFileAtomic(path, profile.Bytes(), kProfileSize))
        return true;
    std::copy(oldName.begin(), oldName.end(), name);
    return false;
}

int LoadProfileFile(SettingsStore& store, platform::FileSystem& files, const std::string& path, int index,
                    FileCheck* check)
{
    if (!IsProfileIndex(index))
        return kProfileFileCannotOpen;
    const ProfileSettings profile = store.Profile(static_cast<size_t>(index));
    const int result = LoadImage(files, path, profile.Bytes(), kProfileSize, SettingsFileCheck::CheckProfile, check);
    if (result == kProfileFileLoaded)
        SettingsFileCheck::HoldToValidRanges(profile);
    return result;
}

}  // namespace settings
