#include "platform/FilePointerSettings.h"

#include "platform/file_system.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

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

Values Load(FileSystem& files, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (files.ReadFile(path, kMaxFileBytes + 1, bytes) != ReadResult::Ok || bytes.size() > kMaxFileBytes)
        return {};
    return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool ReplaceFile(FileSystem& files, const std::string& path, std::string_view text)
{
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0)
        files.CreateDirectories(path.substr(0, slash));
    return files.WriteFileAtomic(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

template <typename Change>
void Update(FileSystem& files, const std::string& path, Change change)
{
    Values values = Load(files, path);
    change(values);
    ReplaceFile(files, path, Format(values));
}

}  // namespace

FilePointerSettings::FilePointerSettings(std::string path, FileSystem& files) : path_(std::move(path)), files_(files) {}

void FilePointerSettings::SetDoubleClickTime(unsigned milliseconds)
{
    Update(files_, path_, [=](Values& values) { values.doubleClickTime = milliseconds; });
}

void FilePointerSettings::SetWheelScrollLines(unsigned lines)
{
    Update(files_, path_, [=](Values& values) { values.wheelScrollLines = lines; });
}

void FilePointerSettings::SetMouseSpeed(unsigned speed)
{
    Update(files_, path_, [=](Values& values) { values.mouseSpeed = std::clamp(speed, kMinSpeed, kMaxSpeed); });
}

unsigned FilePointerSettings::DoubleClickTime() { return Load(files_, path_).doubleClickTime; }

unsigned FilePointerSettings::WheelScrollLines() { return Load(files_, path_).wheelScrollLines; }

unsigned FilePointerSettings::MouseSpeed() { return Load(files_, path_).mouseSpeed; }

}  // namespace platform
