// A drop-down list box. Its children are the items; the drop-down window is
// styled by the "dropbox" attribute list and the items by ListItemInfo.
#pragma once

#include "ui/ContainerUI.h"
#include "ui/ListItemInfo.h"

#include <string>

namespace SkinUI {

class CComboUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override { return u"ComboUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetTextPadding(const UIRect& padding) { m_textPadding = padding; }
    const UIRect& GetTextPadding() const { return m_textPadding; }
    void SetNormalImage(std::u16string_view image) { m_normalImage = image; }
    void SetHotImage(std::u16string_view image) { m_hotImage = image; }
    void SetPushedImage(std::u16string_view image) { m_pushedImage = image; }
    void SetFocusedImage(std::u16string_view image) { m_focusedImage = image; }
    void SetDisabledImage(std::u16string_view image) { m_disabledImage = image; }
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

private:
    UIRect m_textPadding;
    std::u16string m_normalImage;
    std::u16string m_hotImage;
    std::u16string m_pushedImage;
    std::u16string m_focusedImage;
    std::u16string m_disabledImage;
    std::u16string m_dropBoxAttributes;
    ListItemInfo m_itemInfo;
};

}  // namespace SkinUI
