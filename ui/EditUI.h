// A single-line text box. While it has the focus (and is enabled and not
// read-only) it runs its own editing surface inside the window: the text on
// the "nativebkcolor" background, a blinking caret, the selection, the input
// method's pending text, clipboard keys. Outside editing it paints like a
// label over its state image (hot, focused, disabled).
#pragma once

#include "ui/ButtonState.h"
#include "ui/EditBuffer.h"
#include "ui/LabelUI.h"

#include <memory>
#include <string>

namespace SkinUI {

class CEditUI : public CLabelUI, public CButtonStateHolder {
public:
    static constexpr int kDefaultMaxChars = 255;
    // The limit of "maxchar" 0 (none given), and the most any edit takes.
    static constexpr int kCharCap = 32767;
    static constexpr char16_t kPasswordChar = u'*';
    static constexpr unsigned kCaretTimerId = 0x45444954;  // caret blink
    static constexpr unsigned kCaretBlinkMs = 530;

    // Text padding 4,3,4,3 on a white background.
    CEditUI();
    ~CEditUI() override;

    std::u16string_view GetClass() const override { return u"EditUI"; }
    platform::Cursor GetCursor() const override
    {
        return IsEnabled() && !m_readOnly ? platform::Cursor::IBeam : platform::Cursor::Arrow;
    }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;
    void DoEvent(TEventUI& event) override;
    bool IsFocusable() const override { return IsEnabled() && !m_readOnly; }

    // Read-only ends editing; made writable while it has the focus, the
    // edit starts editing.
    void SetReadOnly(bool on);
    bool IsReadOnly() const { return m_readOnly; }
    void SetPasswordMode(bool on) { m_password = on; }
    bool IsPasswordMode() const { return m_password; }
    // Below 0 is ignored; 0 means no limit of its own (kCharCap).
    void SetMaxChar(int count);
    int GetMaxChar() const { return m_maxChar; }

    void SetNormalImage(std::u16string_view image) { m_normalImage = image; Invalidate(); }
    void SetHotImage(std::u16string_view image) { m_hotImage = image; Invalidate(); }
    void SetFocusedImage(std::u16string_view image) { m_focusedImage = image; Invalidate(); }
    void SetDisabledImage(std::u16string_view image) { m_disabledImage = image; Invalidate(); }
    const std::u16string& GetNormalImage() const { return m_normalImage; }
    const std::u16string& GetHotImage() const { return m_hotImage; }
    const std::u16string& GetFocusedImage() const { return m_focusedImage; }
    const std::u16string& GetDisabledImage() const { return m_disabledImage; }
    // Background of the editing surface.
    void SetNativeBkColor(uint32_t color) { UpdatePainted(m_nativeBkColor, color); }
    uint32_t GetNativeBkColor() const { return m_nativeBkColor; }

    // The editing state, for painting and for tests.
    bool IsEditing() const { return m_editing; }
    size_t GetCaret() const { return m_buffer.Caret(); }
    size_t GetSelectionStart() const { return m_buffer.SelectionStart(); }
    size_t GetSelectionEnd() const { return m_buffer.SelectionEnd(); }
    bool IsCaretShown() const { return m_caretShown; }
    // The pending input-method text shown at the caret.
    const std::u16string& GetComposition() const { return m_composition; }
    // How far the text is scrolled to the left, in pixels.
    int GetScrollX() const { return m_scrollX; }

protected:
    void PaintStatusImage(platform::Painter& painter) override;
    // A password shows one '*' per character; while editing, the surface.
    void PaintText(platform::Painter& painter) override;

private:
    int CharLimit() const;
    void CopyWhenReadOnly(char16_t key);
    const std::u16string& StateImage() const;
    platform::WindowSystem* System() const;

    void BeginEditing();
    void EndEditing();
    void SyncText();
    void Changed();
    bool HandleMouse(const TEventUI& event);
    void HandleKey(char16_t key);
    void HandleClipboardKey(char16_t key, bool shift, bool ctrl);
    void HandleChar(char16_t unit);
    void HandleComposition();
    void Copy();
    void Paste();
    void Touched();

    // Display text (masked, with the composition) and positions in it.
    std::u16string DisplayText() const;
    size_t DisplayIndex(size_t bufferIndex) const;
    size_t BufferIndex(size_t displayIndex) const;
    size_t CaretDisplayIndex() const;
    int TextWidth(std::u16string_view text);
    UIRect TextRect() const;
    size_t IndexAtX(int x);
    void ScrollToCaret();
    void UpdateTextInput();
    void PaintEditing(platform::Painter& painter);

    bool m_readOnly = false;
    bool m_password = false;
    int m_maxChar = kDefaultMaxChars;
    std::u16string m_normalImage;
    std::u16string m_hotImage;
    std::u16string m_focusedImage;
    std::u16string m_disabledImage;
    uint32_t m_nativeBkColor = 0xFFFFFFFF;

    CEditBuffer m_buffer;
    bool m_editing = false;
    bool m_dragging = false;
    bool m_caretShown = false;
    std::u16string m_textAtStart;
    std::u16string m_composition;
    size_t m_compositionCursor = 0;  // UTF-16 units into m_composition
    char16_t m_pendingHigh = 0;  // first half of a typed surrogate pair
    int m_scrollX = 0;
    std::unique_ptr<platform::Painter> m_measure;  // measures text outside painting
};

}  // namespace SkinUI
