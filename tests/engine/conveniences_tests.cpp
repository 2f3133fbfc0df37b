// The right button's menu of the conveniences: its items, and the questions asked before a
// step that leaves the game or the program, whichever way the step was taken.
#include <gtest/gtest.h>

#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

// A compact picture of a menu: "name" or "name-" (disabled), "name+"/"name." (ticked or
// not), "|" for a separator, a submenu's lines in brackets.
std::string Outline(const std::vector<ConvenienceItem>& items) {
    std::string out;
    for (const ConvenienceItem& item : items) {
        if (!out.empty()) out += ' ';
        if (item.separator) {
            out += '|';
            continue;
        }
        out += item.name.empty() ? "note" : item.name;
        if (item.checked) out += *item.checked ? "+" : ".";
        if (!item.enabled) out += '-';
        if (!item.items.empty()) out += "[" + Outline(item.items) + "]";
    }
    return out;
}

class ConveniencesTest : public fakes::GameTest {
  protected:
    void SetUp() override {
        WriteScenario({"序", ".", "二", ".", ".E"});
        // A new run each time: a case may have ended the last one.
        engine.reset();
        engine = std::make_unique<Engine>(fakes.platform, folder.path());
        engine->Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
        fakes.Clear();
    }
    std::string Menu(ConvenienceViewState view = {}) {
        return Outline(engine->ConveniencesMenu(view));
    }
    void Keys(std::initializer_list<Key> keys) {
        for (Key key : keys) engine->KeyPress(key);
    }
    // Where the game stands: "quit", "title", or the game screen with the page shown.
    std::string Where(bool ended) const {
        if (ended) return "quit";
        if (engine->state.TitleMode) return "title";
        if (engine->state.GameMode) return "game " + engine->form[ControlId::Label1].caption;
        return "other";
    }
};

TEST_F(ConveniencesTest, TheItemsFollowTheScreenTheHistoryAndTheView) {
    const std::string load_slots = "load1- load2- load3- load4- load5- | note-";
    // The title screen: nothing of the game's is offered.
    EXPECT_EQ(Menu(),
              "history- skip- auto. fullscreen. | save-[save1- save2- save3- save4- "
              "save5-] load-[" +
                  load_slots + "] title- | settings");
    ConvenienceViewState desktop;
    desktop.full_screen = true;
    desktop.offers_fit = true;
    EXPECT_EQ(Menu(desktop).substr(0, 48), "history- skip- auto. fullscreen+ fit. | save-[sa");

    NewGame();
    engine->form.menu(MenuId::SystemMenu).enabled = true;
    engine->ToggleAuto();
    EXPECT_EQ(Menu(),
              "history skip auto+ fullscreen. | save[save1 save2 save3 save4 save5] "
              "load-[" +
                  load_slots + "] title | settings");

    // A used slot can be loaded; the game's own menu closed closes the slots too.
    engine->MenuCommand(MenuId::save5);
    EXPECT_NE(Menu().find("load[load1- load2- load3- load4- load5 |"), std::string::npos);
    engine->form.menu(MenuId::SaveMenu).enabled = false;
    EXPECT_NE(Menu().find("save-[save1-"), std::string::npos);
}

