#include "app/MacroWorkflow.h"

#include "app/PageMenu.h"
#include "app/ProgramTexts.h"
#include "app/RecorderTexts.h"
#include "platform/window_system.h"
#include "settings/CodePage.h"
#include "settings/MacroFiles.h"
#include "settings/WorkingMacros.h"
#include "ui/ListUI.h"
#include "ui/OptionUI.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace NeritApp {

using SkinUI::CControlUI;
namespace texts = ::app::recorder_texts;

namespace {

constexpr const char* kMacroFolder = "macro_files";
constexpr const char* kMacroExtension = "vqm";

// The page's buttons that stay dark under the pointer while recording.
constexpr std::array<std::u16string_view, 9> kInertButtons = {
    u"macro_new_btn",        u"macro_rename_btn",      u"macro_import_btn",
    u"macro_export_btn",     u"macro_delete_btn",      u"insert_delay_time_btn",
    u"edit_delay_time_btn",  u"insert_mouse_event_btn", u"delete_mouse_event_btn"};

constexpr std::u16string_view kNameEditPrefix = u"macro_file_name_";

bool HasExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

// Input that would reach the page's controls.
bool IsKeyOrWheel(unsigned message)
{
    switch (message) {
    case platform::WM_KEYDOWN: case platform::WM_KEYUP: case platform::WM_SYSKEYDOWN: case platform::WM_SYSKEYUP:
    case platform::WM_CHAR: case platform::WM_SYSCHAR: case platform::WM_MOUSEWHEEL:
    case platform::WM_RBUTTONDOWN: case platform::WM_RBUTTONDBLCLK: case platform::WM_MBUTTONDOWN:
    case platform::WM_MBUTTONDBLCLK: case platform::WM_CONTEXTMENU:
        return true;
    default:
        return false;
    }
}

}  // namespace

MacroWorkflow::MacroWorkflow(Host& host, SkinUI::CWindowUIManager& manager, settings::SettingsStore& store,
                             NeritMainState& state, const int& language, const settings::DataFolder& folder,
                             platform::FileSystem& files)
    : host_(host),
      manager_(manager),
      store_(store),
      state_(state),
      language_(language),
      files_(files),
      defaultFile_(settings::MacrosFilePath(folder, {})),
      macroFolder_(folder.Path(kMacroFolder)),
      model_(store, state, files, defaultFile_, language),
      page_(manager, model_),
      dialogs_(host, files)
{
    UseRecorderInput(nullptr, platform::SystemClock());
}

MacroWorkflow::~MacroWorkflow()
{
    if (recorder_ != nullptr)
        recorder_->Stop();
}

void MacroWorkflow::UseFileDialog(platform::FileDialog* dialog, platform::WindowId window, unsigned message)
{
    dialogs_.Use(dialog, window, message);
}

void MacroWorkflow::UseRecorderInput(platform::RawInput* desktop, platform::Clock& clock)
{
    if (state_.recording)
        StopRecording();
    recordInput_.reset();
    recorder_.reset();
    windowInput_ = std::make_unique<platform::QueuedRawInput>(clock);
    recorder_ = std::make_unique<app::MacroRecorder>(desktop != nullptr ? *desktop : noDesktop_, *windowInput_);
    recordInput_ = std::make_unique<app::WindowRecordInput>(*recorder_, *windowInput_);
}

// ---- notifications ----

bool MacroWorkflow::Handle(SkinUI::NotifyMessage& message)
{
    static constexpr Route kClickRoutes[] = {
        {u"macro_new_btn", &MacroWorkflow::OnNew},
        {u"macro_rename_btn", &MacroWorkflow::OnRename},
        {u"macro_import_btn", &MacroWorkflow::OnImport},
        {u"macro_export_btn", &MacroWorkflow::OnExport},
        {u"macro_delete_btn", &MacroWorkflow::OnDelete},
        {u"macro_record_btn", &MacroWorkflow::OnRecord},
        {u"macro_record_stop_btn", &MacroWorkflow::OnStop},
        {u"insert_delay_time_btn", &MacroWorkflow::OnInsertDelay},
        {u"edit_delay_time_btn", &MacroWorkflow::OnEditDelay},
        {u"insert_mouse_event_btn", &MacroWorkflow::OnInsertMenu},
        {u"delete_mouse_event_btn", &MacroWorkflow::OnDeleteEvent},
    };
    if (message.sender == nullptr)
        return false;
    const std::u16string_view name = message.sender->GetName();
    if (message.type == u"click") {
        for (const Route& route : kClickRoutes) {
            if (route.name == name) {
                (this->*route.handler)(*message.sender);
                return true;
            }
        }
        return false;
    }
    if (message.type == u"itemclick") {
        page_.OnNameRowClick(message.sender);
        return false;  // the row's list keeps its own handling
    }
    if (message.type == u"edit_return" && name.starts_with(kNameEditPrefix)) {
        const std::u16string_view digits = name.substr(kNameEditPrefix.size());
        const std::string number = settings::ToNarrow(digits);
        int n = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
        if (error == std::errc() && end == number.data() + number.size())
            Report(page_.OnEditReturn(n));
        return true;
    }
    return false;
}

