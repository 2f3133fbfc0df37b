// The music room and the scene replay: their lists, stepping, playing, and a replay from its
// start marker back to the list.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"
#include "graphics/picture_box.h"
#include "title/title_texts.h"

namespace tsukikage {
namespace {

using fakes::ProcessEnded;

class ExtrasTest : public fakes::GameTest {
  protected:
    void SetUp() override { engine->state.EndFlags = {0, 1, 1, 1}; }
    void WriteList(std::string_view name, std::string_view utf8) {
        WriteGameFile(name, fakes::Scenario({utf8}));
    }
    void Steps(ControlId button, int count) {
        for (int i = 0; i < count; ++i) engine->Click(button);
    }
    std::vector<std::string> WaveNames() {
        std::vector<std::string> names;
        for (const auto& call : fakes.wave_voice.calls) names.push_back(call.name);
        return names;
    }
};

TEST_F(ExtrasTest, ListsReadQuotedNamesAndKeepTheFirstTen) {
    const struct {
        std::string_view text;
        std::vector<std::string> shown;  // the names reached by Next from the first
    } cases[] = {
        {"2,\"夜, 月\",朝", {"夜, 月", "朝"}},
        {"1,一,二", {"一"}},  // more names than the count
        {"0", {""}},
        {"-1,一,二", {""}},  // a negative count: no names
        {"-32768,一", {""}},
        {"", {""}},
        {"三,一,二", {"一", "二"}},  // no count: the names that follow
        {"12,1,2,3,4,5,6,7,8,9,10,11,12", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"3,一", {"一"}},  // cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (const auto& [list, image] : {std::pair{"list.dat", ControlId::MusicImage},
                                          std::pair{"Scenelist.dat", ControlId::SceneImage}}) {
            WriteList(list, c.text);
            engine->SelectMode(Mode::Title);
            engine->Click(image);
            std::vector<std::string> shown{Label()};
            for (std::size_t i = 1; i < c.shown.size() + 2; ++i) {
                engine->Click(ControlId::MusicGo);
                if (Label() != shown.back()) shown.push_back(Label());
            }
            EXPECT_EQ(shown, c.shown) << list;
            Steps(ControlId::MusicBack, 12);
            EXPECT_EQ(Label(), c.shown.front()) << list;
        }
    }
    std::filesystem::remove(folder.path() / "list.dat");
    engine->folder.Forget(folder.path());
    engine->SelectMode(Mode::Title);
    engine->Click(ControlId::MusicImage);
    EXPECT_EQ(Label(), "");
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(ExtrasTest, TheMusicRoomPlaysLoopingTracksAndTheWayBackRestartsTheTheme) {
    WriteList("list.dat", "2,曲一,曲二");
    engine->Click(ControlId::MusicImage);
    EXPECT_TRUE(engine->state.MusicMode);
    engine->Click(ControlId::MusicPlay);
    engine->Click(ControlId::MusicGo);
    engine->Click(ControlId::MusicPlay);
    engine->Click(ControlId::MusicStop);
    engine->Click(ControlId::SystemBack);
    EXPECT_EQ(WaveNames(), (std::vector<std::string>{"", "", "\\bgm\\曲一", "", "\\bgm\\曲二", "",
                                                     "\\bgm\\晩鐘テーマ曲"}));
    EXPECT_EQ(fakes.wave_voice.calls[2].flags, 9u);
    EXPECT_TRUE(engine->state.TitleMode);
    EXPECT_EQ(Label(), Notice());
}

class ReplayTest : public ExtrasTest {
  protected:
    void SetUp() override {
        ExtrasTest::SetUp();
        WriteList("Scenelist.dat", "2,第一景,第二景");
        WriteGameFile("data/nowload.jpg", fakes::TestPictureBytes(2, 2, 0xFF0000AA));
    }
    // Opens the list and replays the given scene.
    void Replay(int scene) {
        engine->Click(ControlId::SceneImage);
        Steps(ControlId::MusicGo, scene - 1);
        engine->Click(ControlId::MusicPlay);
    }
};

TEST_F(ReplayTest, AReplayRunsFromItsExactStartMarkerToItsEndMarkerAndTheListComesBack) {
    WriteScenario({".y 前.mid", ".h 3 ", ".h 03", ".H 3",  "偽",     ".",    ".h 1", "一景",
                   ".",         ".h 2",  ".h 3",  ".v 音", "二景",   ".s",   "A",    "甲",
                   "B",         "乙",    "-",     "続き",  ".h  04", "後ろ", ".",    ".E"});
    engine->state.MidiOpen = false;
    Replay(2);
    // Only from ".h 3": the music before it never sounds, the effect after it does.
    EXPECT_EQ(Label(), "二景\r\n");
    EXPECT_TRUE(fakes.music_device.commands.empty());
    EXPECT_EQ(WaveNames().back(), "\\音");
    EXPECT_TRUE(engine->state.GameMode && engine->state.SceneMode);
    EXPECT_FALSE(engine->state.Loading);
    EXPECT_TRUE(control(ControlId::imgAhead).visible);
    // The choice shows nothing: its lines are read as text up to ".h  04", which ends the
    // replay: the list again on the same scene, nothing read behind it.
    engine->Click(ControlId::imgAhead);
    EXPECT_EQ(control(ControlId::txtTell).caption, "");
    EXPECT_EQ(Label(), "第二景");
    EXPECT_TRUE(engine->state.SceneMode && !engine->state.GameMode);
    EXPECT_FALSE(control(ControlId::imgAhead).visible);
    EXPECT_FALSE(engine->reader.IsOpen());
    engine->Click(ControlId::MusicPlay);  // the same scene again
    EXPECT_EQ(Label(), "二景\r\n");
}

TEST_F(ReplayTest, AfterAReplayANewGameTakesPicksAgain) {
    WriteScenario({".", ".h 1", ".s", "A", "甲", "Skip", "乙", "-", "選んだ", ".", ".h 2", "."});
    Replay(1);
    engine->Click(ControlId::imgAhead);
    engine->Click(ControlId::imgAhead);  // the end marker
    engine->SelectMode(Mode::Title);
    engine->Click(ControlId::NewGameImage);
    engine->Click(ControlId::imgAhead);
    ASSERT_TRUE(control(ControlId::lblSel1).visible);
    engine->Click(ControlId::lblSel1);
    EXPECT_EQ(Label(), "選んだ\r\n");
}

TEST_F(ReplayTest, AScenarioWithoutTheMarkerLeavesTheWaitingPictureAndAWrongArgumentEnds) {
    WriteScenario({".", "本文", "."});
    Replay(1);
    EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF0000AAu);
    EXPECT_TRUE(engine->form.IsMenuAvailable(MenuId::load1));
    WriteScenario({".h 1", "始め", ".", ".h 二", "."});
    engine->SelectMode(Mode::Title);
    Replay(1);
    EXPECT_THROW(engine->Click(ControlId::imgAhead), ProcessEnded);
    EXPECT_EQ(fakes.process.status, 1);
    EXPECT_EQ(fakes.message_box.shown.back().title, "ファイルエラー");
    EXPECT_EQ(fakes.message_box.shown.back().text, ErrorDescription(err::kTypeMismatch));
}

