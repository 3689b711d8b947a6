// What the profile buttons of the main control and performance pages do:
// apply all profiles, discard changes, save or reset the shown profile,
// reset everything, and load or save the shown profile through a file
// dialog. The device work runs under the window's busy state; every failure
// is told in a "Notice by App" box naming what failed.
#pragma once

#include "app/FileDialogRequests.h"
#include "app/ProfileArea.h"
#include "app/ProgramSettings.h"
#include "platform/file_dialog.h"

#include <functional>
#include <string>

namespace NeritApp {

class ProfileWorkflow {
public:
    // What the workflow needs of the main window.
    class Host : public NoticeHost {
    public:
        virtual int ShownProfile() const = 0;
        virtual void RefreshFromProfile(int index) = 0;
        virtual void RunDeviceWork(const std::function<void()>& work) = 0;
    };

    ProfileWorkflow(Host& host, ProgramSettings& settings, ProfileArea& area);

    // The file dialogs answer by posting `message` to `window`; without a
    // dialog service loading and saving files does nothing.
    void UseFileDialog(platform::FileDialog* dialog, platform::WindowId window, unsigned message);

    // False, after telling the user, when no profile is in use: nothing may
    // be applied then.
    bool CanApply();
    void Apply();
    void Discard();
    void SaveShown();
    void ResetShown();
    // Everything back to the defaults on the mouse and in the files;
    // profile 1 is shown afterwards.
    void ResetAll();
    void LoadFromFile();
    void SaveToFile();
    // A file dialog's answer arrived (the posted message's wParam).
    void OnFileDialogAnswer(platform::FileDialog::RequestId id);
    // Whether a file dialog is open: the window ignores clicks meanwhile.
    bool DialogOpen() const { return dialogs_.Open(); }

private:
    enum class FileAction { Load, Save };

    void StartDialog(FileAction action);
    void LoadFrom(const std::string& path);
    void SaveTo(const std::string& path);
    settings::CommandResult RunCommand(const std::function<settings::CommandResult()>& command);
    // withMouse: the command worked with the mouse, and a failure tells
    // what the connection knows beyond the command's own message.
    void Report(const settings::CommandResult& result, bool withMouse = false);

    Host& host_;
    ProgramSettings& settings_;
    ProfileArea& area_;
    FileDialogRequests dialogs_;
};

}  // namespace NeritApp