void MacroWorkflow::OnNew(CControlUI& sender)
{
    const MacroEditResult result = page_.OnNew();
    if (result == MacroEditResult::kMacroLimit)
        host_.OpenMacroLimitBox(&sender);
    else
        Report(result);
}

void MacroWorkflow::OnRename(CControlUI&)
{
    page_.OnRenameClick();
}

void MacroWorkflow::OnDelete(CControlUI&)
{
    Report(page_.OnDelete());
}

void MacroWorkflow::OnInsertDelay(CControlUI&)
{
    Report(page_.OnInsertDelay(), DelayEdit::kInsert);
}

void MacroWorkflow::OnEditDelay(CControlUI&)
{
    Report(page_.OnEditDelay(), DelayEdit::kEdit);
}

void MacroWorkflow::OnDeleteEvent(CControlUI&)
{
    Report(page_.OnDeleteEvent());
}

// The five buttons, each with release, press and click.
void MacroWorkflow::OnInsertMenu(CControlUI& sender)
{
    const SkinUI::FontInfo& font = manager_.GetDefaultFont();
    const size_t language = LanguageIndex();
    std::unique_ptr<SkinUI::CMenuUI> menu = PageMenu::New(font);
    for (int button = 0; button < 5; ++button) {
        std::unique_ptr<SkinUI::CMenuUI> actions = PageMenu::New(font);
        const int first = MacroPageModel::kFirstInsertCommand + 3 * button;
        for (int action = 0; action < 3; ++action) {
            const texts::PerLanguage& word = action == 0 ? texts::kReleaseWord
                                             : action == 1 ? texts::kPressWord
                                                           : texts::kClickWord;
            actions->AddItem(settings::ToUtf16(word[language]), static_cast<uint16_t>(first + action));
        }
        const std::u16string name = settings::ToUtf16(texts::kButtonNames[static_cast<size_t>(button)][language]);
        menu->AttachSubMenu(menu->AddItem(name, static_cast<uint16_t>(kFirstInsertMenu + button)), std::move(actions));
    }
    const SkinUI::UIRect rect = sender.GetItemRect();
    PageMenu::Show(std::move(menu), manager_, rect.left, rect.bottom);
}

bool MacroWorkflow::OnCommand(int command)
{
    if (command >= kFirstInsertMenu && command < kFirstInsertMenu + 5)
        return true;
    if (!MacroPageModel::IsInsertCommand(command))
        return false;
    if (state_.recording)
        return true;
    const int before = model_.MouseEventCount(model_.CurrentMacro());
    Report(page_.OnInsertCommand(command));
    WarnWhenLongerThanMouse(before);
    return true;
}

// Said when a macro grows past what the mouse keeps (not again for every
// later event).
void MacroWorkflow::WarnWhenLongerThanMouse(int before)
{
    const int now = model_.MouseEventCount(model_.CurrentMacro());
    if (now > MacroPageModel::kMouseEvents && before <= MacroPageModel::kMouseEvents)
        Tell(kMacroLongerThanMouseText[LanguageIndex()], std::to_string(now));
}

// ---- recording ----

void MacroWorkflow::OnRecord(CControlUI&)
{
    StartRecording();
}

void MacroWorkflow::OnStop(CControlUI&)
{
    StopRecording();
}

// Measured delays unless one of the options says otherwise; nothing when
// the fixed delay is not a correct number (the user is told).
std::optional<app::DelayMode> MacroWorkflow::ChooseDelayMode(int32_t& fixedMs)
{
    const auto selected = [this](std::u16string_view name) {
        auto* option = dynamic_cast<SkinUI::COptionUI*>(manager_.FindControl(name));
        return option != nullptr && option->IsSelected();
    };
    if (selected(u"ignore_delay_option"))
        return app::DelayMode::None;
    if (!selected(u"insert_default_delay_option"))
        return app::DelayMode::Measured;
    const MacroEditResult read = page_.ReadFixedDelay(fixedMs);
    if (read != MacroEditResult::kDone) {
        Report(read, DelayEdit::kRecord);
        return std::nullopt;
    }
    return app::DelayMode::Fixed;
}

