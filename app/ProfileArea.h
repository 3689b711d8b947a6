// The profile area that the main control page and the performance page both
// show ("profile…" and "kprofile…" controls): the five profile options with
// their in-use pictures, the in-use options, the save and default buttons
// that only react for the shown profile, and the profile's name.
#pragma once

#include "ui/WindowUIManager.h"

#include <string>
#include <string_view>

namespace settings {
class ConfigFile;
}

namespace NeritApp {

class ProfileArea {
public:
    static constexpr int kProfiles = 5;

    explicit ProfileArea(SkinUI::CWindowUIManager& manager) : manager_(manager) {}

    // Shows profile `index` (0..4) from the store on both pages.
    void ShowPictures(int index);
    void ShowInUse();
    void ShowName(int index);
    void SelectOption(int index);

    // The number 1..5 in a profile area control's name ("profile3savebtn",
    // "kprofile3_inuse_option" give 3 for the patterns "profile#savebtn",
    // "profile#_inuse_option"), 0 when the name is not of that pattern on
    // either page.
    static int NumberIn(std::u16string_view name, std::u16string_view pattern);
    // The name a chosen profile file shows: the file's name when it has an
    // extension, else the whole path with ".vqp"; a ".vqp" ending (any case)
    // is cut when something is left before it.
    static std::u16string DisplayName(std::u16string_view path);
    // Sets both name labels to `text` when both exist.
    void SetNameLabels(std::u16string_view text);

private:
    template <typename Visit>
    void ForBothPages(std::u16string_view pattern, int number, Visit visit);

    SkinUI::CWindowUIManager& manager_;
};

}  // namespace NeritApp
