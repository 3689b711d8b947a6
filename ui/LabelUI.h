// A control that shows its text: alignment, font, colours and padding.
#pragma once

#include "ui/ControlUI.h"
#include "ui/TextMarkup.h"

namespace SkinUI {

class CLabelUI : public CControlUI {
public:
    CLabelUI() = default;

    std::u16string_view GetClass() const override { return u"LabelUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    // TextStyle flags.
    void SetTextStyle(unsigned style) { m_textStyle = style; }
    unsigned GetTextStyle() const { return m_textStyle; }
    // An index into the manager's fonts; -1 for the default font.
    void SetFont(int index) { m_font = index; }
    int GetFont() const { return m_font; }
    // 0: the window's default colour.
    void SetTextColor(uint32_t color) { UpdatePainted(m_textColor, color); }
    void SetDisabledTextColor(uint32_t color) { UpdatePainted(m_disabledTextColor, color); }
    uint32_t GetTextColor() const { return m_textColor; }
    uint32_t GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetTextPadding(const UIRect& padding) { m_textPadding = padding; }
    const UIRect& GetTextPadding() const { return m_textPadding; }
    // The text may hold inline mark-up such as {u}…{/u}.
    void SetShowHtml(bool on) { m_showHtml = on; }
    bool IsShowHtml() const { return m_showHtml; }

protected:
    explicit CLabelUI(unsigned textStyle) : m_textStyle(textStyle) {}

    void PaintText(platform::Painter& painter) override;
    // The colour the text has now: the disabled colour while disabled, else
    // the text colour; 0 falls back to the window's colours.
    virtual uint32_t CurrentTextColor() const;
    // `text` inside the rectangle less the text padding, in the label's font
    // and style.
    void DrawLabelText(platform::Painter& painter, std::u16string_view text, uint32_t color);

private:
    unsigned m_textStyle = TextStyle::Left | TextStyle::VCenter | TextStyle::SingleLine;
    int m_font = -1;
    uint32_t m_textColor = 0;
    uint32_t m_disabledTextColor = 0;
    UIRect m_textPadding;
    bool m_showHtml = false;
    TextMarkup m_markup;  // the text's mark-up, parsed when it is first drawn
};

}  // namespace SkinUI
