#include "ui/EditUI.h"

#include "platform/Utf16.h"
#include "ui/PaintSupport.h"
#include "ui/WindowUIManager.h"

#include <algorithm>
#include <utility>

namespace SkinUI {
namespace {

using namespace platform;

constexpr uint32_t kSelectionColor = 0xFF3399FF;
constexpr unsigned kLineFlags = TextFlag::Left | TextFlag::VCenter | TextFlag::SingleLine;

const AttributeSetter<CEditUI> kEditAttributes[] = {
    {u"readonly", [](auto& c, auto v) { c.SetReadOnly(ParseBool(v)); }},
    {u"password", [](auto& c, auto v) { c.SetPasswordMode(ParseBool(v)); }},
    {u"maxchar", [](auto& c, auto v) { c.SetMaxChar(ParseInt(v)); }},
    {u"normalimage", [](auto& c, auto v) { c.SetNormalImage(v); }},
    {u"hotimage", [](auto& c, auto v) { c.SetHotImage(v); }},
    {u"focusedimage", [](auto& c, auto v) { c.SetFocusedImage(v); }},
    {u"disabledimage", [](auto& c, auto v) { c.SetDisabledImage(v); }},
    {u"nativebkcolor", [](auto& c, auto v) { c.SetNativeBkColor(ParseColor(v)); }},
};

bool IsMouseEvent(UIEvent type)
{
    switch (type) {
    case UIEvent::ButtonDown:
    case UIEvent::ButtonUp:
    case UIEvent::DoubleClick:
    case UIEvent::MouseMove:
        return true;
    default:
        return false;
    }
}

}  // namespace

CEditUI::CEditUI()
{
    SetTextPadding({4, 3, 4, 3});
    SetBkColor(0xFFFFFFFF);
}

CEditUI::~CEditUI()
{
    WindowSystem* system = System();
    if (m_editing && system != nullptr && system->IsWindow(GetManager()->GetWindow()))
        system->StopTextInput();
}

void CEditUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kEditAttributes, *this, name, value))
        CLabelUI::SetAttribute(name, value);
}

void CEditUI::SetMaxChar(int count)
{
    if (count < 0)
        return;
    m_maxChar = count;
    m_buffer.SetMaxChars(CharLimit());
}

int CEditUI::CharLimit() const { return m_maxChar == 0 || m_maxChar > kCharCap ? kCharCap : m_maxChar; }

void CEditUI::SetReadOnly(bool on)
{
    m_readOnly = on;
    if (on && m_editing)
        EndEditing();
    else if (!on && !m_editing && GetManager() != nullptr && GetManager()->GetFocus() == this)
        BeginEditing();
}

WindowSystem* CEditUI::System() const
{
    return GetManager() != nullptr ? GetManager()->GetWindowSystem() : nullptr;
}

// ---- editing sessions --------------------------------------------------------

void CEditUI::BeginEditing()
{
    if (m_editing || m_readOnly || !IsEnabled() || GetManager() == nullptr)
        return;
    m_editing = true;
    m_textAtStart = GetText();
    m_buffer.SetMaxChars(CharLimit());
    m_buffer.SetText(GetText());
    m_buffer.SelectAll();
    m_composition.clear();
    m_pendingHigh = 0;
    m_scrollX = 0;
    Touched();
    ScrollToCaret();
    UpdateTextInput();
}

// Enter, Esc, focus loss or becoming read-only: the session ends and says so
// once.
void CEditUI::EndEditing()
{
    if (!m_editing)
        return;
    m_editing = false;
    m_dragging = false;
    m_caretShown = false;
    m_composition.clear();
    m_scrollX = 0;
    if (CWindowUIManager* manager = GetManager()) {
        manager->KillTimer(this, kCaretTimerId);
        if (WindowSystem* system = System())
            system->StopTextInput();
        Invalidate();
        manager->SendNotify(this, u"edit_return");
    }
}

// The program may have set the text while editing; the caret stays inside it.
void CEditUI::SyncText()
{
    if (m_buffer.Text() != GetText())
        m_buffer.SetText(GetText());
}

// The user changed the text.
void CEditUI::Changed()
{
    SetText(m_buffer.Text());
    if (GetManager() != nullptr)
        GetManager()->SendNotify(this, u"textchanged");
}

// After a key or a click the caret shows at once and blinks from there.
void CEditUI::Touched()
{
    m_caretShown = true;
    if (GetManager() != nullptr)
        GetManager()->SetTimer(this, kCaretTimerId, kCaretBlinkMs);
    Invalidate();
}

