// The event words of neritctl macro: text to stored events and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct StoredEvent {
    std::string kind;
    std::string name;
    std::string direction;
};

class MacroEventText {
public:
    // The stored events one word stands for (click and wheel give two);
    // nullopt with `error` set when the word is not understood.
    static std::optional<std::vector<StoredEvent>> Parse(std::string_view word, std::string& error);
    // The word for one stored event; events no word stands for are shown as
    // kind/name/direction in brackets.
    static std::string Word(const StoredEvent& event);
    // True for an event a word stands for: a known key or button pressed or
    // released, or a wait of 1 ms .. 2^31-1 ms.
    static bool Known(const StoredEvent& event);
};

}  // namespace cli
