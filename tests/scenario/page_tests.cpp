// The window picture of command "l" and the advance marker's pointer.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

using fakes::GameTest;

class PageTest : public GameTest {};

TEST_F(PageTest, WindowPictureIsLoadedWithTheBusyPointerAndClearedByAnEmptyName) {
    WriteGameFile("Data/Back.BMP", fakes::TestPictureBytes(2, 3, 0xFF112233));
    WriteScenario({".l data\\back.bmp", "一", ".", ".l", "二", "."});
    NewGame();
    ASSERT_TRUE(engine->form.window_picture);
    EXPECT_EQ(engine->form.window_picture->width, 2);
    EXPECT_EQ(engine->form.window_picture->at(1, 2), 0xFF112233u);
    EXPECT_EQ(fakes.busy_pointer.changes, (std::vector<bool>{true, false}));
    Advance();
    EXPECT_FALSE(engine->form.window_picture);
    EXPECT_EQ(Label(), "二\r\n");
}

TEST_F(PageTest, PictureThatCannotBeLoadedKeepsTheOldOneAndReadingGoesOn) {
    WriteGameFile("ok.bmp", fakes::TestPictureBytes(1, 1, 0xFFFFFFFF));
    WriteGameFile("broken.bmp", "not a picture");
    WriteScenario({".l ok.bmp", ".l missing.bmp", "一", ".", ".l broken.bmp", "二", "."});
    NewGame();
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].text, ErrorDescription(err::kFileNotFound));
    EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルロードエラー");
    EXPECT_EQ(Label(), "一\r\n");
    Advance();
    ASSERT_EQ(fakes.message_box.shown.size(), 2u);
    EXPECT_EQ(fakes.message_box.shown[1].text, ErrorDescription(err::kInvalidPicture));
    EXPECT_EQ(Label(), "二\r\n");
    ASSERT_TRUE(engine->form.window_picture);
    EXPECT_EQ(engine->form.window_picture->at(0, 0), 0xFFFFFFFFu);
    EXPECT_FALSE(fakes.busy_pointer.busy());
}

TEST_F(PageTest, PicturesCannotBeTakenFromOutsideTheGameFolder) {
    fakes::WriteBytes(folder.path().parent_path() / "outside.bmp",
                      fakes::TestPictureBytes(1, 1, 0));
    WriteScenario({".l ..\\outside.bmp", "."});
    NewGame();
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_FALSE(engine->form.window_picture);
    std::filesystem::remove(folder.path().parent_path() / "outside.bmp");
}

TEST_F(PageTest, MouseOverTheAdvanceMarkerShowsItsOwnPointer) {
    WriteScenario({"."});
    NewGame();
    EXPECT_EQ(control(ControlId::imgAhead).pointer, Pointer::Default);
    engine->MouseMove(ControlId::imgAhead, 610, 560);
    EXPECT_EQ(control(ControlId::imgAhead).pointer, Pointer::Custom);
    const MouseIcon* icon = engine->form.PointerAt(610, 560);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->image->width, 32);
}

}  // namespace
}  // namespace tsukikage