void MacroWorkflow::StartRecording()
{
    auto* names = dynamic_cast<SkinUI::CListUI*>(manager_.FindControl(u"macro_name_list"));
    const int k = names != nullptr ? names->GetCurSel() : -1;
    if (state_.recording || names == nullptr || names->GetCount() == 0 || k < 0 || k >= model_.MacroCount())
        return;
    int32_t fixedMs = 0;
    const std::optional<app::DelayMode> mode = ChooseDelayMode(fixedMs);
    if (!mode)
        return;
    model_.SetCurrentMacro(k);
    model_.ClearEvents(k);
    page_.FillEventList(k);
    if (CControlUI* stop = manager_.FindControl(u"macro_record_stop_btn")) {
        const SkinUI::UIRect rect = stop->GetItemRect();
        recorder_->SetStopButton({rect.left, rect.top, rect.right, rect.bottom});
    }
    if (recorder_->Start(*mode, fixedMs, language_) != app::StartResult::Started)
        return;
    recordedRows_ = 0;
    state_.recording = true;
    SetRecordImage(blink_.Start());
    if (platform::WindowSystem* system = SkinUI::CWindowWnd::System()) {
        system->SetTimer(manager_.GetWindow(), app::RecordBlink::kTimerId, app::RecordBlink::kIntervalMs);
        system->SetTimer(manager_.GetWindow(), kPollTimer, kPollIntervalMs);
    }
    if (recorder_->WindowOnly() && !toldWindowOnly_) {
        toldWindowOnly_ = true;
        Tell(kWindowOnlyRecordingText[LanguageIndex()]);
    }
}

void MacroWorkflow::StopRecording()
{
    if (!state_.recording)
        return;
    // What arrived before the stop is kept.
    TakeRecorded(recorder_->Poll());
    if (!state_.recording)
        return;
    recorder_->Stop();
    FinishRecording();
    WarnWhenLongerThanMouse(0);
}

// The rows the recorder added since the last look become events and rows.
void MacroWorkflow::TakeRecorded(app::PollResult result)
{
    const std::vector<app::RecordedRow>& rows = recorder_->Rows();
    const int firstEvent = store_.WorkingMacro(static_cast<size_t>(model_.CurrentMacro())).EventCount();
    for (; recordedRows_ < rows.size(); ++recordedRows_)
        model_.AddEvent(rows[recordedRows_].kind, rows[recordedRows_].eventText, -1);
    page_.AppendRows(firstEvent);
    if (result == app::PollResult::LimitReached) {
        FinishRecording();
        Tell(kMacroFullRecordingText[LanguageIndex()]);
        WarnWhenLongerThanMouse(0);
    }
}

void MacroWorkflow::FinishRecording()
{
    state_.recording = false;
    if (platform::WindowSystem* system = SkinUI::CWindowWnd::System())
        system->KillTimer(manager_.GetWindow(), kPollTimer);
    SetRecordImage(blink_.RequestStop());
    model_.Commit();
    if (!model_.WriteDefaultFile())
        Tell(kMacroWriteFailedText[LanguageIndex()], defaultFile_);
}

void MacroWorkflow::SetRecordImage(const char* image)
{
    if (CControlUI* button = manager_.FindControl(u"macro_record_btn"))
        button->SetAttribute(u"normalimage", settings::ToUtf16(image));
}

bool MacroWorkflow::OnTimer(uintptr_t id)
{
    if (id == kPollTimer) {
        if (state_.recording)
            TakeRecorded(recorder_->Poll());
        return true;
    }
    if (id != app::RecordBlink::kTimerId)
        return false;
    const app::RecordBlink::Tick tick = blink_.OnTimer();
    SetRecordImage(tick.image);
    if (tick.stopTimer) {
        if (platform::WindowSystem* system = SkinUI::CWindowWnd::System())
            system->KillTimer(manager_.GetWindow(), app::RecordBlink::kTimerId);
    }
    return true;
}

void MacroWorkflow::OnWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (state_.recording)
        TakeRecorded(recordInput_->OnMessage(message, wParam, lParam));
}