TEST_F(ConveniencesTest, LeavingAskedByKeyOrMenuGoesOnlyOnYesAndTheMouseNeverAsks) {
    enum Way { MenuToTitle, KeyNewGame, KeyQuit, ClickNewGame, ClickQuit, BarNewGame, BarQuit };
    const struct {
        Way way;
        bool yes;
        std::string_view where;
        std::string_view question;  // "" when none is asked
    } cases[] = {
        {MenuToTitle, true, "title", "タイトルへ戻りますか？"},
        {MenuToTitle, false, "game 二\r\n", "タイトルへ戻りますか？"},
        {KeyNewGame, true, "game 序\r\n", "はじめから始めますか？"},
        {KeyNewGame, false, "title", "はじめから始めますか？"},
        {KeyQuit, true, "quit", "ゲームを終了しますか？"},
        {KeyQuit, false, "title", "ゲームを終了しますか？"},
        {ClickNewGame, false, "game 序\r\n", ""},
        {ClickQuit, false, "quit", ""},
        {BarNewGame, false, "game 序\r\n", ""},
        {BarQuit, false, "quit", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.way << " " << c.yes);
        SetUp();
        fakes.message_box.answers = {c.yes};
        bool ended = false;
        try {
            switch (c.way) {
                case MenuToTitle:
                    NewGame();
                    Advance();
                    fakes.Clear();
                    EXPECT_TRUE(engine->ChooseConvenience("title"));
                    break;
                case KeyNewGame:
                    Keys({Key::Down, Key::Return});
                    break;
                case KeyQuit:
                    Keys({Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down,
                          Key::Down, Key::Space});
                    break;
                case ClickNewGame:
                    engine->Click(ControlId::NewGameImage);
                    break;
                case ClickQuit:
                    engine->Click(ControlId::EndImage);
                    break;
                case BarNewGame:
                case BarQuit:
                    NewGame();
                    Advance();
                    fakes.Clear();
                    engine->form.menu(MenuId::SystemMenu).enabled = true;
                    if (c.way == BarQuit) engine->MenuCommand(MenuId::EndMenu);
                    engine->MenuCommand(MenuId::NewGame);
                    break;
            }
        } catch (const fakes::ProcessEnded&) {
            ended = true;
        }
        EXPECT_EQ(Where(ended), c.where);
        if (c.question.empty()) {
            EXPECT_TRUE(fakes.message_box.shown.empty());
        } else {
            ASSERT_EQ(fakes.message_box.shown.size(), 1u);
            EXPECT_EQ(fakes.message_box.shown[0].text, c.question);
            EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Question);
        }
        // Back at the title the game went as at the scenario's end: closed, nothing playing.
        if (c.where == "title" && c.way == MenuToTitle) {
            EXPECT_FALSE(engine->reader.IsOpen());
            EXPECT_FALSE(engine->form[ControlId::imgAhead].visible);
        }
    }
}

// Keys on the load screen click the slots there: no question, as before.
TEST_F(ConveniencesTest, TheLoadScreensImagesAreNotAskedAbout) {
    engine->Click(ControlId::LoadGameImage);
    ASSERT_TRUE(engine->state.LoadMode);
    Keys({Key::Down, Key::Return});
    EXPECT_EQ(fakes.message_box.shown.size(), 1u);  // the empty slot's report, no question
    EXPECT_NE(fakes.message_box.shown[0].icon, MessageIcon::Question);
}

TEST_F(ConveniencesTest, SavingOverAUsedSlotAsksAndUnknownNamesAreLeftToTheView) {
    NewGame();
    engine->form.menu(MenuId::SystemMenu).enabled = true;
    const std::filesystem::path slot = folder.path() / "save1.dat";
    EXPECT_TRUE(engine->ChooseConvenience("save1"));
    EXPECT_TRUE(std::filesystem::exists(slot));
    EXPECT_TRUE(fakes.message_box.shown.empty());  // an empty slot: no question
    std::filesystem::remove(folder.path() / "save1.dat");
    fakes::WriteBytes(slot, "-7 \r\n");
    engine->folder.Forget(folder.path());
    for (const bool yes : {false, true}) {
        fakes.message_box.answers = {yes};
        EXPECT_TRUE(engine->ChooseConvenience("save1"));
        EXPECT_EQ(test_support::ReadAll(slot), yes ? " 0 \r\n" : "-7 \r\n");
    }
    ASSERT_EQ(fakes.message_box.shown.size(), 2u);
    EXPECT_EQ(fakes.message_box.shown[0].text, "スロット1のセーブに上書きしますか？");
    for (std::string_view name :
         {"fullscreen", "fit", "settings", "save0", "save6", "save", "load12", "", "title2"}) {
        EXPECT_FALSE(engine->ChooseConvenience(name)) << name;
    }
}

}  // namespace
}  // namespace tsukikage
