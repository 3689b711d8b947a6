#include "cli/ProfileDump.h"

#include "cli/Vocabulary.h"
#include "device/ProfileTransfer.h"
#include "settings/KeyNameTable.h"
#include "settings/RecordConversion.h"

#include <cstdio>

namespace cli {
namespace {

using namespace device;

// Names of the button entries in their read form.
struct ButtonName {
    uint8_t category;
    int value;  // -1: any
    const char* name;
};
constexpr ButtonName kButtonNames[] = {
    {category::MouseButton, 1, "Left Click"},
    {category::MouseButton, 2, "Right Click"},
    {category::MouseButton, 4, "Scroll Wheel Click"},
    {category::MouseButton, 8, "Browser Forward"},
    {category::MouseButton, 16, "Browser Backward"},
    {category::Wheel, 1, "Scroll Up"},
    {category::Wheel, 255, "Scroll Down"},
    {category::ProfileSelect, -1, "Profile Select"},
    {category::DpiLevelSwitch, -1, "DPI Level Switch"},
    {category::DpiUp, -1, "DPI Up"},
    {category::DpiDown, -1, "DPI Down"},
    {category::SniperSwitch, -1, "Sniper Switch"},
    {category::TripleClick, -1, "Triple Click"},
    {category::DoubleClick, -1, "Double Click"},
    {category::Disabled, -1, "Disable"},
};

// A stage byte as its DPI when it is one of the laser codes.
std::string StageCodeText(uint8_t code)
{
    const int32_t index = settings::LaserIndex(code);
    return settings::LaserCode(index) == code ? StageText(index) : "code " + std::to_string(code);
}

std::string Printf(const char* format, int a, int b)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

std::string DescribeButton(const ButtonEntry& entry)
{
    if (entry.category == category::Key) {
        const settings::KeyName* key = settings::FindKeyByUsage(entry.value);
        return "Single Key " + KeyText(entry.extra, key != nullptr ? key->name : nullptr, entry.value);
    }
    if (entry.category == category::Macro)
        return MacroText(entry.extra, entry.value);
    for (const ButtonName& name : kButtonNames) {
        if (name.category == entry.category && (name.value < 0 || name.value == entry.value))
            return name.name;
    }
    return Printf("Unknown (%d, %d)", entry.category, entry.value);
}

std::string DumpProfile(int number, const DeviceProfileRecord& record)
{
    DeviceProfileRecord copy = record;
    const RecordView view(copy.data(), kProgramLayout);
    const RecordLayout& at = kProgramLayout;
    std::string out = ProfileHeading(number, "", view.U8(at.inUse) != 0);
    out += TimersLine(kRateHzForCode[RateCode(view.U8(at.reportRate))], view.U8(at.powerSave), view.U8(at.ambientLight));
    out += "  DPI stages";
    for (size_t offset : at.stageCodes)
        out += " " + StageCodeText(view.U8(offset));
    out += "\n";
    for (int j = 0; j < kButtonCount; ++j) {
        const ButtonEntry entry = view.Button(j);
        std::string text = DescribeButton(entry);
        if (entry.category == category::Macro)
            text += ", " + std::to_string(view.MacroEventCount(j)) + " events";
        out += ButtonLine(j + 1, text);
    }
    return out;
}

}  // namespace cli
