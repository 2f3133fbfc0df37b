// New games, the first page, part markers and restoring a position.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"
#include "title/title_texts.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using fakes::ProcessEnded;

class NewGameTest : public GameTest {};

TEST_F(NewGameTest, TextAtTheHeadOfTheFileIsShownBeforeTheFirstCommand) {
    WriteScenario({"はじめの一行", "二行目", ".p 3", "次", "."});
    NewGame();
    // The first page ran into "p", which continued to the next page.
    EXPECT_EQ(Label(), "次\r\n");
    EXPECT_EQ(engine->state.PartNo, 3);

    WriteScenario({"はじめの一行", "二行目", "."});
    NewGame();
    EXPECT_EQ(Label(), "はじめの一行\r\n二行目\r\n");
    EXPECT_TRUE(control(ControlId::imgAhead).visible);
    EXPECT_TRUE(control(ControlId::imgAhead).enabled);
    EXPECT_FALSE(control(ControlId::txtTell).visible);
}

TEST_F(NewGameTest, ANewGameStartsFromAnEmptyPage) {
    WriteScenario({"前のゲーム", ".z", "まだ途中", "."});
    NewGame();
    EXPECT_EQ(Label(), "まだ途中\r\n");
    WriteScenario({"最初の頁", "."});
    NewGame();
    EXPECT_EQ(Label(), "最初の頁\r\n");
}

// A new game from the menu while a choice stands, shown or restored by a load, starts on its
// first page: the old captions and markers go, and the page is shown, not left hidden.
TEST_F(NewGameTest, ANewGameFromTheMenuLeavesAStandingChoiceBehind) {
    WriteScenario({"最初の頁", ".", ".p 1", ".s", "Ａ", "右へ", "Ｂ", "左へ", "", ".Ａ", "右", ".",
                   ".Ｂ", "左", "."});
    for (const bool restored : {false, true}) {
        NewGame();
        Advance();
        ASSERT_TRUE(engine->form.ChoicesShown());
        if (restored) {
            engine->MenuCommand(MenuId::save1);
            engine->MenuCommand(MenuId::load1);
            ASSERT_TRUE(engine->form.ChoicesShown());
            ASSERT_FALSE(control(ControlId::Label1).visible);
        }
        NewGame();
        EXPECT_FALSE(engine->form.ChoicesShown()) << restored;
        for (int i = 0; i < 2; ++i) {
            EXPECT_FALSE(engine->form.IsShown(ImgSel(i))) << restored;
            EXPECT_EQ(control(LblSel(i)).caption, "") << restored;
        }
        EXPECT_TRUE(control(ControlId::Label1).visible) << restored;
        EXPECT_EQ(Label(), "最初の頁\r\n");
        EXPECT_TRUE(engine->form.IsShown(ControlId::imgAhead));
        Advance();
        EXPECT_TRUE(engine->form.ChoicesShown()) << "the new game reaches its choice";
    }
}

TEST_F(NewGameTest, ANewGameRereadsTheScenarioFromItsStart) {
    WriteScenario({"一", ".", "二", ".", "三", "."});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "二\r\n");
    NewGame();
    EXPECT_EQ(Label(), "一\r\n");
}

TEST_F(NewGameTest, NewGameStopsTheSound) {
    WriteScenario({"."});
    engine->state.MidiOpen = true;
    NewGame();
    ASSERT_EQ(fakes.wave_voice.calls.size(), 1u);
    EXPECT_EQ(fakes.wave_voice.calls[0].name, "");
    EXPECT_EQ(fakes.music_device.commands, (std::vector<std::string>{"Stop MIDI1", "Close MIDI1"}));
}

TEST_F(NewGameTest, MissingScenarioEndsTheProgramWithFileNotFound) {
    EXPECT_THROW(NewGame(), ProcessEnded);
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].text, "ファイルが見つかりません。");
    EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルエラー");
}

TEST_F(NewGameTest, ScenarioNameIsFoundWhateverItsLetterCase) {
    WriteGameFile("DataFile", fakes::Scenario({"見つかった", "."}));
    NewGame();
    EXPECT_EQ(Label(), "見つかった\r\n");
}

TEST_F(NewGameTest, EmptyScenarioStartsNothing) {
    WriteScenario({});
    NewGame();
    EXPECT_EQ(Label(), TitleCaption());
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(NewGameTest, ACommandFailingOnTheFirstPageEndsTheProgram) {
    WriteScenario({"前", ".p x"});
    EXPECT_THROW(NewGame(), ProcessEnded);
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].text, ErrorDescription(err::kTypeMismatch));
}

TEST_F(NewGameTest, TitleImageStartsTheGameLayout) {
    WriteScenario({"始まり", "."});
    engine->state.TitleMode = true;
    engine->title.NewGameImage_Click();
    EXPECT_TRUE(engine->state.GameMode);
    EXPECT_FALSE(engine->state.TitleMode);
    EXPECT_EQ(Label(), "始まり\r\n");
    EXPECT_TRUE(control(ControlId::imgAhead).visible);
}

TEST_F(NewGameTest, PartMarkersRoundHalfToEvenAndSurviveANewGame) {
    WriteScenario({".p 2.5", ".", ".p 3.5", ".", ".p  -7 ", "."});
    NewGame();
    EXPECT_EQ(engine->state.PartNo, 2);
    Advance();
    EXPECT_EQ(engine->state.PartNo, 4);
    Advance();
    EXPECT_EQ(engine->state.PartNo, -7);
    WriteScenario({"."});
    NewGame();
    EXPECT_EQ(engine->state.PartNo, -7);
}

TEST_F(NewGameTest, RestoreReadsOnAfterTheFirstExactMarker) {
    WriteScenario({"集めた文", ".p 07", "違う1", ".", ".p  7", "違う2", ".", ".p 7", "正解", ".",
                   ".p 7", "二つ目", "."});
    NewGame();
    engine->state.PartNo = 7;
    engine->reader.CloseScenario();
    engine->new_game.LoadPart();
    EXPECT_EQ(Label(), "正解\r\n");
}

TEST_F(NewGameTest, RestoreCollectsTextWithoutShowingIt) {
    WriteScenario({"見せない", ".p 1", ".z", ".", "後"});
    engine->state.PartNo = 1;
    engine->new_game.LoadPart();
    // The advance after the marker emptied the buffer; the label was never touched.
    EXPECT_EQ(Label(), TitleCaption());
    EXPECT_EQ(control(ControlId::txtTell).caption, "");
}

TEST_F(NewGameTest, RestoreWithoutItsMarkerEndsQuietlyAtTheEndOfTheFile) {
    WriteScenario({"一", ".p 1", "二"});
    engine->state.PartNo = 9;
    engine->new_game.LoadPart();
    EXPECT_TRUE(engine->reader.AtEnd());
    EXPECT_EQ(Label(), TitleCaption());
    EXPECT_EQ(control(ControlId::txtTell).caption, "一\r\n二\r\n");
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(NewGameTest, RestoreOfAMissingScenarioEndsTheProgram) {
    engine->state.PartNo = 1;
    EXPECT_THROW(engine->new_game.LoadPart(), ProcessEnded);
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルエラー");
}

}  // namespace
}  // namespace tsukikage
