// Keys and the wheel stand for the clicks they replace, and for nothing more.
#include <gtest/gtest.h>

#include "fakes/game_fixture.h"
#include "graphics/picture_box.h"

namespace tsukikage {
namespace {

class KeyTest : public fakes::GameTest {
  protected:
    void SetUp() override {
        WriteGameFile("data/001.jpg", fakes::TestPictureBytes(640, 480, 0xFF000001));
        WriteGameFile("data/002.jpg", fakes::TestPictureBytes(640, 480, 0xFF000002));
        WriteScenario({"序",     ".", "一",   ".",  ".s", "L",      "左", "R",
                       "右",     "-", "二",   ".",  ".L", "左の道", ".",  ".R",
                       "右の道", ".", ".a 1", "三", ".",  "四",     "."});
        NewGame();
    }
};

TEST_F(KeyTest, EachAdvanceKeyTurnsThePageAndOthersDoNot) {
    const struct {
        Key key;
        bool turns;
    } cases[] = {{Key::Return, true}, {Key::Space, true},     {Key::PageDown, true},
                 {Key::Right, true},  {Key::WheelDown, true}, {Key::Up, false},
                 {Key::Down, false},  {Key::Digit1, false},   {Key::Digit2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.key));
        NewGame();
        engine->KeyPress(c.key);
        EXPECT_EQ(Label() == "一\r\n", c.turns);
    }
}

TEST_F(KeyTest, WithChoicesShownDigitsPickAndTheHighlightPicksOnReturn) {
    const struct {
        std::vector<Key> keys;
        std::string page;  // what the keys lead to
    } cases[] = {
        {{Key::Digit1}, "左の道\r\n"},
        {{Key::Digit2}, "右の道\r\n"},
        {{Key::Down, Key::Return}, "右の道\r\n"},
        {{Key::Down, Key::Up, Key::Return}, "左の道\r\n"},
        {{Key::Return, Key::Space, Key::Right}, ""},  // no highlight: nothing picks
    };
    for (const auto& c : cases) {
        NewGame();
        engine->KeyPress(Key::Return);
        engine->KeyPress(Key::Return);  // the choice
        ASSERT_TRUE(control(ControlId::lblSel0).visible);
        const std::string choice = Label();
        for (Key key : c.keys) engine->KeyPress(key);
        EXPECT_EQ(Label(), c.page.empty() ? choice : c.page);
        EXPECT_FALSE(engine->form.key_focus);  // gone with the choices
    }
}

// A page key in a transition brings it to its last frame at once, the marker back; the next
// one turns the page. Other keys, and a click, leave it running.
TEST_F(KeyTest, APageKeyFinishesATransitionAndARestoreStopsKeysAsClicks) {
    const struct {
        Key key;
        bool finishes;
    } cases[] = {{Key::Return, true}, {Key::Space, true},     {Key::PageDown, true},
                 {Key::Right, true},  {Key::WheelDown, true}, {Key::Left, false},
                 {Key::Down, false},  {Key::Digit1, false},   {Key::Escape, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.key));
        NewGame();
        for (Key key : {Key::Return, Key::Return, Key::Digit1, Key::Return, Key::Return}) {
            engine->KeyPress(key);
        }
        ASSERT_EQ(Label(), "三\r\n");  // ".a 1" runs: the marker is held back
        ASSERT_FALSE(control(ControlId::imgAhead).enabled);
        engine->Click(ControlId::Picture1);
        engine->KeyPress(c.key);
        EXPECT_EQ(Label(), "三\r\n");
        EXPECT_EQ(engine->state.EffectMode != 0, !c.finishes);
        EXPECT_EQ(engine->TimerIdle(TimerId::Timer1), c.finishes);
        EXPECT_EQ(engine->form.IsShown(ControlId::imgAhead) && control(ControlId::imgAhead).enabled,
                  c.finishes);
        if (!c.finishes) {
            engine->graphics.FinishRunningEffect();  // as its timer would, before the next game
            continue;
        }
        EXPECT_EQ(ShownPixels(control(ControlId::Picture1)).at(320, 240), 0xFF000002u);
        engine->KeyPress(c.key);
        EXPECT_EQ(Label(), "四\r\n");
    }
    // During a restore a pick by key is ignored like a click.
    NewGame();
    engine->KeyPress(Key::Return);
    engine->KeyPress(Key::Return);
    engine->state.Loading = true;
    engine->KeyPress(Key::Digit2);
    EXPECT_TRUE(control(ControlId::lblSel0).visible);
}

TEST(TitleKeyTest, ArrowsGoThroughTheTitleImagesAndReturnClicksOne) {
    const struct {
        std::vector<Key> keys;
        std::optional<ControlId> focus;
        bool game_started;
    } cases[] = {
        {{Key::Return}, std::nullopt, false},
        {{Key::Down}, ControlId::NewGameImage, false},
        {{Key::Up}, ControlId::NewGameImage, false},
        {{Key::Right, Key::Right}, ControlId::LoadGameImage, false},
        {{Key::Down, Key::Down, Key::Left}, ControlId::NewGameImage, false},
        {{Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down},
         ControlId::EndImage,
         false},
        {{Key::Down, Key::Return}, ControlId::NewGameImage, true},
        {{Key::Down, Key::Space}, ControlId::NewGameImage, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys.size()));
        fakes::TempFolder folder;
        folder.Write("datafile", fakes::Scenario({"序", "."}));
        fakes::RecordingPlatform fakes;
        Engine engine(fakes.platform, folder.path());
        engine.Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine.Tick(TimerId::Timer2);
        fakes.message_box.answers = {true};  // a new game by key asks first
        for (Key key : c.keys) engine.KeyPress(key);
        EXPECT_EQ(engine.form.key_focus, c.focus);
        EXPECT_EQ(engine.state.GameMode, c.game_started);
    }
}

}  // namespace
}  // namespace tsukikage