// ---- events ------------------------------------------------------------------

void CEditUI::DoEvent(TEventUI& event)
{
    if (TrackHotAndFocus(event.type, IsEnabled())) {
        Invalidate();
        if (event.type == UIEvent::SetFocus)
            BeginEditing();
        else if (event.type == UIEvent::KillFocus)
            EndEditing();
        else if (m_readOnly || !IsEnabled())
            CLabelUI::DoEvent(event);  // a row around a read-only edit turns hot
        return;
    }
    if (IsMouseEvent(event.type) && HandleMouse(event))
        return;
    SyncText();
    switch (event.type) {
    case UIEvent::Timer:
        if (event.wParam != kCaretTimerId)
            break;
        m_caretShown = m_editing && !m_caretShown;
        Invalidate();
        return;
    case UIEvent::KeyDown:
        if (m_editing)
            HandleKey(event.key);
        else
            CopyWhenReadOnly(event.key);
        return;
    case UIEvent::Char:
        if (m_editing)
            HandleChar(event.key);
        return;
    case UIEvent::Composition:
        if (m_editing)
            HandleComposition();
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// False when the mouse is not the edit's: a read-only or disabled edit lets
// it through to its parent (a list row selects itself).
bool CEditUI::HandleMouse(const TEventUI& event)
{
    if (m_readOnly || !IsEnabled())
        return false;
    SyncText();
    const bool shift = (event.keyState & MK_SHIFT) != 0;
    switch (event.type) {
    case UIEvent::ButtonDown:
        BeginEditing();
        m_buffer.MoveTo(BufferIndex(IndexAtX(event.mouse.x)), shift);
        m_dragging = true;
        break;
    case UIEvent::DoubleClick:
        BeginEditing();
        if (m_password)
            m_buffer.SelectAll();
        else
            m_buffer.SelectWordAt(IndexAtX(event.mouse.x));
        break;
    case UIEvent::MouseMove:
        if (!m_dragging || !m_editing)
            return false;
        m_buffer.MoveTo(BufferIndex(IndexAtX(event.mouse.x)), true);
        break;
    case UIEvent::ButtonUp:
        return std::exchange(m_dragging, false);
    default:
        return false;
    }
    if (!m_editing)
        return true;
    Touched();
    ScrollToCaret();
    UpdateTextInput();
    return true;
}

void CEditUI::HandleKey(char16_t key)
{
    WindowSystem* system = System();
    const bool shift = system != nullptr && system->IsKeyDown(VK_SHIFT);
    const bool ctrl = system != nullptr && system->IsKeyDown(VK_CONTROL);
    // A password hides its words: word moves go to the ends.
    const bool word = ctrl && !m_password;
    switch (key) {
    case VK_LEFT:
        if (ctrl && m_password)
            m_buffer.MoveTo(0, shift);
        else
            m_buffer.MoveLeft(word, shift);
        break;
    case VK_RIGHT:
        if (ctrl && m_password)
            m_buffer.MoveTo(m_buffer.Text().size(), shift);
        else
            m_buffer.MoveRight(word, shift);
        break;
    case VK_HOME:
        m_buffer.MoveTo(0, shift);
        break;
    case VK_END:
        m_buffer.MoveTo(m_buffer.Text().size(), shift);
        break;
    case VK_BACK:
        if (m_buffer.DeleteBackward())
            Changed();
        break;
    case VK_DELETE:
        if (!shift && m_buffer.DeleteForward())
            Changed();
        else if (shift)
            HandleClipboardKey(key, shift, ctrl);
        break;
    case VK_RETURN:
        EndEditing();
        return;
    case VK_ESCAPE:
        if (GetText() != m_textAtStart) {
            m_buffer.SetText(m_textAtStart);
            Changed();
        }
        EndEditing();
        return;
    default:
        if (ctrl && key == u'A')
            m_buffer.SelectAll();
        else
            HandleClipboardKey(key, shift, ctrl);
        break;
    }
    if (!m_editing)
        return;
    Touched();
    ScrollToCaret();
    UpdateTextInput();
}

// Ctrl+C / Ctrl+Insert copy, Ctrl+X / Shift+Delete cut, Ctrl+V / Shift+Insert
// paste. A password's text never reaches the clipboard.
void CEditUI::HandleClipboardKey(char16_t key, bool shift, bool ctrl)
{
    const bool copy = (ctrl && key == u'C') || (ctrl && !shift && key == VK_INSERT);
    const bool cut = (ctrl && key == u'X') || (shift && !ctrl && key == VK_DELETE);
    const bool paste = (ctrl && key == u'V') || (shift && !ctrl && key == VK_INSERT);
    if (copy || cut) {
        if (!m_password && m_buffer.HasSelection()) {
            Copy();
            if (cut && m_buffer.DeleteBackward())
                Changed();
        }
    } else if (paste) {
        Paste();
    }
}

// A read-only edit focused by the program edits nothing but still gives its
// whole text to Ctrl+C / Ctrl+Insert (a password's excepted).
void CEditUI::CopyWhenReadOnly(char16_t key)
{
    WindowSystem* system = System();
    if (!m_readOnly || m_password || system == nullptr || !system->IsKeyDown(VK_CONTROL) ||
        (key != u'C' && key != VK_INSERT) || GetManager()->GetFocus() != this)
        return;
    system->SetClipboardText(Utf16ToUtf8(GetText()));
}

void CEditUI::Copy()
{
    if (WindowSystem* system = System())
        system->SetClipboardText(Utf16ToUtf8(m_buffer.SelectedText()));
}

void CEditUI::Paste()
{
    WindowSystem* system = System();
    if (system == nullptr)
        return;
    const std::u16string text = CEditBuffer::SingleLine(Utf8ToUtf16(system->GetClipboardText()));
    if (!text.empty() && m_buffer.Insert(text))
        Changed();
}

// Typed text; control characters (Ctrl+letter, Tab, Enter, Esc) are not.
void CEditUI::HandleChar(char16_t unit)
{
    const char16_t high = std::exchange(m_pendingHigh, char16_t{0});
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        m_pendingHigh = unit;
        return;
    }
    std::u16string text;
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (high == 0)
            return;
        text = {high, unit};
    } else {
        text = CEditBuffer::SingleLine(std::u16string_view(&unit, 1));
    }
    if (text.empty())
        return;
    if (m_buffer.Insert(text))
        Changed();
    Touched();
    ScrollToCaret();
    UpdateTextInput();
}

