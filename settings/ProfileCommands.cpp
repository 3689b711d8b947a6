#include "settings/ProfileCommands.h"

#include "settings/MacroFiles.h"
#include "settings/ProfileFiles.h"
#include "settings/WorkingMacros.h"

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

std::vector<std::string> ProfileCommands::SaveAllFiles()
{
    std::vector<std::string> failed;
    for (const auto& [path, saved] :
         {std::pair{AllProfilesPath(folder_), SaveAllProfilesFile(store_, files_, AllProfilesPath(folder_))},
          std::pair{MacrosFilePath(folder_, ""), SaveMacrosFile(store_, files_, MacrosFilePath(folder_, ""))}}) {
        if (!saved)
            failed.push_back(path);
    }
    return failed;
}

// The profile goes to the mouse, then, when it got there, to its file.
CommandResult ProfileCommands::WriteProfileAndFile(int index, CommandMessage failure)
{
    if (!sync_.WriteProfileToDevice(index))
        return Failed(failure, index);
    const std::string path = ProfileFilePath(folder_, index + 1);
    if (!SaveProfileFile(store_, files_, path, index))
        return {false, CommandMessage::None, {}, {path}};
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
    return WriteResult(failed, SaveAllFiles());
}

CommandResult ProfileCommands::ResetAll(int& shownIndex)
{
    ResetAllSettings(store_, firmware_, sync_.Commands());
    shownIndex = 0;
    // Every macro copy is empty now; the working list becomes profile 1's
    // before anything is written, so no old macro is saved or applied again.
    LoadWorkingMacros(store_, shownIndex);
    const ProfileSet failed = sync_.ApplyAllProfiles(std::nullopt);
    return WriteResult(failed, SaveAllFiles());
}

CommandResult ProfileCommands::Discard(int shownIndex)
{
    const int result = LoadAllProfilesFile(store_, files_, AllProfilesPath(folder_));
    sync_.Pages().RefreshPages(shownIndex);
    return {result == kProfileFileLoaded, CommandMessage::None, {}, {}};
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
