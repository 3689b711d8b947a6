// The base of every control: the attributes that all controls share, the
// binding to a window manager, the parent link and the laid-out rectangle.
// Painting is DoPaint; events come with the window manager's message handling.
#pragma once

#include "platform/painter.h"
#include "platform/window_system.h"
#include "ui/AttributeValues.h"
#include "ui/EventUI.h"
#include "ui/NotifyMessage.h"
#include "ui/WheelSteps.h"

#include <cstdint>
#include <vector>
#include <functional>
#include <string>
#include <string_view>

namespace SkinUI {

class CWindowUIManager;
class IContainerUI;

// "relativepos": how a floating control follows its parent's size, in percent.
struct RelativePos {
    bool enabled = false;
    int moveX = 0;
    int moveY = 0;
    int zoomX = 0;
    int zoomY = 0;
    UISize parentSize;  // the parent size it was last applied to
    // What the record has moved and grown the control by so far; a layout at
    // an unchanged parent size leaves the control where it is.
    int movedX = 0;
    int movedY = 0;
    int grownX = 0;
    int grownY = 0;
};

class CControlUI {
public:
    // The maximum size of a control that sets none.
    static constexpr int kUnboundedSize = 9999;

    CControlUI() = default;
    // A bound control removes itself from its manager's name index and option
    // groups; the manager must outlive the controls bound to it.
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual std::u16string_view GetClass() const { return u"ControlUI"; }
    virtual IContainerUI* GetContainer() { return nullptr; }

    // Binds to a manager (nullptr unbinds) and sets the parent.
    virtual void SetManager(CWindowUIManager* manager, CControlUI* parent);
    CWindowUIManager* GetManager() const { return m_manager; }
    CControlUI* GetParent() const { return m_parent; }

    // Unknown names are ignored.
    virtual void SetAttribute(std::u16string_view name, std::u16string_view value);

    // Events from the window manager. Mouse buttons, moves, enter, leave and
    // wheel that the control does not handle go to the parent; timers and
    // context menus become notifications.
    virtual void DoEvent(TEventUI& event);
    // What the control does when clicked or its shortcut is used; false when
    // it cannot act (disabled).
    virtual bool Activate();
    // Whether Tab can move the focus to it.
    virtual bool IsFocusable() const { return false; }
    // The mouse cursor over the control.
    virtual platform::Cursor GetCursor() const { return platform::Cursor::Arrow; }
    // The control's own delegates, called before the window's notifiers.
    void AddNotifyDelegate(std::function<void(NotifyMessage&)> delegate);
    void CallNotifyDelegates(NotifyMessage& message);
    bool HasNotifyDelegates() const { return !m_notifyDelegates.empty(); }
    // Asks the window to repaint.
    void Invalidate();
    // Asks the window to lay its controls out anew and repaint; the setters
    // of size, position, visibility and text do so when the value changes.
    void NeedUpdate();
    // Applies name="value" pairs in order.
    void ApplyAttributeList(std::u16string_view list);

    // "pos" l,t,r,b: x = l if l >= 0 else r, y = t if t >= 0 else b, fixed
    // size r - l by b - t.
    void SetPos(const UIRect& pos);
    void SetFixedX(int x) { UpdateField(m_fixedX, x); }
    void SetFixedY(int y) { UpdateField(m_fixedY, y); }
    int GetFixedX() const { return m_fixedX; }
    int GetFixedY() const { return m_fixedY; }
    // Sizes below zero are ignored.
    void SetFixedWidth(int cx);
    void SetFixedHeight(int cy);
    void SetMinWidth(int cx);
    void SetMinHeight(int cy);
    void SetMaxWidth(int cx);
    void SetMaxHeight(int cy);
    int GetFixedWidth() const { return m_fixedWidth; }
    int GetFixedHeight() const { return m_fixedHeight; }
    int GetMinWidth() const { return m_minWidth; }
    int GetMinHeight() const { return m_minHeight; }
    int GetMaxWidth() const { return m_maxWidth; }
    int GetMaxHeight() const { return m_maxHeight; }

    void SetRelativePos(int moveX, int moveY, int zoomX, int zoomY);
    // The container keeps the record up to date as it applies it.
    void UpdateRelativePos(const RelativePos& record) { m_relativePos = record; }
    const RelativePos& GetRelativePos() const { return m_relativePos; }
    void SetPadding(const UIRect& padding) { UpdateField(m_padding, padding); }
    const UIRect& GetPadding() const { return m_padding; }

    void SetBkColor(uint32_t color) { UpdatePainted(m_bkColor, color); }
    void SetBkColor2(uint32_t color) { UpdatePainted(m_bkColor2, color); }
    void SetBkColor3(uint32_t color) { UpdatePainted(m_bkColor3, color); }
    void SetBorderColor(uint32_t color) { UpdatePainted(m_borderColor, color); }
    void SetFocusBorderColor(uint32_t color) { UpdatePainted(m_focusBorderColor, color); }
    uint32_t GetBkColor() const { return m_bkColor; }
    uint32_t GetBkColor2() const { return m_bkColor2; }
    uint32_t GetBkColor3() const { return m_bkColor3; }
    uint32_t GetBorderColor() const { return m_borderColor; }
    uint32_t GetFocusBorderColor() const { return m_focusBorderColor; }
    void SetColorHSL(bool on) { m_colorHSL = on; }
    bool IsColorHSL() const { return m_colorHSL; }
    void SetBorderSize(int size);
    int GetBorderSize() const { return m_borderSize; }
    void SetBorderRound(const UISize& round) { m_borderRound = round; }
    const UISize& GetBorderRound() const { return m_borderRound; }
    // Image descriptions are kept as text and parsed when drawn.
    void SetBkImage(std::u16string_view image) { m_bkImage = image; Invalidate(); }
    const std::u16string& GetBkImage() const { return m_bkImage; }

