// Pointer settings on the GNOME desktop through GSettings. Double-click time
// and pointer speed go to the desktop's keys where the installed schemas have
// them; whatever has no key (always the wheel scroll lines) is kept in a
// FilePointerSettings file instead. Missing schemas or keys never reach
// GSettings calls, so GLib has nothing to abort on.
#pragma once

#include "platform/FilePointerSettings.h"
#include "platform/pointer_settings.h"

#include <memory>
#include <string>

// GLib's own declaration, repeated so that users need no GLib headers.
typedef struct _GSettings GSettings;

namespace platform {

class GSettingsPointerSettings final : public PointerSettings {
public:
    // InMemory keeps the desktop keys in a private in-memory store, so tests
    // never change the real desktop.
    enum class Store { Desktop, InMemory };

    explicit GSettingsPointerSettings(const std::string& fallbackFile, Store store = Store::Desktop,
                                      FileSystem& files = RealFileSystem());
    ~GSettingsPointerSettings() override;
    GSettingsPointerSettings(const GSettingsPointerSettings&) = delete;
    GSettingsPointerSettings& operator=(const GSettingsPointerSettings&) = delete;

    void SetDoubleClickTime(unsigned milliseconds) override;
    void SetWheelScrollLines(unsigned lines) override;
    void SetMouseSpeed(unsigned speed) override;

    unsigned DoubleClickTime() override;
    unsigned WheelScrollLines() override;
    unsigned MouseSpeed() override;

    bool DoubleClickOnDesktop() const { return doubleClick_ != nullptr; }
    bool SpeedOnDesktop() const { return speed_ != nullptr; }

    // True when "org.gnome.desktop.peripherals.mouse" is installed.
    static bool MouseSchemaInstalled();

    // Speed 1..20 to the desktop's -1..1 and back, linear, so that a speed
    // written reads back unchanged; out-of-range input is clamped.
    static double SpeedToDesktop(unsigned speed);
    static unsigned SpeedFromDesktop(double value);

private:
    struct Unref {
        void operator()(GSettings* settings) const;
    };
    using SettingsPtr = std::unique_ptr<GSettings, Unref>;

    FilePointerSettings file_;
    SettingsPtr doubleClick_;
    SettingsPtr speed_;
};

}  // namespace platform
