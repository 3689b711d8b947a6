#include "ui/SliderUI.h"

namespace SkinUI {
namespace {

const AttributeSetter<CSliderUI> kSliderAttributes[] = {
    {u"thumbimage", [](auto& c, auto v) { c.SetThumbImage(v); }},
    {u"thumbhotimage", [](auto& c, auto v) { c.SetThumbHotImage(v); }},
    {u"thumbpushedimage", [](auto& c, auto v) { c.SetThumbPushedImage(v); }},
    {u"thumbsize", [](auto& c, auto v) { c.SetThumbSize(ParseSize(v)); }},
    {u"step", [](auto& c, auto v) { c.SetStep(ParseInt(v)); }},
};

}  // namespace

void CSliderUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyFromTable(kSliderAttributes, *this, name, value))
        CProgressUI::SetAttribute(name, value);
}

void CSliderUI::SetStep(int step)
{
    if (step >= 1)
        m_step = step;
}

}  // namespace SkinUI
