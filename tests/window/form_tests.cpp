// Which control takes a click where: stacking, visibility, containers.
#include <gtest/gtest.h>

#include "window/form.h"

namespace tsukikage {
namespace {

TEST(FormTest, TheMessageLabelCoversTheChoiceCaptionsWhileItIsVisible) {
    Form form;
    EXPECT_EQ(form.HitTest(100, 520), ControlId::Label1);
    form[ControlId::Label1].visible = false;
    EXPECT_EQ(form.HitTest(100, 520), ControlId::lblSel0);
    EXPECT_EQ(form.HitTest(100, 560), ControlId::lblSel1);
}

TEST(FormTest, HiddenOrDisabledControlsLetTheClickThrough) {
    Form form;
    // The advance marker starts hidden and disabled: the label beneath takes the click.
    EXPECT_EQ(form.HitTest(610, 560), ControlId::Label1);
    form[ControlId::imgAhead].visible = true;
    EXPECT_EQ(form.HitTest(610, 560), ControlId::Label1);
    form[ControlId::imgAhead].enabled = true;
    EXPECT_EQ(form.HitTest(610, 560), ControlId::imgAhead);
    EXPECT_EQ(form.HitTest(599, 560), ControlId::Label1);
    EXPECT_EQ(form.HitTest(632, 560), ControlId::Label1);
}

TEST(FormTest, ControlsInsideTheGameScreenFollowItsVisibility) {
    Form form;
    Control& image = form[ControlId::NewGameImage];
    EXPECT_EQ(image.rect.left, 8 + kPictureBoxBorder + 416);
    image.visible = true;
    EXPECT_EQ(form.HitTest(image.rect.left + 5, image.rect.top + 5), ControlId::NewGameImage);
    form[ControlId::Picture1].visible = false;
    EXPECT_FALSE(form.IsShown(ControlId::NewGameImage));
    EXPECT_EQ(form.HitTest(image.rect.left + 5, image.rect.top + 5), std::nullopt);
}

TEST(FormTest, OffScreenBuffersAndOutsidePointsTakeNothing) {
    Form form;
    EXPECT_EQ(form.HitTest(700, 550), std::nullopt);
    EXPECT_EQ(form.HitTest(-1, 10), std::nullopt);
    EXPECT_EQ(form.VisibleRect(ControlId::txtTell).height, 1);  // only its top row shows
}

TEST(FormTest, MenuItemsNeedTheirWholeChainEnabled) {
    Form form;
    EXPECT_FALSE(form.IsMenuAvailable(MenuId::NewGame));
    EXPECT_TRUE(form.IsMenuAvailable(MenuId::VerData));
    form.menu(MenuId::SystemMenu).enabled = true;
    EXPECT_TRUE(form.IsMenuAvailable(MenuId::save3));
    form.menu(MenuId::SaveMenu).enabled = false;
    EXPECT_FALSE(form.IsMenuAvailable(MenuId::save3));
    EXPECT_EQ(form.menu(MenuId::load5).caption, "ロード５");
}

}  // namespace
}  // namespace tsukikage
