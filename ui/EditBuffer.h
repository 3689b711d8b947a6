// The text of a single-line edit with its caret and selection: moving,
// selecting, inserting and deleting, in UTF-16 units that never split a
// surrogate pair. No window or painting is involved.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace SkinUI {

class CEditBuffer {
public:
    // The number of characters: a surrogate pair counts once.
    static size_t CharacterCount(std::u16string_view text);
    // What a single line may hold: line breaks, other control characters and
    // lone surrogates are dropped.
    static std::u16string SingleLine(std::u16string_view text);
    // UTF-16 units of the first `count` characters of `text`.
    static size_t UnitsOfCharacters(std::u16string_view text, size_t count);

    const std::u16string& Text() const { return m_text; }
    // Replaces the text; the caret and the selection stay where they were,
    // as far as the new text reaches.
    void SetText(std::u16string_view text);
    // At most this many characters (below 0: none); longer insertions are cut.
    void SetMaxChars(int count) { m_maxChars = count < 0 ? 0 : static_cast<size_t>(count); }

    size_t Caret() const { return m_caret; }
    size_t Anchor() const { return m_anchor; }
    bool HasSelection() const { return m_caret != m_anchor; }
    size_t SelectionStart() const { return m_caret < m_anchor ? m_caret : m_anchor; }
    size_t SelectionEnd() const { return m_caret < m_anchor ? m_anchor : m_caret; }
    std::u16string_view SelectedText() const;

    // Puts the caret at `pos` (moved back off a surrogate pair's second
    // half); `extend` keeps the other end of the selection, else it goes.
    void MoveTo(size_t pos, bool extend);
    // One character, or one word; without `extend` a selection collapses to
    // its end on that side.
    void MoveLeft(bool word, bool extend);
    void MoveRight(bool word, bool extend);
    void SelectAll();
    // The word (or the run of spaces) around `pos`.
    void SelectWordAt(size_t pos);

    // Replaces the selection with what of `text` fits under the maximum;
    // false when the text stayed the same.
    bool Insert(std::u16string_view text);
    // The selection, else the character before (after) the caret.
    bool DeleteBackward();
    bool DeleteForward();

private:
    size_t Clamp(size_t pos) const;
    size_t PreviousBoundary(size_t pos) const;
    size_t NextBoundary(size_t pos) const;
    size_t PreviousWord(size_t pos) const;
    size_t NextWord(size_t pos) const;
    bool IsSpaceAt(size_t pos) const;
    bool EraseRange(size_t from, size_t to);

    std::u16string m_text;
    size_t m_caret = 0;
    size_t m_anchor = 0;
    size_t m_maxChars = 255;
};

}  // namespace SkinUI
