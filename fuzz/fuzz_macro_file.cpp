// Loads arbitrary bytes as a macro list file, then walks the working list the
// way the program does (copies to and from a profile, name checks, event
// texts, appending events). Nothing a file holds may make them reach outside
// the store.
#include "platform/FakeFileSystem.h"
#include "settings/MacroFiles.h"
#include "settings/WorkingMacros.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static settings::SettingsStore store;
    platform::FakeFileSystem files;
    files.AddFile("macros.vqm", std::string(reinterpret_cast<const char*>(data), size));
    if (settings::LoadMacrosFile(store, files, "macros.vqm") != settings::kMacroFileLoaded)
        return 0;

    const int profile = size > 0 ? data[0] % 5 : 0;
    settings::StoreWorkingMacros(store, profile);
    settings::LoadWorkingMacros(store, profile);
    const int used = settings::UsedMacroCount(store.WorkingMacroCount());
    size_t textBytes = 0;
    for (int slot = 0; slot < used; ++slot) {
        settings::IsMacroNameTaken(store, slot, false);
        settings::IsMacroNameTaken(store, slot, true);
        settings::MacroRecord macro = store.WorkingMacro(slot);
        textBytes += macro.Name().size();
        for (int k = 0; k < macro.EventCount(); ++k) {
            const settings::MacroEvent event = macro.Event(k);
            textBytes += event.Kind().size() + event.Name().size() + event.Direction().size();
        }
        macro.AddEvent("t", "0.100", "");
    }
    // The sum keeps the reads from being optimised away.
    return textBytes == SIZE_MAX ? -1 : 0;
}
