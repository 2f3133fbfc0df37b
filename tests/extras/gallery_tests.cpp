// The CG gallery: pages of thumbnails, the frame, the full view, paging and the way back.
#include <gtest/gtest.h>

#include "fakes/game_fixture.h"
#include "graphics/picture_box.h"
#include "graphics/seen_record_text.h"

namespace tsukikage {
namespace {

using fakes::TestPictureBytes;

// The game screen's drawing area starts at (10, 10) of the client area.
constexpr int kLeft = 10;
constexpr int kTop = 10;

class GalleryTest : public fakes::GameTest {
  protected:
    // A record of `count` pictures with the given ones seen; thumbnails of every picture in
    // a colour telling its number, pictures likewise, and the placeholders.
    void OpenWith(int count, std::initializer_list<int> seen) {
        WriteGameFile("cgmode.dat", test_support::SeenRecordText(count, seen));
        for (int n : seen) {
            WriteGameFile(Name("data/smallsize/", n), TestPictureBytes(160, 120, 0xFF100000u + n));
            WriteGameFile(Name("data/", n), TestPictureBytes(640, 480, 0xFF200000u + n));
        }
        WriteGameFile("data/smallsize/nothing.jpg", TestPictureBytes(160, 120, 0xFF0000EE));
        WriteGameFile("data/nothing.jpg", TestPictureBytes(640, 480, 0xFF0000FF));
        engine->state.EndFlags[1] = 1;
        engine->Click(ControlId::CGImage);
    }
    static std::string Name(std::string_view folder, int n) {
        std::string digits = std::to_string(n);
        while (digits.size() < 3) digits.insert(0, "0");
        return std::string(folder) + digits + ".jpg";
    }
    // The colour at the centre of a cell of the screen.
    std::uint32_t Cell(int col, int row) {
        return DrawingImage(control(ControlId::Picture1)).at(160 * col + 80, 120 * row + 60);
    }
    void PointAt(int x, int y) { engine->MouseMoveAt(kLeft + x, kTop + y); }
    void ClickAt(int x, int y) {
        PointAt(x, y);
        engine->ClickAt(kLeft + x, kTop + y);
    }
    const std::string& Caption() { return control(ControlId::Label2).caption; }
};

TEST_F(GalleryTest, OpensOnPageOneWithSeenThumbnailsAndPlaceholders) {
    OpenWith(80, {1, 7, 16});
    EXPECT_TRUE(engine->state.CGMode && !engine->state.TitleMode);
    EXPECT_EQ(Caption(), "1枚目");
    EXPECT_TRUE(control(ControlId::Shape1).visible);
    EXPECT_EQ(Cell(0, 0), 0xFF100001u);
    EXPECT_EQ(Cell(2, 1), 0xFF100007u);  // picture 7: row 1, column 2
    EXPECT_EQ(Cell(3, 3), 0xFF100010u);  // picture 16
    EXPECT_EQ(Cell(1, 0), 0xFF0000EEu);
    // The gallery starts and stops no sound.
    EXPECT_TRUE(fakes.wave_voice.calls.empty());
}

// A next page is offered while its first number is within the count, also when it is the
// count itself (17, 33).
TEST_F(GalleryTest, PagesTurnWhileTheirFirstNumberIsWithinTheCount) {
    const struct {
        int count;
        std::vector<std::string> captions;  // after each CGGo, the last one changing nothing
        std::string back;                   // after a CGBack from the last page
    } cases[] = {
        {16, {"1枚目"}, "1枚目"},
        {17, {"17枚目", "17枚目"}, "1枚目"},
        {32, {"17枚目", "17枚目"}, "1枚目"},
        {33, {"17枚目", "33枚目", "33枚目"}, "17枚目"},
        {70, {"17枚目", "33枚目", "49枚目", "65枚目", "65枚目"}, "49枚目"},
        {80, {"17枚目", "33枚目", "49枚目", "65枚目", "65枚目"}, "49枚目"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        OpenWith(c.count, {17, 33, 65});
        engine->Click(ControlId::CGBack);  // page 1: nothing before it
        EXPECT_EQ(Caption(), "1枚目");
        for (const std::string& caption : c.captions) {
            engine->Click(ControlId::CGGo);
            EXPECT_EQ(Caption(), caption);
        }
        // The page shown is the one the caption names.
        const int page = std::stoi(c.captions.back());
        EXPECT_EQ(Cell(0, 0), page == 1 ? 0xFF0000EEu : 0xFF100000u + page);  // 1 unseen
        if (page == 65) {
            EXPECT_EQ(Cell(3, 3), 0xFF0000EEu);  // 80: beyond a count of 70 too
        }
        engine->Click(ControlId::CGBack);
        EXPECT_EQ(Caption(), c.back);
        engine->Click(ControlId::SystemBack);  // to the title for the next round
    }
}

TEST_F(GalleryTest, TheFrameFollowsThePointerAndAClickOnABoundaryPicksTheCellBefore) {
    OpenWith(16, {1, 2, 3, 4, 5, 6, 9, 13, 16});
    const struct {
        int x, y;
        int frame_col, frame_row;  // the frame: the cell right of or below a boundary
        int picked;                // the click: the cell left of or above it
    } cases[] = {{0, 0, 0, 0, 1},
                 {159, 119, 0, 0, 1},
                 {160, 120, 1, 1, 1},
                 {161, 121, 1, 1, 6},
                 {160, 0, 1, 0, 1},
                 {0, 120, 0, 1, 1},
                 // Off the diagonal: row and column are not interchangeable.
                 {330, 10, 2, 0, 3},
                 {10, 130, 0, 1, 5},
                 {10, 250, 0, 2, 9},
                 // The corners of the page.
                 {639, 0, 3, 0, 4},
                 {0, 479, 0, 3, 13},
                 {639, 479, 3, 3, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        const Rect& frame = control(ControlId::Shape1).rect;
        const Rect was = frame;
        const std::uint64_t revision = engine->form.revision;
        PointAt(c.x, c.y);
        EXPECT_EQ(frame.left, kLeft + 160 * c.frame_col);
        EXPECT_EQ(frame.top, kTop + 120 * c.frame_row);
        // The window repaints when the frame moves, and only then.
        EXPECT_EQ(engine->form.revision != revision,
                  frame.left != was.left || frame.top != was.top);
        ClickAt(c.x, c.y);
        EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF200000u + c.picked);
        EXPECT_FALSE(control(ControlId::Shape1).visible);
        engine->Click(ControlId::CGGo);                 // does nothing in the full view
        PointAt((c.x + 320) % 640, (c.y + 240) % 480);  // nor does the pointer
        engine->Click(ControlId::SystemBack);           // back to the page, the frame shown
        EXPECT_TRUE(engine->state.CGMode);
        EXPECT_TRUE(control(ControlId::Shape1).visible);
        EXPECT_EQ(frame.left, kLeft + 160 * c.frame_col);
        EXPECT_EQ(frame.top, kTop + 120 * c.frame_row);
        EXPECT_EQ(Cell(0, 0), 0xFF100001u);
    }
}

TEST_F(GalleryTest, AnUnseenCellShowsThePlaceholderAndTheWayBackLeadsToTheTitle) {
    OpenWith(16, {1});
    ClickAt(500, 400);  // picture 16, never seen
    EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF0000FFu);
    EXPECT_FALSE(control(ControlId::Shape1).visible);
    ClickAt(10, 10);  // still the page to the handlers: picture 1
    EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF200001u);
    engine->Click(ControlId::SystemBack);
    engine->Click(ControlId::SystemBack);
    EXPECT_TRUE(engine->state.TitleMode);
    EXPECT_TRUE(fakes.wave_voice.calls.empty());  // the theme was never stopped here
}

// Missing files never end the program: a missing thumbnail shows the placeholder, a
// missing placeholder an empty cell, a missing picture leaves the page shown.
TEST_F(GalleryTest, MissingFilesLeaveThePageShown) {
    OpenWith(16, {3});
    std::filesystem::remove(folder.path() / "data/smallsize/003.jpg");
    std::filesystem::remove(folder.path() / "data/003.jpg");
    std::filesystem::remove(folder.path() / "data/smallsize/nothing.jpg");
    std::filesystem::remove(folder.path() / "data/nothing.jpg");
    engine->folder.Forget(folder.path() / "data");
    engine->folder.Forget(folder.path() / "data/smallsize");
    engine->Click(ControlId::SystemBack);
    engine->Click(ControlId::CGImage);
    const std::uint32_t page_cell = Cell(2, 0);
    EXPECT_FALSE(control(CGPic(2)).picture);
    ClickAt(330, 10);  // picture 3: seen, but its file is gone
    ClickAt(500, 10);  // picture 4: no placeholder
    EXPECT_EQ(Cell(2, 0), page_cell);
    EXPECT_TRUE(control(ControlId::Shape1).visible);
    EXPECT_TRUE(engine->state.CGMode);
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(GalleryTest, CellsPastTheLastPictureShowThePlaceholderAndTakeNoClick) {
    OpenWith(250, {241, 250});
    for (int page = 1; page < 241; page += 16) engine->Click(ControlId::CGGo);
    EXPECT_EQ(Caption(), "241枚目");
    EXPECT_EQ(Cell(0, 0), 0xFF1000F1u);
    EXPECT_EQ(Cell(1, 2), 0xFF1000FAu);  // 250, the last picture
    EXPECT_EQ(Cell(2, 2), 0xFF0000EEu);  // 251
    ClickAt(250, 300);                   // 250 opens
    EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF2000FAu);
    engine->Click(ControlId::SystemBack);
    const auto before = control(ControlId::Picture1).picture;
    ClickAt(400, 300);  // 251
    EXPECT_EQ(control(ControlId::Picture1).picture, before);
}

// Pictures shown in this run stay seen when the gallery reads the record again, even above
// the record's count, which the file never holds.
TEST_F(GalleryTest, PicturesSeenInThisRunStaySeenAboveTheRecordsCount) {
    WriteGameFile(Name("data/smallsize/", 75), TestPictureBytes(160, 120, 0xFF10004Bu));
    WriteGameFile(Name("data/", 75), TestPictureBytes(640, 480, 0xFF20004Bu));
    WriteGameFile("cgmode.dat", test_support::SeenRecordText(70, {}));
    WriteScenario({".c 75", ".E"});
    NewGame();
    ASSERT_TRUE(engine->state.TitleMode);
    OpenWith(70, {});
    for (int page = 0; page < 4; ++page) engine->Click(ControlId::CGGo);
    ASSERT_EQ(Caption(), "65枚目");
    EXPECT_EQ(Cell(2, 2), 0xFF10004Bu);  // 75: row 2, column 2
    ClickAt(330, 250);
    EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF20004Bu);
}

// A seen picture whose file cannot be loaded leaves the page as it was, frame and all, and
// the next click still opens a picture.
TEST_F(GalleryTest, APictureThatCannotBeShownLeavesThePageTakingClicks) {
    OpenWith(16, {3, 5});
    std::filesystem::remove(folder.path() / "data/003.jpg");
    engine->folder.Forget(folder.path() / "data");
    ClickAt(330, 10);
    EXPECT_TRUE(control(ControlId::Shape1).visible);
    EXPECT_EQ(Cell(2, 0), 0xFF100003u);
    ClickAt(10, 130);  // picture 5
    EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF200005u);
    EXPECT_FALSE(control(ControlId::Shape1).visible);
    engine->Click(ControlId::SystemBack);  // back to the page, not to the title
    EXPECT_TRUE(engine->state.CGMode);
    EXPECT_TRUE(control(ControlId::Shape1).visible);
}

}  // namespace
}  // namespace tsukikage