// The input method's pending text shows at the caret until it is committed
// (as typed characters) or dropped.
void CEditUI::HandleComposition()
{
    WindowSystem* system = System();
    if (system == nullptr)
        return;
    const Composition composition = system->GetCompositionText();
    m_composition = CEditBuffer::SingleLine(Utf8ToUtf16(composition.text));
    const size_t cursor = static_cast<size_t>(std::max(composition.cursor, 0));
    m_compositionCursor = CEditBuffer::UnitsOfCharacters(m_composition, cursor);
    Touched();
    ScrollToCaret();
    UpdateTextInput();
}

// ---- positions -----------------------------------------------------------------

// What the surface shows: '*' per character for a password, and the pending
// composition in place of the selection.
std::u16string CEditUI::DisplayText() const
{
    const std::u16string& text = m_buffer.Text();
    std::u16string shown = m_password ? std::u16string(CEditBuffer::CharacterCount(text), kPasswordChar) : text;
    if (!m_composition.empty()) {
        const size_t start = DisplayIndex(m_buffer.SelectionStart());
        const size_t end = DisplayIndex(m_buffer.SelectionEnd());
        shown.replace(start, end - start, m_composition);
    }
    return shown;
}

// A position in the text as a position in the masked text (composition not
// counted).
size_t CEditUI::DisplayIndex(size_t bufferIndex) const
{
    const std::u16string_view text = m_buffer.Text();
    return m_password ? CEditBuffer::CharacterCount(text.substr(0, bufferIndex)) : bufferIndex;
}

// Where the caret shows: in the composition while there is one.
size_t CEditUI::CaretDisplayIndex() const
{
    if (m_composition.empty())
        return DisplayIndex(m_buffer.Caret());
    return DisplayIndex(m_buffer.SelectionStart()) + m_compositionCursor;
}

size_t CEditUI::BufferIndex(size_t displayIndex) const
{
    return m_password ? CEditBuffer::UnitsOfCharacters(m_buffer.Text(), displayIndex) : displayIndex;
}

int CEditUI::TextWidth(std::u16string_view text)
{
    if (text.empty())
        return 0;
    if (!m_measure) {
        WindowSystem* system = System();
        if (system == nullptr || !(m_measure = system->CreatePainter(1, 1)))
            return 0;
    }
    return m_measure->MeasureText(text, FontSpecFor(GetManager(), GetFont()), 0, kLineFlags).cx;
}

UIRect CEditUI::TextRect() const
{
    return DeflateRect(GetItemRect(), GetTextPadding());
}

