#include "ui/ProgressUI.h"

#include "ui/PaintSupport.h"

#include <algorithm>
#include <climits>

namespace SkinUI {
namespace {

const AttributeSetter<CProgressUI> kProgressAttributes[] = {
    {u"fgimage", [](auto& c, auto v) { c.SetForeImage(v); }},
    {u"hor", [](auto& c, auto v) { c.SetHorizontal(ParseBool(v)); }},
    {u"min", [](auto& c, auto v) { c.SetMinValue(ParseInt(v)); }},
    {u"max", [](auto& c, auto v) { c.SetMaxValue(ParseInt(v)); }},
    {u"value", [](auto& c, auto v) { c.SetValue(ParseInt(v)); }},
};

}  // namespace

CProgressUI::CProgressUI() : CLabelUI(TextStyle::Center | TextStyle::VCenter | TextStyle::SingleLine) {}

void CProgressUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kProgressAttributes, *this, name, value))
        CLabelUI::SetAttribute(name, value);
}

void CProgressUI::ClampToRange()
{
    if (m_min >= m_max) {
        m_min = std::min(m_min, INT_MAX - 1);
        m_max = m_min + 1;
    }
    m_value = std::clamp(m_value, m_min, m_max);
}

UIRect CProgressUI::FilledRect() const
{
    const UIRect& rc = GetItemRect();
    const long long width = 0LL + rc.right - rc.left;
    const long long height = 0LL + rc.bottom - rc.top;
    const long long range = 0LL + m_max - m_min;
    const auto whole = [](long long extent) { return ScaleExtent(1, 1, extent); };  // within the safe extent
    if (m_horizontal)
        return {0, 0, ScaleExtent(0LL + m_value - m_min, range, width), whole(height)};
    return {0, ScaleExtent(0LL + m_max - m_value, range, height), whole(width), whole(height)};
}

void CProgressUI::PaintStatusImage(platform::Painter& painter)
{
    ClampToRange();
    if (!m_foreImage.empty())
        DrawImage(painter, m_foreImage, DestModifier(FilledRect()));
}

}  // namespace SkinUI
