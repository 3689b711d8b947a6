#include "ui/ScrollBarUI.h"

#include "ui/ContainerUI.h"
#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include <algorithm>

namespace SkinUI {
namespace {

using Part = CScrollBarUI::Part;
using State = CScrollBarUI::State;

struct ImageAttribute {
    std::u16string_view name;
    Part part;
    State state;
};

const ImageAttribute kImageAttributes[] = {
    {u"button1normalimage", Part::Button1, State::Normal},
    {u"button1hotimage", Part::Button1, State::Hot},
    {u"button1pushedimage", Part::Button1, State::Pushed},
    {u"button1disabledimage", Part::Button1, State::Disabled},
    {u"button2normalimage", Part::Button2, State::Normal},
    {u"button2hotimage", Part::Button2, State::Hot},
    {u"button2pushedimage", Part::Button2, State::Pushed},
    {u"button2disabledimage", Part::Button2, State::Disabled},
    {u"thumbnormalimage", Part::Thumb, State::Normal},
    {u"thumbhotimage", Part::Thumb, State::Hot},
    {u"thumbpushedimage", Part::Thumb, State::Pushed},
    {u"thumbdisabledimage", Part::Thumb, State::Disabled},
    {u"railnormalimage", Part::Rail, State::Normal},
    {u"railhotimage", Part::Rail, State::Hot},
    {u"railpushedimage", Part::Rail, State::Pushed},
    {u"raildisabledimage", Part::Rail, State::Disabled},
    {u"bknormalimage", Part::Background, State::Normal},
    {u"bkhotimage", Part::Background, State::Hot},
    {u"bkpushedimage", Part::Background, State::Pushed},
    {u"bkdisabledimage", Part::Background, State::Disabled},
};

const AttributeSetter<CScrollBarUI> kScrollBarAttributes[] = {
    {u"linesize", [](auto& c, auto v) { c.SetLineSize(ParseInt(v)); }},
    {u"range", [](auto& c, auto v) { c.SetScrollRange(ParseInt(v)); }},
    {u"value", [](auto& c, auto v) { c.SetScrollPos(ParseInt(v)); }},
    {u"showbutton1", [](auto& c, auto v) { c.SetShowButton1(ParseBool(v)); }},
    {u"showbutton2", [](auto& c, auto v) { c.SetShowButton2(ParseBool(v)); }},
};

// The plain look of a bar without images, per part and state (normal, hot,
// pushed, disabled); 0 leaves the part unpainted.
constexpr uint32_t kPlainColors[5][4] = {
    {0xFFDADADA, 0xFFC8C8C8, 0xFFA0A0A0, 0xFFDADADA},  // Button1
    {0xFFDADADA, 0xFFC8C8C8, 0xFFA0A0A0, 0xFFDADADA},  // Button2
    {0xFFC1C1C1, 0xFFA8A8A8, 0xFF787878, 0xFFC1C1C1},  // Thumb
    {0, 0, 0, 0},                                      // Rail
    {0xFFF0F0F0, 0xFFF0F0F0, 0xFFF0F0F0, 0xFFF0F0F0},  // Background
};

bool ApplyImageAttribute(CScrollBarUI& bar, std::u16string_view name, std::u16string_view value)
{
    for (const ImageAttribute& row : kImageAttributes) {
        if (row.name == name) {
            bar.SetImage(row.part, row.state, value);
            return true;
        }
    }
    return false;
}

}  // namespace

void CScrollBarUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyImageAttribute(*this, name, value) && !ApplyFromTable(kScrollBarAttributes, *this, name, value))
        CControlUI::SetAttribute(name, value);
}

size_t CScrollBarUI::ImageIndex(Part part, State state)
{
    return static_cast<size_t>(part) * kStates + static_cast<size_t>(state);
}

void CScrollBarUI::SetImage(Part part, State state, std::u16string_view image)
{
    m_images.at(ImageIndex(part, state)) = image;
}

const std::u16string& CScrollBarUI::GetImage(Part part, State state) const
{
    return m_images.at(ImageIndex(part, state));
}

namespace {

UIRect Transposed(const UIRect& rc) { return {rc.top, rc.left, rc.bottom, rc.right}; }

}  // namespace

UIRect CScrollBarUI::GetPartRect(Part part) const
{
    if (m_horizontal)
        return Transposed(VerticalPartRect(Transposed(GetItemRect()), part));
    return VerticalPartRect(GetItemRect(), part);
}

