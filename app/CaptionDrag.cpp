#include "app/CaptionDrag.h"

#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/WindowWnd.h"

namespace NeritApp {

using platform::HighSigned;
using platform::LowSigned;

bool CaptionDrag::OnMessage(unsigned message, intptr_t lParam)
{
    switch (message) {
    case platform::WM_LBUTTONDOWN:
        return Begin(LowSigned(lParam), HighSigned(lParam));
    case platform::WM_MOUSEMOVE:
        // A drag whose capture was taken away has ended.
        if (dragging_ && SkinUI::CWindowWnd::System()->GetCapture() != manager_.GetWindow())
            dragging_ = false;
        if (!dragging_)
            return false;
        MoveTo(LowSigned(lParam), HighSigned(lParam));
        return true;
    case platform::WM_LBUTTONUP:
        return End();
    default:
        return false;
    }
}

// Buttons (options among them), edits and lists in the caption keep their
// presses.
bool CaptionDrag::InCaption(int x, int y) const
{
    platform::WindowSystem* system = SkinUI::CWindowWnd::System();
    if (system == nullptr)
        return false;
    const SkinUI::UIRect& caption = manager_.GetCaptionRect();
    const platform::Rect window = system->GetWindowRect(manager_.GetWindow());
    if (x < caption.left || x >= window.Width() - caption.right || y < caption.top || y >= caption.bottom)
        return false;
    const SkinUI::CControlUI* control = manager_.FindControlAt({x, y});
    return dynamic_cast<const SkinUI::CButtonUI*>(control) == nullptr
           && dynamic_cast<const SkinUI::CEditUI*>(control) == nullptr
           && dynamic_cast<const SkinUI::CComboUI*>(control) == nullptr;
}

bool CaptionDrag::Begin(int x, int y)
{
    if (!InCaption(x, y))
        return false;
    platform::WindowSystem* system = SkinUI::CWindowWnd::System();
    start_ = system->GetWindowRect(manager_.GetWindow());
    pressX_ = start_.left + x;
    pressY_ = start_.top + y;
    dragging_ = true;
    system->SetCapture(manager_.GetWindow());
    return true;
}

// The window follows the pointer by as much as it moved since the press.
void CaptionDrag::MoveTo(int x, int y)
{
    platform::WindowSystem* system = SkinUI::CWindowWnd::System();
    const platform::Rect now = system->GetWindowRect(manager_.GetWindow());
    const int dx = now.left + x - pressX_;
    const int dy = now.top + y - pressY_;
    system->MoveWindow(manager_.GetWindow(),
                       {start_.left + dx, start_.top + dy, start_.right + dx, start_.bottom + dy});
}

bool CaptionDrag::End()
{
    if (!dragging_)
        return false;
    dragging_ = false;
    platform::WindowSystem* system = SkinUI::CWindowWnd::System();
    if (system->GetCapture() == manager_.GetWindow())
        system->ReleaseCapture();
    return true;
}

}  // namespace NeritApp
