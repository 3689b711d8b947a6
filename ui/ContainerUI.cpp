#include "ui/ContainerUI.h"

#include "ui/WindowUIManager.h"

namespace SkinUI {
namespace {

const AttributeSetter<CContainerUI> kContainerAttributes[] = {
    {u"inset", [](auto& c, auto v) { c.SetInset(ParseRect(v)); }},
    {u"mousechild", [](auto& c, auto v) { c.SetMouseChildEnabled(ParseBool(v)); }},
    {u"vscrollbar", [](auto& c, auto v) { c.SetVScrollBar(ParseBool(v)); }},
    {u"hscrollbar", [](auto& c, auto v) { c.SetHScrollBar(ParseBool(v)); }},
    {u"vscrollbarstyle", [](auto& c, auto v) { c.SetVScrollBarStyle(v); }},
    {u"hscrollbarstyle", [](auto& c, auto v) { c.SetHScrollBarStyle(v); }},
    {u"childpadding", [](auto& c, auto v) { c.SetChildPadding(ParseInt(v)); }},
};

}  // namespace

void CContainerUI::SetManager(CWindowUIManager* manager, CControlUI* parent)
{
    CControlUI::SetManager(manager, parent);
    for (const auto& item : m_items)
        item->SetManager(manager, this);
}

void CContainerUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kContainerAttributes, *this, name, value))
        CControlUI::SetAttribute(name, value);
}

bool CContainerUI::Add(std::unique_ptr<CControlUI> control) { return AddAt(std::move(control), GetCount()); }

bool CContainerUI::AddAt(std::unique_ptr<CControlUI> control, int index)
{
    if (!control || index < 0 || index > GetCount())
        return false;
    CControlUI* child = control.get();
    m_items.insert(m_items.begin() + index, std::move(control));
    if (GetManager())
        GetManager()->InitControls(child, this);
    else
        child->SetManager(nullptr, this);
    return true;
}

bool CContainerUI::Remove(CControlUI* control)
{
    const int index = GetItemIndex(control);
    if (index < 0)
        return false;
    // The child is destroyed after it has left the list.
    const std::unique_ptr<CControlUI> removed = std::move(m_items[static_cast<size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    return true;
}

void CContainerUI::RemoveAll()
{
    const std::vector<std::unique_ptr<CControlUI>> removed = std::move(m_items);
    m_items.clear();
}

int CContainerUI::GetCount() const { return static_cast<int>(m_items.size()); }

CControlUI* CContainerUI::GetItemAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

int CContainerUI::GetItemIndex(const CControlUI* control) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == control)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace SkinUI
