// The small tool window that shows a control's tooltip text near the mouse.
// It never takes the focus and goes with its owner window.
#pragma once

#include "platform/painter.h"
#include "platform/window_system.h"

#include <string>

namespace SkinUI {

class CToolTipWnd {
public:
    CToolTipWnd() = default;
    ~CToolTipWnd();
    CToolTipWnd(const CToolTipWnd&) = delete;
    CToolTipWnd& operator=(const CToolTipWnd&) = delete;

    // Shows `text` below and to the right of the screen point (the mouse),
    // kept inside the work area; a tip already shown is replaced. False when
    // the window cannot be made or the text is empty.
    bool Show(platform::WindowSystem& system, platform::WindowId owner, std::u16string_view text,
              platform::FontSpec font, int screenX, int screenY);
    void Hide();
    bool IsShown() const;
    const std::u16string& GetText() const { return m_text; }
    platform::WindowId GetWindow() const { return m_window; }

private:
    platform::Rect Placement(platform::WindowId owner, int screenX, int screenY) const;
    void Paint();

    platform::WindowSystem* m_system = nullptr;
    platform::WindowId m_window = platform::WindowId::None;
    std::u16string m_text;
    platform::FontSpec m_font;
};

}  // namespace SkinUI
