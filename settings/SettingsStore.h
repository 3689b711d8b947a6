// The one settings record of the process (7,189,486 bytes): the current
// profile, five profiles, the working macro list, the LED flag and the two
// version texts. Allocated zero-filled; its bytes are the all-profiles file.
#pragma once

#include "settings/ProfileSettings.h"

#include <memory>

namespace settings {

class SettingsStore {
public:
    SettingsStore();

    int32_t CurrentProfile() const { return View().Get(layout::store::kCurrentProfile); }
    void SetCurrentProfile(int32_t number) { View().Set(layout::store::kCurrentProfile, number); }
    // The index 0..4 of the current profile; a number outside 1..5 counts as 1.
    int CurrentProfileIndex() const;

    // Profile `index`, 0..4.
    ProfileSettings Profile(size_t index) const;

    int32_t WorkingMacroCount() const { return View().Get(layout::store::kWorkingMacroCount); }
    void SetWorkingMacroCount(int32_t count) { View().Set(layout::store::kWorkingMacroCount, count); }
    // Working slot 0..19.
    MacroRecord WorkingMacro(size_t slot) const;

    bool LedOn() const { return View().Get(layout::store::kLedOn) != 0; }
    void SetLedOn(bool on) { View().Set(layout::store::kLedOn, uint8_t{on ? uint8_t{1} : uint8_t{0}}); }
    std::string AppVersion() const { return View().Text(layout::store::kAppVersion); }
    void SetAppVersion(std::string_view text) { View().SetText(layout::store::kAppVersion, text); }
    std::string FirmwareVersion() const { return View().Text(layout::store::kFirmwareVersion); }
    void SetFirmwareVersion(std::string_view text) { View().SetText(layout::store::kFirmwareVersion, text); }

    uint8_t* Bytes() const { return bytes_.get(); }
    static constexpr size_t Size() { return layout::store::kSize; }

private:
    FieldView View() const { return FieldView(bytes_.get(), layout::store::kSize); }

    std::unique_ptr<uint8_t[]> bytes_;
};

// The process's store, allocated zero-filled on first use and kept for the
// whole run.
SettingsStore& Store();

}  // namespace settings
