#include "ui/ListItemInfo.h"

namespace SkinUI {
namespace {

const AttributeSetter<ListItemInfo> kListItemAttributes[] = {
    {u"itemfont", [](auto& i, auto v) { i.font = ParseInt(v); }},
    {u"itemalign", [](auto& i, auto v) { i.textStyle = ApplyAlign(i.textStyle, v); }},
    {u"itemendellipsis",
     [](auto& i, auto v) { i.textStyle = WithFlag(i.textStyle, TextStyle::EndEllipsis, ParseBool(v)); }},
    {u"itemtextpadding", [](auto& i, auto v) { i.textPadding = ParseRect(v); }},
    {u"itemtextcolor", [](auto& i, auto v) { i.textColor = ParseColor(v); }},
    {u"itembkcolor", [](auto& i, auto v) { i.bkColor = ParseColor(v); }},
    {u"itembkimage", [](auto& i, auto v) { i.bkImage = v; }},
    {u"itemaltbk", [](auto& i, auto v) { i.alternateBk = ParseBool(v); }},
    {u"itemselectedtextcolor", [](auto& i, auto v) { i.selectedTextColor = ParseColor(v); }},
    {u"itemselectedbkcolor", [](auto& i, auto v) { i.selectedBkColor = ParseColor(v); }},
    {u"itemselectedimage", [](auto& i, auto v) { i.selectedImage = v; }},
    {u"itemhottextcolor", [](auto& i, auto v) { i.hotTextColor = ParseColor(v); }},
    {u"itemhotbkcolor", [](auto& i, auto v) { i.hotBkColor = ParseColor(v); }},
    {u"itemhotimage", [](auto& i, auto v) { i.hotImage = v; }},
    {u"itemdisabledtextcolor", [](auto& i, auto v) { i.disabledTextColor = ParseColor(v); }},
    {u"itemdisabledbkcolor", [](auto& i, auto v) { i.disabledBkColor = ParseColor(v); }},
    {u"itemdisabledimage", [](auto& i, auto v) { i.disabledImage = v; }},
    {u"itemlinecolor", [](auto& i, auto v) { i.lineColor = ParseColor(v); }},
    {u"itemshowhtml", [](auto& i, auto v) { i.showHtml = ParseBool(v); }},
};

}  // namespace

bool ApplyListItemAttribute(ListItemInfo& info, std::u16string_view name, std::u16string_view value)
{
    return ApplyFromTable(kListItemAttributes, info, name, value);
}

}  // namespace SkinUI
