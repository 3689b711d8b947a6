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
    {CommandMessage::LeftClickNeeded,
     {"At least one button is assigned to the left button!", "至少一個按鍵被設置為鼠標左鍵!",
      "至少一个按键被设置为鼠标左键!", nullptr}},
    {CommandMessage::NothingToDiscard,
     {"No settings have been applied yet: there is nothing to go back to.", "尚未套用任何設定：沒有可以返回的設定。",
      "尚未应用任何设置：没有可以返回的设置。",
      "Es wurden noch keine Einstellungen übernommen: Es gibt nichts, wohin zurückgekehrt werden kann."}},
};

// "%s" stands for the profile numbers or the path.
constexpr std::array<const char*, kLanguages> kProfilesNotWritten = {
    "Failed to write profile %s to the mouse !", "無法將配置文件 %s 寫入滑鼠 !", "无法将配置文件 %s 写入鼠标 !",
    "Profil %s konnte nicht auf die Maus geschrieben werden !"};
constexpr std::array<const char*, kLanguages> kFileNotWritten = {
    "Cannot write the file :\r\n  %s", "無法寫入檔案 :\r\n  %s", "无法写入文件 :\r\n  %s",
    "Die Datei kann nicht geschrieben werden :\r\n  %s"};

constexpr std::array<const char*, kLanguages> kChangedOnMouse = {
    "Changed elsewhere (on another computer or by another program), these profiles were loaded from the mouse: %s",
    "以下配置文件已在別處（另一台電腦或其他程式）變更，已從滑鼠載入：%s",
    "以下配置文件已在别处（另一台电脑或其他程序）更改，已从鼠标载入：%s",
    "Anderswo (an einem anderen Computer oder von einem anderen Programm) geändert, wurden diese Profile von der Maus "
    "geladen: %s"};

std::string NumberList(const ProfileSet& profiles)
{
    std::string list;
    for (int number : profiles.Numbers())
        list += " " + std::to_string(number) + " ";
    return list;
}

std::string Filled(const char* text, const std::string& value)
{
    std::string result(text);
    result.replace(result.find("%s"), 2, value);
    return result;
}

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
    return "\r\nFailed to load profile : \r\n\r\n  " + NumberList(profiles) + ". \r\n";
}

std::string FailedToWriteText(ProfileSet profiles, const std::vector<std::string>& files, int language)
{
    const size_t shown = language >= 0 && language < kLanguages ? static_cast<size_t>(language) : 0;
    std::string text;
    if (!profiles.Empty())
        text = Filled(kProfilesNotWritten[shown], NumberList(profiles));
    for (const std::string& file : files)
        text += (text.empty() ? "" : "\r\n\r\n") + Filled(kFileNotWritten[shown], file);
    return text;
}

std::string OneLine(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\r' || c == '\n';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string ChangedOnMouseText(ProfileSet profiles, int language)
{
    if (profiles.Empty())
        return "";
    std::string numbers;
    for (int number : profiles.Numbers())
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(number);
    const bool known = language >= 0 && language < kLanguages;
    return Filled(kChangedOnMouse[known ? language : 0], numbers);
}

}  // namespace settings
