#include "ui/ImageDescription.h"

#include <algorithm>

namespace SkinUI {
namespace {

const AttributeSetter<ImageDescription> kImageKeys[] = {
    {u"file", [](auto& d, auto v) { d.file = v; }},
    {u"res", [](auto& d, auto v) { d.file = v; }},
    {u"restype", [](auto& d, auto v) { d.resType = v; }},
    {u"dest",
     [](auto& d, auto v) {
         d.dest = ParseRect(v);
         d.hasDest = true;
     }},
    {u"source",
     [](auto& d, auto v) {
         d.source = ParseRect(v);
         d.hasSource = true;
     }},
    {u"corner", [](auto& d, auto v) { d.corner = ParseRect(v); }},
    {u"mask",
     [](auto& d, auto v) {
         d.mask = ParseColor(v);
         d.hasMask = true;
     }},
    {u"fade", [](auto& d, auto v) { d.fade = std::clamp(ParseInt(v), 0, 255); }},
    {u"hole", [](auto& d, auto v) { d.hole = ParseBool(v); }},
    {u"xtiled", [](auto& d, auto v) { d.xTiled = ParseBool(v); }},
    {u"ytiled", [](auto& d, auto v) { d.yTiled = ParseBool(v); }},
};

size_t ApplyPairs(ImageDescription& description, std::u16string_view text)
{
    return ForEachQuotedPair(text, u'\'', [&description](std::u16string_view key, std::u16string_view value) {
        ApplyFromTable(kImageKeys, description, key, value);
    });
}

std::u16string_view TrimBlanks(std::u16string_view text)
{
    const size_t first = text.find_first_not_of(u" \t\r\n");
    if (first == std::u16string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(u" \t\r\n") - first + 1);
}

}  // namespace

ImageDescription ImageDescription::Parse(std::u16string_view text)
{
    ImageDescription description;
    if (ApplyPairs(description, text) == 0)
        description.file = TrimBlanks(text);
    return description;
}

void ApplyModifier(ImageDescription& description, std::u16string_view modifier) { ApplyPairs(description, modifier); }

}  // namespace SkinUI
