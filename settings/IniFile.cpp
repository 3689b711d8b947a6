#include "settings/IniFile.h"

#include <utility>

namespace settings {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// The text up to the first line break.
std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

// The name of a "[Name]" line; a header ends at its last ']'.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    const size_t close = line.rfind(']');
    if (line.empty() || line.front() != '[' || close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// The name and value of a "key=value" line; comments and other lines give none.
std::optional<std::pair<std::string_view, std::string_view>> KeyAndValue(std::string_view line)
{
    line = Trim(line);
    const size_t equals = line.find('=');
    if (line.empty() || line.front() == ';' || equals == std::string_view::npos || SectionName(line))
        return std::nullopt;
    return std::pair{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Digits past the range of an int wrap around as in a 32-bit register.
int LeadingInt(std::string_view text)
{
    size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        pos = 1;
    uint32_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = value * 10u + static_cast<uint32_t>(text[pos] - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

}  // namespace

bool IniFile::Load(platform::FileSystem& files, const std::string& path)
{
    lines_.clear();
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, kMaxFileSize + 1, bytes) != platform::ReadResult::Ok) {
        loadError_ = files.LastError();
        return false;
    }
    loadError_ = bytes.size() > kMaxFileSize ? platform::FileError::TooLong : platform::FileError::None;
    if (loadError_ != platform::FileError::None)
        return false;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        text.remove_prefix(kUtf8Bom.size());
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.emplace_back(line);
        start = end + 1;
    }
    return true;
}

bool IniFile::Save(platform::FileSystem& files, const std::string& path) const
{
    const std::string text = Text();
    return files.WriteFileAtomic(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string IniFile::Text() const
{
    std::string text;
    for (const std::string& line : lines_)
        text.append(line).push_back('\n');
    return text;
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    const std::optional<size_t> at = FindKey(section, key);
    if (!at)
        return std::string(fallback);
    return std::string(Unquoted(KeyAndValue(lines_[*at])->second));
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::string value = GetString(section, key);
    return value.empty() ? fallback : LeadingInt(value);
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    section = Trim(FirstLine(section));
    key = Trim(FirstLine(key));
    const std::string text = "=" + std::string(FirstLine(value));
    if (const std::optional<size_t> at = FindKey(section, key)) {
        // The key keeps the spelling it had in the file.
        lines_[*at] = std::string(KeyAndValue(lines_[*at])->first) + text;
        return;
    }
    if (const std::optional<size_t> header = FindSection(section))
        AddKey(*header, std::string(key) + text);
    else
        AddSection(section, std::string(key) + text);
}

std::optional<size_t> IniFile::FindSection(std::string_view section) const
{
    section = Trim(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::optional<std::string_view> name = SectionName(lines_[i]);
        if (name && EqualNoCase(*name, section))
            return i;
    }
    return std::nullopt;
}

size_t IniFile::SectionEnd(size_t header) const
{
    size_t end = header + 1;
    while (end < lines_.size() && !SectionName(lines_[end]))
        ++end;
    return end;
}

std::optional<size_t> IniFile::FindKey(std::string_view section, std::string_view key) const
{
    const std::optional<size_t> header = FindSection(section);
    if (!header)
        return std::nullopt;
    key = Trim(key);
    for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i) {
        const auto entry = KeyAndValue(lines_[i]);
        if (entry && EqualNoCase(entry->first, key))
            return i;
    }
    return std::nullopt;
}

// After the section's last non-blank line, so that a blank line before the
// next section stays where it is.
void IniFile::AddKey(size_t header, const std::string& line)
{
    size_t end = SectionEnd(header);
    while (end > header + 1 && Trim(lines_[end - 1]).empty())
        --end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), line);
}

void IniFile::AddSection(std::string_view section, const std::string& line)
{
    if (!lines_.empty() && !Trim(lines_.back()).empty())
        lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(line);
}

}  // namespace settings
