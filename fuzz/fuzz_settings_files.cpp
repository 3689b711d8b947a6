// Loads arbitrary bytes as a profile file and as a device record, then runs
// the conversions both ways and the working-list copies over the result.
// Nothing a file or a mouse holds may make them reach outside the store.
#include "platform/FakeFileSystem.h"
#include "platform/FakePointerSettings.h"
#include "settings/ProfileFiles.h"
#include "settings/RecordConversion.h"
#include "settings/WorkingMacros.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static settings::SettingsStore store;
    static auto records = std::make_unique<settings::RecordTable>();
    platform::FakeFileSystem files;
    platform::FakePointerSettings desktop;
    const int index = size > 0 ? data[0] % 5 : 0;

    files.AddFile("p.vqp", std::string(reinterpret_cast<const char*>(data), size));
    if (settings::LoadProfileFile(store, files, "p.vqp", index) != settings::kProfileFileLoaded)
        return 0;
    // The profile's macro copy becomes the working list, then goes to a record.
    settings::LoadWorkingMacros(store, index);
    for (int p = 0; p < 5; ++p) {
        (*records)[p] = {};
        const auto macros = p == index ? settings::MacroSource::WorkingList : settings::MacroSource::ProfileCopy;
        settings::FillRecord(store, p, macros, (*records)[p]);
    }
    // The same bytes as a record read from the mouse.
    device::DeviceProfileRecord& record = (*records)[index];
    std::memcpy(record.data(), data, std::min(size, record.size()));
    settings::ReadRecord(store, index, record, desktop, size > 1 ? data[1] : 0);
    settings::StoreWorkingMacros(store, index);
    return 0;
}
