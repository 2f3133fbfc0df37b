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

// Each case plays a row of steps, one letter each: o on, s on and skipping unread pages,
// x off by the settings, v the V key, n new game, a the advance marker, f the transition to
// its end, 1 and 2 picks, k Control held up to the choice, r Control let go, h the history,
// e Escape, t back to the title.
TEST_F(SelfVoicingTest, SaysEachNewScreenOnceAndStopsWhenItTurns) {
    const struct {
        const char* name;
        std::string_view steps;
        std::vector<std::string> calls;
    } cases[] = {
        {"off by default", "nav", {"say 読み上げ オン", "say 二"}},
        {"a turn cuts the page before off", "onaa", {"say 一", "stop", "say 二", "stop", "say 三"}},
        {"choices numbered, a page of two lines, the caption's own question mark kept",
         "onaafa1",
         {"say 一", "stop", "say 二", "stop", "say 三", "stop", "say 1、甲。2、乙？", "stop",
          "say 甲の道 その先"}},
        {"the title screen says nothing, nor does a setting turned on there", "oa", {}},
        {"back to the title stops the page", "ont", {"say 一", "stop"}},
        {"skip says nothing, and the choice it stops at once released",
         "snkr",
         {"say 一", "stop", "say 1、甲。2、乙？"}},
        {"V mid-page stops it and says so; the next page is silent",
         "onva",
         {"say 一", "stop", "say 読み上げ オフ", "stop"}},
        {"turned on at the choice, the choices are read after the word",
         "naafav",
         {"say 読み上げ オン", "say 1、甲。2、乙？"}},
        {"the settings turn it off without a word", "onxa", {"say 一", "stop"}},
        {"the history silences the page and closing it says nothing again",
         "onhea",
         {"say 一", "stop", "say 二"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const char step : c.steps) {
            switch (step) {
                case 'o':
                case 'x':
                case 's':
                    SetVoicing(step != 'x', step == 's');
                    break;
                case 'v':
                    engine->KeyPress(Key::V);
                    break;
                case 'n':
                    NewGame();
                    break;
                case 'a':
                    Advance();
                    break;
                case 'f':
                    FinishTransition();
                    break;
                case '1':
                case '2':
                    engine->KeyPress(step == '1' ? Key::Digit1 : Key::Digit2);
                    break;
                case 'k':
                    engine->SetSkipHeld(true);
                    for (int tick = 0; tick < 20; ++tick) {
                        engine->Tick(TimerId::Comfort);
                        engine->Tick(TimerId::Timer1);
                    }
                    ASSERT_TRUE(engine->form.ChoicesShown());
                    break;
                case 'r':
                    engine->SetSkipHeld(false);
                    break;
                case 'h':
                    engine->KeyPress(Key::PageUp);
                    ASSERT_TRUE(engine->comfort.history_open());
                    break;
                case 'e':
                    engine->KeyPress(Key::Escape);
                    break;
                case 't':
                    fakes.message_box.answers.push_back(true);
                    engine->BackToTitle();
                    ASSERT_TRUE(engine->state.TitleMode);
                    break;
                default:
                    FAIL() << "no step " << step;
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

TEST(SpokenText, JapaneseVoicesByTheirLanguageTag) {
    const struct {
        std::string_view tag;
        bool japanese;
    } cases[] = {{"ja", true},  {"ja-JP", true}, {"ja_JP", true}, {"JA-jp", true}, {"jam", false},
                 {"jv", false}, {"j", false},    {"", false},     {"en-JP", false}};
    for (const auto& c : cases) EXPECT_EQ(IsJapaneseVoice(c.tag), c.japanese) << c.tag;
}

}  // namespace
}  // namespace tsukikage