    // A bound control stays found under its new name.
    void SetName(std::u16string_view name);
    void SetText(std::u16string_view text);
    void SetToolTip(std::u16string_view text) { m_toolTip = text; }
    void SetUserData(std::u16string_view text) { m_userData = text; }
    const std::u16string& GetName() const { return m_name; }
    const std::u16string& GetText() const { return m_text; }
    const std::u16string& GetToolTip() const { return m_toolTip; }
    const std::u16string& GetUserData() const { return m_userData; }

    void SetEnabled(bool on);
    void SetMouseEnabled(bool on) { m_mouseEnabled = on; }
    void SetVisible(bool on) { UpdateField(m_visible, on); }
    void SetFloat(bool on) { UpdateField(m_float, on); }
    // "menu": a context-menu request over the control sends "menu".
    void SetContextMenuUsed(bool on) { m_contextMenu = on; }
    bool IsEnabled() const { return m_enabled; }
    bool IsMouseEnabled() const { return m_mouseEnabled; }
    bool IsVisible() const { return m_visible; }
    bool IsFloat() const { return m_float; }
    bool IsContextMenuUsed() const { return m_contextMenu; }
    // Visible (enabled) with every ancestor: a control inside a hidden page
    // is hidden too. Focus, shortcuts and activation go by these.
    bool IsVisibleWithAncestors() const;
    bool IsEnabledWithAncestors() const;
    // 0 when there is none.
    void SetShortcut(char16_t key) { m_shortcut = key; }
    char16_t GetShortcut() const { return m_shortcut; }

    // Where the control was laid out, in window coordinates. "pos" (SetPos)
    // only records the fixed position and size a control asks for; the
    // container turns that into this rectangle. A container also lays out
    // its children when it is given its rectangle.
    virtual void SetItemRect(const UIRect& rc) { m_itemRect = rc; }
    const UIRect& GetItemRect() const { return m_itemRect; }
    // The size the control wants within `available`: its fixed width and
    // height, where 0 on an axis means "take what the layout gives".
    virtual UISize EstimateSize(UISize /*available*/) { return {m_fixedWidth, m_fixedHeight}; }

    // Paints the control where its rectangle meets `dirty`, clipped to its
    // rectangle: background colours, background image, state images, text,
    // border. Hidden controls paint nothing.
    virtual void DoPaint(platform::Painter& painter, const UIRect& dirty);
    // Draws an image description (and a modifier over it) inside the control:
    // "dest" is relative to the control and cut to it, no "dest" fills it.
    // False, drawing nothing, when the image cannot be loaded.
    bool DrawImage(platform::Painter& painter, std::u16string_view description, std::u16string_view modifier = {});

protected:
    // The steps of DoPaint, each drawing inside the clip it set up.
    virtual void PaintBkColor(platform::Painter& painter);
    virtual void PaintBkImage(platform::Painter& painter);
    virtual void PaintStatusImage(platform::Painter& /*painter*/) {}
    virtual void PaintText(platform::Painter& /*painter*/) {}
    virtual void PaintBorder(platform::Painter& painter);
    // Draws the state's image, or the normal one when there is none for the
    // state (or it cannot be drawn).
    void PaintStateImage(platform::Painter& painter, const std::u16string& stateImage,
                         const std::u16string& normalImage);
    // The frame of "bordersize" in `color`, rounded with "borderround".
    void PaintBorderIn(platform::Painter& painter, uint32_t color);
    // Whole steps of a ScrollWheel event for this control (see CWheelSteps).
    int WheelSteps(const TEventUI& event) { return m_wheel.AddMessage(event.wParam); }
    // Stores a value that only the drawing depends on (a colour) and asks
    // for a repaint when it changed.
    template <typename T>
    void UpdatePainted(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }

private:
    // Sizes below zero are ignored.
    void StoreLayoutSize(int& field, int value);
    // Stores a value that the layout depends on and asks for a new layout
    // when it changed.
    template <typename T>
    void UpdateField(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        NeedUpdate();
    }

    CWindowUIManager* m_manager = nullptr;
    CControlUI* m_parent = nullptr;

    int m_fixedX = 0;
    int m_fixedY = 0;
    int m_fixedWidth = 0;
    int m_fixedHeight = 0;
    int m_minWidth = 0;
    int m_minHeight = 0;
    int m_maxWidth = kUnboundedSize;
    int m_maxHeight = kUnboundedSize;
    RelativePos m_relativePos;
    UIRect m_padding;
    UIRect m_itemRect;

    uint32_t m_bkColor = 0;
    uint32_t m_bkColor2 = 0;
    uint32_t m_bkColor3 = 0;
    uint32_t m_borderColor = 0;
    uint32_t m_focusBorderColor = 0;
    bool m_colorHSL = false;
    int m_borderSize = 0;
    UISize m_borderRound;
    std::u16string m_bkImage;

    std::u16string m_name;
    std::u16string m_text;
    std::u16string m_toolTip;
    std::u16string m_userData;

    bool m_enabled = true;
    bool m_mouseEnabled = true;
    bool m_visible = true;
    bool m_float = false;
    bool m_contextMenu = false;
    std::vector<std::function<void(NotifyMessage&)>> m_notifyDelegates;
    char16_t m_shortcut = 0;
    CWheelSteps m_wheel;
};

}  // namespace SkinUI
