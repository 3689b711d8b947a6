#include "ui/ListUI.h"

#include "ui/ListHeaderUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CListUI> kListAttributes[] = {
    {u"header", [](auto& c, auto v) { c.SetHeaderHidden(v == u"hidden"); }},
    {u"headerbkimage", [](auto& c, auto v) { c.SetHeaderBkImage(v); }},
    {u"scrollselect", [](auto& c, auto v) { c.SetScrollSelect(ParseBool(v)); }},
    {u"multiexpanding", [](auto& c, auto v) { c.SetMultiExpanding(ParseBool(v)); }},
};

}  // namespace

void CListUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kListAttributes, *this, name, value) && !ApplyListItemAttribute(m_itemInfo, name, value))
        CVerticalLayoutUI::SetAttribute(name, value);
}

bool CListUI::AddAt(std::unique_ptr<CControlUI> control, int index)
{
    auto* header = dynamic_cast<CListHeaderUI*>(control.get());
    if (!CVerticalLayoutUI::AddAt(std::move(control), index))
        return false;
    if (header)
        ApplyHeaderSettings(*header);
    return true;
}

CListHeaderUI* CListUI::GetHeader() const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (auto* header = dynamic_cast<CListHeaderUI*>(GetItemAt(i)))
            return header;
    }
    return nullptr;
}

void CListUI::SetHeaderHidden(bool hidden)
{
    m_headerHidden = hidden;
    if (CListHeaderUI* header = GetHeader())
        header->SetVisible(!hidden);
}

void CListUI::SetHeaderBkImage(std::u16string_view image)
{
    m_headerBkImage = image;
    if (CListHeaderUI* header = GetHeader())
        ApplyHeaderSettings(*header);
}

void CListUI::ApplyHeaderSettings(CListHeaderUI& header) const
{
    if (m_headerHidden)
        header.SetVisible(false);
    if (!m_headerBkImage.empty())
        header.SetBkImage(m_headerBkImage);
}

}  // namespace SkinUI
