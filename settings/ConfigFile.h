// The configuration file, "config.ini" in the data folder: the interface
// language and the profile shown last, in section "Configuration Option" as
// two-digit numbers ("number=03", "lang=00"). A missing file, section or key
// reads as 0. Every save reads the file again and changes only its own key;
// a file that exists but cannot be read whole is never written over.
#pragma once

#include "platform/file_system.h"
#include "settings/DataFolder.h"

#include <string>
#include <string_view>

namespace settings {

class ConfigFile {
public:
    static constexpr std::string_view kFileName = "config.ini";
    static constexpr std::string_view kSection = "Configuration Option";
    static constexpr std::string_view kShownProfileKey = "number";
    static constexpr std::string_view kLanguageKey = "lang";
    static constexpr int kLanguageCount = 4;

    ConfigFile(platform::FileSystem& files, const DataFolder& folder);

    // The index 0..4 of the profile shown on the pages.
    // Saves return false when the file could not be read or written;
    // LastError() then tells why.
    bool SaveShownProfileIndex(int index);
    // 0 when missing or outside 0..4.
    int LoadShownProfileIndex() const;
    // 0 English, 1 Traditional Chinese, 2 Simplified Chinese, 3 German.
    bool SaveLanguage(int language);
    // 0 when missing or outside 0..3.
    int LoadLanguage() const;

    const std::string& Path() const { return path_; }
    platform::FileError LastError() const { return lastError_; }

private:
    bool Save(std::string_view key, int value);
    int Load(std::string_view key, int last) const;

    platform::FileSystem& files_;
    std::string path_;
    platform::FileError lastError_ = platform::FileError::None;
};

}  // namespace settings
