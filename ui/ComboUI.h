// A drop-down list box. Its children are the items; the drop-down window is
// styled by the "dropbox" attribute list and the items by ListItemInfo. The
// closed combo shows its state image and the text of the selected item.
#pragma once

#include "ui/ButtonState.h"
#include "ui/ContainerUI.h"
#include "ui/ListItemInfo.h"
#include "ui/TextMarkup.h"
#include "platform/window_system.h"

#include <memory>
#include <string>

namespace SkinUI {

class CComboWnd;

class CComboUI : public CContainerUI, public CButtonStateHolder {
public:
    CComboUI();
    ~CComboUI() override;
    std::u16string_view GetClass() const override { return u"ComboUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetTextPadding(const UIRect& padding) { m_textPadding = padding; }
    const UIRect& GetTextPadding() const { return m_textPadding; }
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
    // Attribute list for the drop-down list, applied when it opens.
    void SetDropBoxAttributes(std::u16string_view list) { m_dropBoxAttributes = list; }
    const std::u16string& GetDropBoxAttributes() const { return m_dropBoxAttributes; }
    ListItemInfo& GetItemInfo() { return m_itemInfo; }
    const ListItemInfo& GetItemInfo() const { return m_itemInfo; }

    // The drop-down's size; a zero width means the combo's width, a zero
    // height the height of all items (a height larger than that is cut).
    void SetDropBoxSize(UISize size) { m_dropBoxSize = size; }
    UISize GetDropBoxSize() const { return m_dropBoxSize; }

    // Selects an item and sends "itemselect" (new index, old index); the
    // current index does nothing. The old item is deselected first; an index
    // past the end means the last item; a negative index, a hidden or a
    // disabled item leaves the combo without selection and sends nothing.
    bool SelectItem(int index);
    // Selects the usable item `step` rows from the current one, if any.
    bool SelectNext(int step);
    // Selects the first (or last) usable item.
    bool SelectEdge(bool last);
    // Selects the next usable item after the current one (wrapping) whose
    // text starts with the character, ignoring case.
    bool SelectByInitial(char16_t character);
    // A shown and enabled item.
    bool IsSelectable(int index) const;
    // The selected item: -1 for none. Stores the index only (no
    // notification); an index outside the items means none.
    void SetCurSel(int index) { m_curSel = index; }
    int GetCurSel() const { return m_curSel; }

    // Opens the drop-down and sends "dropdown"; false when disabled or it
    // cannot open. Closing it leaves the selection as it is.
    bool Activate() override;
    void CloseDropDown();
    bool IsDroppedDown() const;
    // The open drop-down window, nullptr when closed.
    CComboWnd* GetDropDown() const;

    bool IsFocusable() const override { return true; }
    // F4: opens the drop-down, and closes it again.
    static constexpr char16_t kOpenKey = platform::VK_F1 + 3;
    // The items are shown only in the drop-down: they are not laid out here.
    void SetItemRect(const UIRect& rc) override { CControlUI::SetItemRect(rc); }
    // A press opens the drop-down; arrows, Home, End, a typed initial and
    // the wheel change the selection; Enter, F4, Alt+Down and Alt+Up open,
    // Esc closes.
    void DoEvent(TEventUI& event) override;
    // The selected item's text; empty without a selection.
    std::u16string_view GetSelectedText() const;

    // The items live in the drop-down: only the combo itself is painted.
    void DoPaint(platform::Painter& painter, const UIRect& dirty) override;

protected:
    void PaintStatusImage(platform::Painter& painter) override;
    // The selected item's text in the item font, style and colour, inside
    // the combo's text padding.
    void PaintText(platform::Painter& painter) override;

private:
    const std::u16string& StateImage() const;
    void HandleKey(char16_t key);

    int m_curSel = -1;
    UIRect m_textPadding;
    std::u16string m_normalImage;
    std::u16string m_hotImage;
    std::u16string m_pushedImage;
    std::u16string m_focusedImage;
    std::u16string m_disabledImage;
    std::u16string m_dropBoxAttributes;
    ListItemInfo m_itemInfo;
    UISize m_dropBoxSize;
    // Owned; handed over to itself when replaced or when the combo goes.
    CComboWnd* m_dropDown = nullptr;
    void ReleaseDropDown();
    TextMarkup m_markup;  // the selected text's mark-up, parsed when it is first drawn
};

}  // namespace SkinUI
