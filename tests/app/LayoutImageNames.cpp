#include "tests/app/LayoutImageNames.h"

#include "ui/AttributeValues.h"
#include "ui/ImageDescription.h"
#include "ui/MarkupDocument.h"

namespace NeritApp {
namespace {

using namespace SkinUI;

// Attributes whose value is itself a list of attributes.
bool IsAttributeList(std::u16string_view name)
{
    return name == u"value" || name == u"dropbox" || name == u"vscrollbarstyle" || name == u"hscrollbarstyle";
}

bool IsImageAttribute(std::u16string_view name) { return name.ends_with(u"image"); }

void CollectAttribute(std::u16string_view name, std::u16string_view value, std::set<std::u16string>& names,
                      int depth)
{
    if (IsImageAttribute(name)) {
        if (std::u16string file = ImageFileOf(value); !file.empty())
            names.insert(std::move(file));
    } else if (IsAttributeList(name) && depth < 4) {
        ForEachAttribute(value, [&](std::u16string_view inner, std::u16string_view innerValue) {
            CollectAttribute(inner, innerValue, names, depth + 1);
        });
    }
}

void CollectElement(const CMarkupCursor& element, std::set<std::u16string>& names)
{
    std::u16string restype;
    const bool fromResource = element.FindAttribute(u"restype", restype) && !restype.empty();
    for (size_t i = 0; i < element.AttributeCount(); ++i) {
        const std::u16string_view name = element.AttributeName(i);
        if (element.Name() == u"Image" && name == u"name") {
            if (!fromResource && !element.AttributeValue(i).empty())
                names.emplace(element.AttributeValue(i));
            continue;
        }
        CollectAttribute(name, element.AttributeValue(i), names, 0);
    }
    for (CMarkupCursor child = element.FirstChild(); child.Valid(); child = child.NextSibling())
        CollectElement(child, names);
}

}  // namespace

std::u16string ImageFileOf(std::u16string_view description)
{
    const ImageDescription image = ImageDescription::Parse(description);
    if (!image.resType.empty())
        return {};
    return image.file;
}

bool CollectLayoutImages(std::u16string_view xml, std::set<std::u16string>& names)
{
    CMarkupDocument document;
    if (!document.LoadText(xml))
        return false;
    CollectElement(document.Root(), names);
    return true;
}

}  // namespace NeritApp