UIRect CScrollBarUI::VerticalPartRect(const UIRect& rc, Part part) const
{
    const long long height = std::max(0LL, 0LL + rc.bottom - rc.top);
    const long long button = std::min(std::max(0LL, 0LL + rc.right - rc.left), height / 2);
    const long long railTop = rc.top + (m_showButton1 ? button : 0);
    const long long railBottom = rc.bottom - (m_showButton2 ? button : 0);
    switch (part) {
    case Part::Background: return rc;
    case Part::Button1: return m_showButton1 ? SaturatedRect(rc.left, rc.top, rc.right, railTop) : UIRect{};
    case Part::Button2: return m_showButton2 ? SaturatedRect(rc.left, railBottom, rc.right, rc.bottom) : UIRect{};
    case Part::Rail: return SaturatedRect(rc.left, railTop, rc.right, railBottom);
    case Part::Thumb: break;
    }
    // The thumb: rail × page / (page + range), at least a button long, and
    // moved by the position over the rail it leaves free.
    const long long rail = railBottom - railTop;
    const long long range = std::max(0, m_range);
    const long long length = std::min(rail, std::max<long long>(button, ScaleExtent(height, height + range, rail)));
    const long long top = railTop + ScaleExtent(m_pos, std::max(1LL, range), rail - length);
    return SaturatedRect(rc.left, top, rc.right, top + length);
}

bool CScrollBarUI::ScrollTo(int pos)
{
    pos = std::clamp(pos, 0, std::max(0, m_range));
    if (pos == m_pos)
        return false;
    m_pos = pos;
    auto* owner = dynamic_cast<CContainerUI*>(GetParent());
    if (owner != nullptr && owner->GetVerticalScrollBar() == this)
        owner->SetVScrollPos(pos);
    else if (owner != nullptr && owner->GetHorizontalScrollBar() == this)
        owner->SetHScrollPos(pos);
    Invalidate();
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"scroll");
    return true;
}

namespace {

bool Inside(const UIRect& rc, UIPoint point)
{
    return point.x >= rc.left && point.x < rc.right && point.y >= rc.top && point.y < rc.bottom;
}

}  // namespace

void CScrollBarUI::Press(UIPoint point)
{
    const UIRect thumb = GetPartRect(Part::Thumb);
    Repeat step = Repeat::None;
    if (Inside(GetPartRect(Part::Button1), point)) {
        step = Repeat::LineUp;
    } else if (Inside(GetPartRect(Part::Button2), point)) {
        step = Repeat::LineDown;
    } else if (Inside(thumb, point)) {
        m_dragging = true;
        m_dragOffset = Along(point) - StartOf(thumb);
    } else if (Inside(GetPartRect(Part::Rail), point)) {
        step = Along(point) < StartOf(thumb) ? Repeat::PageUp : Repeat::PageDown;
    }
    if (step != Repeat::None) {
        Step(step, point);
        StartRepeat(step);
    }
    Invalidate();  // the pressed part shows it
}

// One step of a press; a page step stops once the thumb has reached the
// pointer. False when it did not move.
bool CScrollBarUI::Step(Repeat step, UIPoint point)
{
    const int page = std::max(1, LengthOf(GetItemRect()));
    const UIRect thumb = GetPartRect(Part::Thumb);
    switch (step) {
    case Repeat::LineUp: return ScrollTo(m_pos - m_lineSize);
    case Repeat::LineDown: return ScrollTo(m_pos + m_lineSize);
    case Repeat::PageUp: return Along(point) < StartOf(thumb) && ScrollTo(m_pos - page);
    case Repeat::PageDown: return Along(point) >= StartOf(thumb) + LengthOf(thumb) && ScrollTo(m_pos + page);
    case Repeat::None: break;
    }
    return false;
}

namespace {

// Timer ids of the bar: the delay before repeating, then the repeat.
constexpr unsigned kDelayTimer = 1;
constexpr unsigned kRepeatTimer = 2;
constexpr unsigned kDelayMs = 400;
constexpr unsigned kRepeatMs = 50;

}  // namespace

void CScrollBarUI::StartRepeat(Repeat step)
{
    StopRepeat();
    m_repeat = step;
    if (GetManager() != nullptr)
        GetManager()->SetTimer(this, kDelayTimer, kDelayMs);
}

void CScrollBarUI::StopRepeat()
{
    if (m_repeat != Repeat::None)
        Invalidate();
    m_repeat = Repeat::None;
    if (GetManager() != nullptr) {
        GetManager()->KillTimer(this, kDelayTimer);
        GetManager()->KillTimer(this, kRepeatTimer);
    }
}

