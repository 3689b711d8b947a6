#include "settings/CommandMessages.h"

#include <array>

namespace settings {
namespace {

constexpr int kLanguages = 4;

struct MessageTexts {
    CommandMessage message;
    std::array<const char*, kLanguages> text;  // per language; null: the English text
};

constexpr MessageTexts kTexts[] = {
    {CommandMessage::FailedToSaveProfile, {"Failed to save the profile !", nullptr, nullptr, nullptr}},
    {CommandMessage::FailedToResetProfile, {"Failed to reset the default profile !", nullptr, nullptr, nullptr}},
    {CommandMessage::NoActiveProfile,
     {"Please select at least one of the five\n profiles to start customization.",
      "在啟用自定義設定前，\n請至少激活五個配置文件中的其中一個配置文件。",
      "在启用自定义设定前，\n请至少激活五个配置文件中的其中一个配置文件。", nullptr}},
    {CommandMessage::SaveProfileError, {"Save the profile error .", nullptr, nullptr, nullptr}},
    {CommandMessage::LoadProfileError, {"Load the profile error .", nullptr, nullptr, nullptr}},
};

}  // namespace

std::string MessageText(CommandMessage message, int language)
{
    for (const MessageTexts& entry : kTexts) {
        if (entry.message != message)
            continue;
        const bool known = language >= 0 && language < kLanguages && entry.text[language] != nullptr;
        return known ? entry.text[language] : entry.text[0];
    }
    return {};
}

std::string FailedToLoadText(ProfileSet profiles)
{
    std::string list;
    for (int number : profiles.Numbers())
        list += " " + std::to_string(number) + " ";
    return "\r\nFailed to load profile : \r\n\r\n  " + list + ". \r\n";
}

}  // namespace settings
