// The skin image files a layout names: every attribute whose name ends in
// "image" (bkimage, normalimage, thumbimage, itembkimage, the scroll bar
// parts ...), in the bare form or as file='...', also inside attribute lists
// ("Default" values, "dropbox", scroll bar styles), and the "Image"
// elements. Images taken from program resources (restype) are left out.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace NeritApp {

// False when the text does not parse; the names found are added to `names`.
bool CollectLayoutImages(std::u16string_view xml, std::set<std::u16string>& names);

// The image file of one attribute value, empty when it names none.
std::u16string ImageFileOf(std::u16string_view description);

}  // namespace NeritApp
