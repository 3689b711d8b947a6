#include "app/ProgramSettings.h"

#include "platform/DesktopPointerSettings.h"
#include "platform/FilePointerSettings.h"
#include "platform/paths.h"
#include "settings/SettingsStore.h"

namespace NeritApp {
namespace {

constexpr const char* kPointerSettingsFile = "pointer_settings";
const char* const kFolders[] = {"profile", "macro_files"};

}  // namespace

ProgramSettings::ProgramSettings(MouseConnection& mouse, const std::string& folder, bool simulated,
                                 settings::PageRefresher& pages, platform::Clock& clock,
                                 platform::FileSystem& files, platform::LockService& locks)
    : mouse_(mouse), files_(files), locks_(locks)
{
    folder_ = folder.empty() ? std::make_unique<settings::DataFolder>(files_, platform::ProcessPaths())
                             : std::make_unique<settings::DataFolder>(files_, folder);
    config_ = std::make_unique<settings::ConfigFile>(files_, *folder_);
    const std::string pointerFile = folder_->Path(kPointerSettingsFile);
    if (simulated)
        pointer_ = std::make_unique<platform::FilePointerSettings>(pointerFile, files_);
    else
        pointer_ = platform::CreateDesktopPointerSettings(pointerFile, files_);
    settings::SettingsStore& store = settings::Store();
    sync_ = std::make_unique<settings::ProfileSync>(store, mouse.Transfer(), *pointer_, firmware_, pages, clock);
    commands_ = std::make_unique<settings::ProfileCommands>(store, *sync_, firmware_, files_, *folder_, *config_);
    commands_->UseEcho(&echo_.Transfer());
}

ProgramSettings::OpenResult ProgramSettings::Open()
{
    for (const char* name : kFolders) {
        if (!files_.CreateDirectories(folder_->Path(name))) {
            openError_ = files_.LastError();
            return OpenResult::FolderFailed;
        }
    }
    switch (locks_.Acquire(folder_->Path(settings::DataFolder::kLockFile), kLockWaitMs, lock_)) {
    case platform::LockResult::Acquired:
        break;
    case platform::LockResult::Busy:
        return OpenResult::LockBusy;
    case platform::LockResult::Error:
        openError_ = locks_.LastError();
        return OpenResult::LockFailed;
    }
    // Tells neritctl who holds the folder; only a note.
    const std::string_view name = settings::DataFolder::kProgramHolder;
    files_.WriteFileAtomic(folder_->Path(settings::DataFolder::kHolderNote),
                           reinterpret_cast<const uint8_t*>(name.data()), name.size());
    return OpenResult::Ready;
}

}  // namespace NeritApp
