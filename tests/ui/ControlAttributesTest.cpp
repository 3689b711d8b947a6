#include "ui/AttributeValues.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ControlFactory.h"
#include "ui/DialogLayoutUI.h"
#include "ui/EditUI.h"
#include "ui/HorizontalLayoutUI.h"
#include "ui/LabelUI.h"
#include "ui/ListHeaderItemUI.h"
#include "ui/ListHeaderUI.h"
#include "ui/ListUI.h"
#include "ui/OptionUI.h"
#include "ui/ScrollBarUI.h"
#include "ui/SliderUI.h"
#include "ui/TabLayoutUI.h"
#include "ui/TextUI.h"
#include "ui/VerticalLayoutUI.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

template <class Control>
std::unique_ptr<Control> Make(std::u16string_view attributes)
{
    auto control = std::make_unique<Control>();
    control->ApplyAttributeList(attributes);
    return control;
}

TEST(AttributeValues, ColoursIntegersRectanglesAndBooleans)
{
    EXPECT_EQ(ParseColor(u"#FF102030"), 0xFF102030u);
    EXPECT_EQ(ParseColor(u"FF102030"), 0xFF102030u);
    EXPECT_EQ(ParseColor(u"0xff102030"), 0xFF102030u);
    EXPECT_EQ(ParseColor(u"#FF00zz11"), 0xFF00u);  // as far as it goes
    EXPECT_EQ(ParseColor(u"#"), 0u);
    EXPECT_EQ(ParseColor(u"0x"), 0u);
    EXPECT_EQ(ParseColor(u"#123456789ABC"), 0xFFFFFFFFu);

    EXPECT_EQ(ParseInt(u"12abc"), 12);
    EXPECT_EQ(ParseInt(u"  -7"), -7);
    EXPECT_EQ(ParseInt(u"abc"), 0);
    EXPECT_EQ(ParseInt(u"-"), 0);
    EXPECT_EQ(ParseInt(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseInt(u"-99999999999999999999"), INT_MIN);

    EXPECT_EQ(ParseRect(u"1,2,3,4"), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(ParseRect(u"-1, 2,-3,4,5"), (UIRect{-1, 2, -3, 4}));
    EXPECT_EQ(ParseRect(u"1,2"), (UIRect{1, 2, 0, 0}));
    EXPECT_EQ(ParseRect(u"1,,3,4"), (UIRect{1, 0, 3, 4}));
    EXPECT_EQ(ParseRect(u"5;6,7,8"), (UIRect{5, 0, 0, 0}));
    EXPECT_EQ(ParseRect(u"1,2,3,"), (UIRect{1, 2, 3, 0}));
    EXPECT_EQ(ParseSize(u"640,480"), (UISize{640, 480}));
    EXPECT_EQ(ParseSize(u"640x480"), (UISize{640, 0}));

    EXPECT_TRUE(ParseBool(u"true"));
    EXPECT_FALSE(ParseBool(u"True"));
    EXPECT_FALSE(ParseBool(u"true "));
    EXPECT_FALSE(ParseBool(u"1"));
}

TEST(AttributeValues, AttributeListsStopAtTheFirstMalformedPair)
{
    EXPECT_EQ(ParseAttributeList(u"a=\"1\"  b=\"two words\" c=\"\""),
              (std::vector<AttributePair>{{u"a", u"1"}, {u"b", u"two words"}, {u"c", u""}}));
    EXPECT_EQ(ParseAttributeList(u"bkimage=\"file='x.png' dest='1,2,3,4'\""),
              (std::vector<AttributePair>{{u"bkimage", u"file='x.png' dest='1,2,3,4'"}}));
    EXPECT_EQ(ParseAttributeList(u"a=\"1\" b=2 c=\"3\""), (std::vector<AttributePair>{{u"a", u"1"}}));
    EXPECT_TRUE(ParseAttributeList(u"a=\"unterminated").empty());
    EXPECT_TRUE(ParseAttributeList(u"=\"no name\"").empty());
    EXPECT_TRUE(ParseAttributeList(u"a b=\"c\"").empty());
    EXPECT_TRUE(ParseAttributeList(u"   ").empty());

    std::vector<std::u16string> seen;
    const size_t count = ForEachAttribute(u"x=\"1\" y=\"2\" z=",
                                          [&](std::u16string_view name, std::u16string_view) { seen.emplace_back(name); });
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"x", u"y"}));
}

