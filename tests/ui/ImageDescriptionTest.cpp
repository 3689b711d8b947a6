#include "ui/ImageDescription.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

TEST(ImageDescription, ParsesEveryKey)
{
    const ImageDescription d = ImageDescription::Parse(
        u"file='skin/bk.png' restype='PNG' dest='1,2,3,4' source='0,0,20,10' corner='2,3,2,3' mask='#FFFF00FF' "
        u"fade='128' hole='true' xtiled='true' ytiled='false' unknown='x'");
    EXPECT_EQ(d.file, u"skin/bk.png");
    EXPECT_EQ(d.resType, u"PNG");
    EXPECT_TRUE(d.hasDest);
    EXPECT_EQ(d.dest, (UIRect{1, 2, 3, 4}));
    EXPECT_TRUE(d.hasSource);
    EXPECT_EQ(d.source, (UIRect{0, 0, 20, 10}));
    EXPECT_EQ(d.corner, (UIRect{2, 3, 2, 3}));
    EXPECT_TRUE(d.hasMask);
    EXPECT_EQ(d.mask, 0xFFFF00FFu);
    EXPECT_EQ(d.fade, 128);
    EXPECT_TRUE(d.hole);
    EXPECT_TRUE(d.xTiled);
    EXPECT_FALSE(d.yTiled);

    EXPECT_EQ(ImageDescription::Parse(u"res='7'").file, u"7");
    EXPECT_EQ(ImageDescription::Parse(u"mask='0xFF00FF00'").mask, 0xFF00FF00u);
    EXPECT_EQ(ImageDescription::Parse(u"mask='FF00FF00'").mask, 0xFF00FF00u);
    EXPECT_EQ(ImageDescription::Parse(u"fade='300'").fade, 255);
    EXPECT_EQ(ImageDescription::Parse(u"fade='-3'").fade, 0);
    EXPECT_FALSE(ImageDescription::Parse(u"hole='True'").hole);
}

TEST(ImageDescription, BareFileNamesAndMalformedText)
{
    const ImageDescription bare = ImageDescription::Parse(u"button normal.png");
    EXPECT_EQ(bare.file, u"button normal.png");
    EXPECT_FALSE(bare.hasDest);
    EXPECT_FALSE(bare.hasSource);
    EXPECT_FALSE(bare.hasMask);
    EXPECT_EQ(bare.fade, 255);

    EXPECT_EQ(ImageDescription::Parse(u"a=b.png").file, u"a=b.png");
    EXPECT_EQ(ImageDescription::Parse(u"file='x.png").file, u"file='x.png");
    EXPECT_EQ(ImageDescription::Parse(u"").file, u"");

    // A malformed tail after good pairs is ignored.
    const ImageDescription tail = ImageDescription::Parse(u"file='x.png' dest='1,2,3,4' source=0,0,1,1");
    EXPECT_EQ(tail.file, u"x.png");
    EXPECT_TRUE(tail.hasDest);
    EXPECT_FALSE(tail.hasSource);

    const ImageDescription partial = ImageDescription::Parse(u"dest='5,x' corner=''");
    EXPECT_EQ(partial.dest, (UIRect{5, 0, 0, 0}));
    EXPECT_EQ(partial.corner, (UIRect{}));
}

TEST(ImageDescription, ModifierOverridesOnlyItsKeys)
{
    ImageDescription d = ImageDescription::Parse(u"file='thumb.png' dest='0,0,10,10' corner='1,1,1,1' fade='100'");
    ApplyModifier(d, u"dest='20,2,30,12'");
    EXPECT_EQ(d.file, u"thumb.png");
    EXPECT_EQ(d.dest, (UIRect{20, 2, 30, 12}));
    EXPECT_EQ(d.corner, (UIRect{1, 1, 1, 1}));
    EXPECT_EQ(d.fade, 100);

    ImageDescription bare = ImageDescription::Parse(u"thumb.png");
    ApplyModifier(bare, u"dest='1,2,3,4' source='0,0,5,5'");
    EXPECT_EQ(bare.file, u"thumb.png");
    EXPECT_TRUE(bare.hasDest && bare.hasSource);

    ApplyModifier(bare, u"other.png");  // not a modifier: ignored
    EXPECT_EQ(bare.file, u"thumb.png");
}

}  // namespace
}  // namespace SkinUI