void CScrollBarUI::OnRepeatTimer(unsigned id, UIPoint point)
{
    if (m_repeat == Repeat::None || GetManager() == nullptr) {
        StopRepeat();
        return;
    }
    if (id == kDelayTimer) {
        GetManager()->KillTimer(this, kDelayTimer);
        GetManager()->SetTimer(this, kRepeatTimer, kRepeatMs);
    }
    // Only while the pointer is still on the bar.
    if (Inside(GetItemRect(), point))
        Step(m_repeat, point);
}

// The thumb's start goes where the mouse is, less the pressed offset; the
// free length of the rail maps onto the range.
void CScrollBarUI::DragTo(int along)
{
    const UIRect rail = GetPartRect(Part::Rail);
    const UIRect thumb = GetPartRect(Part::Thumb);
    const long long free = 0LL + LengthOf(rail) - LengthOf(thumb);
    if (free <= 0)
        return;
    const long long top = std::clamp<long long>(0LL + along - m_dragOffset - StartOf(rail), 0, free);
    ScrollTo(ScaleExtent(top, free, std::max(0, m_range)));
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    switch (event.type) {
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
        if (IsEnabled())
            Press(event.mouse);
        return;
    case UIEvent::MouseMove:
        TrackHotPart(event.mouse);
        if (m_dragging)
            DragTo(Along(event.mouse));
        else if (m_repeat != Repeat::None && !Inside(GetItemRect(), event.mouse))
            StopRepeat();  // left the bar while held
        return;
    case UIEvent::ButtonUp:
        m_dragging = false;
        StopRepeat();
        Invalidate();  // the held part is released
        return;
    case UIEvent::MouseLeave:
        StopRepeat();
        CControlUI::DoEvent(event);
        return;
    case UIEvent::Timer:
        if (event.wParam == kDelayTimer || event.wParam == kRepeatTimer) {
            OnRepeatTimer(static_cast<unsigned>(event.wParam), event.mouse);
            return;
        }
        CControlUI::DoEvent(event);
        return;
    default:
        CControlUI::DoEvent(event);
        return;
    }
}

bool CScrollBarUI::HasImages() const
{
    return std::any_of(m_images.begin(), m_images.end(), [](const std::u16string& image) { return !image.empty(); });
}

bool CScrollBarUI::IsPointerOver(Part part) const
{
    const CWindowUIManager* manager = GetManager();
    // The manager forgets the hot control when the pointer leaves the window.
    return manager != nullptr && manager->GetHot() != nullptr && Inside(GetPartRect(part), manager->GetMousePos());
}

CScrollBarUI::State CScrollBarUI::GetPartState(Part part) const
{
    if (!IsEnabled())
        return State::Disabled;
    const bool held = (part == Part::Thumb && m_dragging) || (part == Part::Button1 && m_repeat == Repeat::LineUp) ||
                      (part == Part::Button2 && m_repeat == Repeat::LineDown) ||
                      (part == Part::Rail && (m_repeat == Repeat::PageUp || m_repeat == Repeat::PageDown));
    if (held)
        return State::Pushed;
    return IsPointerOver(part) ? State::Hot : State::Normal;
}

// Repaints when the pointer moves onto another part.
void CScrollBarUI::TrackHotPart(UIPoint point)
{
    Part now = Part::Background;
    for (Part part : {Part::Button1, Part::Button2, Part::Thumb, Part::Rail}) {
        if (Inside(GetPartRect(part), point)) {
            now = part;
            break;
        }
    }
    if (now != m_hotPart) {
        m_hotPart = now;
        Invalidate();
    }
}

void CScrollBarUI::PaintPart(platform::Painter& painter, Part part)
{
    const UIRect rc = GetPartRect(part);
    if (IsEmptyRect(rc))
        return;
    const State state = GetPartState(part);
    if (!HasImages()) {
        const uint32_t color = kPlainColors[static_cast<size_t>(part)][static_cast<size_t>(state)];
        if (color != 0)
            painter.FillRect(ToPaintRect(rc), color);
        return;
    }
    const UIRect& bar = GetItemRect();
    const std::u16string modifier = DestModifier(OffsetRect(rc, -(0LL + bar.left), -(0LL + bar.top)));
    const std::u16string& image = GetImage(part, state);
    if (state != State::Normal && !image.empty() && DrawImage(painter, image, modifier))
        return;
    const std::u16string& normal = GetImage(part, State::Normal);
    if (!normal.empty())
        DrawImage(painter, normal, modifier);
}

void CScrollBarUI::PaintStatusImage(platform::Painter& painter)
{
    for (Part part : {Part::Background, Part::Rail, Part::Button1, Part::Button2, Part::Thumb})
        PaintPart(painter, part);
}

}  // namespace SkinUI
