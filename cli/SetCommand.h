// neritctl set: one performance setting, the name or the in-use flag of a
// profile, checked against the values the window offers.
#pragma once

#include "settings/ProfileSettings.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace cli {

class SetCommand {
public:
    // Adds --profile, KEY and VALUE to the subcommand.
    void AddArguments(CLI::App& sub);

    // Checks KEY and VALUE; false with a one-line reason.
    bool Check(std::string& error);
    bool ApplyNow() const { return apply_; }
    // The profile to change, 0..4; `shown` when none was named.
    int ProfileIndex(int shown) const { return profile_ > 0 ? profile_ - 1 : shown; }
    // Makes the checked change; the notes for the user (snapped DPI values).
    std::vector<std::string> ChangeIn(settings::ProfileSettings profile) const;

    static constexpr const char* kHelp =
        "Set one setting of a profile (pending until apply, or at once with --apply). "
           "Example: neritctl set --profile 2 dpi 400,800,1600,3200";
    static constexpr const char* kFooter =
        "Keys and values:\n"
           "  report-rate     125, 250, 500 or 1000 (Hz)\n"
           "  power-save      off, 60 or 120 (seconds)\n"
           "  ambient-light   off, 20 or 60 (seconds; the mouse keeps one value, the current profile's)\n"
           "  dpi             S1,S2,S3,S4: the four DPI stages; each snaps to the nearest of\n"
           "                  250 500 1000 1250 1500 1750 2000 2500 3000 3500 (a note names snapped values)\n"
           "  lift-off        level 0..10 (kept with the profile; the mouse's transfer does not carry it)\n"
           "  angle-snapping  level 0..10 (kept with the profile; the mouse's transfer does not carry it)\n"
           "  pointer-speed   level 0..10 (0 acts as 1)\n"
           "  double-click    level 0..10 (0 acts as 1)\n"
           "  wheel-lines     level 1..10\n"
           "  in-use          on or off\n"
           "  name            TEXT (at most 255 bytes of UTF-8, no control characters)\n"
           "Examples:\n"
           "  neritctl set report-rate 1000\n"
           "  neritctl set --profile 3 power-save off --apply\n";

    // The keys, space-separated (for the shell completions).
    static std::string KeyWords();

    struct Key;

private:

    bool CheckChoice(std::string& error);
    bool CheckLevel(std::string& error);
    bool CheckDpi(std::string& error);
    bool CheckName(std::string& error);

    int profile_ = 0;
    bool apply_ = false;
    std::string key_;
    std::string value_;
    const Key* found_ = nullptr;
    std::vector<int32_t> numbers_;  // the checked value(s)
};

}  // namespace cli