TEST(ControlAttributes, CommonAttributes)
{
    auto control = Make<CControlUI>(
        u"name=\"ok\" text=\"OK\" tooltip=\"tip\" userdata=\"u\" bkcolor=\"#FF112233\" bkcolor2=\"FF445566\" "
        u"bkcolor3=\"#1\" bordercolor=\"#2\" focusbordercolor=\"#3\" colorhsl=\"true\" bordersize=\"2\" "
        u"borderround=\"4,5\" bkimage=\"bk.png\" padding=\"1,2,3,4\" minwidth=\"10\" maxheight=\"90\" "
        u"enabled=\"false\" mouse=\"false\" visible=\"True\" float=\"true\" menu=\"true\" shortcut=\"S\" "
        u"relativepos=\"50,0,100,0\" nosuchattribute=\"1\"");
    EXPECT_EQ(control->GetName(), u"ok");
    EXPECT_EQ(control->GetText(), u"OK");
    EXPECT_EQ(control->GetToolTip(), u"tip");
    EXPECT_EQ(control->GetUserData(), u"u");
    EXPECT_EQ(control->GetBkColor(), 0xFF112233u);
    EXPECT_EQ(control->GetBkColor2(), 0xFF445566u);
    EXPECT_EQ(control->GetBkColor3(), 1u);
    EXPECT_EQ(control->GetBorderColor(), 2u);
    EXPECT_EQ(control->GetFocusBorderColor(), 3u);
    EXPECT_TRUE(control->IsColorHSL());
    EXPECT_EQ(control->GetBorderSize(), 2);
    EXPECT_EQ(control->GetBorderRound(), (UISize{4, 5}));
    EXPECT_EQ(control->GetBkImage(), u"bk.png");
    EXPECT_EQ(control->GetPadding(), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(control->GetMinWidth(), 10);
    EXPECT_EQ(control->GetMaxHeight(), 90);
    EXPECT_EQ(control->GetMaxWidth(), CControlUI::kUnboundedSize);
    EXPECT_FALSE(control->IsEnabled());
    EXPECT_FALSE(control->IsMouseEnabled());
    EXPECT_FALSE(control->IsVisible());  // capital T is not "true"
    EXPECT_TRUE(control->IsFloat());
    EXPECT_TRUE(control->IsContextMenuUsed());
    EXPECT_EQ(control->GetShortcut(), u'S');
    EXPECT_TRUE(control->GetRelativePos().enabled);
    EXPECT_EQ(control->GetRelativePos().moveX, 50);
    EXPECT_EQ(control->GetRelativePos().zoomX, 100);

    control->ApplyAttributeList(u"bkcolor1=\"#FF000001\" width=\"-5\" bordersize=\"-1\" shortcut=\"\"");
    EXPECT_EQ(control->GetBkColor(), 0xFF000001u);
    EXPECT_EQ(control->GetBorderSize(), 2);  // negative sizes are ignored
    EXPECT_EQ(control->GetShortcut(), u'\0');
}

TEST(ControlAttributes, PosGivesFixedPositionAndSize)
{
    auto control = Make<CControlUI>(u"pos=\"10,20,110,70\"");
    EXPECT_EQ(control->GetFixedX(), 10);
    EXPECT_EQ(control->GetFixedY(), 20);
    EXPECT_EQ(control->GetFixedWidth(), 100);
    EXPECT_EQ(control->GetFixedHeight(), 50);

    // Negative l and t anchor the control to the right and bottom edges.
    control->SetAttribute(u"pos", u"-40,-30,-20,-10");
    EXPECT_EQ(control->GetFixedX(), -20);
    EXPECT_EQ(control->GetFixedY(), -10);
    EXPECT_EQ(control->GetFixedWidth(), 20);
    EXPECT_EQ(control->GetFixedHeight(), 20);

    // A later "width" replaces the width that "pos" gave.
    auto wide = Make<CControlUI>(u"pos=\"877,2,0,0\" width=\"87\"");
    EXPECT_EQ(wide->GetFixedX(), 877);
    EXPECT_EQ(wide->GetFixedWidth(), 87);
    EXPECT_EQ(wide->GetFixedHeight(), 0);

    control->SetAttribute(u"pos", u"7");
    EXPECT_EQ(control->GetFixedX(), 7);
    EXPECT_EQ(control->GetFixedY(), 0);
}

TEST(ControlAttributes, EachKindAcceptsItsBaseAttributes)
{
    auto label = Make<CLabelUI>(u"align=\"center bottom\" endellipsis=\"true\" font=\"1\" textcolor=\"#FFFF0000\" "
                                u"disabledtextcolor=\"#FF808080\" textpadding=\"2,0,2,0\" showhtml=\"true\"");
    EXPECT_EQ(label->GetTextStyle() & TextStyle::HorizontalMask, TextStyle::Center);
    EXPECT_EQ(label->GetTextStyle() & TextStyle::VerticalMask, TextStyle::Bottom);
    EXPECT_TRUE(label->GetTextStyle() & TextStyle::EndEllipsis);
    EXPECT_EQ(label->GetFont(), 1);
    EXPECT_EQ(label->GetTextColor(), 0xFFFF0000u);
    EXPECT_EQ(label->GetDisabledTextColor(), 0xFF808080u);
    EXPECT_EQ(label->GetTextPadding(), (UIRect{2, 0, 2, 0}));
    EXPECT_TRUE(label->IsShowHtml());
    label->ApplyAttributeList(u"align=\"right top\" endellipsis=\"false\"");
    EXPECT_EQ(label->GetTextStyle() & TextStyle::HorizontalMask, TextStyle::Right);
    EXPECT_EQ(label->GetTextStyle() & TextStyle::VerticalMask, TextStyle::Top);
    EXPECT_FALSE(label->GetTextStyle() & TextStyle::EndEllipsis);
    EXPECT_TRUE(CTextUI().GetTextStyle() & TextStyle::WordBreak);

    auto option = Make<COptionUI>(u"name=\"o\" textcolor=\"#FF010203\" hotimage=\"h.png\" hottextcolor=\"#FF0000FF\" "
                                  u"selected=\"true\" selectedimage=\"s.png\" foreimage=\"f.png\" "
                                  u"selectedtextcolor=\"#FFFFFFFF\" group=\"g\"");
    EXPECT_EQ(option->GetName(), u"o");
    EXPECT_EQ(option->GetTextColor(), 0xFF010203u);
    EXPECT_EQ(option->GetHotImage(), u"h.png");
    EXPECT_EQ(option->GetHotTextColor(), 0xFF0000FFu);
    EXPECT_TRUE(option->IsSelected());
    EXPECT_EQ(option->GetSelectedImage(), u"s.png");
    EXPECT_EQ(option->GetForeImage(), u"f.png");
    EXPECT_EQ(option->GetSelectedTextColor(), 0xFFFFFFFFu);
    EXPECT_EQ(option->GetGroup(), u"g");

    auto slider = Make<CSliderUI>(u"min=\"-10\" max=\"10\" value=\"3\" hor=\"false\" fgimage=\"fg.png\" "
                                  u"thumbimage=\"t.png\" thumbsize=\"12,20\" step=\"0\" visible=\"false\"");
    EXPECT_EQ(slider->GetMinValue(), -10);
    EXPECT_EQ(slider->GetMaxValue(), 10);
    EXPECT_EQ(slider->GetValue(), 3);
    EXPECT_FALSE(slider->IsHorizontal());
    EXPECT_EQ(slider->GetForeImage(), u"fg.png");
    EXPECT_EQ(slider->GetThumbImage(), u"t.png");
    EXPECT_EQ(slider->GetThumbSize(), (UISize{12, 20}));
    EXPECT_EQ(slider->GetStep(), 1);  // a step below 1 is ignored
    EXPECT_FALSE(slider->IsVisible());

    auto edit = Make<CEditUI>(u"readonly=\"true\" password=\"true\" maxchar=\"8x\" nativebkcolor=\"#FF000000\" "
                              u"focusedimage=\"f.png\" font=\"2\"");
    EXPECT_TRUE(edit->IsReadOnly());
    EXPECT_TRUE(edit->IsPasswordMode());
    EXPECT_EQ(edit->GetMaxChar(), 8);
    EXPECT_EQ(edit->GetNativeBkColor(), 0xFF000000u);
    EXPECT_EQ(edit->GetFocusedImage(), u"f.png");
    EXPECT_EQ(edit->GetFont(), 2);

    auto item = Make<CListHeaderItemUI>(u"dragable=\"false\" sepwidth=\"-1\" sepimage=\"sep.png\" "
                                        u"normalimage=\"n.png\" text=\"Col\"");
    EXPECT_FALSE(item->IsDragable());
    EXPECT_EQ(item->GetSepWidth(), -1);
    EXPECT_EQ(item->GetSepImage(), u"sep.png");
    EXPECT_EQ(item->GetNormalImage(), u"n.png");
    EXPECT_EQ(item->GetText(), u"Col");
}

TEST(ControlAttributes, ContainerAndLayoutAttributes)
{
    auto layout = Make<CHorizontalLayoutUI>(u"inset=\"1,2,3,4\" childpadding=\"5\" mousechild=\"false\" "
                                            u"vscrollbar=\"true\" vscrollbarstyle=\"width=&quot;8&quot;\" "
                                            u"sepwidth=\"-4\" sepimm=\"true\" bkcolor=\"#FF000000\"");
    EXPECT_EQ(layout->GetInset(), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(layout->GetChildPadding(), 5);
    EXPECT_FALSE(layout->IsMouseChildEnabled());
    EXPECT_TRUE(layout->HasVScrollBar());
    EXPECT_FALSE(layout->HasHScrollBar());
    EXPECT_EQ(layout->GetVScrollBarStyle(), u"width=&quot;8&quot;");
    EXPECT_EQ(layout->GetSepWidth(), -4);
    EXPECT_TRUE(layout->IsSepImmediate());
    EXPECT_EQ(layout->GetBkColor(), 0xFF000000u);
    EXPECT_EQ(Make<CVerticalLayoutUI>(u"sepheight=\"3\" sepwidth=\"9\"")->GetSepHeight(), 3);

    // List and combo share the item attributes; the list's own header settings
    // reach its header child.
    const std::u16string_view items = u"itemfont=\"1\" itemalign=\"center\" itemtextcolor=\"#FF0000FF\" "
                                      u"itemselectedbkcolor=\"#FF00FF00\" itemhotimage=\"hot.png\" itemaltbk=\"true\" "
                                      u"itemshowhtml=\"true\" itemendellipsis=\"true\" itemtextpadding=\"4,0,4,0\"";
    auto list = std::make_unique<CListUI>();
    list->Add(std::make_unique<CListHeaderUI>());
    list->Add(std::make_unique<CLabelUI>());
    list->ApplyAttributeList(items);
    list->ApplyAttributeList(u"header=\"hidden\" headerbkimage=\"head.png\" scrollselect=\"true\" "
                             u"multiexpanding=\"true\"");
    auto combo = Make<CComboUI>(items);
    combo->ApplyAttributeList(u"dropbox=\"bkcolor=&quot;#FFFFFFFF&quot;\" textpadding=\"1,1,1,1\" "
                              u"pushedimage=\"p.png\" dropboxsize=\"0,150\"");
    for (const ListItemInfo* info : {&list->GetItemInfo(), &combo->GetItemInfo()}) {
        EXPECT_EQ(info->font, 1);
        EXPECT_EQ(info->textStyle & TextStyle::HorizontalMask, TextStyle::Center);
        EXPECT_TRUE(info->textStyle & TextStyle::EndEllipsis);
        EXPECT_EQ(info->textColor, 0xFF0000FFu);
        EXPECT_EQ(info->selectedBkColor, 0xFF00FF00u);
        EXPECT_EQ(info->hotImage, u"hot.png");
        EXPECT_TRUE(info->alternateBk);
        EXPECT_TRUE(info->showHtml);
        EXPECT_EQ(info->textPadding, (UIRect{4, 0, 4, 0}));
    }
    ASSERT_NE(list->GetHeader(), nullptr);
    EXPECT_TRUE(list->IsHeaderHidden());
    EXPECT_FALSE(list->GetHeader()->IsVisible());
    EXPECT_EQ(list->GetHeader()->GetBkImage(), u"head.png");
    EXPECT_TRUE(list->IsScrollSelect());
    EXPECT_TRUE(list->IsMultiExpanding());
    EXPECT_EQ(combo->GetDropBoxAttributes(), u"bkcolor=&quot;#FFFFFFFF&quot;");
    EXPECT_EQ(combo->GetTextPadding(), (UIRect{1, 1, 1, 1}));
    EXPECT_EQ(combo->GetPushedImage(), u"p.png");

    auto bar = Make<CScrollBarUI>(u"button2pushedimage=\"b2p.png\" raildisabledimage=\"rd.png\" "
                                  u"bkhotimage=\"bh.png\" linesize=\"16\" range=\"50\" value=\"7\" showbutton1=\"false\"");
    using Part = CScrollBarUI::Part;
    using State = CScrollBarUI::State;
    EXPECT_EQ(bar->GetImage(Part::Button2, State::Pushed), u"b2p.png");
    EXPECT_EQ(bar->GetImage(Part::Rail, State::Disabled), u"rd.png");
    EXPECT_EQ(bar->GetImage(Part::Background, State::Hot), u"bh.png");
    EXPECT_EQ(bar->GetImage(Part::Thumb, State::Normal), u"");
    EXPECT_EQ(bar->GetLineSize(), 16);
    EXPECT_EQ(bar->GetScrollRange(), 50);
    EXPECT_EQ(bar->GetScrollPos(), 7);
    EXPECT_FALSE(bar->IsShowButton1());
    EXPECT_TRUE(bar->IsShowButton2());

    EXPECT_EQ(ParseStretchFlags(u"move_x size_y"), StretchFlags::MoveX | StretchFlags::SizeY);
    EXPECT_EQ(ParseStretchFlags(u"group line move_xy"), StretchFlags::Group | StretchFlags::Line | StretchFlags::MoveXY);
    EXPECT_EQ(ParseStretchFlags(u"nothing"), 0u);
}

TEST(ControlAttributes, ContainersOwnAndTrackTheirChildren)
{
    CVerticalLayoutUI layout;
    auto first = std::make_unique<CButtonUI>();
    CButtonUI* button = first.get();
    EXPECT_TRUE(layout.Add(std::move(first)));
    EXPECT_TRUE(layout.AddAt(std::make_unique<CLabelUI>(), 0));
    EXPECT_FALSE(layout.AddAt(std::make_unique<CLabelUI>(), 5));
    EXPECT_FALSE(layout.Add(nullptr));
    EXPECT_EQ(layout.GetCount(), 2);
    EXPECT_EQ(layout.GetItemAt(1), button);
    EXPECT_EQ(layout.GetItemAt(2), nullptr);
    EXPECT_EQ(layout.GetItemAt(-1), nullptr);
    EXPECT_EQ(button->GetParent(), &layout);
    EXPECT_TRUE(layout.Remove(button));
    EXPECT_FALSE(layout.Remove(button));
    EXPECT_EQ(layout.GetCount(), 1);

    // A tab layout shows only its selected child; "selectedid" is applied
    // after the children exist, and an index out of range changes nothing.
    CTabLayoutUI tabs;
    for (int i = 0; i < 3; ++i)
        tabs.Add(std::make_unique<CContainerUI>());
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_FALSE(tabs.GetItemAt(1)->IsVisible());
    tabs.SetAttribute(u"selectedid", u"2");
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_FALSE(tabs.GetItemAt(0)->IsVisible());
    EXPECT_TRUE(tabs.GetItemAt(2)->IsVisible());
    tabs.SetAttribute(u"selectedid", u"7");
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_TRUE(tabs.Remove(tabs.GetItemAt(0)));
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_TRUE(tabs.Remove(tabs.GetItemAt(1)));
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_TRUE(tabs.GetItemAt(0)->IsVisible());

    CDialogLayoutUI dialog;
    auto child = std::make_unique<CLabelUI>();
    CLabelUI* label = child.get();
    dialog.Add(std::move(child));
    dialog.SetStretchMode(label, StretchFlags::MoveX);
    dialog.SetStretchMode(label, StretchFlags::SizeXY);
    EXPECT_EQ(dialog.GetStretchMode(label), StretchFlags::SizeXY);
    dialog.Remove(label);
    EXPECT_EQ(dialog.GetStretchMode(label), 0u);
}

TEST(ControlFactory, CreatesTheClassOfEveryTagAndNothingElse)
{
    const std::u16string_view containers[] = {u"Container", u"VerticalLayout", u"HorizontalLayout", u"TileLayout",
                                              u"DialogLayout", u"TabLayout", u"RichEdit", u"List", u"Combo",
                                              u"ListHeader", u"ListContainerElement"};
    const std::u16string_view leaves[] = {u"Control", u"Button", u"Option", u"Label", u"Text", u"Edit", u"Slider",
                                          u"ListHeaderItem", u"Progress", u"ListTextElement", u"ScrollBar",
                                          u"ListLabelElement", u"ActiveX"};
    for (std::u16string_view tag : containers) {
        auto control = CreateControl(tag);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetClass(), std::u16string(tag) + u"UI");
        EXPECT_NE(control->GetContainer(), nullptr);
    }
    for (std::u16string_view tag : leaves) {
        auto control = CreateControl(tag);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetClass(), std::u16string(tag) + u"UI");
        EXPECT_EQ(control->GetContainer(), nullptr);
    }
    EXPECT_EQ(CreateControl(u"button"), nullptr);
    EXPECT_EQ(CreateControl(u"NeritMainControl"), nullptr);
    EXPECT_EQ(CreateControl(u""), nullptr);
}

