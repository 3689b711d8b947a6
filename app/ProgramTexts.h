// Texts the main window sets on its controls, per interface language
// (English, Traditional Chinese, Simplified Chinese, German), and the
// function names the assignment buttons show.
#pragma once

#include <array>
#include <string_view>

namespace NeritApp {

using LanguageTexts = std::array<std::u16string_view, 4>;

// The warning a hint label shows when the last left click would be lost.
inline constexpr LanguageTexts kLeftClickWarning = {
    u"{u}At least one button is assigned to the left button!{/u} ",
    u"{u}  至少一個按鍵被設置為鼠標左鍵!  {/u} ",
    u"{u}  至少一个按键被设置为鼠标左键!  {/u} ",
    u"{u}At least one button is assigned to the left button!{/u} ",
};

inline constexpr LanguageTexts kSoftwareVersionCaption = {
    u"Current SoftWare Version : ", u"目前軟體版本 ： ", u"目前软件版本 ： ", u"Aktuelle Software-Version : "};
inline constexpr LanguageTexts kFirmwareVersionCaption = {
    u"Current FirmWare Version : ", u"目前韌體版本 ： ", u"目前固件版本 ： ", u"Aktuelle Firmware-Version : "};
inline constexpr std::u16string_view kSoftwareVersion = u"V1.10";

// Function names by function code (1 .. 17; index 0 unused), as the
// assignment buttons and their menu show them.
// clang-format off
inline constexpr std::array<LanguageTexts, 18> kFunctionNames = {{
    {u"", u"", u"", u""},
    {u"Left Click", u" 左鍵 ", u" 左键 ", u" Linksklick "},
    {u"Right Click", u" 右鍵 ", u" 右键 ", u" Rechtsklick "},
    {u"Scroll Wheel Click", u" 滾輪 ", u" 滚轮 ", u" Mausrad-Taste "},
    {u"Browser Forward ", u" 下一頁 ", u" 下一页 ", u" Browser vor "},
    {u"Browser Backward", u" 上一頁 ", u" 上一页 ", u" Browser zurück "},
    {u"Scroll Up ", u" 向上滾動 ", u" 向上滚动 ", u" Hochscrollen "},
    {u"Scroll Down", u" 向下滾動 ", u" 向下滚动 ", u" Runterscrollen "},
    {u"DPI Up", u" DPI 調升 ", u" DPI 调升 ", u" dpi erhöhen "},
    {u"DPI Down", u" DPI 調降 ", u" DPI 调降 ", u" dpi reduzieren "},
    {u"DPI Level Switch", u" DPI 切換 ", u" DPI 切换 ", u" DPI-Wechsel "},
    {u"Profile Select", u" 玩家配置切換 ", u" 玩家配置切换 ", u" Profilwechsel "},
    {u"Double Click", u" 左鍵雙擊 ", u" 左键双击 ", u" Doppelklick "},
    {u"Triple Click", u" 左鍵三擊", u" 左键三击", u" Dreifachklick "},
    {u"Sniper Switch", u" 狙擊者模式切換 ", u" 狙击者模式切换 ", u" Sniper-Taste "},
    {u"", u"", u"", u""},  // a macro shows its own name
    {u"Single Key", u" 單一按鍵 ", u" 单一按键 ", u" Einzelne Taste "},
    {u"Disable", u" 關閉 ", u" 关闭 ", u" Deaktivieren "},
}};
// clang-format on

// The assignment menu's "Default" entry and its three sub-menu headers.
inline constexpr LanguageTexts kDefaultChoiceText = {u"Default", u" 原廠設定 ", u" 原厂设定 ", u" Werkseinstellung "};
inline constexpr LanguageTexts kMouseFunctionsHeader = {u" Mouse Function      >> ", u"  滑鼠功能             >> ",
                                                        u"  鼠标功能             >> ", u"  Mausfunktion         >> "};
inline constexpr LanguageTexts kGameFunctionsHeader = {u" Game Function       >> ", u"  遊戲功能             >> ",
                                                       u"  游戏功能             >> ", u"  Spielfunktion         >> "};
inline constexpr LanguageTexts kMacrosHeader = {u" Macro                     >> ", u"  巨集指派             >> ",
                                                u"  宏指派                >> ", u"  Makro                    >> "};

// The indication over the main window while it works with the mouse. In
// the profile texts each "%d" is replaced in turn by the profile number, how
// many profiles have begun, and how many there are.
inline constexpr LanguageTexts kDeviceBusyText = {u"Please wait…", u"請稍候…", u"请稍候…", u"Bitte warten …"};
inline constexpr LanguageTexts kReadingProfileText = {u"Reading profile %d (%d of %d)…", u"正在讀取配置文件 %d（%d/%d）…",
                                                      u"正在读取配置文件 %d（%d/%d）…",
                                                      u"Profil %d wird gelesen (%d von %d) …"};
inline constexpr LanguageTexts kWritingProfileText = {u"Writing profile %d (%d of %d)…", u"正在寫入配置文件 %d（%d/%d）…",
                                                      u"正在写入配置文件 %d（%d/%d）…",
                                                      u"Profil %d wird geschrieben (%d von %d) …"};

// The maker's pages the support page links to (deployment data).
inline constexpr LanguageTexts kWebsiteAddress = {u"https://www.vimo.example/en", u"https://www.vimo.example/zh-tw",
                                                   u"https://www.vimo.example/zh-cn", u"https://www.vimo.example/de"};
// German readers get the English social-network page: there is no German one.
inline constexpr LanguageTexts kSocialNetworkAddress = {
    u"https://social.vimo.example/en", u"https://social.vimo.example/zh-tw", u"https://social.vimo.example/zh-cn",
    u"https://social.vimo.example/en"};
// The maker's support page (program and firmware updates).
inline constexpr LanguageTexts kSupportAddress = {u"https://support.vimo.example/en", u"https://support.vimo.example/zh-tw",
                                                  u"https://support.vimo.example/zh-cn",
                                                  u"https://support.vimo.example/de"};
// Asked before a saved profile replaces a file the dialog did not ask
// about; %s is the path.
inline constexpr std::array<std::string_view, 4> kReplaceFileText = {
    "The file already exists:\r\n  %s\r\nDo you want to replace it?",
    "檔案已存在：\r\n  %s\r\n要取代它嗎？",
    "文件已存在：\r\n  %s\r\n要替换它吗？",
    "Die Datei ist bereits vorhanden:\r\n  %s\r\nMöchten Sie sie ersetzen?"};

// Shown when no file dialog could be shown.
inline constexpr std::array<std::string_view, 4> kNoFileDialogText = {
    "The file dialog could not be opened.\r\nThe desktop offers no file chooser (xdg-desktop-portal or zenity).",
    "無法開啟檔案對話框。\r\n桌面沒有提供檔案選擇器（xdg-desktop-portal 或 zenity）。",
    "无法打开文件对话框。\r\n桌面没有提供文件选择器（xdg-desktop-portal 或 zenity）。",
    "Der Dateidialog konnte nicht geöffnet werden.\r\nDer Desktop bietet keine Dateiauswahl (xdg-desktop-portal oder zenity)."};

// The macro page's notices. %s is a path, %d a number of macros.
inline constexpr std::array<std::string_view, 4> kMacroImportFailedText = {
    "The macros could not be imported from\r\n  %s\r\nThe file is missing, empty or not a macro list. Nothing was changed.",
    "無法從以下檔案匯入巨集：\r\n  %s\r\n檔案不存在、是空的或不是巨集清單。沒有任何變更。",
    "无法从以下文件导入宏：\r\n  %s\r\n文件不存在、为空或不是宏列表。没有任何更改。",
    "Die Makros konnten nicht importiert werden aus\r\n  %s\r\nDie Datei fehlt, ist leer oder ist keine Makroliste. Nichts wurde geändert."};
inline constexpr std::array<std::string_view, 4> kMacroImportKeptText = {
    "The file holds %d macros; a profile keeps 10.\r\nThe first 10 were imported.",
    "檔案含有 %d 個巨集；一個配置文件最多保存 10 個。\r\n已匯入前 10 個。",
    "文件含有 %d 个宏；一个配置文件最多保存 10 个。\r\n已导入前 10 个。",
    "Die Datei enthält %d Makros; ein Profil fasst 10.\r\nDie ersten 10 wurden importiert."};
inline constexpr std::array<std::string_view, 4> kMacroWriteFailedText = {
    "The macros could not be written to\r\n  %s",
    "無法將巨集寫入\r\n  %s",
    "无法将宏写入\r\n  %s",
    "Die Makros konnten nicht geschrieben werden nach\r\n  %s"};
inline constexpr std::array<std::string_view, 4> kMacroFullRecordingText = {
    "Recording stopped: a macro holds at most 256 events.",
    "錄製已停止：一個巨集最多容納 256 個事件。",
    "录制已停止：一个宏最多容纳 256 个事件。",
    "Die Aufnahme wurde beendet: Ein Makro fasst höchstens 256 Ereignisse."};
// A macro with more key and button events than the mouse keeps; %d is
// how many it has.
inline constexpr std::array<std::string_view, 4> kMacroLongerThanMouseText = {
    "This macro has %d key and button events.\r\nThe mouse keeps the first 80 of them; the rest is not played.",
    "此巨集有 %d 個按鍵與按鈕事件。\r\n滑鼠只保存前 80 個，其餘不會播放。",
    "此宏有 %d 个按键与按钮事件。\r\n鼠标只保存前 80 个，其余不会播放。",
    "Dieses Makro hat %d Tasten- und Maustastenereignisse.\r\nDie Maus behält die ersten 80; der Rest wird nicht abgespielt."};
// Said once when input of the whole desktop cannot be read (no X server).
inline constexpr std::array<std::string_view, 4> kWindowOnlyRecordingText = {
    "Input to other windows cannot be read on this desktop:\r\nonly keys and clicks given to this window are recorded.",
    "此桌面無法讀取其他視窗的輸入：\r\n只會錄製輸入到本視窗的按鍵與點擊。",
    "此桌面无法读取其他窗口的输入：\r\n只会录制输入到本窗口的按键与点击。",
    "Eingaben in andere Fenster können auf diesem Desktop nicht gelesen werden:\r\nNur Tasten und Klicks in diesem Fenster werden aufgenommen."};

// Said at start-up when changes not applied yet (left by neritctl, or by
// an apply the mouse did not take whole) are shown.
inline constexpr std::array<std::string_view, 4> kPendingChangesText = {
    "Changes that were not applied yet are shown.\r\nApply writes them to the mouse; Discard drops them.",
    "顯示的是尚未套用的變更。\r\n「套用」會將其寫入滑鼠；「捨棄」會將其刪除。",
    "显示的是尚未应用的更改。\r\n“应用”会将其写入鼠标；“放弃”会将其删除。",
    "Angezeigt werden Änderungen, die noch nicht übernommen wurden.\r\nÜbernehmen schreibt sie auf die Maus; Verwerfen verwirft sie."};

// Said when the pending changes' file cannot be used; %s is its path.
inline constexpr std::array<std::string_view, 4> kPendingDamagedText = {
    "The changes not applied yet could not be read and are not shown:\r\n  %s",
    "無法讀取尚未套用的變更，因此不會顯示：\r\n  %s",
    "无法读取尚未应用的更改，因此不会显示：\r\n  %s",
    "Die noch nicht übernommenen Änderungen konnten nicht gelesen werden und werden nicht angezeigt:\r\n  %s"};

// Shown when the desktop has no program to open an address with; %s is the
// address.
inline constexpr std::array<std::string_view, 4> kNoBrowserText = {
    "No program to open web pages was found.\r\nPlease open this address in your browser:\r\n\r\n  %s",
    "找不到開啟網頁的程式。\r\n請在瀏覽器中開啟此網址：\r\n\r\n  %s",
    "找不到打开网页的程序。\r\n请在浏览器中打开此网址：\r\n\r\n  %s",
    "Es wurde kein Programm zum Öffnen von Webseiten gefunden.\r\nBitte öffnen Sie diese Adresse im Browser:\r\n\r\n  %s"};

// Asked on leaving while changes are not applied: the question, the prompt
// and the three answers.
inline constexpr LanguageTexts kExitChangesQuestion = {
    u"Some changes have not been applied to the mouse.", u"部分變更尚未套用到滑鼠。", u"部分更改尚未应用到鼠标。",
    u"Einige Änderungen wurden noch nicht in die Maus übernommen."};
inline constexpr LanguageTexts kExitChangesPrompt = {u"Apply them before leaving?", u"要在結束前套用嗎？",
                                                     u"要在退出前应用吗？", u"Vor dem Beenden übernehmen?"};
inline constexpr LanguageTexts kExitApplyText = {u"Apply", u"套用", u"应用", u"Übernehmen"};
inline constexpr LanguageTexts kExitDiscardText = {u"Discard", u"捨棄", u"放弃", u"Verwerfen"};
inline constexpr LanguageTexts kExitCancelText = {u"Cancel", u"取消", u"取消", u"Abbrechen"};

// Said when config.ini cannot be written; %s is the path, then the reason.
inline constexpr std::array<std::string_view, 4> kConfigNotWrittenText = {
    "The program's settings could not be written to\r\n  %s\r\n(%s).\r\nThe new language is used until the program ends.",
    "無法將程式設定寫入\r\n  %s\r\n（%s）。\r\n語言只在本次執行期間變更。",
    "无法将程序设置写入\r\n  %s\r\n（%s）。\r\n语言只在本次运行期间更改。",
    "Die Programmeinstellungen konnten nicht geschrieben werden nach\r\n  %s\r\n(%s).\r\nDie Sprache gilt nur bis zum Programmende."};
// Shown once when the desktop's device notifications cannot be used.
inline constexpr std::array<std::string_view, 4> kHotPlugUnwatchedText = {
    "Plugging the mouse in or out is not noticed while the program runs:\r\nthe desktop's device notifications cannot be used.\r\nRestart the program after plugging the mouse in again.",
    "程式執行期間無法偵測滑鼠的插拔：\r\n無法使用桌面的裝置通知。\r\n重新插上滑鼠後，請重新啟動程式。",
    "程序运行期间无法检测鼠标的插拔：\r\n无法使用桌面的设备通知。\r\n重新插上鼠标后，请重新启动程序。",
    "Das Ein- und Ausstecken der Maus wird während der Laufzeit nicht bemerkt:\r\ndie Gerätemeldungen des Desktops sind nicht nutzbar.\r\nStarten Sie das Programm neu, nachdem Sie die Maus wieder eingesteckt haben."};
inline constexpr std::string_view kHotPlugUnwatchedLine =
    "plugging the mouse in or out is not noticed: the desktop's device notifications cannot be used";
// Told on the console when the program was asked to end by a signal.
inline constexpr std::string_view kStillTransferringLine =
    "still busy with the mouse: the program ends as soon as the transfer is done";
// %s: the pending-changes file, then the reason.
inline constexpr std::string_view kChangesNotKeptLine = "the changes not applied could not be kept in %s (%s)";

// Why a file could not be read or written, by platform::FileError (None
// first, Other last).
// clang-format off
inline constexpr std::array<std::array<std::string_view, 4>, 11> kFileErrorTexts = {{
    {"", "", "", ""},
    {"missing", "不存在", "不存在", "fehlt"},
    {"a folder", "是資料夾", "是文件夹", "ist ein Ordner"},
    {"a file stands where a folder belongs", "路徑中的資料夾是檔案", "路径中的文件夹是文件",
     "eine Datei steht, wo ein Ordner hingehört"},
    {"not a regular file", "不是一般檔案", "不是普通文件", "keine gewöhnliche Datei"},
    {"no permission", "沒有權限", "没有权限", "keine Berechtigung"},
    {"too large", "檔案太大", "文件太大", "zu groß"},
    {"name too long", "名稱太長", "名称太长", "Name zu lang"},
    {"no space left", "磁碟空間不足", "磁盘空间不足", "kein Platz mehr"},
    {"read-only file system", "唯讀檔案系統", "只读文件系统", "schreibgeschütztes Dateisystem"},
    {"input/output error", "輸入/輸出錯誤", "输入/输出错误", "Ein-/Ausgabefehler"},
}};
// clang-format on

// The key popup's title and prompt.
inline constexpr LanguageTexts kKeyPopupTitle = {u"Single    Key    Setting", u" 單  一  鍵  設  定 ",
                                                 u" 单  一  键  设  定 ", u"Einzelne Taste Einstellungen"};
inline constexpr LanguageTexts kKeyPopupPrompt = {u"Input a single key", u" 輸入一個單一鍵 ", u" 输入一个单一键 ",
                                                  u"Einzelne Taste eingeben "};
// The key popup's modifier labels.
inline constexpr std::array<std::u16string_view, 3> kModifierLabels = {u"Shift", u" Ctrl", u" Alt "};

// The play-option popup's choices, in combo order.
// clang-format off
inline constexpr std::array<LanguageTexts, 4> kPlayOptions = {{
    {u" Play once ", u" 播放一次 ", u" 播放一次 ", u" Einmal abspielen "},
    {u" Play N times:", u" 播放N次:", u" 播放N次:", u" n-mal abspielen "},
    {u" Play while pressed ", u" 續壓恆播 ", u" 续压恒播 ", u" Abspielen, während Taste gedrückt wird "},
    {u" Toggle continuous play on/off ", u" 單壓恆播/單壓取消 ", u" 单压恒播/单压取消 ",
     u" Ununterbrochenes Abspielen einschalten/ausschalten "},
}};
// clang-format on
// The play-option popup's label before the repeat count.
inline constexpr LanguageTexts kRepeatLabels = {u" Define N : ", u" 定義N : ", u" 定义N : ", u" n definieren "};

}  // namespace NeritApp
