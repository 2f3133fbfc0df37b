// Transitions a, b and d: the preparation, known pixels of frames of a whole run between two
// synthetic pictures, the finish, and a restart. Every frame of each run is compared with its
// expected picture by the view tests (view/transition_golden_tests.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

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

constexpr std::uint32_t kBlack = 0xFF000000u;

// Every pixel tells its picture and position: bit 23 set for the incoming picture.
std::uint32_t Outgoing(int x, int y) {
    return 0xFF000000u | static_cast<std::uint32_t>(y << 10 | x);
}
std::uint32_t Incoming(int x, int y) {
    return Outgoing(x, y) | 0x800000u;
}

std::string PictureBytes(int width, int height, std::uint32_t (*pixel)(int, int)) {
    std::ostringstream out;
    out << "PIC " << width << ' ' << height << '\n' << std::hex;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out << pixel(x, y) << ' ';
    }
    return out.str();
}

class TransitionTest : public GameTest {
  protected:
    void Write(std::string_view relative, std::string_view bytes) {
        WriteGameFile(relative, bytes);
        engine->folder.Forget(folder.path() / "data");
        engine->folder.Forget(folder.path());
    }
    void Start(std::initializer_list<std::string_view> lines, int record_count = 20) {
        Write("cgmode.dat", SeenRecordText(record_count, {}));
        engine->graphics.LoadRecord();
        Write("datafile", fakes::Scenario(lines));
        NewGame();
    }
    // Pictures 1 (outgoing) and 2 (incoming) of the synthetic pair.
    void WritePair() {
        Write("data/001.jpg", PictureBytes(640, 480, Outgoing));
        Write("data/002.jpg", PictureBytes(640, 480, Incoming));
    }
    void Tick() { engine->Tick(TimerId::Timer1); }
    const Surface& Screen() { return DrawingImage(control(ControlId::Picture1)); }
    std::string Decoded(std::size_t i) const {
        return fakes.picture_decoder.decoded.at(i).lexically_relative(folder.path()).string();
    }
    // The screen's drawing area is 641 x 479: the pictures' last row lies below it.
    bool ScreenShows(std::uint32_t (*pixel)(int, int)) {
        const Surface& s = Screen();
        for (int y = 0; y < 479; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (s.at(x, y) != pixel(x, y)) return false;
            }
        }
        return true;
    }
};

