// A scroll bar: two arrow buttons, a thumb on a rail, and a background, each
// with an image per state; a range, a position and a line size.
#pragma once

#include "ui/ControlUI.h"

#include <array>
#include <string>

namespace SkinUI {

class CScrollBarUI : public CControlUI {
    // What a press on the arrows or the rail repeats while held.
    enum class Repeat { None, LineUp, LineDown, PageUp, PageDown };

public:
    enum class Part { Button1, Button2, Thumb, Rail, Background };
    enum class State { Normal, Hot, Pushed, Disabled };

    std::u16string_view GetClass() const override { return u"ScrollBarUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetImage(Part part, State state, std::u16string_view image);
    const std::u16string& GetImage(Part part, State state) const;

    void SetLineSize(int size) { m_lineSize = size; }
    int GetLineSize() const { return m_lineSize; }
    // Stored as given; the position is kept within the range when scrolling.
    void SetScrollRange(int range) { m_range = range; }
    int GetScrollRange() const { return m_range; }
    void SetScrollPos(int pos) { m_pos = pos; }
    int GetScrollPos() const { return m_pos; }
    void SetShowButton1(bool on) { m_showButton1 = on; }
    void SetShowButton2(bool on) { m_showButton2 = on; }
    bool IsShowButton1() const { return m_showButton1; }
    bool IsShowButton2() const { return m_showButton2; }
    // A horizontal bar runs left to right: its parts are laid out as those
    // of a vertical bar with the axes swapped.
    void SetHorizontal(bool on) { m_horizontal = on; }
    bool IsHorizontal() const { return m_horizontal; }

    // Where a part of the bar lies, in window coordinates. For a vertical bar the
    // arrow buttons are squares at the ends, the rail is the rest between
    // them, the thumb on the rail is as long as the visible share of the
    // content and moves with the position; the background is the whole bar.
    UIRect GetPartRect(Part part) const;

    // Disabled while the bar is; Pushed for the part held (the dragged thumb,
    // a repeating arrow, the rail repeating a page); Hot for the part under
    // the pointer while the pointer is over the bar; else Normal.
    State GetPartState(Part part) const;

    // Moves to `pos` kept within 0..range; a change scrolls the container
    // the bar belongs to and sends "scroll". False when nothing moved.
    bool ScrollTo(int pos);
    // The arrows move a line, the rail beside the thumb a page (the bar's
    // length), and the thumb follows the mouse while it is held. A held
    // arrow or rail repeats its step after a delay until the button is
    // released or the pointer leaves the bar.
    void DoEvent(TEventUI& event) override;
    // Held: the thumb is dragged or an arrow or the rail repeats. The
    // container gives a held bar every mouse event until the release.
    bool IsDragging() const { return m_dragging || m_repeat != Repeat::None; }

protected:
    // Each part in its state's image (the normal one when that state has
    // none), or in plain colours when the bar has no images at all.
    void PaintStatusImage(platform::Painter& painter) override;

private:
    void PaintPart(platform::Painter& painter, Part part);
    bool IsPointerOver(Part part) const;
    void TrackHotPart(UIPoint point);
    UIRect VerticalPartRect(const UIRect& rc, Part part) const;
    bool HasImages() const;
    void Press(UIPoint point);
    bool Step(Repeat step, UIPoint point);
    void StartRepeat(Repeat step);
    void StopRepeat();
    void OnRepeatTimer(unsigned id, UIPoint point);
    void DragTo(int along);
    // A coordinate along the bar: y for a vertical bar, x for a horizontal one.
    int Along(UIPoint point) const { return m_horizontal ? point.x : point.y; }
    int StartOf(const UIRect& rc) const { return m_horizontal ? rc.left : rc.top; }
    int LengthOf(const UIRect& rc) const { return m_horizontal ? rc.right - rc.left : rc.bottom - rc.top; }

    static constexpr size_t kStates = 4;
    static constexpr size_t kParts = 5;
    static size_t ImageIndex(Part part, State state);

    std::array<std::u16string, kParts * kStates> m_images;
    int m_lineSize = 8;
    int m_range = 100;
    int m_pos = 0;
    bool m_showButton1 = true;
    bool m_showButton2 = true;
    bool m_horizontal = false;
    bool m_dragging = false;
    int m_dragOffset = 0;  // from the thumb's top to the pressed point
    Repeat m_repeat = Repeat::None;
    Part m_hotPart = Part::Background;  // the part last seen under the pointer
};

}  // namespace SkinUI
