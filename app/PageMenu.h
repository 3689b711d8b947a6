// The pop-up menus of the main window's pages (the button assignment menu,
// the macro page's insert menu): 180 wide, dark text, the window's font,
// opened below a control.
#pragma once

#include "ui/ControlUI.h"
#include "ui/MenuUI.h"
#include "ui/WindowUIManager.h"

#include <cstdint>
#include <memory>

namespace NeritApp::PageMenu {

inline constexpr int kWidth = 180;
inline constexpr uint32_t kTextColor = 0xFF202020;

std::unique_ptr<SkinUI::CMenuUI> New(const SkinUI::FontInfo& font);
// Opens the menu at (x, y) of the manager's window; the menu frees itself
// when it closes. False when the window is gone.
bool Show(std::unique_ptr<SkinUI::CMenuUI> menu, SkinUI::CWindowUIManager& manager, int x, int y);

}  // namespace NeritApp::PageMenu