TEST(WindowUIManager, FontsDefaultsImagesAndWindowAttributes)
{
    CWindowUIManager manager;
    EXPECT_EQ(manager.AddFont(u"Arial", 12, false, false, false), 0);
    EXPECT_EQ(manager.AddFont(u"Verdana", 9, true, true, true), 1);
    EXPECT_EQ(manager.GetFont(1)->face, u"Verdana");
    EXPECT_TRUE(manager.GetFont(1)->bold && manager.GetFont(1)->underline && manager.GetFont(1)->italic);
    manager.SetDefaultFont(u"Tahoma", 10, false, false, false);
    EXPECT_EQ(manager.GetFont(2)->face, u"Tahoma");
    EXPECT_EQ(manager.GetFont(-1)->size, 10);

    manager.AddDefaultAttributeList(u"Button", u"textcolor=\"#FF000000\"");
    manager.AddDefaultAttributeList(u"Button", u"textcolor=\"#FFFFFFFF\"");
    EXPECT_EQ(manager.GetDefaultAttributeList(u"Button"), u"textcolor=\"#FFFFFFFF\"");
    EXPECT_EQ(manager.GetDefaultAttributeList(u"Label"), u"");

    EXPECT_TRUE(manager.AddImage(u"bk.bmp", u"", 0xFFFF00FF));
    EXPECT_FALSE(manager.AddImage(u"bk.bmp", u"", 0));
    EXPECT_FALSE(manager.AddImage(u"", u"", 0));
    ASSERT_NE(manager.GetImage(u"bk.bmp"), nullptr);
    EXPECT_EQ(manager.GetImage(u"bk.bmp")->mask, 0xFFFF00FFu);
    EXPECT_EQ(manager.GetImage(u"other.bmp"), nullptr);

    const std::pair<std::u16string_view, std::u16string_view> window[] = {
        {u"size", u"800,600"},         {u"sizebox", u"4,4,6,6"},         {u"caption", u"0,0,0,30"},
        {u"roundcorner", u"5,5"},      {u"mininfo", u"400,300"},         {u"maxinfo", u"1600,1200"},
        {u"showdirty", u"true"},       {u"alpha", u"300"},               {u"bktrans", u"true"},
        {u"defaultfontcolor", u"#1"},  {u"disabledfontcolor", u"#2"},    {u"linkfontcolor", u"#3"},
        {u"linkhoverfontcolor", u"4"}, {u"selectedcolor", u"#FF000005"}, {u"nosuch", u"1"},
    };
    for (const auto& [name, value] : window)
        manager.SetWindowAttribute(name, value);
    EXPECT_EQ(manager.GetInitialSize(), (UISize{800, 600}));
    EXPECT_EQ(manager.GetSizeBox(), (UIRect{4, 4, 6, 6}));
    EXPECT_EQ(manager.GetCaptionRect(), (UIRect{0, 0, 0, 30}));
    EXPECT_EQ(manager.GetRoundCorner(), (UISize{5, 5}));
    EXPECT_EQ(manager.GetMinInfo(), (UISize{400, 300}));
    EXPECT_EQ(manager.GetMaxInfo(), (UISize{1600, 1200}));
    EXPECT_TRUE(manager.IsShowDirty());
    EXPECT_EQ(manager.GetAlpha(), 255);
    EXPECT_TRUE(manager.IsBackgroundTransparent());
    EXPECT_EQ(manager.GetDefaultFontColor(), 1u);
    EXPECT_EQ(manager.GetDisabledFontColor(), 2u);
    EXPECT_EQ(manager.GetLinkFontColor(), 3u);
    EXPECT_EQ(manager.GetLinkHoverFontColor(), 4u);
    EXPECT_EQ(manager.GetSelectedColor(), 0xFF000005u);
    manager.SetWindowAttribute(u"alpha", u"-3");
    EXPECT_EQ(manager.GetAlpha(), 0);
    EXPECT_FALSE(manager.HasNativeWindow());
}

