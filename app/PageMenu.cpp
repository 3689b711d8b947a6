#include "app/PageMenu.h"

namespace NeritApp::PageMenu {

std::unique_ptr<SkinUI::CMenuUI> New(const SkinUI::FontInfo& font)
{
    auto menu = std::make_unique<SkinUI::CMenuUI>();
    menu->SetWidth(kWidth);
    menu->SetTextColor(kTextColor);
    menu->GetManager().SetDefaultFont(font.face, font.size, font.bold, font.underline, font.italic);
    return menu;
}

bool Show(std::unique_ptr<SkinUI::CMenuUI> menu, SkinUI::CWindowUIManager& manager, int x, int y)
{
    platform::WindowSystem* system = SkinUI::CWindowWnd::System();
    const platform::WindowId window = manager.GetWindow();
    if (system == nullptr || window == platform::WindowId::None)
        return false;
    const platform::Rect frame = system->GetWindowRect(window);
    menu.release()->Show(frame.left + x, frame.top + y, window);  // frees itself when closed
    return true;
}

}  // namespace NeritApp::PageMenu