// The end marker brings back the list: a transition still running stops where it stands and
// never draws over the list, nor brings back the advance marker.
TEST_F(ReplayTest, ATransitionRunningAtTheEndMarkerNeverFinishesOverTheList) {
    WriteGameFile("Data/題名.jpg", fakes::TestPictureBytes(640, 480, 0xFF00AA00));
    WriteGameFile("data/005.jpg", fakes::TestPictureBytes(640, 480, 0xFF000005));
    WriteGameFile("data/006.jpg", fakes::TestPictureBytes(640, 480, 0xFF000006));
    WriteScenario({".h 1", "一景", ".a 5", ".h 2", "後ろ", "."});
    Replay(1);
    ASSERT_TRUE(engine->state.SceneMode && !engine->state.GameMode);
    for (int tick = 0; tick < 60; ++tick) engine->Tick(TimerId::Timer1);
    EXPECT_EQ(DrawingImage(control(ControlId::Picture1)).at(320, 240), 0xFF00AA00u);
    EXPECT_FALSE(control(ControlId::imgAhead).visible);
    EXPECT_EQ(engine->state.EffectMode, 0);
}

// A new game is a new game: chosen from the menu during a replay, it leaves the replay, so
// its choices are offered and no scene marker ends it.
TEST_F(ReplayTest, ANewGameFromTheMenuDuringAReplayLeavesTheReplay) {
    WriteScenario({"始め", ".", ".h 1", "一景", ".", ".h 2", ".s", "A", "甲", "B", "乙", "-", ".A",
                   "選んだ", "."});
    Replay(1);
    ASSERT_EQ(Label(), "一景\r\n");
    engine->MenuCommand(MenuId::NewGame);
    EXPECT_TRUE(engine->state.GameMode);
    EXPECT_FALSE(engine->state.SceneMode);
    EXPECT_EQ(Label(), "始め\r\n");
    Advance();  // passes the scene's markers as a game does
    Advance();
    EXPECT_TRUE(engine->state.GameMode);
    ASSERT_TRUE(control(ControlId::lblSel0).visible);
    engine->Click(ControlId::lblSel0);
    EXPECT_EQ(Label(), "選んだ\r\n");
}

}  // namespace
}  // namespace tsukikage