TEST(WindowUIManager, NameIndexFollowsTheTree)
{
    CWindowUIManager manager;
    auto root = std::make_unique<CVerticalLayoutUI>();
    root->SetName(u"root");
    auto row = std::make_unique<CHorizontalLayoutUI>();
    auto button = Make<CButtonUI>(u"name=\"apply\"");
    CButtonUI* apply = button.get();
    row->Add(std::move(button));
    row->Add(Make<CLabelUI>(u"name=\"apply\""));  // a duplicate keeps the first
    root->Add(std::move(row));

    manager.InitControls(root.get());
    EXPECT_EQ(manager.FindControl(u"root"), root.get());
    EXPECT_EQ(manager.FindControl(u"apply"), apply);
    EXPECT_EQ(apply->GetManager(), &manager);
    EXPECT_EQ(manager.FindControl(u"missing"), nullptr);

    // A child added to a bound container is bound and indexed at once.
    auto late = Make<CLabelUI>(u"name=\"late\"");
    CLabelUI* lateLabel = late.get();
    root->Add(std::move(late));
    EXPECT_EQ(manager.FindControl(u"late"), lateLabel);
    EXPECT_EQ(lateLabel->GetParent(), root.get());

    // Destroyed controls leave the index.
    root->Remove(lateLabel);
    EXPECT_EQ(manager.FindControl(u"late"), nullptr);
    root.reset();
    EXPECT_EQ(manager.FindControl(u"apply"), nullptr);
}

