// An image description of a skin attribute: either a bare file name or
// key='value' pairs ("file"/"res", "restype", "dest", "source", "corner",
// "mask", "fade", "hole", "xtiled", "ytiled"). A control's modifier, a second
// description such as "dest='1,2,3,4'", is applied on top and overrides the
// keys it names.
#pragma once

#include "ui/AttributeValues.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace SkinUI {

struct ImageDescription {
    std::u16string file;
    std::u16string resType;
    UIRect dest;  // relative to the control, clipped to it
    bool hasDest = false;  // without one the image fills the control
    UIRect source;  // part of the image
    bool hasSource = false;  // without one the whole image is used
    UIRect corner;  // nine-grid borders that are not stretched
    uint32_t mask = 0;  // colour key
    bool hasMask = false;
    int fade = 255;  // 0..255
    bool hole = false;  // leave the middle of the nine-grid empty
    bool xTiled = false;
    bool yTiled = false;

    // A text that is not a sequence of key='value' pairs is a bare file name.
    static ImageDescription Parse(std::u16string_view text);
};

// Applies the key='value' pairs of `modifier`; anything else is ignored.
void ApplyModifier(ImageDescription& description, std::u16string_view modifier);

}  // namespace SkinUI
