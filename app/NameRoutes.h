// Tables from control names to handlers. A pattern with '#' stands for the
// names with one of the numbers first..last in its place ("profile#savebtn",
// 1, 5); the handler gets that number (0 for a plain name).
#pragma once

#include <algorithm>
#include <span>
#include <string_view>

namespace NeritApp {

template <typename Handler>
struct NameRoute {
    std::u16string_view pattern;
    Handler handler;
    int first = 0;
    int last = -1;
};

template <typename Handler>
struct RouteMatch {
    const NameRoute<Handler>* route = nullptr;
    int number = 0;
    explicit operator bool() const { return route != nullptr; }
};

namespace NameRouting {

inline char16_t Folded(char16_t c, bool ignoreCase)
{
    return ignoreCase && c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The number that `name` puts in place of the pattern's '#', -1 when it does
// not match; 0 for a pattern without '#' that matches.
inline int Match(std::u16string_view pattern, std::u16string_view name, bool ignoreCase)
{
    const size_t hash = pattern.find(u'#');
    const std::u16string_view head = pattern.substr(0, hash == std::u16string_view::npos ? pattern.size() : hash);
    const std::u16string_view tail = hash == std::u16string_view::npos ? std::u16string_view{} : pattern.substr(hash + 1);
    const size_t digits = hash == std::u16string_view::npos ? 0 : name.size() - std::min(name.size(), head.size() + tail.size());
    if (name.size() != head.size() + digits + tail.size() || (hash != std::u16string_view::npos && digits == 0))
        return -1;
    for (size_t i = 0; i < head.size(); ++i) {
        if (Folded(name[i], ignoreCase) != Folded(head[i], ignoreCase))
            return -1;
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        if (Folded(name[head.size() + digits + i], ignoreCase) != Folded(tail[i], ignoreCase))
            return -1;
    }
    int number = 0;
    for (size_t i = 0; i < digits && i < 2; ++i) {
        const char16_t c = name[head.size() + i];
        if (c < u'0' || c > u'9')
            return -1;
        number = number * 10 + (c - u'0');
    }
    const bool leadingZero = digits > 1 && name[head.size()] == u'0';
    return digits > 2 || leadingZero ? -1 : number;
}

}  // namespace NameRouting

// The first route of `routes` that `name` matches with a number in its range.
template <typename Handler>
RouteMatch<Handler> FindRoute(std::span<const NameRoute<Handler>> routes, std::u16string_view name,
                              bool ignoreCase = false)
{
    for (const NameRoute<Handler>& route : routes) {
        const int number = NameRouting::Match(route.pattern, name, ignoreCase);
        const bool plain = route.pattern.find(u'#') == std::u16string_view::npos;
        if (number >= 0 && (plain || (number >= route.first && number <= route.last)))
            return {&route, number};
    }
    return {};
}

}  // namespace NeritApp
