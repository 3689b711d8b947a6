#include "ui/EditBuffer.h"

#include <algorithm>

namespace SkinUI {
namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

size_t CEditBuffer::UnitsOfCharacters(std::u16string_view text, size_t count)
{
    size_t units = 0;
    for (size_t chars = 0; units < text.size() && chars < count; ++chars)
        units += (IsHigh(text[units]) && units + 1 < text.size() && IsLow(text[units + 1])) ? 2 : 1;
    return units;
}

size_t CEditBuffer::CharacterCount(std::u16string_view text)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i)
        count += (IsLow(text[i]) && i > 0 && IsHigh(text[i - 1])) ? 0 : 1;
    return count;
}

std::u16string CEditBuffer::SingleLine(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
            out += c;
            out += text[++i];
        } else if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !IsHigh(c) && !IsLow(c)) {
            out += c;
        }
    }
    return out;
}

void CEditBuffer::SetText(std::u16string_view text)
{
    m_text = text;
    m_caret = Clamp(m_caret);
    m_anchor = Clamp(m_anchor);
}

std::u16string_view CEditBuffer::SelectedText() const
{
    return std::u16string_view(m_text).substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

size_t CEditBuffer::Clamp(size_t pos) const
{
    pos = std::min(pos, m_text.size());
    if (pos > 0 && pos < m_text.size() && IsLow(m_text[pos]) && IsHigh(m_text[pos - 1]))
        --pos;
    return pos;
}

size_t CEditBuffer::PreviousBoundary(size_t pos) const
{
    return pos == 0 ? 0 : Clamp(pos - 1);
}

size_t CEditBuffer::NextBoundary(size_t pos) const
{
    if (pos >= m_text.size())
        return m_text.size();
    return pos + UnitsOfCharacters(std::u16string_view(m_text).substr(pos), 1);
}

bool CEditBuffer::IsSpaceAt(size_t pos) const
{
    const char16_t c = m_text[pos];
    return c == u' ' || c == u'\t' || c == 0x3000 || c == 0xA0;
}

// The start of the word before `pos`: back over spaces, then over the word.
size_t CEditBuffer::PreviousWord(size_t pos) const
{
    while (pos > 0 && IsSpaceAt(pos - 1))
        --pos;
    while (pos > 0 && !IsSpaceAt(pos - 1))
        --pos;
    return pos;
}

// The start of the next word: over the rest of this word, then the spaces.
size_t CEditBuffer::NextWord(size_t pos) const
{
    while (pos < m_text.size() && !IsSpaceAt(pos))
        ++pos;
    while (pos < m_text.size() && IsSpaceAt(pos))
        ++pos;
    return pos;
}

void CEditBuffer::MoveTo(size_t pos, bool extend)
{
    m_caret = Clamp(pos);
    if (!extend)
        m_anchor = m_caret;
}

void CEditBuffer::MoveLeft(bool word, bool extend)
{
    if (HasSelection() && !extend && !word) {
        MoveTo(SelectionStart(), false);
        return;
    }
    MoveTo(word ? PreviousWord(m_caret) : PreviousBoundary(m_caret), extend);
}

void CEditBuffer::MoveRight(bool word, bool extend)
{
    if (HasSelection() && !extend && !word) {
        MoveTo(SelectionEnd(), false);
        return;
    }
    MoveTo(word ? NextWord(m_caret) : NextBoundary(m_caret), extend);
}

void CEditBuffer::SelectAll()
{
    m_anchor = 0;
    m_caret = m_text.size();
}

void CEditBuffer::SelectWordAt(size_t pos)
{
    pos = Clamp(pos);
    if (m_text.empty())
        return MoveTo(0, false);
    if (pos == m_text.size())
        pos = PreviousBoundary(pos);
    const bool space = IsSpaceAt(pos);
    size_t from = pos;
    size_t to = pos;
    while (from > 0 && IsSpaceAt(from - 1) == space)
        --from;
    while (to < m_text.size() && IsSpaceAt(to) == space)
        ++to;
    m_anchor = from;
    m_caret = to;
}

bool CEditBuffer::Insert(std::u16string_view text)
{
    const size_t start = SelectionStart();
    const size_t end = SelectionEnd();
    const std::u16string_view selected = SelectedText();
    const size_t kept = CharacterCount(m_text) - CharacterCount(selected);
    const size_t room = m_maxChars > kept ? m_maxChars - kept : 0;
    const std::u16string_view fits = text.substr(0, UnitsOfCharacters(text, room));
    if (fits.empty() && (text.size() > 0 || start == end))
        return false;  // nothing fits: the selection stays
    if (fits == selected) {
        MoveTo(end, false);
        return false;
    }
    m_text.replace(start, end - start, fits);
    MoveTo(start + fits.size(), false);
    return true;
}

bool CEditBuffer::EraseRange(size_t from, size_t to)
{
    if (from >= to)
        return false;
    m_text.erase(from, to - from);
    MoveTo(from, false);
    return true;
}

bool CEditBuffer::DeleteBackward()
{
    if (HasSelection())
        return EraseRange(SelectionStart(), SelectionEnd());
    return EraseRange(PreviousBoundary(m_caret), m_caret);
}

bool CEditBuffer::DeleteForward()
{
    if (HasSelection())
        return EraseRange(SelectionStart(), SelectionEnd());
    return EraseRange(m_caret, NextBoundary(m_caret));
}

}  // namespace SkinUI
