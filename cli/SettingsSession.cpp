#include "cli/SettingsSession.h"

#include "cli/MessageText.h"
#include "platform/DesktopPointerSettings.h"
#include "platform/FilePointerSettings.h"
#include "platform/paths.h"
#include "settings/DamagedFiles.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"

namespace cli {
namespace {

constexpr const char* kPointerSettingsFile = "pointer_settings";
const char* const kFolders[] = {"profile", "macro_files"};

}  // namespace

SettingsSession::SettingsSession(MouseSession& mouse, const std::string& dataDir, bool simulated)
    : mouse_(mouse), files_(platform::RealFileSystem()), store_(settings::Store()),
      lock_(platform::RealLockService(), platform::RealFileSystem())
{
    folder_ = dataDir.empty() ? std::make_unique<settings::DataFolder>(files_, platform::ProcessPaths())
                              : std::make_unique<settings::DataFolder>(files_, dataDir);
    config_ = std::make_unique<settings::ConfigFile>(files_, *folder_);
    const std::string pointerFile = folder_->Path(kPointerSettingsFile);
    if (simulated)
        pointer_ = std::make_unique<platform::FilePointerSettings>(pointerFile, files_);
    else
        pointer_ = platform::CreateDesktopPointerSettings(pointerFile, files_);
    settings::PageRefresher& pages = *this;
    sync_ = std::make_unique<settings::ProfileSync>(store_, mouse_.Transfer(), *pointer_, firmware_, pages,
                                                    platform::SystemClock());
    commands_ = std::make_unique<settings::ProfileCommands>(store_, *sync_, firmware_, files_, *folder_, *config_);
    commands_->UseEcho(&echo_.Transfer());
}

bool SettingsSession::TakeLock(std::string& error)
{
    for (const char* folder : kFolders) {
        if (!files_.CreateDirectories(folder_->Path(folder))) {
            error = "cannot create the data folder " + FileText(folder_->Path(folder), FileErrorText(files_.LastError()));
            return false;
        }
    }
    switch (lock_.Take(*folder_)) {
    case FolderLock::Result::Held:
        return true;
    case FolderLock::Result::ProgramOpen:
        error = "NeritMice is open and holds the data folder " + folder_->Folder() + "; close it and try again";
        return false;
    case FolderLock::Result::Busy:
        error = "the data folder " + folder_->Folder() + " is busy: another command is changing it; try again";
        return false;
    case FolderLock::Result::Error:
        break;
    }
    error = "cannot lock the data folder "
          + FileText(folder_->Path(settings::DataFolder::kLockFile), FileErrorText(lock_.LastError()));
    return false;
}

// A settings file that is there but cannot be read stops the command: going
// on with the defaults would overwrite it.
bool SettingsSession::CheckReadable(const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (files_.ReadFile(path, 1, bytes) == platform::ReadResult::Ok || files_.LastError() == platform::FileError::Missing)
        return true;
    error = "cannot read the settings file " + FileText(path, FileErrorText(files_.LastError()));
    return false;
}

SettingsSession::Stored SettingsSession::LoadStoreFile(const std::string& path, bool change, std::string& error)
{
    settings::FileCheck check;
    switch (settings::LoadAllProfilesFile(store_, files_, path, &check)) {
    case settings::kProfileFileLoaded:
        return Stored::Loaded;
    case settings::kProfileFileCannotOpen:
        return CheckReadable(path, error) ? Stored::None : Stored::Failed;
    case settings::kProfileFileEmpty:
        check.problem = settings::FileProblem::TooShort;
        break;
    default:
        break;
    }
    std::string note = "the settings file " + FileText(path, "damaged, " + FileProblemText(check));
    if (!change) {
        notes_.push_back(note + "; not used");
        return Stored::None;
    }
    const std::string aside = settings::KeepDamagedAside(files_, path);
    if (aside.empty()) {
        error = note + "; cannot keep it aside: " + FileErrorText(files_.LastError());
        return Stored::Failed;
    }
    notes_.push_back(note + "; kept as " + aside);
    return Stored::None;
}

bool SettingsSession::Open(bool change, std::string& error)
{
    change_ = change;
    if (change && !TakeLock(error))
        return false;
    if (!CheckReadable(config_->Path(), error))
        return false;
    language_ = config_->LoadLanguage();
    shownIndex_ = config_->LoadShownProfileIndex();
    const Stored pending = LoadStoreFile(PendingPath(), change, error);
    if (pending == Stored::Failed)
        return false;
    hasPending_ = pending == Stored::Loaded;
    if (hasPending_)
        return true;
    const Stored applied = LoadStoreFile(settings::AllProfilesPath(*folder_), change, error);
    if (applied == Stored::Failed)
        return false;
    if (applied == Stored::None) {
        settings::ResetAllSettings(store_, firmware_, mouse_.Commands());
        hadStored_ = false;
    }
    // Back at the settings last applied (as after a discard), the shown
    // profile's macro copy is the working list, as the refresh makes it.
    settings::LoadWorkingMacros(store_, shownIndex_);
    return true;
}

bool SettingsSession::SavePending()
{
    hasPending_ = settings::SaveAllProfilesFile(store_, files_, PendingPath());
    return hasPending_;
}

bool SettingsSession::DropPending()
{
    if (!files_.RemoveFile(PendingPath()))
        return false;
    hasPending_ = false;
    return true;
}

void SettingsSession::RefreshPages(int index)
{
    if (index < 0 || index >= static_cast<int>(settings::layout::store::kProfileCount))
        return;
    settings::LoadWorkingMacros(store_, index);
    shownIndex_ = index;
    if (!config_->SaveShownProfileIndex(index))
        files_.Record("write", config_->Path(), config_->LastError());
}

}  // namespace cli
