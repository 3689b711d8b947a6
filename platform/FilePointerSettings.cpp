#include "platform/FilePointerSettings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>
#include <utility>

#include <stdlib.h>
#include <unistd.h>

namespace platform {
namespace {

// Our file is a few dozen bytes; anything much larger is not ours.
constexpr size_t kMaxFileBytes = 4096;
constexpr unsigned kMinSpeed = 1;
constexpr unsigned kMaxSpeed = 20;

struct Values {
    unsigned wheelScrollLines = FilePointerSettings::kDefaultWheelScrollLines;
    unsigned doubleClickTime = FilePointerSettings::kDefaultDoubleClickTime;
    unsigned mouseSpeed = FilePointerSettings::kDefaultMouseSpeed;
};

struct Field {
    std::string_view key;
    unsigned Values::*member;
    unsigned min;
    unsigned max;
};

constexpr unsigned kAny = std::numeric_limits<unsigned>::max();

// The file's keys, in the order they are written.
constexpr Field kFields[] = {
    {"wheel_scroll_lines", &Values::wheelScrollLines, 0, kAny},
    {"double_click_time", &Values::doubleClickTime, 0, kAny},
    {"mouse_speed", &Values::mouseSpeed, kMinSpeed, kMaxSpeed},
};

std::string_view Trim(std::string_view text)
{
    constexpr std::string_view kBlank = " \t\r";
    const size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

void ParseLine(std::string_view line, Values& values)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view text = Trim(line.substr(equals + 1));
    for (const Field& field : kFields) {
        if (key != field.key)
            continue;
        unsigned number = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, number);
        if (error == std::errc{} && stop == end && number >= field.min && number <= field.max)
            values.*field.member = number;
        return;
    }
}

Values Parse(std::string_view text)
{
    Values values;
    while (!text.empty()) {
        const size_t newline = std::min(text.find('\n'), text.size());
        ParseLine(text.substr(0, newline), values);
        text.remove_prefix(std::min(newline + 1, text.size()));
    }
    return values;
}

std::string Format(const Values& values)
{
    std::string text;
    for (const Field& field : kFields)
        text += std::string(field.key) + '=' + std::to_string(values.*field.member) + '\n';
    return text;
}

Values Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string bytes(kMaxFileBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto count = static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0));
    if (count > kMaxFileBytes)
        return {};
    bytes.resize(count);
    return Parse(bytes);
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A temporary file in the same folder is written, flushed and renamed over
// the target, so readers see either the old file or the new one.
bool ReplaceFile(const std::string& path, std::string_view text)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!parent.empty())
        std::filesystem::create_directories(parent, ignored);
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

template <typename Change>
void Update(const std::string& path, Change change)
{
    Values values = Load(path);
    change(values);
    ReplaceFile(path, Format(values));
}

}  // namespace

FilePointerSettings::FilePointerSettings(std::string path) : path_(std::move(path)) {}

void FilePointerSettings::SetDoubleClickTime(unsigned milliseconds)
{
    Update(path_, [=](Values& values) { values.doubleClickTime = milliseconds; });
}

void FilePointerSettings::SetWheelScrollLines(unsigned lines)
{
    Update(path_, [=](Values& values) { values.wheelScrollLines = lines; });
}

void FilePointerSettings::SetMouseSpeed(unsigned speed)
{
    Update(path_, [=](Values& values) { values.mouseSpeed = std::clamp(speed, kMinSpeed, kMaxSpeed); });
}

unsigned FilePointerSettings::DoubleClickTime() { return Load(path_).doubleClickTime; }

unsigned FilePointerSettings::WheelScrollLines() { return Load(path_).wheelScrollLines; }

unsigned FilePointerSettings::MouseSpeed() { return Load(path_).mouseSpeed; }

}  // namespace platform
