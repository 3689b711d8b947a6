#include "app/DeviceBusy.h"

#include "app/ProgramTexts.h"
#include "platform/Utf16.h"
#include "ui/IContainerUI.h"
#include "ui/LabelUI.h"
#include "ui/WindowUIManager.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace NeritApp {

using namespace platform;

namespace {

enum class Handling { Dispatch, Drop, Defer };

// Messages that keep the window alive while busy, and the user's input,
// which must not start anything then.
constexpr unsigned kDispatched[] = {WM_PAINT, WM_TIMER};
constexpr unsigned kDroppedInput[] = {
    WM_SETCURSOR, WM_CONTEXTMENU, WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR,
    WM_IME_COMPOSITION, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
    WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_MOUSEWHEEL,
    WM_MOUSEHOVER, WM_MOUSELEAVE};

// The label's size, centred on the frame.
constexpr int kLabelWidth = 420;
constexpr int kLabelHeight = 64;

template <size_t N>
bool Among(const unsigned (&list)[N], unsigned message)
{
    return std::find(std::begin(list), std::end(list), message) != std::end(list);
}

Handling HandlingOf(unsigned message)
{
    if (Among(kDispatched, message))
        return Handling::Dispatch;
    return Among(kDroppedInput, message) ? Handling::Drop : Handling::Defer;
}

// Replaces each "%d" of the pattern in turn by the next number.
std::u16string FillNumbers(std::u16string_view pattern, std::initializer_list<int> numbers)
{
    std::u16string text;
    auto next = numbers.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u'd' && next != numbers.end()) {
            text += Utf8ToUtf16(std::to_string(*next++));
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::u16string PosText(int left, int top, int right, int bottom)
{
    std::u16string text;
    for (int value : {left, top, right, bottom}) {
        if (!text.empty())
            text += u',';
        text += Utf8ToUtf16(std::to_string(value));
    }
    return text;
}

}  // namespace

void DeviceBusy::Run(int language, const std::function<void()>& work)
{
    if (active_) {
        work();
        return;
    }
    language_ = language >= 0 && language < static_cast<int>(kDeviceBusyText.size()) ? language : 0;
    Begin();
    work();
    End();
}

void DeviceBusy::Begin()
{
    active_ = true;
    ShowLabel();
    SetText(kDeviceBusyText[language_]);
    if (WindowSystem* system = manager_.GetWindowSystem())
        system->SetCursor(Cursor::Wait);
    Pump();
}

void DeviceBusy::End()
{
    // Input that came during the last stretch of the work is dropped too.
    Pump();
    if (label_ != nullptr && label_->GetParent() != nullptr && label_->GetParent()->GetContainer() != nullptr)
        label_->GetParent()->GetContainer()->Remove(label_);
    label_ = nullptr;
    manager_.NeedUpdate();
    active_ = false;
    WindowSystem* system = manager_.GetWindowSystem();
    if (system == nullptr)
        return;
    system->SetCursor(Cursor::Arrow);
    // What waited goes back in the queue in the order it came.
    for (const Message& message : std::exchange(deferred_, {}))
        system->PostMessage(message.window, message.message, message.wParam, message.lParam);
}

void DeviceBusy::ShowLabel()
{
    SkinUI::CControlUI* root = manager_.GetRoot();
    if (root == nullptr || root->GetContainer() == nullptr)
        return;
    auto label = std::make_unique<SkinUI::CLabelUI>();
    label->SetName(kLabelName);
    const SkinUI::UIRect frame = root->GetItemRect();
    const int left = std::max(0, (frame.right - frame.left - kLabelWidth) / 2);
    const int top = std::max(0, (frame.bottom - frame.top - kLabelHeight) / 2);
    label->SetAttribute(u"float", u"true");
    label->SetAttribute(u"pos", PosText(left, top, left + kLabelWidth, top + kLabelHeight));
    label->SetAttribute(u"mouse", u"false");
    label->SetAttribute(u"align", u"center");
    label->SetAttribute(u"bkcolor", u"#F0202228");
    label->SetAttribute(u"bordercolor", u"#FFFF3C3C");
    label->SetAttribute(u"bordersize", u"1");
    label->SetAttribute(u"textcolor", u"#FFFFFFFF");
    label_ = label.get();
    if (!root->GetContainer()->Add(std::move(label)))
        label_ = nullptr;
    manager_.NeedUpdate();
}

void DeviceBusy::SetText(std::u16string_view text)
{
    if (label_ != nullptr)
        label_->SetText(text);
}

void DeviceBusy::BeforeProfile(Direction direction, int index, int step, int total)
{
    if (!active_)
        return;
    const LanguageTexts& pattern = direction == Direction::Reading ? kReadingProfileText : kWritingProfileText;
    SetText(FillNumbers(pattern[language_], {index + 1, step, total}));
    Pump();
}

void DeviceBusy::Pump()
{
    WindowSystem* system = manager_.GetWindowSystem();
    if (system == nullptr)
        return;
    Message message;
    for (int count = 0; count < kMaxMessagesPerPump && system->PeekMessage(message); ++count) {
        switch (HandlingOf(message.message)) {
        case Handling::Dispatch:
            system->DispatchMessage(message);
            break;
        case Handling::Drop:
            // The pointer moved: it keeps showing that we are busy.
            if (message.message == WM_SETCURSOR)
                system->SetCursor(Cursor::Wait);
            break;
        case Handling::Defer:
            deferred_.push_back(message);
            break;
        }
    }
}

}  // namespace NeritApp
