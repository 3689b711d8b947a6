#include "ui/OptionUI.h"

#include "ui/IContainerUI.h"
#include "ui/WindowUIManager.h"

#include <map>
#include <vector>

namespace SkinUI {
namespace {

const AttributeSetter<COptionUI> kOptionAttributes[] = {
    {u"group", [](auto& c, auto v) { c.SetGroup(v); }},
    {u"selected", [](auto& c, auto v) { c.SetSelected(ParseBool(v)); }},
    {u"selectedimage", [](auto& c, auto v) { c.SetSelectedImage(v); }},
    {u"foreimage", [](auto& c, auto v) { c.SetForeImage(v); }},
    {u"selectedtextcolor", [](auto& c, auto v) { c.SetSelectedTextColor(ParseColor(v)); }},
};

}  // namespace

COptionUI::~COptionUI() { LeaveGroup(); }

void COptionUI::SetManager(CWindowUIManager* manager, CControlUI* parent)
{
    CButtonUI::SetManager(manager, parent);
    if (manager && manager != m_groupManager)
        LeaveGroup();
    JoinGroup();
}

void COptionUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kOptionAttributes, *this, name, value))
        CButtonUI::SetAttribute(name, value);
}

void COptionUI::SetGroup(std::u16string_view group)
{
    if (group == m_group)
        return;
    LeaveGroup();
    m_group = group;
    JoinGroup();
}

void COptionUI::LeaveGroup()
{
    if (m_groupManager)
        m_groupManager->RemoveOptionGroup(m_group, this);
    m_groupManager = nullptr;
}

void COptionUI::JoinGroup()
{
    if (!GetManager() || m_group.empty())
        return;
    GetManager()->AddOptionGroup(m_group, this);
    m_groupManager = GetManager();
}

void COptionUI::PaintStatusImage(platform::Painter& painter)
{
    const bool selectedDrawn = m_selected && !m_selectedImage.empty() && DrawImage(painter, m_selectedImage);
    if (!selectedDrawn)
        CButtonUI::PaintStatusImage(painter);
    if (!m_foreImage.empty())
        DrawImage(painter, m_foreImage);
}

uint32_t COptionUI::CurrentTextColor() const
{
    if (m_selected && m_selectedTextColor != 0 && !IsDisabledNow())
        return m_selectedTextColor;
    return CButtonUI::CurrentTextColor();
}

}  // namespace SkinUI

namespace SkinUI {

void COptionUI::Selected(bool selected, bool notify)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    Invalidate();
    CWindowUIManager* manager = GetManager();
    if (manager == nullptr)
        return;
    if (m_group.empty()) {
        if (notify)
            manager->SendNotify(this, u"selectchanged");
        return;
    }
    if (!selected)
        return;
    for (CControlUI* member : manager->GetOptionGroup(m_group)) {
        if (member != this)
            static_cast<COptionUI*>(member)->SetSelected(false);
    }
    if (notify)
        manager->SendNotify(this, u"selectchanged");
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate())
        return false;
    Selected(m_group.empty() ? !m_selected : true);
    return true;
}

namespace {

// The selected grouped options under the roots, in document order; the
// trees are walked with a stack of our own.
std::vector<COptionUI*> SelectedGroupMembers(std::span<CControlUI* const> roots)
{
    std::vector<COptionUI*> found;
    std::vector<CControlUI*> pending(roots.rbegin(), roots.rend());
    while (!pending.empty()) {
        CControlUI* control = pending.back();
        pending.pop_back();
        auto* option = dynamic_cast<COptionUI*>(control);
        if (option != nullptr && option->IsSelected() && !option->GetGroup().empty())
            found.push_back(option);
        if (const IContainerUI* container = control->GetContainer()) {
            for (int i = container->GetCount() - 1; i >= 0; --i)
                pending.push_back(container->GetItemAt(i));
        }
    }
    return found;
}

}  // namespace

void COptionUI::KeepOneSelectedPerGroup(std::span<CControlUI* const> roots, CWindowUIManager* manager)
{
    std::map<std::u16string, COptionUI*> kept;
    for (COptionUI* option : SelectedGroupMembers(roots)) {
        COptionUI*& last = kept[option->GetGroup()];
        if (last != nullptr)
            last->SetSelected(false);
        last = option;
    }
    if (manager == nullptr)
        return;
    for (const auto& [group, option] : kept) {
        for (CControlUI* member : manager->GetOptionGroup(group)) {
            if (member != option)
                static_cast<COptionUI*>(member)->SetSelected(false);
        }
    }
}

}  // namespace SkinUI
