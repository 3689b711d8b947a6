// Small pieces shared by the controls' painting: rectangle arithmetic that
// cannot overflow for any laid-out rectangle, the conversion to the painter's
// types, fonts and text colours through the window manager.
#pragma once

#include "platform/painter.h"
#include "ui/AttributeValues.h"
#include "ui/TextMarkup.h"

#include <cstdint>
#include <string>

namespace SkinUI {

class CWindowUIManager;

bool IsEmptyRect(const UIRect& rc);
// Empty (all zero) when the two do not meet.
UIRect IntersectRect(const UIRect& a, const UIRect& b);
// A rectangle from 64-bit edges, saturated to the int range.
UIRect SaturatedRect(long long left, long long top, long long right, long long bottom);
// `rc` moved by (dx, dy), saturated to the int range.
UIRect OffsetRect(const UIRect& rc, long long dx, long long dy);
// `rc` shrunk by the four insets; never inverted.
UIRect DeflateRect(const UIRect& rc, const UIRect& insets);
platform::PaintRect ToPaintRect(const UIRect& rc);

// The manager's font with that number (the default font for -1 or an unknown
// number); the platform's default font without a manager.
platform::FontSpec FontSpecFor(const CWindowUIManager* manager, int font);
// The window's text colours, or black and grey without a manager.
uint32_t WindowTextColor(const CWindowUIManager* manager);
uint32_t WindowDisabledTextColor(const CWindowUIManager* manager);
// `color`, or `fallback` when it is 0 ("not set").
inline uint32_t ColorOr(uint32_t color, uint32_t fallback) { return color != 0 ? color : fallback; }
// TextStyle flags as painter text flags.
unsigned ToTextFlags(unsigned textStyle);

// Draws a control's text in `rc` with the manager's font number `font`.
// With `markup`, the text's mark-up is parsed into `parsed` (again only when
// the text has changed) and drawn run by run, icons from the manager's images.
struct ControlText {
    std::u16string_view text;
    int font = -1;
    uint32_t color = 0;
    unsigned textStyle = 0;
    bool markup = false;
};
void DrawControlText(platform::Painter& painter, CWindowUIManager* manager, const ControlText& text, const UIRect& rc,
                     TextMarkup& parsed);

// part × extent / whole in 64 bits: the share of `extent` pixels that `part`
// of `whole` takes. `whole` must be positive; part is kept within 0..whole.
int ScaleExtent(long long part, long long whole, long long extent);

// "dest='l,t,r,b'", the modifier that places an image in the control.
std::u16string DestModifier(const UIRect& dest);

}  // namespace SkinUI