TEST_F(TransitionTest, PreparationRecordsBothPicturesAndLoadsThemIntoTheBuffers) {
    Write("data/012.jpg", fakes::TestPictureBytes(1, 1, 0xFF000012));
    Write("data/013.jpg", fakes::TestPictureBytes(1, 1, 0xFF000013));
    Start({".a 12", "続き", "."});
    EXPECT_EQ(Decoded(0), "data/013.jpg");
    EXPECT_EQ(Decoded(1), "data/012.jpg");
    EXPECT_EQ(control(ControlId::Master0).picture->at(0, 0), 0xFF000013u);
    EXPECT_EQ(control(ControlId::Master1).picture->at(0, 0), 0xFF000012u);
    EXPECT_EQ(engine->state.EffectMode, 1);
    EXPECT_EQ(engine->state.EffectStep, 0);
    // The reader went on without waiting; only the advance marker is held back.
    EXPECT_EQ(Label(), "続き\r\n");
    EXPECT_FALSE(control(ControlId::imgAhead).enabled);
    EXPECT_TRUE(control(ControlId::imgAhead).visible);
    std::ifstream in(folder.path() / "cgmode.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), SeenRecordText(20, {12, 13}));
}

TEST_F(TransitionTest, EachCommandNamesItsTwoPictures) {
    const struct {
        std::string_view line;
        std::uint8_t effect;
        std::string_view incoming;
        std::string_view outgoing;
    } cases[] = {{".a 9", 1, "data/010.jpg", "data/009.jpg"},
                 {".b 99", 2, "data/100.jpg", "data/099.jpg"},
                 {".d 249", 3, "data/250.jpg", "data/249.jpg"},
                 {".d 09", 3, "data/010.jpg", "data/0009.jpg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Write(c.incoming, fakes::TestPictureBytes(1, 1, 1));
        Write(c.outgoing, fakes::TestPictureBytes(1, 1, 2));
        fakes.picture_decoder.decoded.clear();
        Start({c.line, "."});
        ASSERT_EQ(fakes.picture_decoder.decoded.size(), 2u);
        EXPECT_EQ(Decoded(0), c.incoming);
        EXPECT_EQ(Decoded(1), c.outgoing);
        EXPECT_EQ(engine->state.EffectMode, c.effect);
    }
}

TEST_F(TransitionTest, NumbersOutsideThePairsAreRejected) {
    Start({"."}, 250);
    const std::string before = SeenRecordText(250, {});
    // 250 has no successor: its own flag is set first, then the error, and nothing is saved.
    for (const auto& [line, number, seen250] :
         {std::tuple{".d 250", err::kSubscriptOutOfRange, true},
          std::tuple{".a 0", err::kSubscriptOutOfRange, false},
          std::tuple{".b x", err::kTypeMismatch, false}}) {
        SCOPED_TRACE(line);
        engine->state.CGSeen.fill(false);
        fakes.message_box.shown.clear();
        Write("datafile", fakes::Scenario({line, "."}));
        EXPECT_THROW(NewGame(), ProcessEnded);
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(fakes.message_box.shown[0].text, ErrorDescription(number));
        EXPECT_EQ(engine->state.CGSeen[250], seen250);
        EXPECT_EQ(engine->state.EffectMode, 0);
        std::ifstream in(folder.path() / "cgmode.dat", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
    }
}

TEST_F(TransitionTest, MissingPictureFailsAfterTheRecordAndTheMarker) {
    Write("data/006.jpg", fakes::TestPictureBytes(1, 1, 1));
    Write("cgmode.dat", SeenRecordText(10, {}));
    engine->graphics.LoadRecord();
    Write("datafile", fakes::Scenario({".b 5", "."}));
    EXPECT_THROW(NewGame(), ProcessEnded);
    EXPECT_EQ(fakes.message_box.shown.at(0).text, ErrorDescription(err::kFileNotFound));
    EXPECT_EQ(engine->state.EffectMode, 2);
    EXPECT_FALSE(control(ControlId::imgAhead).enabled);
    std::ifstream in(folder.path() / "cgmode.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), SeenRecordText(10, {5, 6}));
}

TEST_F(TransitionTest, SqueezeRunsTwentyOneFramesThenHandsTheMarkerBack) {
    WritePair();
    Start({".a 1", "."});
    control(ControlId::imgAhead).visible = false;  // shown again at the finish
    for (int k = 0; k < 21; ++k) {
        EXPECT_FALSE(control(ControlId::imgAhead).enabled) << k;
        Tick();
        if (k == 0) {
            EXPECT_TRUE(ScreenShows(Outgoing));
        }
        if (k == 10) {
            // Both halves squeezed to half width: every other column of each picture.
            EXPECT_EQ(Screen().at(0, 7), Outgoing(1, 7));
            EXPECT_EQ(Screen().at(319, 200), Outgoing(639, 200));
            EXPECT_EQ(Screen().at(320, 7), Incoming(1, 7));
            EXPECT_EQ(Screen().at(639, 478), Incoming(639, 478));
        }
    }
    EXPECT_TRUE(ScreenShows(Incoming));
    EXPECT_EQ(engine->state.EffectMode, 0);
    EXPECT_EQ(engine->state.EffectStep, 21);
    EXPECT_TRUE(control(ControlId::imgAhead).enabled);
    EXPECT_TRUE(control(ControlId::imgAhead).visible);

    // Idle ticks draw nothing.
    const std::vector<std::uint32_t> still = Screen().pixels;
    Tick();
    EXPECT_TRUE(Screen().pixels == still);
}

TEST_F(TransitionTest, ShrinkRunsThirtyFourFramesOverTheIncomingPicture) {
    WritePair();
    Start({".b 1", "."});
    for (int k = 0; k < 34; ++k) {
        EXPECT_FALSE(control(ControlId::imgAhead).enabled) << k;
        Tick();
        if (k == 0) {
            EXPECT_TRUE(ScreenShows(Outgoing));
        }
        if (k == 25) {
            // 160 x 120 at (75, 75): every fourth pixel of the outgoing picture.
            EXPECT_EQ(Screen().at(75, 75), Outgoing(2, 2));
            EXPECT_EQ(Screen().at(234, 194), Outgoing(638, 478));
            EXPECT_EQ(Screen().at(74, 75), Incoming(74, 75));
            EXPECT_EQ(Screen().at(235, 194), Incoming(235, 194));
        }
    }
    // The finishing tick copied the incoming picture over the last 6 x 4 remnant.
    EXPECT_TRUE(ScreenShows(Incoming));
    EXPECT_EQ(engine->state.EffectStep, 34);
    EXPECT_TRUE(control(ControlId::imgAhead).enabled);
}

TEST_F(TransitionTest, TurnRunsFortyEightFramesThroughBlack) {
    WritePair();
    Start({".d 1", "."});
    for (int s = 1; s <= 48; ++s) {
        EXPECT_FALSE(control(ControlId::imgAhead).enabled) << s;
        Tick();
        const Surface& screen = Screen();
        if (s == 1) {
            EXPECT_EQ(screen.at(12, 100), kBlack);
            EXPECT_EQ(screen.at(13, 0), Outgoing(0, 0));
            // The last strip reaches past the picture: its right part stays black.
            EXPECT_EQ(screen.at(625, 100), Outgoing(639, 96));
            EXPECT_EQ(screen.at(633, 100), kBlack);
        }
        if (s == 24) {
            EXPECT_EQ(screen.at(319, 5), Incoming(320, 5));
            EXPECT_EQ(screen.at(320, 5), Outgoing(320, 5));
            EXPECT_EQ(screen.at(318, 5), kBlack);
            EXPECT_EQ(screen.at(321, 5), kBlack);
        }
    }
    EXPECT_TRUE(ScreenShows(Incoming));
    EXPECT_EQ(engine->state.EffectMode, 0);
    EXPECT_TRUE(control(ControlId::imgAhead).enabled);
    // Both pictures count as seen.
    EXPECT_TRUE(engine->state.CGSeen[1] && engine->state.CGSeen[2]);
}

TEST_F(TransitionTest, NewTransitionRestartsARunningOne) {
    WritePair();
    Write("data/003.jpg", PictureBytes(640, 480, Outgoing));
    Start({".d 1", "."});
    for (int i = 0; i < 30; ++i) Tick();
    // Command c during the run is painted over by the next frame.
    engine->graphics.CGLoad("3");
    engine->graphics.EffectA("2");
    EXPECT_EQ(engine->state.EffectMode, 1);
    EXPECT_EQ(engine->state.EffectStep, 0);
    Tick();
    EXPECT_TRUE(ScreenShows(Incoming));  // picture 2 is now the outgoing one, full-screen
    for (int k = 1; k < 21; ++k) Tick();
    EXPECT_TRUE(ScreenShows(Outgoing));  // picture 3
    EXPECT_EQ(engine->state.EffectMode, 0);
}

TEST_F(TransitionTest, BuffersAlwaysCopyTheirSixHundredFortyByFourEightyArea) {
    // Larger: only its top left part takes part. Smaller: the buffer's black shows around it.
    Write("data/001.jpg", PictureBytes(700, 500, Outgoing));
    Write("data/002.jpg", PictureBytes(300, 200, Incoming));
    const std::shared_ptr<const Surface> assigned = control(ControlId::Picture1).picture;
    Start({".a 1", "."});
    Tick();
    EXPECT_TRUE(ScreenShows(Outgoing));
    for (int k = 1; k < 21; ++k) Tick();
    EXPECT_EQ(Screen().at(299, 199), Incoming(299, 199));
    EXPECT_EQ(Screen().at(300, 0), kBlack);
    EXPECT_EQ(Screen().at(0, 200), kBlack);
    // The screen keeps its assigned picture: the transition only drew into the image.
    EXPECT_EQ(control(ControlId::Picture1).picture, assigned);
}

}  // namespace
}  // namespace tsukikage
