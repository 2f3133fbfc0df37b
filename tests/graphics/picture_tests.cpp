// Command c, the gallery's full view and the seen-picture record "cgmode.dat".
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <string>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"
#include "graphics/picture_box.h"
#include "graphics/seen_record.h"
#include "graphics/seen_record_text.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using fakes::ProcessEnded;
using test_support::SeenRecordText;

ino_t InodeOf(const std::filesystem::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

class PictureTest : public GameTest {
  protected:
    std::string RecordOnDisk() const {
        std::ifstream in(folder.path() / "cgmode.dat", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The game folder's listings are cached: files written by a test are made known.
    void Write(std::string_view relative, std::string_view bytes) {
        WriteGameFile(relative, bytes);
        const std::filesystem::path path = folder.path() / std::string(relative);
        engine->folder.Forget(path.parent_path());
        engine->folder.Forget(folder.path());
    }
    void Script(std::initializer_list<std::string_view> lines) {
        Write("datafile", fakes::Scenario(lines));
    }
    // Writes the record and reads it, as the start-up does.
    void UseRecord(const std::string& bytes) {
        Write("cgmode.dat", bytes);
        engine->graphics.LoadRecord();
    }
    void WritePicture(std::string_view name, std::uint32_t colour) {
        Write(name, fakes::TestPictureBytes(2, 2, colour));
    }
    std::string LastDecoded() const {
        if (fakes.picture_decoder.decoded.empty()) return {};
        return fakes.picture_decoder.decoded.back().lexically_relative(folder.path()).string();
    }
    const Surface* Screen() { return control(ControlId::Picture1).picture.get(); }
    int FailureNumber() const {
        return fakes.message_box.shown.size() == 1 ? ErrorNumberOf(fakes.message_box.shown[0].text)
                                                   : -1;
    }
    static int ErrorNumberOf(std::string_view text) {
        for (int n : {err::kSubscriptOutOfRange, err::kTypeMismatch, err::kOverflow,
                      err::kFileNotFound, err::kInvalidPicture, err::kInputPastEndOfFile}) {
            if (text == ErrorDescription(n)) return n;
        }
        return 0;
    }
};

TEST_F(PictureTest, CommandCRecordsThePictureThenShowsItAtOnce) {
    UseRecord(SeenRecordText(80));
    WritePicture("data/005.jpg", 0xFF000005);
    WritePicture("data/042.JPG", 0xFF000042);
    WritePicture("data/150.jpg", 0xFF000150);
    WritePicture("data/250.jpg", 0xFF000250);
    Script({".c 5", "五", ".", ".c 42", ".", ".c 150", ".c 250", "."});
    NewGame();
    EXPECT_EQ(LastDecoded(), "data/005.jpg");
    ASSERT_TRUE(Screen());
    EXPECT_EQ(Screen()->at(0, 0), 0xFF000005u);
    EXPECT_EQ(Label(), "五\r\n");
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {5}));

    Advance();
    EXPECT_EQ(Screen()->at(1, 1), 0xFF000042u);
    // 81 lines: the count, then 80 flags with line 43 "#TRUE#".
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {5, 42}));

    Advance();
    EXPECT_EQ(LastDecoded(), "data/250.jpg");
    EXPECT_EQ(Screen()->at(0, 0), 0xFF000250u);
    // Pictures above the count are seen in memory but never written.
    EXPECT_TRUE(engine->state.CGSeen[150]);
    EXPECT_TRUE(engine->state.CGSeen[250]);
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {5, 42}));
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

// A picture a game may leave out is looked for without an error: nothing for a missing file,
// the decoder's error for one that is no picture.
TEST_F(PictureTest, PicturesThatMayBeMissingAreLookedForWithoutAnError) {
    WritePicture("data/005.jpg", 0xFF000005);
    Write("data/008.jpg", "no picture");
    fakes.picture_decoder.decoded.clear();
    EXPECT_EQ(engine->LoadPictureIfPresent("\\data\\007.jpg"), nullptr);
    EXPECT_TRUE(fakes.picture_decoder.decoded.empty());
    EXPECT_EQ(test_support::ErrorOf([&] { engine->LoadPicture("\\data\\007.jpg"); }),
              err::kFileNotFound);
    const std::shared_ptr<const Surface> found = engine->LoadPictureIfPresent("\\DATA\\005.JPG");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->at(1, 1), 0xFF000005u);
    EXPECT_EQ(test_support::ErrorOf([&] { engine->LoadPictureIfPresent("\\data\\008.jpg"); }),
              err::kInvalidPicture);
}

