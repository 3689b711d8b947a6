#include "ui/ToolTipWnd.h"

#include <algorithm>

namespace SkinUI {
namespace {

using namespace platform;

constexpr int kMaxTextWidth = 400;
constexpr int kPadding = 4;  // around the text, inside the border
constexpr int kCursorHeight = 20;  // the tip starts below the mouse cursor
constexpr uint32_t kBackColor = 0xFFFFFFE1;
constexpr uint32_t kBorderColor = 0xFF767676;
constexpr uint32_t kTextColor = 0xFF000000;
constexpr unsigned kTextFlags = TextFlag::Left | TextFlag::Top | TextFlag::WordBreak;

}  // namespace

CToolTipWnd::~CToolTipWnd() { Hide(); }

bool CToolTipWnd::IsShown() const
{
    return m_system != nullptr && m_window != WindowId::None && m_system->IsWindow(m_window);
}

void CToolTipWnd::Hide()
{
    if (IsShown())
        m_system->DestroyWindow(m_window);
    m_window = WindowId::None;
    m_text.clear();
}

Rect CToolTipWnd::Placement(WindowId owner, int screenX, int screenY) const
{
    const std::unique_ptr<Painter> scratch = m_system->CreatePainter(1, 1);
    const PaintSize text = scratch ? scratch->MeasureText(m_text, m_font, kMaxTextWidth, kTextFlags) : PaintSize{};
    const int width = std::clamp(text.cx, 0, kMaxTextWidth) + 2 * kPadding;
    const int height = std::clamp(text.cy, 0, 4096) + 2 * kPadding;
    const Rect work = m_system->GetWorkArea(owner);
    int left = std::min(screenX, work.right - width);
    int top = screenY + kCursorHeight;
    if (top + height > work.bottom)
        top = screenY - height;  // above the mouse at the bottom of the screen
    left = std::max(left, work.left);
    top = std::max(top, work.top);
    return {left, top, left + width, top + height};
}

bool CToolTipWnd::Show(WindowSystem& system, WindowId owner, std::u16string_view text, FontSpec font, int screenX,
                       int screenY)
{
    Hide();
    if (text.empty())
        return false;
    m_system = &system;
    m_text = text;
    m_font = std::move(font);
    WindowOptions options;
    options.rect = Placement(owner, screenX, screenY);
    options.owner = owner;
    options.kind = WindowKind::Tooltip;
    options.toolWindow = true;
    options.topmost = true;
    m_window = system.CreateWindow(options, [this](const Message& message) -> intptr_t {
        if (message.message == WM_PAINT)
            Paint();
        return 0;
    });
    if (m_window == WindowId::None) {
        m_text.clear();
        return false;
    }
    system.ShowWindow(m_window, true, false);
    system.Invalidate(m_window);
    return true;
}

void CToolTipWnd::Paint()
{
    const Rect rect = m_system->GetWindowRect(m_window);
    const std::unique_ptr<Painter> painter = m_system->CreatePainter(rect.Width(), rect.Height());
    if (!painter || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const PaintRect all{0, 0, rect.Width(), rect.Height()};
    painter->Clear(kBackColor);
    painter->DrawBorder(all, 1, kBorderColor);
    painter->DrawText(m_text, m_font, kTextColor,
                      {kPadding, kPadding, all.right - kPadding, all.bottom - kPadding}, kTextFlags);
    const auto pixels = painter->Pixels();
    m_system->Present(m_window, pixels.data(), painter->Width(), painter->Height(),
                      painter->Width() * static_cast<int>(sizeof(uint32_t)));
}

}  // namespace SkinUI