TEST(WindowUIManager, OptionsRegisterWithTheirGroup)
{
    CWindowUIManager manager;
    auto first = std::make_unique<COptionUI>();
    auto second = std::make_unique<COptionUI>();
    // As the builder does: bind, apply attributes, unbind.
    for (COptionUI* option : {first.get(), second.get()}) {
        option->SetManager(&manager, nullptr);
        option->ApplyAttributeList(u"group=\"dpi\"");
        option->SetManager(nullptr, nullptr);
    }
    ASSERT_EQ(manager.GetOptionGroup(u"dpi").size(), 2u);
    EXPECT_EQ(manager.GetOptionGroup(u"dpi")[0], first.get());

    // Binding again (attaching the tree) does not register twice.
    first->SetManager(&manager, nullptr);
    EXPECT_EQ(manager.GetOptionGroup(u"dpi").size(), 2u);

    // An option without a manager only remembers its group.
    auto loose = Make<COptionUI>(u"group=\"dpi\"");
    EXPECT_EQ(manager.GetOptionGroup(u"dpi").size(), 2u);

    first->SetGroup(u"profile");
    EXPECT_EQ(manager.GetOptionGroup(u"dpi").size(), 1u);
    EXPECT_EQ(manager.GetOptionGroup(u"profile").size(), 1u);
    second.reset();  // unbound, but still leaves the group
    EXPECT_TRUE(manager.GetOptionGroup(u"dpi").empty());
    first.reset();
    EXPECT_TRUE(manager.GetOptionGroup(u"profile").empty());
}

