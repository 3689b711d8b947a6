// The macro page at work in the main window: its buttons, lists and insert
// menu, recording a macro while the record button blinks, and importing and
// exporting macro lists through the desktop's file dialogs. Every notice is
// told through the host; the edits themselves are the page model's.
#pragma once

#include "app/FileDialogRequests.h"
#include "app/MacroPage.h"
#include "app/MacroPageModel.h"
#include "app/MacroRecorder.h"
#include "app/NeritMainState.h"
#include "app/RecordBlink.h"
#include "app/WindowRecordInput.h"
#include "platform/QueuedRawInput.h"
#include "platform/clock.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "settings/DataFolder.h"
#include "settings/SettingsStore.h"
#include "ui/NotifyMessage.h"
#include "ui/WindowUIManager.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace NeritApp {

class MacroWorkflow {
public:
    // The recorder is polled on this timer while it records; the id lies
    // outside the range the controls' own timers take.
    static constexpr unsigned kPollTimer = 257;
    static constexpr unsigned kPollIntervalMs = 10;
    // The insert menu's five button entries.
    static constexpr int kFirstInsertMenu = 2100;
    static constexpr const char* kMacroFilter = "Macro File (*.vqm)";

    class Host : public NoticeHost {
    public:
        // The macro-limit box, placed by `anchor`.
        virtual void OpenMacroLimitBox(SkinUI::CControlUI* anchor) = 0;
    };

    MacroWorkflow(Host& host, SkinUI::CWindowUIManager& manager, settings::SettingsStore& store, NeritMainState& state,
                  const int& language, const settings::DataFolder& folder, platform::FileSystem& files);
    ~MacroWorkflow();

    void UseFileDialog(platform::FileDialog* dialog, platform::WindowId window, unsigned message);
    // desktop: keys and buttons of the whole desktop, null when none can be
    // read; the clock stamps the window's own input used instead.
    void UseRecorderInput(platform::RawInput* desktop, platform::Clock& clock);

    // A notification of the page's controls; false for any other.
    bool Handle(SkinUI::NotifyMessage& message);
    // The insert menu's commands; false for any other.
    bool OnCommand(int command);
    // The blink and poll timers; false for any other.
    bool OnTimer(uintptr_t id);
    // Every window message while recording: pointer position and, without
    // desktop input, the keys and buttons the window gets.
    void OnWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam);
    // While recording the page's other buttons are inert: presses off the
    // stop button, keys and the wheel go nowhere, and the pointer does not
    // light the page's buttons.
    bool SwallowWhileRecording(unsigned message, intptr_t lParam) const;

    // The shown profile's macros in the lists (after a profile is shown or
    // the language changed). A running recording ends first.
    void ShowMacros();
    // Ends a recording as the stop button does: the events kept, committed
    // and written to the default macro file.
    void StopRecording();
    bool Recording() const { return state_.recording; }

    bool DialogOpen() const { return dialogs_.Open(); }
    // A file dialog's answer; false when it was not one of ours.
    bool OnFileDialogAnswer(platform::FileDialog::RequestId id);

    MacroPage& Page() { return page_; }
    MacroPageModel& Model() { return model_; }

private:
    enum class FileAction { Import = 0, Export = 1 };
    using Handler = void (MacroWorkflow::*)(SkinUI::CControlUI& sender);
    struct Route {
        std::u16string_view name;
        Handler handler;
    };

    // A desktop source for sessions without one.
    class NoDesktopInput final : public platform::RawInput {
    public:
        bool Start() override { return false; }
        void Stop() override {}
        void Poll(std::vector<platform::RawInputEvent>&) override {}
    };

    void OnNew(SkinUI::CControlUI& sender);
    void OnRename(SkinUI::CControlUI&);
    void OnImport(SkinUI::CControlUI&);
    void OnExport(SkinUI::CControlUI&);
    void OnDelete(SkinUI::CControlUI&);
    void OnRecord(SkinUI::CControlUI&);
    void OnStop(SkinUI::CControlUI&);
    void OnInsertDelay(SkinUI::CControlUI&);
    void OnEditDelay(SkinUI::CControlUI&);
    void OnInsertMenu(SkinUI::CControlUI& sender);
    void OnDeleteEvent(SkinUI::CControlUI&);

    void StartRecording();
    std::optional<app::DelayMode> ChooseDelayMode(int32_t& fixedMs);
    void TakeRecorded(app::PollResult result);
    void FinishRecording();
    void SetRecordImage(const char* image);
    bool Inside(std::u16string_view control, intptr_t lParam) const;

    void ImportFrom(const std::string& path);
    void ExportTo(const std::string& path);
    platform::FileDialogRequest MacroFileRequest(platform::FileDialogMode mode) const;

    void Report(MacroEditResult result, DelayEdit edit = DelayEdit::kInsert);
    void WarnWhenLongerThanMouse(int before);
    void Tell(std::string_view text, const std::string& argument = {});
    size_t LanguageIndex() const;

    Host& host_;
    SkinUI::CWindowUIManager& manager_;
    settings::SettingsStore& store_;
    NeritMainState& state_;
    const int& language_;
    platform::FileSystem& files_;
    std::string defaultFile_;
    std::string macroFolder_;
    MacroPageModel model_;
    MacroPage page_;
    FileDialogRequests dialogs_;
    NoDesktopInput noDesktop_;
    std::unique_ptr<platform::QueuedRawInput> windowInput_;
    std::unique_ptr<app::MacroRecorder> recorder_;
    std::unique_ptr<app::WindowRecordInput> recordInput_;
    app::RecordBlink blink_;
    size_t recordedRows_ = 0;
    bool toldWindowOnly_ = false;
};

}  // namespace NeritApp
