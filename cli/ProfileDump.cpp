#include "cli/ProfileDump.h"

#include "device/ProfileTransfer.h"

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

struct ModifierName {
    uint8_t bit;
    const char* name;
};
constexpr ModifierName kModifierNames[] = {{0x01, "Ctrl"}, {0x02, "Shift"}, {0x04, "Alt"}};

std::string Printf(const char* format, int a, int b = 0)
{
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string DescribeKey(const ButtonEntry& entry)
{
    std::string text = Printf("Key 0x%02X", entry.value);
    for (const ModifierName& modifier : kModifierNames) {
        if ((entry.extra & modifier.bit) != 0)
            text += std::string(" + ") + modifier.name;
    }
    return text;
}

std::string DescribeMacro(const ButtonEntry& entry)
{
    std::string mode;
    if (entry.value == kPlayWhileHeld)
        mode = "plays while held";
    else if (entry.value == kPlayToggle)
        mode = "toggles";
    else
        mode = Printf("plays %d times", entry.value);
    return Printf("Macro %d", entry.extra) + " (" + mode + ")";
}

std::string RateText(uint8_t recordByte)
{
    const uint8_t code = RateCode(recordByte);
    return Printf("%d Hz", static_cast<int>(kRateHzForCode[code]));
}

std::string PowerSaveText(uint8_t seconds)
{
    return seconds == 0 ? "off" : Printf("%d s", seconds);
}

}  // namespace

std::string DescribeButton(const ButtonEntry& entry)
{
    if (entry.category == category::Key)
        return DescribeKey(entry);
    if (entry.category == category::Macro)
        return DescribeMacro(entry);
    for (const ButtonName& name : kButtonNames) {
        if (name.category == entry.category && (name.value < 0 || name.value == entry.value))
            return name.name;
    }
    return Printf("Unknown (%d, %d)", entry.category, entry.value);
}

std::string FirmwareText(int version)
{
    return Printf("V%d.%2.2d", version / 100, version % 100);
}

std::string DumpProfile(int number, const DeviceProfileRecord& record)
{
    DeviceProfileRecord copy = record;
    const RecordView view(copy.data(), kProgramLayout);
    const RecordLayout& at = kProgramLayout;
    std::string out = Printf("Profile %d\n", number);
    out += std::string("  in use:      ") + (view.U8(at.inUse) != 0 ? "yes" : "no") + "\n";
    out += "  report rate: " + RateText(view.U8(at.reportRate)) + "\n";
    out += "  power save:  " + PowerSaveText(view.U8(at.powerSave)) + "\n";
    out += "  ambient:     " + Printf("%d s", view.U8(at.ambientLight)) + "\n";
    out += "  stage codes:";
    for (size_t offset : at.stageCodes)
        out += Printf(" %d", view.U8(offset));
    out += "\n";
    for (int j = 0; j < kButtonCount; ++j) {
        const ButtonEntry entry = view.Button(j);
        out += Printf("  button %d:    ", j + 1) + DescribeButton(entry);
        if (entry.category == category::Macro)
            out += Printf(", %d events", view.MacroEventCount(j));
        out += "\n";
    }
    return out;
}

}  // namespace cli
