#include "settings/MacroFiles.h"

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

int LoadMacrosFile(SettingsStore& store, platform::FileSystem& files, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, kMacroFileSize, bytes) != platform::ReadResult::Ok)
        return kMacroFileCannotOpen;
    if (bytes.empty())
        return kMacroFileEmpty;
    uint8_t* list = WorkingList(store);
    std::fill_n(list, kMacroFileSize, uint8_t{0});
    std::copy_n(bytes.begin(), std::min(bytes.size(), kMacroFileSize), list);
    return kMacroFileLoaded;
}

}  // namespace settings
