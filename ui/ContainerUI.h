// A control that owns child controls. Adding a child binds it to the
// container's manager (if any) and makes the container its parent.
#pragma once

#include "ui/ControlUI.h"
#include "ui/IContainerUI.h"

#include <memory>
#include <vector>

namespace SkinUI {

class CContainerUI : public CControlUI, public IContainerUI {
public:
    std::u16string_view GetClass() const override { return u"ContainerUI"; }
    IContainerUI* GetContainer() override { return this; }
    // Binds the children too.
    void SetManager(CWindowUIManager* manager, CControlUI* parent) override;
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    bool Add(std::unique_ptr<CControlUI> control) final;
    bool AddAt(std::unique_ptr<CControlUI> control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    int GetCount() const override;
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(const CControlUI* control) const override;

    void SetInset(const UIRect& inset) { m_inset = inset; }
    const UIRect& GetInset() const { return m_inset; }
    void SetMouseChildEnabled(bool on) { m_mouseChild = on; }
    bool IsMouseChildEnabled() const { return m_mouseChild; }
    void SetChildPadding(int padding) { m_childPadding = padding; }
    int GetChildPadding() const { return m_childPadding; }
    // Whether the container shows a vertical / horizontal scroll bar, and the
    // attribute list that styles it.
    void SetVScrollBar(bool on) { m_vScrollBar = on; }
    void SetHScrollBar(bool on) { m_hScrollBar = on; }
    bool HasVScrollBar() const { return m_vScrollBar; }
    bool HasHScrollBar() const { return m_hScrollBar; }
    void SetVScrollBarStyle(std::u16string_view list) { m_vScrollBarStyle = list; }
    void SetHScrollBarStyle(std::u16string_view list) { m_hScrollBarStyle = list; }
    const std::u16string& GetVScrollBarStyle() const { return m_vScrollBarStyle; }
    const std::u16string& GetHScrollBarStyle() const { return m_hScrollBarStyle; }

private:
    std::vector<std::unique_ptr<CControlUI>> m_items;
    UIRect m_inset;
    bool m_mouseChild = true;
    int m_childPadding = 0;
    bool m_vScrollBar = false;
    bool m_hScrollBar = false;
    std::u16string m_vScrollBarStyle;
    std::u16string m_hScrollBarStyle;
};

}  // namespace SkinUI
