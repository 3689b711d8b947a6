// The image names the skin check finds in a layout: if it missed a form,
// the check would pass with images missing.
#include "tests/app/LayoutImageNames.h"

#include <gtest/gtest.h>

namespace NeritApp {
namespace {

TEST(LayoutImageNames, FindsEveryFormAndNothingElse)
{
    const std::u16string_view layout = uR"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="10,10" bkimage="frame_bk.png">
  <Image name="preloaded.bmp" mask="#FFFFFFFF" />
  <Image name="7" restype="image" />
  <Font name="Verdana" size="12" />
  <Default name="Button" value="normalimage=&quot;file='default_normal.png' corner='2,2,2,2'&quot; textcolor=&quot;#FFFFFFFF&quot;" />
  <VerticalLayout>
    <Button name="b" normalimage="bare.png" hotimage="file='hot.png' source='0,0,10,10'"
            pushedimage=" spaced.png " focusedimage="" disabledimage="res='12' restype='image'" text="not_an_image.png" />
    <Option selectedimage="selected.png" foreimage="fore.png" />
    <Slider thumbimage="thumb.png" thumbhotimage="thumb_hot.png" thumbpushedimage="thumb_pushed.png" fgimage="fg.png" />
    <Combo dropbox="bkimage=&quot;drop_bk.png&quot; vscrollbar=&quot;true&quot;" itemhotimage="item_hot.png" />
    <List vscrollbarstyle="thumbnormalimage=&quot;file='bar_thumb.png'&quot; button1normalimage=&quot;up.png&quot;" headerbkimage="header.png" />
  </VerticalLayout>
</Window>)";
    std::set<std::u16string> names;
    ASSERT_TRUE(CollectLayoutImages(layout, names));
    const std::set<std::u16string> expected{
        u"frame_bk.png", u"preloaded.bmp", u"default_normal.png", u"bare.png", u"hot.png", u"spaced.png",
        u"selected.png", u"fore.png", u"thumb.png", u"thumb_hot.png", u"thumb_pushed.png", u"fg.png",
        u"drop_bk.png", u"item_hot.png", u"bar_thumb.png", u"up.png", u"header.png"};
    EXPECT_EQ(names, expected);

    EXPECT_FALSE(CollectLayoutImages(u"<Window><Button", names));
}

}  // namespace
}  // namespace NeritApp
