// Self-voicing: what the speaker is asked to say, and when it is stopped.
#include <gtest/gtest.h>

#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

class SelfVoicingTest : public fakes::GameTest {
  protected:
    // Pages 一 二 (a transition starting with 三) 三, then a choice, then one page each way.
    void SetUp() override {
        WriteGameFile("data/001.jpg", fakes::TestPictureBytes(640, 480, 0xFF000001));
        WriteGameFile("data/002.jpg", fakes::TestPictureBytes(640, 480, 0xFF000002));
        WriteScenario({"一", ".",    "二", ".",  ".a 1",   "三",     ".", ".s", "A",      "甲",
                       "B",  "乙？", "-",  ".A", "甲の道", "その先", ".", ".B", "乙の道", "."});
        engine = std::make_unique<Engine>(fakes.platform, folder.path(), std::filesystem::path(),
                                          read_folder.path());
        engine->Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
        fakes.Clear();
    }
    void SetVoicing(bool on, bool skip_unread = false) {
        PlaySettings settings = engine->comfort.settings();
        settings.self_voicing = on;
        settings.skip_unread = skip_unread;
        engine->ApplySettings(settings);
    }
    void FinishTransition() {
        while (engine->state.EffectMode != 0) engine->Tick(TimerId::Timer1);
    }

    fakes::TempFolder read_folder;
};

enum class Step {
    On,
    OnSkippingUnread,
    Off,
    V,
    NewGame,
    Advance,
    Finish,
    Pick1,
    Pick2,
    Skip,
    Release,
    History,
    Escape,
    ToTitle
};

TEST_F(SelfVoicingTest, SaysEachNewScreenOnceAndStopsWhenItTurns) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> calls;
    } cases[] = {
        {"off by default",
         {Step::NewGame, Step::Advance, Step::V},
         {"say 読み上げ オン", "say 二"}},
        {"a turn cuts the page before off",
         {Step::On, Step::NewGame, Step::Advance, Step::Advance},
         {"say 一", "stop", "say 二", "stop", "say 三"}},
        {"choices numbered, a page of two lines, the caption's own question mark kept",
         {Step::On, Step::NewGame, Step::Advance, Step::Advance, Step::Finish, Step::Advance,
          Step::Pick1},
         {"say 一", "stop", "say 二", "stop", "say 三", "stop", "say 1、甲。2、乙？", "stop",
          "say 甲の道 その先"}},
        {"the title screen says nothing, nor does a setting turned on there",
         {Step::On, Step::Advance},
         {}},
        {"back to the title stops the page",
         {Step::On, Step::NewGame, Step::ToTitle},
         {"say 一", "stop"}},
        {"skip says nothing, and the choice it stops at once released",
         {Step::OnSkippingUnread, Step::NewGame, Step::Skip, Step::Release},
         {"say 一", "stop", "say 1、甲。2、乙？"}},
        {"V mid-page stops it and says so; the next page is silent",
         {Step::On, Step::NewGame, Step::V, Step::Advance},
         {"say 一", "stop", "say 読み上げ オフ", "stop"}},
        {"turned on at the choice, the choices are read after the word",
         {Step::NewGame, Step::Advance, Step::Advance, Step::Finish, Step::Advance, Step::V},
         {"say 読み上げ オン", "say 1、甲。2、乙？"}},
        {"the settings turn it off without a word",
         {Step::On, Step::NewGame, Step::Off, Step::Advance},
         {"say 一", "stop"}},
        {"the history silences the page and closing it says nothing again",
         {Step::On, Step::NewGame, Step::History, Step::Escape, Step::Advance},
         {"say 一", "stop", "say 二"}},
        {"a pick from the choices says the page it leads to",
         {Step::On, Step::NewGame, Step::Advance, Step::Advance, Step::Finish, Step::Advance,
          Step::Pick2},
         {"say 一", "stop", "say 二", "stop", "say 三", "stop", "say 1、甲。2、乙？", "stop",
          "say 乙の道"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const Step step : c.steps) {
            switch (step) {
                case Step::On:
                case Step::Off:
                    SetVoicing(step == Step::On);
                    break;
                case Step::OnSkippingUnread:
                    SetVoicing(true, true);
                    break;
                case Step::V:
                    engine->KeyPress(Key::V);
                    break;
                case Step::NewGame:
                    NewGame();
                    break;
                case Step::Advance:
                    Advance();
                    break;
                case Step::Finish:
                    FinishTransition();
                    break;
                case Step::Pick1:
                case Step::Pick2:
                    engine->KeyPress(step == Step::Pick1 ? Key::Digit1 : Key::Digit2);
                    break;
                case Step::Skip:
                    engine->SetSkipHeld(true);
                    for (int tick = 0; tick < 20; ++tick) {
                        engine->Tick(TimerId::Comfort);
                        engine->Tick(TimerId::Timer1);
                    }
                    ASSERT_TRUE(engine->form.ChoicesShown());
                    break;
                case Step::Release:
                    engine->SetSkipHeld(false);
                    break;
                case Step::History:
                    engine->KeyPress(Key::PageUp);
                    ASSERT_TRUE(engine->comfort.history_open());
                    break;
                case Step::Escape:
                    engine->KeyPress(Key::Escape);
                    break;
                case Step::ToTitle:
                    fakes.message_box.answers.push_back(true);
                    engine->BackToTitle();
                    ASSERT_TRUE(engine->state.TitleMode);
                    break;
            }
        }
        EXPECT_EQ(fakes.speaker.calls, c.calls);
    }
}

TEST(SpokenText, JoinsLinesAndEndsEachChoiceOnce) {
    const struct {
        std::string_view first, second, page, choices;
    } cases[] = {
        {"", "", "", "1、。2、。"},
        {"甲\r\n", "乙。", "甲", "1、甲。2、乙。"},
        {"甲\r\n\r\n乙\r\n", "乙！", "甲 乙", "1、甲 乙。2、乙！"},
        {"\r\n甲", "乙.", "甲", "1、甲。2、乙.。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(SpokenPage(c.first), c.page);
        EXPECT_EQ(SpokenChoices(c.first, c.second), c.choices);
    }
}

}  // namespace
}  // namespace tsukikage
