// A single-line text box. The native edit box that takes the input while the
// control has the focus comes with the window's message handling, which also
// sets the button state (hot, focused, disabled) that chooses the image.
#pragma once

#include "ui/ButtonState.h"
#include "ui/LabelUI.h"

#include <string>

namespace SkinUI {

class CEditUI : public CLabelUI, public CButtonStateHolder {
public:
    static constexpr int kDefaultMaxChars = 255;
    static constexpr char16_t kPasswordChar = u'*';

    // Text padding 4,3,4,3 on a white background.
    CEditUI();

    std::u16string_view GetClass() const override { return u"EditUI"; }
    platform::Cursor GetCursor() const override
    {
        return IsEnabled() && !m_readOnly ? platform::Cursor::IBeam : platform::Cursor::Arrow;
    }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetReadOnly(bool on) { m_readOnly = on; }
    bool IsReadOnly() const { return m_readOnly; }
    void SetPasswordMode(bool on) { m_password = on; }
    bool IsPasswordMode() const { return m_password; }
    // Below 0 is ignored.
    void SetMaxChar(int count);
    int GetMaxChar() const { return m_maxChar; }

    void SetNormalImage(std::u16string_view image) { m_normalImage = image; }
    void SetHotImage(std::u16string_view image) { m_hotImage = image; }
    void SetFocusedImage(std::u16string_view image) { m_focusedImage = image; }
    void SetDisabledImage(std::u16string_view image) { m_disabledImage = image; }
    const std::u16string& GetNormalImage() const { return m_normalImage; }
    const std::u16string& GetHotImage() const { return m_hotImage; }
    const std::u16string& GetFocusedImage() const { return m_focusedImage; }
    const std::u16string& GetDisabledImage() const { return m_disabledImage; }
    // Background of the native edit box.
    void SetNativeBkColor(uint32_t color) { m_nativeBkColor = color; }
    uint32_t GetNativeBkColor() const { return m_nativeBkColor; }

protected:
    void PaintStatusImage(platform::Painter& painter) override;
    // A password shows one '*' per character.
    void PaintText(platform::Painter& painter) override;

private:
    const std::u16string& StateImage() const;

    bool m_readOnly = false;
    bool m_password = false;
    int m_maxChar = kDefaultMaxChars;
    std::u16string m_normalImage;
    std::u16string m_hotImage;
    std::u16string m_focusedImage;
    std::u16string m_disabledImage;
    uint32_t m_nativeBkColor = 0xFFFFFFFF;
};

}  // namespace SkinUI
