#include "settings/ProfileCommands.h"

#include "settings/HostCopy.h"
#include "settings/MacroFiles.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"

#include <cstring>
#include <memory>

namespace settings {
namespace {

constexpr int kProfiles = static_cast<int>(layout::store::kProfileCount);

CommandResult Failed(CommandMessage message = CommandMessage::None, int failedIndex = -1)
{
    return {false, message, ProfileSet::Of(failedIndex), {}};
}

CommandResult WriteResult(ProfileSet failed, std::vector<std::string> failedFiles)
{
    const bool ok = failed.Empty() && failedFiles.empty();
    return {ok, CommandMessage::None, failed, std::move(failedFiles)};
}

bool AnyProfileInUse(const SettingsStore& store)
{
    for (int p = 0; p < kProfiles; ++p) {
        if (store.Profile(p).Get(layout::profile::kInUse) != 0)
            return true;
    }
    return false;
}

void CopyProfiles(const SettingsStore& from, SettingsStore& to, ProfileSet profiles)
{
    for (int p : profiles.Numbers())
        std::memcpy(to.Profile(p - 1).Bytes(), from.Profile(p - 1).Bytes(), layout::profile::kSize);
}

// The profiles not in `failed`.
ProfileSet Taken(const ProfileSet& failed)
{
    ProfileSet taken;
    for (int p = 0; p < kProfiles; ++p) {
        if (!failed.Contains(p))
            taken.Add(p);
    }
    return taken;
}

}  // namespace

ProfileCommands::ProfileCommands(SettingsStore& store, ProfileSync& sync, FirmwareVersionCache& firmware,
                                 platform::FileSystem& files, const DataFolder& folder, ConfigFile& config)
    : store_(store), sync_(sync), firmware_(firmware), files_(files), folder_(folder), config_(config)
{
}

ProfileSet ProfileCommands::LoadFromMouse(int& shownIndex, ProfileSet* changedOnMouse)
{
    ResetAllSettings(store_, firmware_, sync_.Commands());
    shownIndex = config_.LoadShownProfileIndex();
    ProfileSet failed;
    for (int p = kProfiles - 1; p >= 0; --p) {
        sync_.Progress().BeforeProfile(TransferProgress::Direction::Reading, p, kProfiles - p, kProfiles);
        if (!sync_.ReadProfileFromDevice(p))
            failed.Add(p);
    }
    const ProfileSet changed = failed.Count() < kProfiles ? MergeHostCopy(failed) : ProfileSet{};
    if (changedOnMouse != nullptr)
        *changedOnMouse = changed;
    return failed;
}

// Profiles changed on the mouse become the settings last applied, so that
// the change is told once.
ProfileSet ProfileCommands::MergeHostCopy(const ProfileSet& failed)
{
    if (echo_ == nullptr)
        return {};
    auto host = std::make_unique<SettingsStore>();
    if (LoadAllProfilesFile(*host, files_, AllProfilesPath(folder_)) != kProfileFileLoaded)
        return {};
    const ProfileSet changed = HostCopy(*echo_, sync_.Pointer()).Merge(store_, *host, failed);
    if (!changed.Empty()) {
        CopyProfiles(store_, *host, changed);
        SaveAllProfilesFile(*host, files_, AllProfilesPath(folder_));
    }
    return changed;
}

// Profiles of the store written into a whole-store file that is there; a
// file that is not there is left so.
bool ProfileCommands::UpdateFile(const std::string& path, ProfileSet profiles)
{
    auto kept = std::make_unique<SettingsStore>();
    if (LoadAllProfilesFile(*kept, files_, path) != kProfileFileLoaded)
        return true;
    CopyProfiles(store_, *kept, profiles);
    return SaveAllProfilesFile(*kept, files_, path);
}

bool ProfileCommands::DropPendingChanges()
{
    return files_.RemoveFile(folder_.Path(kPendingChangesFile));
}

// The settings last applied hold what the mouse took. When it took every
// profile they are the store and the pending changes end; when it did not,
// only the profiles it took go into the file there is (none is started), and
// the store stays pending: what the mouse did not take is not lost, nor
// taken at the next start for a change made elsewhere. (When the settings
// cannot be written the pending changes are left to the caller.)
std::vector<std::string> ProfileCommands::SaveAllFiles(const ProfileSet& failed)
{
    std::vector<std::string> notWritten;
    const std::string appliedPath = AllProfilesPath(folder_);
    const bool tookAll = failed.Empty();
    const bool applied =
        tookAll ? SaveAllProfilesFile(store_, files_, appliedPath) : UpdateFile(appliedPath, Taken(failed));
    const std::string pending = folder_.Path(kPendingChangesFile);
    const bool pendingDone =
        !applied || (tookAll ? DropPendingChanges() : SaveAllProfilesFile(store_, files_, pending));
    for (const auto& [path, saved] :
         {std::pair{appliedPath, applied},
          std::pair{MacrosFilePath(folder_, ""), SaveMacrosFile(store_, files_, MacrosFilePath(folder_, ""))},
          std::pair{pending, pendingDone}}) {
        if (!saved)
            notWritten.push_back(path);
    }
    return notWritten;
}

// The profile goes to the mouse, then, when it got there, to its file.
CommandResult ProfileCommands::WriteProfileAndFile(int index, CommandMessage failure)
{
    if (!sync_.WriteProfileToDevice(index))
        return Failed(failure, index);
    const std::string path = ProfileFilePath(folder_, index + 1);
    if (!SaveProfileFile(store_, files_, path, index))
        return {false, CommandMessage::None, {}, {path}};
    // The settings last applied and the pending changes hold the profile as
    // the mouse now has it.
    for (const std::string& kept : {AllProfilesPath(folder_), folder_.Path(kPendingChangesFile)}) {
        if (!UpdateFile(kept, ProfileSet::Of(index)))
            return {false, CommandMessage::None, {}, {kept}};
    }
    return {};
}

CommandResult ProfileCommands::SaveProfile(int index)
{
    return WriteProfileAndFile(index, CommandMessage::FailedToSaveProfile);
}

CommandResult ProfileCommands::ResetProfileToDefault(int index)
{
    ResetProfile(store_, index);
    return WriteProfileAndFile(index, CommandMessage::FailedToResetProfile);
}

CommandResult ProfileCommands::Apply(int shownIndex)
{
    if (!AnyProfileInUse(store_))
        return Failed(CommandMessage::NoActiveProfile);
    store_.SetCurrentProfile(shownIndex + 1);
    const ProfileSet failed = sync_.ApplyAllProfiles(shownIndex);
    return WriteResult(failed, SaveAllFiles(failed));
}

CommandResult ProfileCommands::ResetAll(int& shownIndex)
{
    ResetAllSettings(store_, firmware_, sync_.Commands());
    shownIndex = 0;
    // Every macro copy is empty now; the working list becomes profile 1's
    // before anything is written, so no old macro is saved or applied again.
    LoadWorkingMacros(store_, shownIndex);
    const ProfileSet failed = sync_.ApplyAllProfiles(std::nullopt);
    return WriteResult(failed, SaveAllFiles(failed));
}

CommandResult ProfileCommands::Discard(int shownIndex)
{
    const std::string path = AllProfilesPath(folder_);
    const int loaded = LoadAllProfilesFile(store_, files_, path);
    sync_.Pages().RefreshPages(shownIndex);
    if (loaded != kProfileFileLoaded) {
        const bool nothingApplied = loaded == kProfileFileCannotOpen && !files_.Exists(path);
        return Failed(nothingApplied ? CommandMessage::NothingToDiscard : CommandMessage::LoadProfileError);
    }
    if (!DropPendingChanges())
        return {false, CommandMessage::None, {}, {folder_.Path(kPendingChangesFile)}};
    return {};
}

CommandResult ProfileCommands::ExportProfile(int index, const std::string& path)
{
    if (!SaveProfileFile(store_, files_, WithProfileExtension(path), index))
        return Failed(CommandMessage::SaveProfileError);
    return {};
}

CommandResult ProfileCommands::ImportProfile(int index, const std::string& path)
{
    if (LoadProfileFile(store_, files_, path, index) != kProfileFileLoaded)
        return Failed(CommandMessage::LoadProfileError);
    sync_.Pages().RefreshPages(index);
    return {};
}

CommandResult ProfileCommands::SetLeds(bool on)
{
    device::CommandSet& commands = sync_.Commands();
    uint8_t state = 0, ambient = 0;
    bool ok = commands.Link().OpenDevice() && commands.GetLedState(state, ambient)
           && commands.SetLedSwitch(on ? device::kLedLit : device::kLedDark, ambient);
    ok = commands.Link().CloseDevice() && ok;
    if (ok)
        store_.SetLedOn(on);
    return {ok, CommandMessage::None, {}, {}};
}

}  // namespace settings
