#include "settings/ProfileCommands.h"

#include "settings/MacroFiles.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"

namespace settings {
namespace {

constexpr int kProfiles = static_cast<int>(layout::store::kProfileCount);

CommandResult Failed(CommandMessage message = CommandMessage::None, int failedIndex = -1)
{
    return {false, message, ProfileSet::Of(failedIndex)};
}

CommandResult WriteResult(ProfileSet failed)
{
    return {failed.Empty(), CommandMessage::None, failed};
}

bool AnyProfileInUse(const SettingsStore& store)
{
    for (int p = 0; p < kProfiles; ++p) {
        if (store.Profile(p).Get(layout::profile::kInUse) != 0)
            return true;
    }
    return false;
}

}  // namespace

ProfileCommands::ProfileCommands(SettingsStore& store, ProfileSync& sync, FirmwareVersionCache& firmware,
                                 platform::FileSystem& files, const DataFolder& folder, ConfigFile& config)
    : store_(store), sync_(sync), firmware_(firmware), files_(files), folder_(folder), config_(config)
{
}

ProfileSet ProfileCommands::LoadFromMouse(int& shownIndex)
{
    ResetAllSettings(store_, firmware_, sync_.Commands());
    shownIndex = config_.LoadShownProfileIndex();
    ProfileSet failed;
    for (int p = kProfiles - 1; p >= 0; --p) {
        sync_.Progress().BeforeProfile(TransferProgress::Direction::Reading, p, kProfiles - p, kProfiles);
        if (!sync_.ReadProfileFromDevice(p))
            failed.Add(p);
    }
    return failed;
}

bool ProfileCommands::SaveProfileFileOf(int index)
{
    return SaveProfileFile(store_, files_, ProfileFilePath(folder_, index + 1), index);
}

void ProfileCommands::SaveAllFiles()
{
    // As on the mouse's side, a failed write of these is not reported.
    SaveAllProfilesFile(store_, files_, AllProfilesPath(folder_));
    SaveMacrosFile(store_, files_, MacrosFilePath(folder_, ""));
}

CommandResult ProfileCommands::SaveProfile(int index)
{
    if (!sync_.WriteProfileToDevice(index))
        return Failed(CommandMessage::FailedToSaveProfile, index);
    SaveProfileFileOf(index);
    return {};
}

CommandResult ProfileCommands::ResetProfileToDefault(int index)
{
    ResetProfile(store_, index);
    if (!sync_.WriteProfileToDevice(index))
        return Failed(CommandMessage::FailedToResetProfile, index);
    SaveProfileFileOf(index);
    return {};
}

CommandResult ProfileCommands::Apply(int shownIndex)
{
    if (!AnyProfileInUse(store_))
        return Failed(CommandMessage::NoActiveProfile);
    store_.SetCurrentProfile(shownIndex + 1);
    const ProfileSet failed = sync_.ApplyAllProfiles(shownIndex);
    SaveAllFiles();
    return WriteResult(failed);
}

CommandResult ProfileCommands::ResetAll(int& shownIndex)
{
    ResetAllSettings(store_, firmware_, sync_.Commands());
    shownIndex = 0;
    // Every macro copy is empty now; the working list becomes profile 1's
    // before anything is written, so no old macro is saved or applied again.
    LoadWorkingMacros(store_, shownIndex);
    const ProfileSet failed = sync_.ApplyAllProfiles(std::nullopt);
    SaveAllFiles();
    return WriteResult(failed);
}

CommandResult ProfileCommands::Discard(int shownIndex)
{
    const int result = LoadAllProfilesFile(store_, files_, AllProfilesPath(folder_));
    sync_.Pages().RefreshPages(shownIndex);
    return {result == kProfileFileLoaded, CommandMessage::None, {}};
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
    const bool ok = commands.Link().OpenDevice() && commands.GetLedState(state, ambient)
                 && commands.SetLedSwitch(on ? device::kLedLit : device::kLedDark, ambient);
    commands.Link().CloseDevice();
    if (ok)
        store_.SetLedOn(on);
    return {ok, CommandMessage::None, {}};
}

}  // namespace settings
