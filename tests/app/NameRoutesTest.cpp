// Control-name tables: numbered patterns, ranges, case and look-alike names.
#include "app/NameRoutes.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using NeritApp::FindRoute;
using NeritApp::NameRoute;

constexpr std::array<NameRoute<int>, 4> kRoutes = {{
    {u"closebtn", 1},
    {u"profile#savebtn", 2, 1, 5},
    {u"kprofile#savebtn", 3, 1, 5},
    {u"laser_L#X_up_btn", 4, 1, 4},
}};

int Handler(std::u16string_view name, bool ignoreCase = false)
{
    const auto match = FindRoute<int>(kRoutes, name, ignoreCase);
    return match ? match.route->handler * 10 + match.number : -1;
}

TEST(NameRoutesTest, NumberedNamesMatchOnlyInsideTheirRange)
{
    EXPECT_EQ(Handler(u"closebtn"), 10);
    EXPECT_EQ(Handler(u"profile1savebtn"), 21);
    EXPECT_EQ(Handler(u"profile5savebtn"), 25);
    EXPECT_EQ(Handler(u"kprofile3savebtn"), 33);
    EXPECT_EQ(Handler(u"laser_L4X_up_btn"), 44);
    for (std::u16string_view outside : {u"profile0savebtn", u"profile6savebtn", u"profile12savebtn",
                                        u"profile01savebtn", u"profilesavebtn", u"profileXsavebtn",
                                        u"laser_L5X_up_btn", u"closebtn2", u"", u"profile1savebt", u"rofile1savebtn"})
        EXPECT_EQ(Handler(outside), -1) << std::string(outside.begin(), outside.end());
}

TEST(NameRoutesTest, CaseIsIgnoredOnlyWhenAsked)
{
    EXPECT_EQ(Handler(u"CloseBtn"), -1);
    EXPECT_EQ(Handler(u"CloseBtn", true), 10);
    EXPECT_EQ(Handler(u"Profile2SaveBtn", true), 22);
}

}  // namespace
