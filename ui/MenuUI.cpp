#include "ui/MenuUI.h"

#include "ui/HorizontalLayoutUI.h"
#include "ui/LabelUI.h"
#include "ui/VerticalLayoutUI.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace SkinUI {

using platform::WindowId;

namespace {

constexpr int kSeparatorHeight = 2;
constexpr int kTopMargin = 4;  // kept below the work area's top edge
constexpr unsigned kClassStyle = 0x0001 | 0x0002 | 0x0008;  // vertical, horizontal redraw; double clicks

// The window that receives the commands of the menu chain, and the chain's
// open menus, top-level first.
WindowId g_owner = WindowId::None;
std::vector<CMenuUI*> g_chain;

std::u16string LabelName(const void* entry)
{
    char hex[32];
    std::snprintf(hex, sizeof hex, "%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(entry)));
    std::u16string name = u"MenuElementLabel";
    for (const char* c = hex; *c != '\0'; ++c)
        name.push_back(static_cast<char16_t>(*c));
    return name;
}

void PostCommand(WindowId owner, uint16_t command)
{
    if (owner != WindowId::None && CWindowWnd::System() != nullptr)
        CWindowWnd::System()->PostMessage(owner, platform::WM_COMMAND, command, 0);
}

unsigned AlignStyle(MenuAlign align)
{
    const unsigned horizontal = align == MenuAlign::Center ? TextStyle::Center
                              : align == MenuAlign::Right  ? TextStyle::Right
                                                           : TextStyle::Left;
    return horizontal | TextStyle::VCenter | TextStyle::SingleLine;
}

}  // namespace

// ---- entries -----------------------------------------------------------------

CMenuElementUI::CMenuElementUI(uint16_t command, std::u16string_view text, MenuAlign align, uint32_t itemColor,
                               bool separator)
    : m_command(command), m_separator(separator), m_itemColor(itemColor)
{
    if (separator)
        return;
    SetBkColor(itemColor);
    auto label = std::make_unique<CLabelUI>();
    label->SetName(LabelName(this));
    label->SetText(text);
    label->SetShowHtml(true);
    label->SetTextStyle(AlignStyle(align));
    label->SetTextColor(CMenuUI::kLabelLeaveColor);
    label->SetMouseEnabled(false);
    m_label = label.get();
    auto row = std::make_unique<CHorizontalLayoutUI>();
    row->SetMouseEnabled(false);
    m_row = row.get();
    m_row->Add(std::move(label));
    Add(std::move(row));
}

namespace {

std::unique_ptr<CLabelUI> IconLabel(std::u16string text, int width)
{
    auto label = std::make_unique<CLabelUI>();
    label->SetText(text);
    label->SetShowHtml(true);
    label->SetFixedWidth(width);
    label->SetMouseEnabled(false);
    return label;
}

}  // namespace

bool CMenuElementUI::SetIcon(std::u16string_view icon)
{
    if (m_row == nullptr || m_icon != nullptr)
        return false;
    auto label = IconLabel(u"{i " + std::u16string(icon) + u" }", kIconWidth);
    m_icon = label.get();
    return m_row->AddAt(std::move(label), 0);
}

bool CMenuElementUI::SetRightIcon(std::u16string_view icon, int width)
{
    if (m_row == nullptr || m_rightIcon != nullptr || width <= 0)
        return false;
    auto label = IconLabel(u"{x 4}{i " + std::u16string(icon) + u" }", width);
    m_rightIcon = label.get();
    return m_row->Add(std::move(label));
}

CMenuElementUI::~CMenuElementUI() = default;

std::u16string_view CMenuElementUI::GetClass() const { return u"MenuElementUI"; }

void CMenuElementUI::SetSubMenu(std::unique_ptr<CMenuUI> menu) { m_subMenu = std::move(menu); }

void CMenuElementUI::SetHover(bool hover, uint32_t hotColor)
{
    m_hover = hover;
    SetBkColor(hover ? hotColor : m_itemColor);
    if (m_label != nullptr)
        m_label->SetTextColor(hover ? CMenuUI::kLabelHoverColor : CMenuUI::kLabelLeaveColor);
}

// ---- placement ----------------------------------------------------------------

platform::Rect MenuPlacement(int x, int y, int width, int height, const platform::Rect& workArea, bool subMenu)
{
    if (x + width > workArea.right)
        x -= subMenu ? 2 * width : width;
    if (y + height > workArea.bottom)
        y = y - height >= workArea.top ? y - height : workArea.top + kTopMargin;
    return {x, y, x + width, y + height};
}

// ---- the menu window --------------------------------------------------------------

CMenuUI::CMenuUI(unsigned style) : m_style(style), m_pendingLayout(std::make_unique<CVerticalLayoutUI>()) {}

CMenuUI::~CMenuUI()
{
    std::erase(g_chain, this);
}

unsigned CMenuUI::GetClassStyle() const { return kClassStyle; }

CMenuElementUI* CMenuUI::AddItem(std::u16string_view text, uint16_t command, MenuAlign align)
{
    if (m_pendingLayout == nullptr)
        return nullptr;  // the window is open already
    auto entry = std::make_unique<CMenuElementUI>(command, text, align, m_textColor, false);
    entry->SetFixedHeight(m_itemHeight);
    CMenuElementUI* raw = entry.get();
    m_pendingLayout->Add(std::move(entry));
    m_entries.push_back(raw);
    m_totalHeight += m_itemHeight;
    return raw;
}

void CMenuUI::AddSeparator()
{
    if (m_pendingLayout == nullptr)
        return;
    auto entry = std::make_unique<CMenuElementUI>(0, u"", MenuAlign::Left, m_textColor, true);
    entry->SetFixedHeight(kSeparatorHeight);
    entry->SetBkColor(0xFFC0C0C0);
    m_entries.push_back(entry.get());
    m_pendingLayout->Add(std::move(entry));
    m_totalHeight += kSeparatorHeight;
}

bool CMenuUI::AttachSubMenu(CMenuElementUI* entry, std::unique_ptr<CMenuUI> menu)
{
    if (menu == nullptr || entry == nullptr || entry->IsSeparator() ||
        std::find(m_entries.begin(), m_entries.end(), entry) == m_entries.end())
        return false;
    menu->m_parentEntry = entry;
    menu->m_parentMenu = this;
    entry->SetSubMenu(std::move(menu));
    return true;
}

CMenuElementUI* CMenuUI::GetEntry(int index) const
{
    return index >= 0 && index < GetEntryCount() ? m_entries[static_cast<size_t>(index)] : nullptr;
}

const std::vector<CMenuUI*>& CMenuUI::OpenChain() { return g_chain; }

void CMenuUI::Show(int x, int y, WindowId owner)
{
    // A new top-level menu replaces whatever chain was open.
    if (!g_chain.empty())
        CloseChain();
    g_owner = owner;
    m_closeOwner = owner;
    if (!Open(x, y, owner)) {
        PostCommand(g_owner, kMenuClosedCommand);
        delete this;
        return;
    }
    if (m_entries.empty())
        Close();
}

// Creates the window the first time, then places and shows it.
bool CMenuUI::Open(int x, int y, WindowId parent)
{
    platform::WindowSystem* system = System();
    if (system == nullptr)
        return false;
    if (GetHWND() == WindowId::None) {
        if (m_pendingLayout == nullptr)
            return false;  // a sub-menu whose window went with its parent's
        const unsigned exStyle = WindowExStyle::kToolWindow | WindowExStyle::kTopmost;
        if (Create(parent, "", WindowStyle::kPopup, exStyle, x, y, m_width, std::max(m_totalHeight, 1)) ==
            WindowId::None)
            return false;
        m_manager.Init(system, GetHWND());
        m_manager.AttachDialog(std::move(m_pendingLayout));
    }
    const platform::Rect area = system->GetWorkArea(GetHWND());
    system->MoveWindow(GetHWND(), MenuPlacement(x, y, m_width, m_totalHeight, area, m_parentMenu != nullptr));
    if (m_entries.empty())
        return true;  // nothing to show
    if (std::find(g_chain.begin(), g_chain.end(), this) == g_chain.end())
        g_chain.push_back(this);
    ShowWindow(true, true);
    return true;
}

void CMenuUI::ShowSubMenu(CMenuElementUI* entry)
{
    CMenuUI* sub = entry->GetSubMenu();
    platform::WindowSystem* system = System();
    if (sub == nullptr || system == nullptr)
        return;
    const platform::Rect own = system->GetWindowRect(GetHWND());
    const UIRect item = entry->GetItemRect();
    sub->Open(own.left + m_width, own.top + item.top, GetHWND());
}

// Hides the sub-menus that this menu opened (and theirs).
void CMenuUI::HideSubMenus()
{
    auto self = std::find(g_chain.begin(), g_chain.end(), this);
    if (self == g_chain.end())
        return;
    std::vector<CMenuUI*> deeper(self + 1, g_chain.end());
    for (auto it = deeper.rbegin(); it != deeper.rend(); ++it)
        (*it)->Hide();
}

void CMenuUI::Hide()
{
    HideSubMenus();
    SetHot(nullptr);
    std::erase(g_chain, this);
    ShowWindow(false);
}

void CMenuUI::SetHot(CMenuElementUI* entry)
{
    if (entry == m_hot)
        return;
    if (m_hot != nullptr)
        m_hot->SetHover(false, m_hotColor);
    m_hot = entry;
    if (m_hot != nullptr)
        m_hot->SetHover(true, m_hotColor);
    m_manager.Invalidate();
}

CMenuElementUI* CMenuUI::EntryAt(int y) const
{
    int top = 0;
    for (CMenuElementUI* entry : m_entries) {
        const int height = entry->IsSeparator() ? kSeparatorHeight : m_itemHeight;
        if (y >= top && y < top + height)
            return entry->IsSeparator() ? nullptr : entry;
        top += height;
    }
    return nullptr;
}

void CMenuUI::OnMouseMove(int y)
{
    CMenuElementUI* entry = EntryAt(y);
    if (entry == nullptr || entry == m_hot) {
        if (entry == m_hot && entry != nullptr && entry->GetSubMenu() != nullptr &&
            std::find(g_chain.begin(), g_chain.end(), entry->GetSubMenu()) == g_chain.end())
            ShowSubMenu(entry);
        return;
    }
    HideSubMenus();
    SetHot(entry);
    if (entry->GetSubMenu() != nullptr)
        ShowSubMenu(entry);
}

// The pointer went (to the desktop or into a sub-menu): no entry is hot; an
// open sub-menu stays open.
void CMenuUI::OnMouseLeave()
{
    SetHot(nullptr);
}

// Sends the entry's command, then closes the chain, whose top-level menu
// sends kMenuClosedCommand as it goes.
void CMenuUI::Choose(CMenuElementUI* entry)
{
    if (entry == nullptr || entry->IsSeparator())
        return;
    if (entry->GetSubMenu() != nullptr) {
        HideSubMenus();
        ShowSubMenu(entry);
        entry->GetSubMenu()->MoveSelection(1);
        return;
    }
    PostCommand(g_owner, entry->GetCommand());
    CloseChain();
}

void CMenuUI::MoveSelection(int step)
{
    const int count = GetEntryCount();
    if (count == 0)
        return;
    auto current = std::find(m_entries.begin(), m_entries.end(), m_hot);
    int index = current == m_entries.end() ? (step > 0 ? -1 : count) : static_cast<int>(current - m_entries.begin());
    for (int tried = 0; tried < count; ++tried) {
        index = ((index + step) % count + count) % count;
        if (!m_entries[static_cast<size_t>(index)]->IsSeparator()) {
            HideSubMenus();
            SetHot(m_entries[static_cast<size_t>(index)]);
            return;
        }
    }
}

bool CMenuUI::OnKey(int key)
{
    switch (key) {
    case platform::VK_UP:
        MoveSelection(-1);
        return true;
    case platform::VK_DOWN:
        MoveSelection(1);
        return true;
    case platform::VK_RIGHT:
        if (m_hot != nullptr && m_hot->GetSubMenu() != nullptr)
            Choose(m_hot);
        return true;
    case platform::VK_LEFT:
        if (m_parentMenu != nullptr)
            Hide();
        return true;
    case platform::VK_RETURN:
        Choose(m_hot);
        return true;
    case platform::VK_ESCAPE:
        if (m_parentMenu != nullptr)
            Hide();
        else
            CloseChain();
        return true;
    default:
        return false;
    }
}

bool CMenuUI::InChain(WindowId window) const
{
    return std::any_of(g_chain.begin(), g_chain.end(), [window](const CMenuUI* menu) {
        return menu->GetHWND() == window;
    });
}

// The top-level menu closes at the next turn of the message loop, so that no
// menu is freed while one of its handlers runs; until then the chain is hidden.
void CMenuUI::CloseChain()
{
    if (g_chain.empty())
        return;
    // Emptied first: the focus moves that hiding causes must not close it again.
    const std::vector<CMenuUI*> chain = std::exchange(g_chain, {});
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->ShowWindow(false);
    chain.front()->Close();
}

intptr_t CMenuUI::HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case platform::WM_MOUSEMOVE:
        // Asks for WM_MOUSELEAVE when the pointer goes.
        if (System() != nullptr)
            System()->TrackMouse(GetHWND(), 0);
        OnMouseMove(platform::HighSigned(lParam));
        return 0;
    case platform::WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK:
        Choose(EntryAt(platform::HighSigned(lParam)));
        return 0;
    case platform::WM_LBUTTONUP:
        return 0;
    case platform::WM_KEYDOWN:
        if (OnKey(static_cast<int>(wParam)))
            return 0;
        break;
    case platform::WM_KILLFOCUS:
        // Focus moving within the chain (a sub-menu opening or closing) keeps it.
        if (!InChain(static_cast<WindowId>(wParam)) && std::find(g_chain.begin(), g_chain.end(), this) != g_chain.end())
            CloseChain();
        break;
    case platform::WM_CLOSE:
        if (System() != nullptr && GetHWND() != WindowId::None)
            System()->DestroyWindow(GetHWND());
        return 0;
    case platform::WM_DESTROY:
        std::erase(g_chain, this);
        PostCommand(m_closeOwner, kMenuClosedCommand);
        break;
    default:
        break;
    }
    intptr_t result = 0;
    return m_manager.MessageHandler(message, wParam, lParam, result) ? result : 0;
}

// A top-level menu frees itself; a sub-menu belongs to its entry.
void CMenuUI::OnFinalMessage(WindowId)
{
    if (m_parentMenu == nullptr)
        delete this;
}

}  // namespace SkinUI