bool MacroWorkflow::Inside(std::u16string_view control, intptr_t lParam) const
{
    const CControlUI* found = manager_.FindControl(control);
    if (found == nullptr || !found->IsVisible())
        return false;
    const SkinUI::UIRect rect = found->GetItemRect();
    const int x = platform::LowSigned(lParam), y = platform::HighSigned(lParam);
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool MacroWorkflow::SwallowWhileRecording(unsigned message, intptr_t lParam) const
{
    if (!state_.recording)
        return false;
    if (message == platform::WM_LBUTTONDOWN || message == platform::WM_LBUTTONDBLCLK)
        return !Inside(u"macro_record_stop_btn", lParam);
    if (message == platform::WM_MOUSEMOVE)
        return std::any_of(kInertButtons.begin(), kInertButtons.end(),
                           [&](std::u16string_view name) { return Inside(name, lParam); });
    return IsKeyOrWheel(message);
}

void MacroWorkflow::ShowMacros()
{
    StopRecording();
    page_.FillNameList();
}

// ---- files ----

platform::FileDialogRequest MacroWorkflow::MacroFileRequest(platform::FileDialogMode mode) const
{
    platform::FileDialogRequest request;
    request.mode = mode;
    request.filters = {{kMacroFilter, {"*.vqm"}}};
    if (mode == platform::FileDialogMode::Open)
        request.filters.push_back({"All files(*.*)", {"*"}});
    request.folder = macroFolder_;
    if (mode == platform::FileDialogMode::Save)
        request.fileName = "Macros.vqm";
    request.defaultExtension = kMacroExtension;
    return request;
}

void MacroWorkflow::OnImport(CControlUI&)
{
    dialogs_.Start(MacroFileRequest(platform::FileDialogMode::Open), static_cast<int>(FileAction::Import));
}

void MacroWorkflow::OnExport(CControlUI&)
{
    dialogs_.Start(MacroFileRequest(platform::FileDialogMode::Save), static_cast<int>(FileAction::Export));
}

bool MacroWorkflow::OnFileDialogAnswer(platform::FileDialog::RequestId id)
{
    const std::optional<FileDialogRequests::Chosen> chosen = dialogs_.Take(id);
    if (!chosen)
        return false;
    if (static_cast<FileAction>(chosen->action) == FileAction::Import)
        ImportFrom(chosen->path);
    else
        ExportTo(chosen->path);
    return true;
}

// A file that cannot be read changes nothing; a profile keeps its first ten
// macros of a longer list, and the user is told.
void MacroWorkflow::ImportFrom(const std::string& path)
{
    if (settings::LoadMacrosFile(store_, files_, path) != settings::kMacroFileLoaded) {
        Tell(kMacroImportFailedText[LanguageIndex()], path);
        return;
    }
    const int dropped = settings::KeepProfileMacros(store_);
    page_.FillNameList();
    if (path != defaultFile_ && !model_.WriteDefaultFile())
        Tell(kMacroWriteFailedText[LanguageIndex()], defaultFile_);
    model_.Commit();
    if (dropped > 0)
        Tell(kMacroImportKeptText[LanguageIndex()], std::to_string(MacroPageModel::kMaxMacros + dropped));
}

void MacroWorkflow::ExportTo(const std::string& path)
{
    const std::string target = HasExtension(path) ? path : path + "." + kMacroExtension;
    if (!settings::SaveMacrosFile(store_, files_, target))
        Tell(kMacroWriteFailedText[LanguageIndex()], target);
}

// ---- notices ----

void MacroWorkflow::Report(MacroEditResult result, DelayEdit edit)
{
    if (result == MacroEditResult::kWriteFailed) {
        Tell(kMacroWriteFailedText[LanguageIndex()], defaultFile_);
        return;
    }
    const std::u16string_view text = MacroPage::Notice(result, edit);
    if (!text.empty())
        host_.ShowNotice(settings::ToNarrow(text), platform::MB_OK);
}

// `text` with its %s or %d replaced by the argument.
void MacroWorkflow::Tell(std::string_view text, const std::string& argument)
{
    std::string notice(text);
    const size_t mark = notice.find('%');
    if (mark != std::string::npos && mark + 1 < notice.size())
        notice.replace(mark, 2, argument);
    host_.ShowNotice(notice, platform::MB_OK | platform::MB_ICONWARNING);
}

size_t MacroWorkflow::LanguageIndex() const
{
    return static_cast<size_t>(std::clamp(language_, 0, 3));
}

}  // namespace NeritApp
