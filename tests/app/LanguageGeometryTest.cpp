// The controls German makes wider and moves, and back for other languages.
#include "app/LanguageGeometry.h"
#include "ui/LayoutBuilder.h"
#include "ui/WindowUIManager.h"

#include <gtest/gtest.h>

namespace NeritApp {
namespace {

using namespace SkinUI;

TEST(LanguageGeometry, GermanWidensAndMovesAndOtherLanguagesRestore)
{
    CWindowUIManager manager;
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root = builder.Create(uR"(<Window><Container>
        <Button name="macro_record_btn" width="100" />
        <Edit name="default_delay_time_edit" float="true" pos="0,0,60,24" />
        <Button name="profile3savebtn" float="true" pos="0,0,10,10" />
        <Button name="kprofile5defaultbtn" float="true" pos="0,0,10,10" />
      </Container></Window>)",
                                                      nullptr, &manager);
    ASSERT_TRUE(root);
    manager.InitControls(root.get());
    CControlUI& record = *manager.FindControl(u"macro_record_btn");
    CControlUI& edit = *manager.FindControl(u"default_delay_time_edit");
    CControlUI& save = *manager.FindControl(u"profile3savebtn");
    CControlUI& other = *manager.FindControl(u"kprofile5defaultbtn");

    ApplyLanguageGeometry(manager, kGermanLanguage);
    EXPECT_EQ(record.GetFixedWidth(), 143);
    EXPECT_EQ(edit.GetFixedX(), 291);
    EXPECT_EQ(edit.GetFixedY(), 69);
    EXPECT_EQ(edit.GetFixedWidth(), 60) << "a pos without extent keeps the size";
    EXPECT_EQ(save.GetFixedX(), 406);
    EXPECT_EQ(save.GetFixedWidth(), 71);
    EXPECT_EQ(other.GetFixedX(), 844);
    EXPECT_EQ(other.GetFixedWidth(), 96);

    for (const int language : {0, 1, 2}) {
        ApplyLanguageGeometry(manager, language);
        EXPECT_EQ(record.GetFixedWidth(), 114) << language;
        EXPECT_EQ(edit.GetFixedX(), 219) << language;
        EXPECT_EQ(edit.GetFixedY(), 67) << language;
        EXPECT_EQ(save.GetFixedX(), 418) << language;
        EXPECT_EQ(other.GetFixedWidth(), 71) << language;
        ApplyLanguageGeometry(manager, kGermanLanguage);
    }
    // A window without these controls is left alone.
    CWindowUIManager empty;
    ApplyLanguageGeometry(empty, kGermanLanguage);
}

}  // namespace
}  // namespace NeritApp
