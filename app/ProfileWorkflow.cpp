#include "app/ProfileWorkflow.h"

#include "settings/CodePage.h"
#include "settings/CommandMessages.h"
#include "settings/ProfileFiles.h"

namespace NeritApp {

using settings::CommandResult;

namespace {

constexpr unsigned kNoticeFlags = platform::MB_OK | platform::MB_ICONWARNING;
constexpr const char* kProfileFolder = "profile";
constexpr const char* kProposedName = "profile.vqp";

platform::FileDialogRequest ProfileFileRequest(platform::FileDialogMode mode, const std::string& folder)
{
    platform::FileDialogRequest request;
    request.mode = mode;
    request.filters = {{"VQ profile (*.vqp)", {"*.vqp"}}, {"All files(*.*)", {"*"}}};
    request.folder = folder;
    request.fileName = kProposedName;
    request.defaultExtension = "vqp";
    return request;
}

}  // namespace

ProfileWorkflow::ProfileWorkflow(Host& host, ProgramSettings& settings, ProfileArea& area)
    : host_(host), settings_(settings), area_(area), dialogs_(host, settings.Files())
{
}

void ProfileWorkflow::UseFileDialog(platform::FileDialog* dialog, platform::WindowId window, unsigned message)
{
    dialogs_.Use(dialog, window, message);
}

CommandResult ProfileWorkflow::RunCommand(const std::function<CommandResult()>& command)
{
    CommandResult result;
    host_.RunDeviceWork([&] { result = command(); });
    return result;
}

// The command's own message, else what the mouse and the files did not take.
void ProfileWorkflow::Report(const CommandResult& result, bool withMouse)
{
    if (result.ok)
        return;
    const int language = host_.Language();
    std::string text = result.message != settings::CommandMessage::None
                         ? settings::MessageText(result.message, language)
                         : settings::FailedToWriteText(result.failedProfiles, {}, language);
    const std::string files = settings::FailedToWriteText({}, result.failedFiles, language);
    if (!files.empty())
        text += (text.empty() ? "" : "\r\n\r\n") + files;
    const std::string problem = withMouse ? settings_.Mouse().ProblemText() : "";
    if (!problem.empty())
        text += (text.empty() ? "" : "\r\n\r\n") + problem;
    if (!text.empty())
        host_.ShowNotice(text, kNoticeFlags);
}

bool ProfileWorkflow::CanApply()
{
    for (int index = 0; index < ProfileArea::kProfiles; ++index) {
        if (settings::Store().Profile(static_cast<size_t>(index)).Get(settings::layout::profile::kInUse) != 0)
            return true;
    }
    host_.ShowNotice(settings::MessageText(settings::CommandMessage::NoActiveProfile, host_.Language()),
                     platform::MB_OK | platform::MB_ICONERROR | platform::MB_SYSTEMMODAL);
    return false;
}

void ProfileWorkflow::Apply()
{
    const int shown = host_.ShownProfile();
    Report(RunCommand([&] { return settings_.Commands().Apply(shown); }), true);
}

void ProfileWorkflow::Discard()
{
    // With nothing applied yet the profiles are read from the mouse again.
    // The store keeps its content when neither can be had; the pages are
    // shown again either way.
    const int shown = host_.ShownProfile();
    Report(RunCommand([&] { return settings_.Commands().Discard(shown); }));
}

void ProfileWorkflow::SaveShown()
{
    const int shown = host_.ShownProfile();
    // The write shows the profile again, whatever the mouse did.
    Report(RunCommand([&] { return settings_.Commands().SaveProfile(shown); }), true);
}

void ProfileWorkflow::ResetShown()
{
    const int shown = host_.ShownProfile();
    Report(RunCommand([&] { return settings_.Commands().ResetProfileToDefault(shown); }), true);
}

void ProfileWorkflow::ResetAll()
{
    int shown = 0;
    const CommandResult result = RunCommand([&] { return settings_.Commands().ResetAll(shown); });
    // The reset left profile 1 in use, as the mouse and the files have it.
    host_.RefreshFromProfile(shown);
    Report(result, true);
}

void ProfileWorkflow::LoadFromFile() { StartDialog(FileAction::Load); }

void ProfileWorkflow::SaveToFile() { StartDialog(FileAction::Save); }

void ProfileWorkflow::StartDialog(FileAction action)
{
    const auto mode = action == FileAction::Load ? platform::FileDialogMode::Open : platform::FileDialogMode::Save;
    dialogs_.Start(ProfileFileRequest(mode, settings_.Folder().Path(kProfileFolder)), static_cast<int>(action));
}

void ProfileWorkflow::OnFileDialogAnswer(platform::FileDialog::RequestId id)
{
    const std::optional<FileDialogRequests::Chosen> chosen = dialogs_.Take(id);
    if (!chosen)
        return;
    if (static_cast<FileAction>(chosen->action) == FileAction::Load)
        LoadFrom(chosen->path);
    else
        SaveTo(chosen->path);
}

void ProfileWorkflow::LoadFrom(const std::string& path)
{
    // A loaded profile is shown again, its name labels with it; a file that
    // cannot be loaded changes nothing, the labels included.
    Report(settings_.Commands().ImportProfile(host_.ShownProfile(), path));
}

void ProfileWorkflow::SaveTo(const std::string& path)
{
    // The labels name the file only once it holds the profile.
    const std::string saved = settings::WithProfileExtension(path);
    const CommandResult result = settings_.Commands().ExportProfile(host_.ShownProfile(), saved);
    if (result.ok)
        area_.SetNameLabels(ProfileArea::DisplayName(settings::ToUtf16(saved)));
    Report(result);
}

}  // namespace NeritApp
