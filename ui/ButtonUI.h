// A label that can be clicked, with an image and a text colour per state.
// The state (hot, pushed, focused, disabled) is set by the event handling.
#pragma once

#include "ui/ButtonState.h"
#include "ui/LabelUI.h"

#include <string>

namespace SkinUI {

class CButtonUI : public CLabelUI, public CButtonStateHolder {
public:
    CButtonUI() : CLabelUI(TextStyle::Center | TextStyle::VCenter | TextStyle::SingleLine) {}

    std::u16string_view GetClass() const override { return u"ButtonUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    // Pressed while the mouse is down over it; a release over it activates
    // it, as do Space and Enter while it has the focus.
    void DoEvent(TEventUI& event) override;
    // Sends "click".
    bool Activate() override;
    bool IsFocusable() const override { return true; }

    void SetNormalImage(std::u16string_view image) { m_normalImage = image; Invalidate(); }
    void SetHotImage(std::u16string_view image) { m_hotImage = image; Invalidate(); }
    void SetPushedImage(std::u16string_view image) { m_pushedImage = image; Invalidate(); }
    void SetFocusedImage(std::u16string_view image) { m_focusedImage = image; Invalidate(); }
    void SetDisabledImage(std::u16string_view image) { m_disabledImage = image; Invalidate(); }
    const std::u16string& GetNormalImage() const { return m_normalImage; }
    const std::u16string& GetHotImage() const { return m_hotImage; }
    const std::u16string& GetPushedImage() const { return m_pushedImage; }
    const std::u16string& GetFocusedImage() const { return m_focusedImage; }
    const std::u16string& GetDisabledImage() const { return m_disabledImage; }

    // 0: the normal text colour.
    void SetHotTextColor(uint32_t color) { UpdatePainted(m_hotTextColor, color); }
    void SetPushedTextColor(uint32_t color) { UpdatePainted(m_pushedTextColor, color); }
    void SetFocusedTextColor(uint32_t color) { UpdatePainted(m_focusedTextColor, color); }
    uint32_t GetHotTextColor() const { return m_hotTextColor; }
    uint32_t GetPushedTextColor() const { return m_pushedTextColor; }
    uint32_t GetFocusedTextColor() const { return m_focusedTextColor; }

protected:
    // Disabled by the state or by "enabled".
    bool IsDisabledNow() const { return !IsEnabled() || HasButtonState(kDisabled); }
    // The state image, else the normal image when the state has none or it
    // cannot be loaded.
    void PaintStatusImage(platform::Painter& painter) override;
    // The focus border colour while focused, when there is one.
    void PaintBorder(platform::Painter& painter) override;
    uint32_t CurrentTextColor() const override;

private:
    // The image of the current state; empty for the normal state.
    const std::u16string& StateImage() const;

    std::u16string m_normalImage;
    std::u16string m_hotImage;
    std::u16string m_pushedImage;
    std::u16string m_focusedImage;
    std::u16string m_disabledImage;
    uint32_t m_hotTextColor = 0;
    uint32_t m_pushedTextColor = 0;
    uint32_t m_focusedTextColor = 0;
};

}  // namespace SkinUI
