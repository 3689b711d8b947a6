#include "SkinManifest.h"

#include <algorithm>

namespace skingen {
namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

template <class Each>
void ForEachLine(std::string_view text, Each each)
{
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        ++number;
        if (!each(text.substr(0, end), number))
            return;
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

int LanguageIndex(std::string_view code)
{
    for (int i = 0; i < kLanguageCount; ++i)
        if (kLanguageCodes[i] == code)
            return i;
    return -1;
}

bool ValidName(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    });
}

bool ValidFileName(std::string_view name)
{
    return !name.empty() && name.find('/') == std::string_view::npos && name != "." && name != "..";
}

std::string Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::optional<std::vector<std::string>> SplitTokens(std::string_view line)
{
    std::vector<std::string> tokens;
    std::string current;
    bool inToken = false;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inToken = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (inToken)
                tokens.push_back(std::move(current));
            current.clear();
            inToken = false;
        } else {
            current += c;
            inToken = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inToken)
        tokens.push_back(std::move(current));
    return tokens;
}

bool SkinManifest::Fail(int line, std::string message)
{
    error_ = {line, std::move(message)};
    return false;
}

bool SkinManifest::ParseImages(std::string_view text, const std::string& file)
{
    bool ok = true;
    ForEachLine(text, [&](std::string_view line, int number) {
        ok = ParseImageLine(line, number, file);
        return ok;
    });
    return ok;
}

bool SkinManifest::ApplyAssignment(std::string_view token,
                                   std::array<std::map<std::string, std::string>, kLanguageCount>& into, int number)
{
    const size_t equals = token.find('=');
    if (equals == std::string_view::npos)
        return Fail(number, "expected NAME=VALUE, found \"" + std::string(token) + "\"");
    std::string_view name = token.substr(0, equals);
    const std::string value(token.substr(equals + 1));
    int language = -1;
    if (const size_t dot = name.find('.'); dot != std::string_view::npos) {
        language = LanguageIndex(name.substr(dot + 1));
        if (language < 0)
            return Fail(number, "unknown language \"" + std::string(name.substr(dot + 1)) + "\"");
        name = name.substr(0, dot);
    }
    if (!ValidName(name))
        return Fail(number, "bad parameter name \"" + std::string(name) + "\"");
    for (int i = 0; i < kLanguageCount; ++i) {
        if (language == i)
            into[i][std::string(name)] = value;
        else if (language < 0)
            into[i].try_emplace(std::string(name), value);
    }
    return true;
}

bool SkinManifest::ParseImageLine(std::string_view line, int number, const std::string& file)
{
    line = Trim(line);
    if (line.empty() || line.front() == '#')
        return true;
    const auto tokens = SplitTokens(line);
    if (!tokens)
        return Fail(number, "unterminated quote");
    if ((*tokens)[0] == "set") {
        if (tokens->size() != 2)
            return Fail(number, "expected set NAME=VALUE");
        // A later global replaces an earlier one for every language it names.
        std::array<std::map<std::string, std::string>, kLanguageCount> one;
        if (!ApplyAssignment((*tokens)[1], one, number))
            return false;
        for (int i = 0; i < kLanguageCount; ++i)
            for (auto& [name, value] : one[i])
                globals_[i][name] = value;
        return true;
    }
    if (tokens->size() < 2)
        return Fail(number, "expected OUTPUT TEMPLATE [NAME=VALUE ...]");
    ImageEntry image{(*tokens)[0], (*tokens)[1], file, {}, number};
    const std::string_view output = image.output;
    if (!ValidFileName(output) || !(output.ends_with(".png") || output.ends_with(".bmp")))
        return Fail(number, "output must be a file name ending in .png or .bmp");
    if (!ValidFileName(image.templateName))
        return Fail(number, "bad template name \"" + image.templateName + "\"");
    if (std::any_of(images_.begin(), images_.end(), [&](const ImageEntry& e) { return e.output == image.output; }))
        return Fail(number, "\"" + image.output + "\" is described twice");
    // A language-specific value wins over the general one, in any order.
    for (size_t i = 2; i < tokens->size(); ++i)
        if (!ApplyAssignment((*tokens)[i], image.parameters, number))
            return false;
    for (int i = 0; i < kLanguageCount; ++i)
        for (auto& [name, value] : globals_[i])
            image.parameters[i].try_emplace(name, value);
    images_.push_back(std::move(image));
    return true;
}

bool SkinManifest::ParseTexts(std::string_view text)
{
    bool ok = true;
    ForEachLine(text, [&](std::string_view line, int number) { return ok = ParseTextLine(line, number); });
    return ok;
}

bool SkinManifest::ParseTextLine(std::string_view line, int number)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (Trim(line).empty() || line.front() == '#')
        return true;
    std::vector<std::string_view> columns;
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        columns.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    if (columns.size() != 1 + kLanguageCount || !ValidName(columns[0]))
        return Fail(number, "expected KEY<TAB>en<TAB>zhTW<TAB>zhCN<TAB>de");
    std::array<std::string, kLanguageCount> values;
    for (int i = 0; i < kLanguageCount; ++i) {
        const std::string_view value = columns[static_cast<size_t>(i) + 1];
        if (Trim(value).empty())
            return Fail(number, "text \"" + std::string(columns[0]) + "\" has no " + std::string(kLanguageCodes[i]) +
                                    " text");
        values[i] = Unescape(value);
    }
    if (!texts_.emplace(std::string(columns[0]), std::move(values)).second)
        return Fail(number, "text \"" + std::string(columns[0]) + "\" is defined twice");
    return true;
}

std::optional<std::string> SkinManifest::Text(const std::string& key, int language) const
{
    const auto found = texts_.find(key);
    if (found == texts_.end() || language < 0 || language >= kLanguageCount)
        return std::nullopt;
    return found->second[language];
}

std::optional<std::map<std::string, std::string>> SkinManifest::ResolvedParameters(const ImageEntry& image,
                                                                                   int language)
{
    std::map<std::string, std::string> out = image.parameters[language];
    for (auto& [name, value] : out) {
        if (value.empty() || value.front() != '@')
            continue;
        auto text = Text(value.substr(1), language);
        if (!text) {
            Fail(image.line, "unknown text \"" + value.substr(1) + "\" in " + image.output);
            return std::nullopt;
        }
        value = std::move(*text);
    }
    return out;
}

}  // namespace skingen
