#include "cli/SettingsSession.h"

#include "platform/DesktopPointerSettings.h"
#include "platform/FilePointerSettings.h"
#include "platform/paths.h"
#include "settings/ProfileFiles.h"

namespace cli {
namespace {

constexpr const char* kPointerSettingsFile = "pointer_settings";
const char* const kFolders[] = {"profile", "macro_files"};

}  // namespace

SettingsSession::SettingsSession(MouseSession& mouse, const std::string& dataDir, bool simulated)
    : mouse_(mouse), files_(platform::RealFileSystem()), store_(settings::Store())
{
    folder_ = dataDir.empty() ? std::make_unique<settings::DataFolder>(files_, platform::ProcessPaths())
                              : std::make_unique<settings::DataFolder>(files_, dataDir);
    config_ = std::make_unique<settings::ConfigFile>(files_, *folder_);
    const std::string pointerFile = folder_->Path(kPointerSettingsFile);
    if (simulated)
        pointer_ = std::make_unique<platform::FilePointerSettings>(pointerFile);
    else
        pointer_ = platform::CreateDesktopPointerSettings(pointerFile);
    sync_ = std::make_unique<settings::ProfileSync>(store_, mouse_.Transfer(), *pointer_, firmware_, pages_,
                                                    platform::SystemClock());
    commands_ = std::make_unique<settings::ProfileCommands>(store_, *sync_, firmware_, files_, *folder_, *config_);
}

bool SettingsSession::Open(std::string& error, bool& hadStoredSettings)
{
    for (const char* folder : kFolders) {
        if (!folder_->Create(folder)) {
            error = "cannot create the data folder " + folder_->Path(folder);
            return false;
        }
    }
    language_ = config_->LoadLanguage();
    shownIndex_ = config_->LoadShownProfileIndex();
    const std::string all = settings::AllProfilesPath(*folder_);
    hadStoredSettings =
        settings::LoadAllProfilesFile(store_, files_, all) == settings::kProfileFileLoaded;
    if (!hadStoredSettings)
        settings::ResetAllSettings(store_, firmware_, mouse_.Commands());
    return true;
}

bool SettingsSession::SaveStore()
{
    return settings::SaveAllProfilesFile(store_, files_, settings::AllProfilesPath(*folder_));
}

void SettingsSession::SetShownIndex(int index)
{
    shownIndex_ = index;
    config_->SaveShownProfileIndex(index);
}

}  // namespace cli