// Showing a picture already seen writes nothing: the record holds it already. One removed or
// changed behind the game's back is written anew with the next picture.
TEST_F(PictureTest, APictureShownAgainLeavesTheRecordAsItIs) {
    UseRecord(SeenRecordText(80));
    WritePicture("data/005.jpg", 0xFF000005);
    Script({".c 5", ".", ".c 5", ".", ".c 5", ".", ".c 5", "."});
    NewGame();
    const auto record = folder.path() / "cgmode.dat";
    const ino_t inode = InodeOf(record);
    ASSERT_NE(inode, 0u);
    Advance();
    EXPECT_EQ(InodeOf(record), inode);
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {5}));

    std::filesystem::remove(record);
    Advance();
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {5}));
    WriteGameFile("cgmode.dat", SeenRecordText(80));
    Advance();
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {5}));
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(PictureTest, PictureAboveTheCountIsKeptInMemoryOnly) {
    UseRecord(SeenRecordText(80, {3}));
    WritePicture("data/090.jpg", 1);
    Script({".c 90", "."});
    NewGame();
    EXPECT_TRUE(engine->state.CGSeen[90]);
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {3}));
    // Showing it again rewrites the same bytes.
    engine->graphics.CGLoad("90");
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(80, {3}));
}

TEST_F(PictureTest, ArgumentTextNamesTheFileAsWritten) {
    UseRecord(SeenRecordText(10));
    WritePicture("data/007.jpg", 0xFF000007);
    WritePicture("data/0007.jpg", 0xFF007007);
    Script({".c 07", "."});
    NewGame();
    EXPECT_EQ(LastDecoded(), "data/0007.jpg");
    EXPECT_EQ(Screen()->at(0, 0), 0xFF007007u);
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(10, {7}));
}

TEST_F(PictureTest, BadNumbersAreRejectedBeforeTheRecordChanges) {
    for (const auto& [line, number] :
         {std::pair{".c 0", err::kSubscriptOutOfRange},
          std::pair{".c 251", err::kSubscriptOutOfRange}, std::pair{".c 五", err::kTypeMismatch},
          std::pair{".c", err::kTypeMismatch}, std::pair{".c 99999", err::kOverflow}}) {
        SCOPED_TRACE(line);
        UseRecord(SeenRecordText(3, {2}));
        fakes.message_box.shown.clear();
        Script({"前", line, "後", "."});
        EXPECT_THROW(NewGame(), ProcessEnded);
        EXPECT_EQ(FailureNumber(), number);
        EXPECT_EQ(RecordOnDisk(), SeenRecordText(3, {2}));
        EXPECT_FALSE(engine->state.CGSeen[0]);
    }
}

TEST_F(PictureTest, UnloadablePictureIsStillRecordedAsSeen) {
    UseRecord(SeenRecordText(10));
    Write("data/008.jpg", "no picture");
    for (const auto& [line, number, seen] :
         {std::tuple{".c 7", err::kFileNotFound, 7}, std::tuple{".c 8", err::kInvalidPicture, 8}}) {
        fakes.message_box.shown.clear();
        Script({line, "."});
        EXPECT_THROW(NewGame(), ProcessEnded);
        EXPECT_EQ(FailureNumber(), number);
        EXPECT_TRUE(engine->state.CGSeen[seen]);
    }
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(10, {7, 8}));
}

TEST_F(PictureTest, FullViewShowsOnlySeenPictures) {
    WritePicture("data/007.jpg", 0xFF000007);
    WritePicture("data/012.jpg", 0xFF000012);
    WritePicture("data/100.jpg", 0xFF000100);
    Graphics& graphics = engine->graphics;
    control(ControlId::Shape1).visible = true;
    engine->state.CGSeen[7] = engine->state.CGSeen[12] = engine->state.CGSeen[100] = true;
    for (int number : {7, 12, 100}) {
        graphics.ShowPicture(static_cast<std::uint8_t>(number));
        EXPECT_EQ(Screen()->at(0, 0), number == 7    ? 0xFF000007u
                                      : number == 12 ? 0xFF000012u
                                                     : 0xFF000100u);
    }
    EXPECT_EQ(LastDecoded(), "data/100.jpg");

    // Not seen: the frame hides, but the screen stays as it was.
    const std::size_t decoded = fakes.picture_decoder.decoded.size();
    control(ControlId::Shape1).visible = true;
    graphics.ShowPicture(13);
    EXPECT_FALSE(control(ControlId::Shape1).visible);
    EXPECT_EQ(fakes.picture_decoder.decoded.size(), decoded);
    EXPECT_EQ(Screen()->at(0, 0), 0xFF000100u);
}

