#include "settings/ConfigFile.h"

#include "settings/IniFile.h"
#include "settings/SettingsLayout.h"

#include <cstdio>

namespace settings {
namespace {

// At least two digits, as "%2.2d" writes them: 3 -> "03", -1 -> "-01".
std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%2.2d", value);
    return text;
}

}  // namespace

ConfigFile::ConfigFile(platform::FileSystem& files, const DataFolder& folder)
    : files_(files), path_(folder.Path(kFileName))
{
}

bool ConfigFile::SaveShownProfileIndex(int index) { return Save(kShownProfileKey, index); }

int ConfigFile::LoadShownProfileIndex() const
{
    return Load(kShownProfileKey, static_cast<int>(layout::store::kProfileCount) - 1);
}

bool ConfigFile::SaveLanguage(int language) { return Save(kLanguageKey, language); }

// The language indexes the text tables, so a value they lack must not come
// through.
int ConfigFile::LoadLanguage() const { return Load(kLanguageKey, kLanguageCount - 1); }

// A missing file is made; one that cannot be read whole is left as it is,
// since writing it back would lose what could not be read.
bool ConfigFile::Save(std::string_view key, int value)
{
    IniFile ini;
    if (!ini.Load(files_, path_) && ini.LoadError() != platform::FileError::Missing) {
        lastError_ = ini.LoadError();
        return false;
    }
    ini.SetString(kSection, key, TwoDigits(value));
    if (!ini.Save(files_, path_)) {
        lastError_ = files_.LastError();
        return false;
    }
    lastError_ = platform::FileError::None;
    return true;
}

// The value of the key; 0 when missing or outside 0..last.
int ConfigFile::Load(std::string_view key, int last) const
{
    IniFile ini;
    ini.Load(files_, path_);
    const int value = ini.GetInt(kSection, key, 0);
    return value >= 0 && value <= last ? value : 0;
}

}  // namespace settings