TEST(ControlAttributes, MalformedValuesNeverBreakAControl)
{
    const std::u16string_view names[] = {
        u"pos", u"padding", u"relativepos", u"bkcolor", u"borderround", u"width", u"shortcut", u"align", u"font",
        u"textpadding", u"thumbsize", u"selectedid", u"columns", u"inset", u"itemalign", u"itemtextpadding",
        u"dropbox", u"vscrollbarstyle", u"range", u"step", u"maxchar", u"group", u"header", u"text"};
    const std::u16string_view values[] = {u"",    u"#",   u"0x",   u",",      u",,,,,",          u"-",
                                          u"--1", u"1,",  u"#-",   u"\"",     u"'",              u"a=\"",
                                          {u"\0,\0", 3},  u"1,2,3,4,5,6,7", u"99999999999999999999,-99999999999999999999"};
    const std::u16string_view tags[] = {u"Control", u"Label", u"Slider", u"TileLayout", u"TabLayout",
                                        u"List", u"Combo", u"Edit", u"ScrollBar", u"Option"};
    CWindowUIManager manager;
    for (std::u16string_view tag : tags) {
        auto control = CreateControl(tag);
        ASSERT_NE(control, nullptr);
        control->SetManager(&manager, nullptr);
        for (std::u16string_view name : names) {
            for (std::u16string_view value : values)
                control->SetAttribute(name, value);
        }
        control->ApplyAttributeList(u"pos=\"1,2,3,4\" text=\"unterminated");
        EXPECT_EQ(control->GetFixedWidth(), 2) << std::string(tag.begin(), tag.end());
    }
}

}  // namespace
}  // namespace SkinUI
