#include "cli/MacroEventText.h"

#include "settings/KeyNameTable.h"
#include "settings/MacroEdits.h"
#include "settings/MacroEvent.h"
#include "settings/MacroText.h"

#include <array>
#include <cctype>

namespace cli {
namespace {

using settings::MouseAction;

struct ButtonWord {
    const char* word;
    MouseAction action;
};

constexpr std::array<ButtonWord, 7> kButtonWords = {{
    {"Left", MouseAction::Left},
    {"Right", MouseAction::Right},
    {"Middle", MouseAction::Middle},
    {"Forward", MouseAction::BrowserForward},
    {"Back", MouseAction::BrowserBackward},
    {"WheelUp", MouseAction::WheelUp},
    {"WheelDown", MouseAction::WheelDown},
}};

std::string_view Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

const settings::KeyName* FindKey(std::string_view word)
{
    for (const settings::KeyName& key : settings::KeyNames()) {
        if (SameIgnoringCase(Trimmed(key.name), word))
            return &key;
    }
    return nullptr;
}

const ButtonWord* FindButton(std::string_view word)
{
    for (const ButtonWord& button : kButtonWords) {
        if (SameIgnoringCase(button.word, word))
            return &button;
    }
    return nullptr;
}

const ButtonWord* FindButtonByStoredName(std::string_view name)
{
    for (const ButtonWord& button : kButtonWords) {
        if (SameIgnoringCase(Trimmed(settings::ProgramMouseName(button.action)), Trimmed(name)) ||
            SameIgnoringCase(Trimmed(settings::DeviceMouseName(button.action)), Trimmed(name)))
            return &button;
    }
    return nullptr;
}

bool ValidWaitMs(std::optional<uint32_t> ms)
{
    return ms && *ms >= 1 && *ms <= static_cast<uint32_t>(settings::MacroEdits::kMaxDelayMs);
}

// Seconds with at most three decimals: whole milliseconds 1 .. 2^31-1.
std::optional<uint32_t> ReadWait(std::string_view text)
{
    const size_t dot = text.find('.');
    if (text.empty() || text != Trimmed(text) || (dot != std::string_view::npos && text.size() - dot - 1 > 3))
        return std::nullopt;
    const std::optional<uint32_t> ms = settings::ParseDelayText(text);
    return ValidWaitMs(ms) ? ms : std::nullopt;
}

StoredEvent Mouse(MouseAction action, const char* direction)
{
    return {settings::kKindMouse, settings::ProgramMouseName(action), direction};
}

std::optional<std::vector<StoredEvent>> ParseButton(std::string_view verb, std::string_view arg, std::string& error)
{
    const ButtonWord* button = FindButton(arg);
    if (button == nullptr) {
        error = "unknown button \"" + std::string(arg) + "\" (Left, Right, Middle, Forward, Back)";
        return std::nullopt;
    }
    if (verb == "press")
        return std::vector<StoredEvent>{Mouse(button->action, settings::kDirectionDown)};
    if (verb == "release")
        return std::vector<StoredEvent>{Mouse(button->action, settings::kDirectionUp)};
    return std::vector<StoredEvent>{Mouse(button->action, settings::kDirectionDown),
                                    Mouse(button->action, settings::kDirectionUp)};
}

}  // namespace

std::optional<std::vector<StoredEvent>> MacroEventText::Parse(std::string_view word, std::string& error)
{
    const size_t colon = word.find(':');
    const std::string_view verb = word.substr(0, colon);
    const std::string_view arg = colon == std::string_view::npos ? std::string_view() : word.substr(colon + 1);
    if (colon == std::string_view::npos || arg.empty()) {
        error = "an event is down:KEY, up:KEY, click:BUTTON, press:BUTTON, release:BUTTON, wheel:up|down or "
                "wait:SECONDS";
    } else if (verb == "down" || verb == "up") {
        if (const settings::KeyName* key = FindKey(arg))
            return std::vector<StoredEvent>{{settings::kKindKey, key->name,
                                             verb == "down" ? settings::kDirectionDown : settings::kDirectionUp}};
        error = "unknown key \"" + std::string(arg) + "\"";
    } else if (verb == "click" || verb == "press" || verb == "release") {
        if (auto events = ParseButton(verb, arg, error))
            return events;
    } else if (verb == "wheel" && (arg == "up" || arg == "down")) {
        const MouseAction action = arg == "up" ? MouseAction::WheelUp : MouseAction::WheelDown;
        return std::vector<StoredEvent>{Mouse(action, settings::kDirectionDown), Mouse(action, settings::kDirectionUp)};
    } else if (verb == "wheel") {
        error = "wheel:up or wheel:down";
    } else if (verb == "wait") {
        if (const std::optional<uint32_t> ms = ReadWait(arg))
            return std::vector<StoredEvent>{{settings::kKindDelay, settings::DelayText(*ms), ""}};
        error = "a wait is 0.001 to 2147483.647 seconds in whole milliseconds";
    } else {
        error = "unknown event kind \"" + std::string(verb) + "\"";
    }
    error = "bad event \"" + std::string(word) + "\": " + error;
    return std::nullopt;
}

std::string MacroEventText::Word(const StoredEvent& event)
{
    const bool down = event.direction == settings::kDirectionDown;
    const bool up = event.direction == settings::kDirectionUp;
    if (event.kind == settings::kKindKey && (down || up))
        return std::string(down ? "down:" : "up:") + std::string(Trimmed(event.name));
    if (event.kind == settings::kKindMouse && (down || up)) {
        if (const ButtonWord* button = FindButtonByStoredName(event.name))
            return std::string(down ? "press:" : "release:") + button->word;
    }
    if (event.kind == settings::kKindDelay)
        return "wait:" + event.name;
    return "[" + event.kind + "/" + event.name + "/" + event.direction + "]";
}

bool MacroEventText::Known(const StoredEvent& event)
{
    const bool press = event.direction == settings::kDirectionDown || event.direction == settings::kDirectionUp;
    if (event.kind == settings::kKindKey)
        return press && FindKey(Trimmed(event.name)) != nullptr;
    if (event.kind == settings::kKindMouse)
        return press && FindButtonByStoredName(event.name) != nullptr;
    if (event.kind == settings::kKindDelay)
        return ValidWaitMs(settings::ParseDelayText(event.name));
    return false;
}

}  // namespace cli