// Every flag that reads is kept; a record that did not read whole is kept aside, once, before
// the first picture command rewrites it; a missing one offers every picture present.
TEST_F(PictureTest, DamagedRecordsKeepEveryFlagThatReadsAndACopy) {
    std::string big = SeenRecordText(250, {250});
    big.replace(0, 3, "300");
    const struct {
        std::string bytes;
        int count;
        std::vector<int> seen;
        bool damaged;
    } cases[] = {
        {SeenRecordText(3, {1, 3}), 3, {1, 3}, false},
        {"3,#TRUE#,#FALSE#,#TRUE#", 3, {1, 3}, false},
        {"3\r#TRUE#\r#FALSE#\r#TRUE#\r", 3, {1, 3}, false},
        {SeenRecordText(3, {2}) + "garbage\r\n", 3, {2}, false},
        {"5\r\n#TRUE#\r\n#TRUE#\r\n", 5, {1, 2}, true},           // cut short
        {"3\r\n#TRUE#\r\nmaybe\r\n#TRUE#\r\n", 3, {1, 3}, true},  // garbage for a flag
        {"3\r\n#TRUE#\r\n#TR", 3, {1}, true},                     // cut mid-flag
        {big, 250, {250}, true},                                  // a count above 250
        {"-4\r\n#TRUE#\r\n", 0, {}, true},
        {"many\r\n#TRUE#\r\n", 12, {}, true},  // no count: every picture present
        {"", 12, {}, true},
    };
    WritePicture("data/012.jpg", 0xFF000012);
    WritePicture("data/005.jpg", 0xFF000005);
    WriteScenario({".c 5", "."});
    const std::filesystem::path copy = folder.path() / "cgmode.dat.damaged";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 40));
        std::filesystem::remove(copy);
        Write("cgmode.dat", c.bytes);
        engine->state.CGSeen.fill(false);  // as at start-up: only the record's flags
        engine->graphics.LoadRecord();
        EXPECT_EQ(engine->state.CGCount, c.count);
        for (int i = 1; i <= kLastPicture; ++i) {
            const bool seen = std::find(c.seen.begin(), c.seen.end(), i) != c.seen.end();
            ASSERT_EQ(engine->state.CGSeen[static_cast<std::size_t>(i)], seen) << i;
        }
        NewGame();
        EXPECT_TRUE(fakes.message_box.shown.empty());
        EXPECT_EQ(RecordOnDisk(), SeenRecordBytes(engine->state));
        ASSERT_EQ(std::filesystem::exists(copy), c.damaged);
        if (c.damaged) {
            std::ifstream in(copy, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bytes);
        }
    }
    // Missing: nothing seen, and the count reaches the highest picture present.
    std::filesystem::remove(folder.path() / "cgmode.dat");
    engine->folder.Forget(folder.path());
    engine->graphics.LoadRecord();
    EXPECT_EQ(engine->state.CGCount, 12);
    NewGame();
    EXPECT_EQ(RecordOnDisk(), SeenRecordText(12, {5}));
}

// The record is replaced whole: a write that dies half-way (the process killed for going over
// its file-size limit, or the write refused as on a full disk) leaves the old record readable.
TEST_F(PictureTest, RecordSurvivesAWriteThatDiesHalfWay) {
    const std::string old_record = SeenRecordText(200, {1});
    Write("cgmode.dat", old_record);
    WindowState state;
    state.CGCount = 200;
    state.CGSeen.fill(true);
    for (const bool killed : {true, false}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Small enough that the new record (over 1000 bytes) cannot be written whole.
            const rlimit limit{300, 300};
            setrlimit(RLIMIT_FSIZE, &limit);
            if (!killed) std::signal(SIGXFSZ, SIG_IGN);
            try {
                SaveSeenRecord(engine->folder, state);
            } catch (const RuntimeError& error) {
                _exit(error.number() % 256);
            }
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (killed) {
            EXPECT_TRUE(WIFSIGNALED(status));
        } else {
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_NE(WEXITSTATUS(status), 0);
        }
        EXPECT_EQ(RecordOnDisk(), old_record);
        WindowState reread;
        LoadSeenRecord(engine->folder, reread);
        EXPECT_EQ(reread.CGCount, 200);
    }
}

