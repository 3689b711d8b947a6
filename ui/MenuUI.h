// The framework's popup menu: a pop-up, tool-window, topmost window listing
// CMenuElementUI entries, with sub-menus and keyboard navigation. The chosen
// entry reaches the owner window as WM_COMMAND with the entry's command id,
// followed by kMenuClosedCommand once the chain has closed; a dismissed menu
// sends kMenuClosedCommand alone.
#pragma once

#include "ui/ListContainerElementUI.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace SkinUI {

class CLabelUI;
class CMenuUI;
class CVerticalLayoutUI;

inline constexpr uint16_t kMenuClosedCommand = 1999;

// Text alignment of an entry.
enum class MenuAlign { Left = 0, Center = 1, Right = 2 };

class CMenuElementUI : public CListContainerElementUI {
public:
    // An entry with its label in white on `itemColor`; `separator` makes a
    // thin line without label.
    explicit CMenuElementUI(uint16_t command = 0, std::u16string_view text = {}, MenuAlign align = MenuAlign::Left,
                            uint32_t itemColor = 0xFF202020, bool separator = false);
    ~CMenuElementUI() override;
    std::u16string_view GetClass() const override;

    uint16_t GetCommand() const { return m_command; }
    bool IsSeparator() const { return m_separator; }
    CLabelUI* GetLabel() const { return m_label; }
    // An icon left of the text (kIconWidth wide), and one on the right in a
    // label of `width`; once each, not on separators.
    static constexpr int kIconWidth = 20;
    bool SetIcon(std::u16string_view icon);
    bool SetRightIcon(std::u16string_view icon, int width);
    CLabelUI* GetIcon() const { return m_icon; }
    CLabelUI* GetRightIcon() const { return m_rightIcon; }
    // The menu shown when the entry is hovered; the entry owns it.
    void SetSubMenu(std::unique_ptr<CMenuUI> menu);
    CMenuUI* GetSubMenu() const { return m_subMenu.get(); }

    bool IsHover() const { return m_hover; }
    void SetHover(bool hover, uint32_t hotColor);

private:
    uint16_t m_command;
    bool m_separator;
    uint32_t m_itemColor;
    bool m_hover = false;
    CLabelUI* m_label = nullptr;
    CLabelUI* m_icon = nullptr;
    CLabelUI* m_rightIcon = nullptr;
    CContainerUI* m_row = nullptr;  // icon, text, right icon from left to right
    std::unique_ptr<CMenuUI> m_subMenu;
};

// Where a menu of `width` × `height` opens for the point, kept off the work
// area's right and bottom edges.
platform::Rect MenuPlacement(int x, int y, int width, int height, const platform::Rect& workArea, bool subMenu);

class CMenuUI : public CWindowWnd {
public:
    static constexpr uint32_t kLabelHoverColor = 0xFFFF0000;
    static constexpr uint32_t kLabelLeaveColor = 0xFFFFFFFF;

    explicit CMenuUI(unsigned style = 0);
    ~CMenuUI() override;

    std::u16string_view GetWindowClassName() const override { return u"MenuUI"; }
    unsigned GetClassStyle() const override;

    void SetItemHeight(int height) { m_itemHeight = height; }
    int GetItemHeight() const { return m_itemHeight; }
    void SetWidth(int width) { m_width = width; }
    int GetWidth() const { return m_width; }
    // The menu's colour value fills its entries, under white labels (red
    // while hovered, on the hot colour); for entries added afterwards.
    void SetTextColor(uint32_t color) { m_textColor = color; }
    void SetHotColor(uint32_t color) { m_hotColor = color; }
    unsigned GetStyle() const { return m_style; }

    CMenuElementUI* AddItem(std::u16string_view text, uint16_t command, MenuAlign align = MenuAlign::Left);
    void AddSeparator();
    // Gives `entry` (one of this menu's) the sub-menu; false when it is not.
    bool AttachSubMenu(CMenuElementUI* entry, std::unique_ptr<CMenuUI> menu);
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    CMenuElementUI* GetEntry(int index) const;
    int GetTotalHeight() const { return m_totalHeight; }

    // Opens a top-level menu at a screen point for `owner`. From here on the
    // menu owns itself: it is freed when its window is gone.
    void Show(int x, int y, platform::WindowId owner);
    CMenuElementUI* GetHotEntry() const { return m_hot; }
    // The menu window's manager: fonts and images of the menu.
    CWindowUIManager& GetManager() { return m_manager; }

    // The menus of the chain that are open, top-level first.
    static const std::vector<CMenuUI*>& OpenChain();

    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void OnFinalMessage(platform::WindowId window) override;

private:
    bool Open(int x, int y, platform::WindowId parent);
    void ShowSubMenu(CMenuElementUI* entry);
    void HideSubMenus();
    void Hide();
    void SetHot(CMenuElementUI* entry);
    CMenuElementUI* EntryAt(int y) const;
    void OnMouseMove(int y);
    void OnMouseLeave();
    void Choose(CMenuElementUI* entry);
    bool OnKey(int key);
    void MoveSelection(int step);
    bool InChain(platform::WindowId window) const;
    static void CloseChain();

    unsigned m_style;
    int m_itemHeight = 20;
    int m_width = 150;
    uint32_t m_textColor = 0xFF202020;
    uint32_t m_hotColor = 0xFFC1E3FF;
    int m_totalHeight = 0;
    CMenuElementUI* m_parentEntry = nullptr;
    CMenuUI* m_parentMenu = nullptr;
    CMenuElementUI* m_hot = nullptr;
    platform::WindowId m_closeOwner = platform::WindowId::None;  // top-level menus: told when it closes
    std::vector<CMenuElementUI*> m_entries;
    std::unique_ptr<CVerticalLayoutUI> m_pendingLayout;  // until the window exists
    CWindowUIManager m_manager;
};

}  // namespace SkinUI