// The character boundary of the display text nearest to window x.
size_t CEditUI::IndexAtX(int x)
{
    const std::u16string shown = m_password ? std::u16string(CEditBuffer::CharacterCount(m_buffer.Text()),
                                                              kPasswordChar)
                                            : m_buffer.Text();
    const long long target = static_cast<long long>(x) - TextRect().left + m_scrollX;
    size_t best = 0;
    long long bestDistance = target < 0 ? -target : target;
    for (size_t i = 1; i <= shown.size(); ++i) {
        if (i < shown.size() && shown[i] >= 0xDC00 && shown[i] <= 0xDFFF)
            continue;  // inside a surrogate pair
        const long long width = TextWidth(std::u16string_view(shown).substr(0, i));
        const long long distance = width > target ? width - target : target - width;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
        if (width >= target)
            break;
    }
    return best;
}

// Scrolls sideways so that the caret is inside the box, and no further than
// the text needs.
void CEditUI::ScrollToCaret()
{
    const std::u16string shown = DisplayText();
    const int caretX = TextWidth(std::u16string_view(shown).substr(0, CaretDisplayIndex()));
    const int total = TextWidth(shown);
    const int room = std::max(TextRect().right - TextRect().left - 1, 1);
    m_scrollX = std::min(m_scrollX, std::max(total - room, 0));
    if (caretX - m_scrollX > room)
        m_scrollX = caretX - room;
    if (caretX < m_scrollX)
        m_scrollX = caretX;
}

// Tells the input method where the caret is, for its candidate window.
void CEditUI::UpdateTextInput()
{
    WindowSystem* system = System();
    if (system == nullptr || !m_editing)
        return;
    const UIRect rc = TextRect();
    const int x = rc.left - m_scrollX + TextWidth(std::u16string_view(DisplayText()).substr(0, CaretDisplayIndex()));
    system->StartTextInput(GetManager()->GetWindow(), {x, rc.top, x + 1, rc.bottom});
}

// ---- painting -----------------------------------------------------------------

const std::u16string& CEditUI::StateImage() const
{
    static const std::u16string kNone;
    if (!IsEnabled() || HasButtonState(kDisabled))
        return m_disabledImage;
    if (HasButtonState(kFocused))
        return m_focusedImage;
    if (HasButtonState(kHot))
        return m_hotImage;
    return kNone;
}

void CEditUI::PaintStatusImage(platform::Painter& painter)
{
    PaintStateImage(painter, StateImage(), m_normalImage);
}

void CEditUI::PaintText(platform::Painter& painter)
{
    if (m_editing) {
        SyncText();
        PaintEditing(painter);
        return;
    }
    if (!m_password) {
        CLabelUI::PaintText(painter);
        return;
    }
    const std::u16string masked(CEditBuffer::CharacterCount(GetText()), kPasswordChar);
    DrawLabelText(painter, masked, CurrentTextColor());
}

// The surface: background, selection, text, the composition underlined and
// the caret, scrolled so that the caret shows.
void CEditUI::PaintEditing(platform::Painter& painter)
{
    ScrollToCaret();
    painter.FillRect(ToPaintRect(GetItemRect()), m_nativeBkColor);
    const UIRect rc = TextRect();
    const std::u16string shown = DisplayText();
    const uint32_t color = CurrentTextColor() | 0xFF000000;
    const FontSpec font = FontSpecFor(GetManager(), GetFont());
    const int lineHeight = std::min(painter.MeasureText(u"Ag", font, 0, kLineFlags).cy, rc.bottom - rc.top);
    const int top = rc.top + (rc.bottom - rc.top - lineHeight) / 2;
    const int origin = rc.left - m_scrollX;
    auto xAt = [&](size_t index) { return origin + TextWidth(std::u16string_view(shown).substr(0, index)); };
    painter.PushClip(ToPaintRect(rc));
    const size_t start = DisplayIndex(m_buffer.SelectionStart());
    if (m_composition.empty() && m_buffer.HasSelection())
        painter.FillRect({xAt(start), top, xAt(DisplayIndex(m_buffer.SelectionEnd())), top + lineHeight},
                         kSelectionColor);
    painter.DrawText(shown, font, color, {origin, rc.top, std::max(xAt(shown.size()), rc.right) + 1, rc.bottom},
                     kLineFlags);
    if (!m_composition.empty())
        painter.FillRect({xAt(start), top + lineHeight - 1, xAt(start + m_composition.size()), top + lineHeight},
                         color);
    if (m_caretShown) {
        const int x = xAt(CaretDisplayIndex());
        painter.FillRect({x, top, x + 1, top + lineHeight}, color);
    }
    painter.PopClip();
}

}  // namespace SkinUI