TEST_F(PictureTest, PictureBoxImageFollowsItsPicture) {
    Control& box = control(ControlId::Master0);
    auto small = std::make_shared<const Surface>(2, 1, 0xFF0000FFu);
    box.back_color = 0x00FF00;
    box.AssignPicture(small);
    EXPECT_EQ(box.ShownImage(), nullptr);
    // Drawing makes the image: the drawing area in the back colour, the picture at its corner.
    Surface& image = DrawingImage(box);
    EXPECT_EQ(image.width, 640);
    EXPECT_EQ(image.height, 480);
    EXPECT_EQ(image.at(1, 0), 0xFF0000FFu);
    EXPECT_EQ(image.at(2, 0), 0xFF00FF00u);
    image.at(0, 0) = 0xFFFFFFFFu;
    EXPECT_EQ(box.ShownImage(), &image);
    EXPECT_EQ(DrawingImage(box).at(0, 0), 0xFFFFFFFFu);

    box.ClearImage();
    EXPECT_EQ(DrawingImage(box).at(0, 0), 0xFF0000FFu);
    DrawingImage(box).at(0, 0) = 0xFFFFFFFFu;
    // A picture assigned any way replaces what was drawn.
    box.picture = std::make_shared<const Surface>(1, 1, 0xFF123456u);
    EXPECT_EQ(box.ShownImage(), nullptr);
    EXPECT_EQ(DrawingImage(box).at(0, 0), 0xFF123456u);
}

// Reading a box: a picture that fills the drawing area exactly is read as it is, and no
// image is made for it; one pixel less or more either way makes the image as drawing does.
TEST_F(PictureTest, ReadingABoxUsesAFillingPictureItselfAndMakesTheImageOtherwise) {
    Control& box = control(ControlId::Master0);
    box.back_color = 0x00FF00;
    const struct {
        int width;
        int height;
        bool fills;
    } kCases[] = {{640, 480, true},  {639, 480, false}, {641, 480, false},
                  {640, 479, false}, {640, 481, false}, {2, 2, false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        auto picture = std::make_shared<const Surface>(c.width, c.height, 0x800000FFu);
        box.AssignPicture(picture);
        const Surface& pixels = ShownPixels(box);
        EXPECT_EQ(&pixels == picture.get(), c.fills);
        EXPECT_EQ(box.ShownImage() != nullptr, !c.fills);
        EXPECT_EQ(pixels.width, 640);
        EXPECT_EQ(pixels.height, 480);
        EXPECT_EQ(pixels.at(0, 0), 0x800000FFu);  // copied as it is, alpha and all
        const bool covers_corner = c.width >= 640 && c.height >= 480;  // a larger one is cut
        EXPECT_EQ(pixels.at(639, 479), covers_corner ? 0x800000FFu : 0xFF00FF00u);
        EXPECT_EQ(ShownPicture(box) == picture, c.fills);
        // Drawing always goes into an image of the box's own, never into the picture.
        Surface& image = DrawingImage(box);
        EXPECT_EQ(image.pixels, pixels.pixels);
        image.at(0, 0) = 0xFFFFFFFFu;
        EXPECT_EQ(picture->at(0, 0), 0x800000FFu);
        EXPECT_EQ(&ShownPixels(box), &image);
        // What the box shows, kept as a picture, stays as it was when the box is drawn on.
        const std::shared_ptr<const Surface> kept = ShownPicture(box);
        EXPECT_NE(kept.get(), &image);
        image.at(0, 0) = 0xFF000000u;
        EXPECT_EQ(kept->at(0, 0), 0xFFFFFFFFu);
    }
}

// Without a record the count is the highest picture number whose file is found under
// "\data\" the game's way: any letter case, a folder under the name counts too; names that
// only look alike and numbers outside 1 to 250 do not.
TEST(HighestPicturePresent, FindsTheHighestNumberedNameTheGameWouldOpen) {
    const struct {
        std::vector<std::string> files;
        int highest;
    } kCases[] = {
        {{}, 0},
        {{"data/"}, 0},
        {{"data/001.jpg"}, 1},
        {{"data/250.jpg", "data/001.jpg"}, 250},
        {{"data/251.jpg", "data/249.jpg"}, 249},
        {{"data/000.jpg"}, 0},
        {{"DATA/007.JPG"}, 7},
        {{"data/009.jpg", "data/010.jpg", "data/011.jpeg"}, 10},
        {{"data/10.jpg", "data/0010.jpg", "data/010.bmp", "010.jpg"}, 0},
        {{"data/042.jpg/"}, 42},
        {{"data/smallsize/100.jpg", "data/099.jpg"}, 99},
        {{"data"}, 0},  // a file, no folder
    };
    for (const auto& c : kCases) {
        test_support::TempFolder temp;
        std::string listed;
        for (const std::string& file : c.files) {
            listed += file + " ";
            if (file.ends_with('/')) {
                temp.MakeFolder(file);
            } else {
                temp.Write(file);
            }
        }
        SCOPED_TRACE(listed);
        EXPECT_EQ(HighestPicturePresent(GameFolder(temp.path())), c.highest);
    }
}

}  // namespace
}  // namespace tsukikage
