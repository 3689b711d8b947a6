// CWindowUIManager's painting: the root control over a cleared background.
#include "ui/WindowUIManager.h"

#include "platform/painter.h"
#include "ui/ControlUI.h"
#include "ui/PaintSupport.h"

namespace SkinUI {

void CWindowUIManager::SetRoot(CControlUI* root)
{
    m_root = root;
    InitControls(root);
}

void CWindowUIManager::Paint(platform::Painter& painter, const UIRect& dirty)
{
    const UIRect area = IntersectRect(dirty, {0, 0, painter.Width(), painter.Height()});
    if (IsEmptyRect(area))
        return;
    painter.PushClip(ToPaintRect(area));
    painter.Clear(IsBackgroundTransparent() ? 0x00000000 : 0xFFFFFFFF);
    if (m_root)
        m_root->DoPaint(painter, area);
    painter.PopClip();
}

void CWindowUIManager::PaintAll(platform::Painter& painter) { Paint(painter, {0, 0, painter.Width(), painter.Height()}); }

}  // namespace SkinUI
