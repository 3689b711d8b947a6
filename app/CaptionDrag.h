// Moves a window whose frame the skin draws: a press in the layout's caption
// area, off its buttons, options and edits, drags the window along with the
// pointer until the button is released.
#pragma once

#include "platform/window_system.h"
#include "ui/WindowUIManager.h"

#include <cstdint>

namespace NeritApp {

class CaptionDrag {
public:
    explicit CaptionDrag(SkinUI::CWindowUIManager& manager) : manager_(manager) {}

    // True when the message was a part of a drag and is taken.
    bool OnMessage(unsigned message, intptr_t lParam);
    bool Dragging() const { return dragging_; }
    // Ends a drag (the window closes); false when none ran.
    bool End();

private:
    bool InCaption(int x, int y) const;
    bool Begin(int x, int y);
    void MoveTo(int x, int y);

    SkinUI::CWindowUIManager& manager_;
    bool dragging_ = false;
    int pressX_ = 0;  // screen point of the press
    int pressY_ = 0;
    platform::Rect start_;  // window rectangle at the press
};

}  // namespace NeritApp
