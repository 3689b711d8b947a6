// A settings store and its transfers over a simulated mouse.
#pragma once

#include "platform/FakePointerSettings.h"
#include "settings/ButtonFunctions.h"
#include "settings/ProfileSync.h"
#include "tests/device/DeviceFixture.h"

#include <memory>
#include <string>
#include <vector>

namespace settings::test {

class SettingsFixture : public device::test::DeviceFixture {
protected:
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>();
    platform::FakePointerSettings desktop;
    FirmwareVersionCache firmware;
    NoPageRefresh pages;
    ProfileSync sync{*store, programTransfer, desktop, firmware, pages, clock};

    ProfileSettings Profile(int p) { return store->Profile(p); }
    void SetButton(int p, int b, int32_t function, int32_t param = 0)
    {
        Profile(p).Set(layout::profile::kButtonFunction, b, function);
        Profile(p).Set(layout::profile::kButtonParam, b, param);
    }
    // "kind|name|direction" of every event of a macro.
    static std::vector<std::string> Events(const MacroRecord& macro)
    {
        std::vector<std::string> lines;
        for (int k = 0; k < macro.EventCount(); ++k) {
            const MacroEvent e = macro.Event(k);
            lines.push_back(e.Kind() + "|" + e.Name() + "|" + e.Direction());
        }
        return lines;
    }
    // The position in the mouse's log of the first command of a kind sent
    // for profile `index` (byte 2 the profile's wire number), or the log's
    // size when there is none.
    size_t PositionOf(uint8_t command, int index) const
    {
        const auto& log = mouse.Log();
        for (size_t i = 0; i < log.size(); ++i) {
            if (log[i].kind == sim::ReportKind::FeatureSet && log[i].bytes[1] == command
                && log[i].bytes[2] == index + 1)
                return i;
        }
        return log.size();
    }
};

}  // namespace settings::test
