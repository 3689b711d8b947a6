#include "ui/LabelUI.h"

#include "ui/PaintSupport.h"

namespace SkinUI {
namespace {

const AttributeSetter<CLabelUI> kLabelAttributes[] = {
    {u"align", [](auto& c, auto v) { c.SetTextStyle(ApplyAlign(c.GetTextStyle(), v)); }},
    {u"endellipsis",
     [](auto& c, auto v) { c.SetTextStyle(WithFlag(c.GetTextStyle(), TextStyle::EndEllipsis, ParseBool(v))); }},
    {u"font", [](auto& c, auto v) { c.SetFont(ParseInt(v)); }},
    {u"textcolor", [](auto& c, auto v) { c.SetTextColor(ParseColor(v)); }},
    {u"disabledtextcolor", [](auto& c, auto v) { c.SetDisabledTextColor(ParseColor(v)); }},
    {u"textpadding", [](auto& c, auto v) { c.SetTextPadding(ParseRect(v)); }},
    {u"showhtml", [](auto& c, auto v) { c.SetShowHtml(ParseBool(v)); }},
};

}  // namespace

void CLabelUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kLabelAttributes, *this, name, value))
        CControlUI::SetAttribute(name, value);
}

void CLabelUI::PaintText(platform::Painter& painter) { DrawLabelText(painter, GetText(), CurrentTextColor()); }

uint32_t CLabelUI::CurrentTextColor() const
{
    if (!IsEnabled())
        return ColorOr(m_disabledTextColor, WindowDisabledTextColor(GetManager()));
    return ColorOr(m_textColor, WindowTextColor(GetManager()));
}

void CLabelUI::DrawLabelText(platform::Painter& painter, std::u16string_view text, uint32_t color)
{
    if (text.empty())
        return;
    const UIRect rc = DeflateRect(GetItemRect(), m_textPadding);
    DrawControlText(painter, GetManager(), {text, m_font, color, m_textStyle, m_showHtml}, rc, m_markup);
}

}  // namespace SkinUI
