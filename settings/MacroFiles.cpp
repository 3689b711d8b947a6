#include "settings/MacroFiles.h"

#include "settings/MacroFileCheck.h"

#include <algorithm>
#include <vector>

namespace settings {
namespace {

// The working list is one run of bytes in the store: its count, then the
// twenty slots.
uint8_t* WorkingList(const SettingsStore& store)
{
    return store.Bytes() + layout::store::kWorkingMacroCount.offset;
}
static_assert(layout::store::kWorkingMacroCount.offset + 4 == layout::store::kWorkingMacros);

}  // namespace

std::string MacrosFilePath(const DataFolder& folder, const std::string& path)
{
    return path.empty() ? folder.Path(kDefaultMacrosFile) : path;
}

bool SaveMacrosFile(const SettingsStore& store, platform::FileSystem& files, const std::string& path)
{
    return files.WriteFileAtomic(path, WorkingList(store), kMacroFileSize);
}

int LoadMacrosFile(SettingsStore& store, platform::FileSystem& files, const std::string& path, FileCheck* check)
{
    // One byte more than a list, so that a longer file is seen.
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, kMacroFileSize + 1, bytes) != platform::ReadResult::Ok)
        return kMacroFileCannotOpen;
    if (bytes.empty())
        return kMacroFileEmpty;
    const size_t fileSize = bytes.size();
    bytes.resize(kMacroFileSize, uint8_t{0});
    const FileCheck result = MacroFileCheck::CheckMacroList(bytes.data(), bytes.size(), fileSize);
    if (check != nullptr)
        *check = result;
    if (!result.Ok())
        return kMacroFileInvalid;
    std::copy(bytes.begin(), bytes.end(), WorkingList(store));
    return kMacroFileLoaded;
}

}  // namespace settings
