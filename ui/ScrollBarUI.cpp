#include "ui/ScrollBarUI.h"

namespace SkinUI {
namespace {

using Part = CScrollBarUI::Part;
using State = CScrollBarUI::State;

struct ImageAttribute {
    std::u16string_view name;
    Part part;
    State state;
};

const ImageAttribute kImageAttributes[] = {
    {u"button1normalimage", Part::Button1, State::Normal},
    {u"button1hotimage", Part::Button1, State::Hot},
    {u"button1pushedimage", Part::Button1, State::Pushed},
    {u"button1disabledimage", Part::Button1, State::Disabled},
    {u"button2normalimage", Part::Button2, State::Normal},
    {u"button2hotimage", Part::Button2, State::Hot},
    {u"button2pushedimage", Part::Button2, State::Pushed},
    {u"button2disabledimage", Part::Button2, State::Disabled},
    {u"thumbnormalimage", Part::Thumb, State::Normal},
    {u"thumbhotimage", Part::Thumb, State::Hot},
    {u"thumbpushedimage", Part::Thumb, State::Pushed},
    {u"thumbdisabledimage", Part::Thumb, State::Disabled},
    {u"railnormalimage", Part::Rail, State::Normal},
    {u"railhotimage", Part::Rail, State::Hot},
    {u"railpushedimage", Part::Rail, State::Pushed},
    {u"raildisabledimage", Part::Rail, State::Disabled},
    {u"bknormalimage", Part::Background, State::Normal},
    {u"bkhotimage", Part::Background, State::Hot},
    {u"bkpushedimage", Part::Background, State::Pushed},
    {u"bkdisabledimage", Part::Background, State::Disabled},
};

const AttributeSetter<CScrollBarUI> kScrollBarAttributes[] = {
    {u"linesize", [](auto& c, auto v) { c.SetLineSize(ParseInt(v)); }},
    {u"range", [](auto& c, auto v) { c.SetScrollRange(ParseInt(v)); }},
    {u"value", [](auto& c, auto v) { c.SetScrollPos(ParseInt(v)); }},
    {u"showbutton1", [](auto& c, auto v) { c.SetShowButton1(ParseBool(v)); }},
    {u"showbutton2", [](auto& c, auto v) { c.SetShowButton2(ParseBool(v)); }},
};

bool ApplyImageAttribute(CScrollBarUI& bar, std::u16string_view name, std::u16string_view value)
{
    for (const ImageAttribute& row : kImageAttributes) {
        if (row.name == name) {
            bar.SetImage(row.part, row.state, value);
            return true;
        }
    }
    return false;
}

}  // namespace

void CScrollBarUI::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (!ApplyImageAttribute(*this, name, value) && !ApplyFromTable(kScrollBarAttributes, *this, name, value))
        CControlUI::SetAttribute(name, value);
}

size_t CScrollBarUI::ImageIndex(Part part, State state)
{
    return static_cast<size_t>(part) * kStates + static_cast<size_t>(state);
}

void CScrollBarUI::SetImage(Part part, State state, std::u16string_view image)
{
    m_images.at(ImageIndex(part, state)) = image;
}

const std::u16string& CScrollBarUI::GetImage(Part part, State state) const
{
    return m_images.at(ImageIndex(part, state));
}

}  // namespace SkinUI
