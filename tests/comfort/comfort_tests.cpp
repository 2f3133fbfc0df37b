// The player's conveniences act only through the clicks they stand for.
#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

#include "comfort/read_pages.h"
#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

using fakes::TempFolder;

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class ComfortTest : public fakes::GameTest {
  protected:
    void SetUp() override {
        WriteGameFile("data/001.jpg", fakes::TestPictureBytes(640, 480, 0xFF000001));
        WriteGameFile("data/002.jpg", fakes::TestPictureBytes(640, 480, 0xFF000002));
        WriteStory();
        Restart();
    }

    // Pages 一 二 (a transition starting after it) 三, then a choice, then one page each way.
    void WriteStory(std::string_view first_page = "一") {
        WriteScenario({first_page, ".", "二", ".", ".a 1", "三", ".", ".s", "A", "甲", "B", "乙",
                       "-", ".A", "甲の道", ".", ".B", "乙の道", "."});
    }

    // A new run of the program, with the same game and the same record of read pages.
    void Restart() {
        engine = std::make_unique<Engine>(fakes.platform, folder.path(), std::filesystem::path(),
                                          read_folder->path());
        engine->Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
        fakes.Clear();
    }

    void Ticks(int count) {
        for (int i = 0; i < count; ++i) engine->Tick(TimerId::Comfort);
    }
    // Clicks through the transition and the pages up to the choice.
    void ReadToTheChoice() {
        NewGame();
        Advance();
        Advance();
        while (engine->state.EffectMode != 0) engine->Tick(TimerId::Timer1);
        Advance();
        ASSERT_TRUE(Choosing());
    }
    bool Choosing() { return engine->form.ChoicesShown(); }
    const HistoryView& History() const { return engine->form.overlay.history; }

    std::unique_ptr<TempFolder> read_folder = std::make_unique<TempFolder>();
};

TEST_F(ComfortTest, HistoryHoldsThePagesAndPicksSinceTheGameStarted) {
    ReadToTheChoice();
    engine->KeyPress(Key::Digit2);
    ASSERT_EQ(Label(), "乙の道\r\n");
    engine->KeyPress(Key::WheelUp);
    ASSERT_TRUE(History().open);
    std::vector<std::pair<std::string, bool>> entries;
    for (const HistoryEntry& entry : History().entries)
        entries.emplace_back(entry.text, entry.pick);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"一", false}, {"二", false}, {"三", false}, {"乙", true}, {"乙の道", false}};
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(History().position, 5u);
    EXPECT_EQ(History().count, 5u);

    // A new game starts a new history; the title screen has none to open.
    engine->KeyPress(Key::Escape);
    NewGame();
    engine->KeyPress(Key::PageUp);
    ASSERT_TRUE(History().open);
    EXPECT_EQ(History().count, 1u);
    engine->KeyPress(Key::Escape);
    engine->SelectMode(Mode::Title);
    engine->KeyPress(Key::WheelUp);
    EXPECT_FALSE(History().open);
}

// Each key in each state: what the page, the choice and the history show afterwards.
TEST_F(ComfortTest, EachKeyInEachState) {
    enum class State { Marker, Transition, Choice, Restoring, History };
    enum Outcome { Nothing, Turns, Picks, Highlights, OpensHistory, ClosesHistory, Scrolls, Auto };
    const struct {
        State state;
        Key key;
        Outcome outcome;
    } cases[] = {
        {State::Marker, Key::Return, Turns},
        {State::Marker, Key::WheelDown, Turns},
        {State::Marker, Key::WheelUp, OpensHistory},
        {State::Marker, Key::Up, OpensHistory},
        {State::Marker, Key::PageUp, OpensHistory},
        {State::Marker, Key::Escape, Nothing},
        {State::Marker, Key::Digit1, Nothing},
        {State::Marker, Key::A, Auto},
        {State::Transition, Key::Return, Nothing},
        {State::Transition, Key::PageUp, OpensHistory},
        {State::Choice, Key::Up, Highlights},
        {State::Choice, Key::Digit1, Picks},
        {State::Choice, Key::Return, Nothing},
        {State::Choice, Key::WheelUp, OpensHistory},
        {State::Restoring, Key::Digit1, Nothing},
        {State::History, Key::Return, Nothing},
        {State::History, Key::Digit1, Nothing},
        {State::History, Key::Up, Scrolls},
        {State::History, Key::WheelUp, Scrolls},
        {State::History, Key::A, Nothing},
        {State::History, Key::Down, ClosesHistory},  // already at the newest page
        {State::History, Key::WheelDown, ClosesHistory},
        {State::History, Key::Escape, ClosesHistory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << static_cast<int>(c.state) << " key "
                                        << static_cast<int>(c.key));
        Restart();
        NewGame();
        Advance();
        if (c.state == State::Transition) Advance();
        if (c.state == State::Choice || c.state == State::Restoring) {
            Advance();
            while (engine->state.EffectMode != 0) engine->Tick(TimerId::Timer1);
            Advance();
            engine->state.Loading = c.state == State::Restoring;
        }
        if (c.state == State::History) engine->OpenHistory();
        const std::string page = Label();
        const bool choosing = Choosing();
        const bool history = History().open;
        const std::size_t position = History().position;

        engine->KeyPress(c.key);
        EXPECT_EQ(Label() != page, c.outcome == Turns || c.outcome == Picks);
        EXPECT_EQ(Choosing(), choosing && c.outcome != Picks);
        EXPECT_EQ(engine->form.key_focus.has_value(), c.outcome == Highlights);
        EXPECT_EQ(History().open,
                  (history || c.outcome == OpensHistory) && c.outcome != ClosesHistory);
        if (c.outcome == Scrolls) {
            EXPECT_EQ(History().position, position - 1);
        }
        EXPECT_EQ(engine->comfort.auto_on(), c.outcome == Auto);
    }
}

TEST_F(ComfortTest, WhileTheHistoryIsOpenClicksWaitAndTimersRunOn) {
    NewGame();
    Advance();
    Advance();  // 三, with the transition running
    engine->OpenHistory();
    engine->form[ControlId::imgAhead].enabled = true;
    engine->Click(ControlId::imgAhead);
    const Rect marker = control(ControlId::imgAhead).rect;
    engine->ClickAt(marker.left + 1, marker.top + 1);
    EXPECT_EQ(Label(), "三\r\n");
    while (engine->state.EffectMode != 0) engine->Tick(TimerId::Timer1);
    EXPECT_TRUE(History().open);
    EXPECT_TRUE(engine->RightClick());
    EXPECT_FALSE(History().open);
    EXPECT_FALSE(engine->RightClick());
}

TEST_F(ComfortTest, SkipGoesThroughReadPagesAndStopsAtTheChoiceUnreadTextOrRelease) {
    const struct {
        const char* name;
        bool read_before;
        bool skip_unread;
        bool release_at_second_page;
        std::string stops_at;  // the page where the skip stands still; empty for the choice
    } cases[] = {
        {"read", true, false, false, ""},
        {"never read", false, false, false, "一\r\n"},
        {"never read, skipping unread", false, true, false, ""},
        {"released", true, false, true, "二\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        read_folder = std::make_unique<TempFolder>();
        Restart();
        if (c.read_before) ReadToTheChoice();
        Restart();
        PlaySettings settings;
        settings.skip_unread = c.skip_unread;
        engine->ApplySettings(settings);
        NewGame();
        engine->SetSkipHeld(true);
        EXPECT_EQ(engine->form.overlay.sign, "スキップ");
        EXPECT_TRUE(engine->form.timer(TimerId::Comfort).enabled);
        if (c.release_at_second_page) {
            Ticks(1);
            engine->SetSkipHeld(false);
        }
        // A transition met on the way ends at once: one tick for it, one per page.
        Ticks(10);
        if (c.stops_at.empty()) {
            EXPECT_TRUE(Choosing());
            EXPECT_TRUE(engine->state.CGSeen[1] && engine->state.CGSeen[2]);
        } else {
            EXPECT_EQ(Label(), c.stops_at);
        }
        engine->SetSkipHeld(false);
        EXPECT_EQ(engine->form.overlay.sign, "");
        EXPECT_FALSE(engine->form.timer(TimerId::Comfort).enabled);
    }
}

TEST_F(ComfortTest, SkipFromTheMenuEndsWhereItStopsOrAtAClick) {
    ReadToTheChoice();
    engine->KeyPress(Key::Digit1);
    Advance();  // the end of the story
    NewGame();
    engine->StartSkip();
    Ticks(10);
    EXPECT_TRUE(Choosing());
    EXPECT_FALSE(engine->comfort.skipping());
    engine->KeyPress(Key::Digit1);
    engine->StartSkip();
    Ticks(10);  // through 甲の道 to the end of the scenario
    EXPECT_FALSE(engine->comfort.skipping());
    NewGame();
    engine->StartSkip();
    engine->MouseDown(0, 0, false);
    EXPECT_FALSE(engine->comfort.skipping());
    Ticks(5);
    EXPECT_EQ(Label(), "一\r\n");
}

TEST_F(ComfortTest, ReadPagesAreKeptPerScenarioContentAcrossRuns) {
    ReadToTheChoice();
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(read_folder->path()), {}), 1);
    const std::filesystem::path record = engine->comfort.read_pages().file();
    EXPECT_TRUE(FileBytes(record).starts_with("tsukikage read pages 1\n"));

    const struct {
        const char* name;
        std::string first_page;
        std::string damage;  // appended to the record
        bool skips;
    } cases[] = {
        {"same scenario", "一", "", true},
        {"damaged lines are passed over", "一", "x\n-1\n\n99999999999999999999999\n", true},
        {"one character edited", "壱", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteStory(c.first_page);
        std::ofstream(record, std::ios::binary | std::ios::app) << c.damage;
        Restart();
        NewGame();
        engine->SetSkipHeld(true);
        Ticks(10);
        EXPECT_EQ(Choosing(), c.skips);
        engine->SetSkipHeld(false);
    }
}

TEST_F(ComfortTest, AutoWaitsByThePageLengthAndNeverPassesAChoiceOrABox) {
    PlaySettings settings;
    settings.auto_ms_per_character = 100;
    engine->ApplySettings(settings);
    NewGame();
    engine->KeyPress(Key::A);
    EXPECT_EQ(engine->form.overlay.sign, "オート");
    // One character: 1,100 ms, that is 11 ticks of 100 ms.
    EXPECT_EQ(engine->form.timer(TimerId::Comfort).interval_ms, 100);
    Ticks(10);
    EXPECT_EQ(Label(), "一\r\n");
    Ticks(1);
    EXPECT_EQ(Label(), "二\r\n");
    // The transition holds it, then the page waits its own time.
    for (int i = 0; i < 400; ++i) {
        if (i % 3 == 0) engine->Tick(TimerId::Timer1);
        Ticks(1);
    }
    ASSERT_TRUE(Choosing());
    Ticks(400);
    EXPECT_TRUE(Choosing());

    // With a box open, ticks wait: the box's own loop runs them.
    WriteScenario({"ページ", ".", ".l missing.bmp", "次", "."});
    Restart();
    engine->KeyPress(Key::A);
    NewGame();
    int waited = 0;
    fakes.message_box.while_open = [&] {
        for (; waited < 200; ++waited) engine->Tick(TimerId::Comfort);
    };
    Ticks(200);
    EXPECT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(waited, 200);
    EXPECT_EQ(Label(), "次\r\n");
    engine->ToggleAuto();
    EXPECT_FALSE(engine->comfort.auto_on());
    EXPECT_EQ(engine->form.overlay.sign, "");
}

TEST_F(ComfortTest, SoundLevelsFollowTheSettingsAndTheMusicRoomTakesTheMusicLevel) {
    const struct {
        int music, effects;
        bool music_muted, effects_muted;
        int heard_music, heard_voice;
    } cases[] = {
        {100, 100, false, false, 100, 100}, {0, 100, false, false, 0, 100},
        {40, 70, false, false, 40, 70},     {40, 70, true, false, 0, 70},
        {40, 70, false, true, 40, 0},       {150, -5, false, false, 100, 0},
    };
    for (const auto& c : cases) {
        PlaySettings settings;
        settings.music_volume = c.music;
        settings.effects_volume = c.effects;
        settings.music_muted = c.music_muted;
        settings.effects_muted = c.effects_muted;
        engine->ApplySettings(settings);
        EXPECT_EQ(fakes.sound_levels.music, c.heard_music);
        EXPECT_EQ(fakes.sound_levels.voice, c.heard_voice);
    }
    PlaySettings settings;
    settings.music_volume = 30;
    settings.effects_volume = 80;
    engine->ApplySettings(settings);
    engine->SelectMode(Mode::MusicRoom);
    engine->KeyPress(Key::Digit1);  // any event (Escape would leave): the levels follow the screen
    EXPECT_EQ(fakes.sound_levels.voice, 30);
    engine->SelectMode(Mode::Title);
    engine->KeyPress(Key::Escape);
    EXPECT_EQ(fakes.sound_levels.voice, 80);
}

// A page marked again adds nothing, and the marks not yet saved (a skip saves none) are still
// written by the next save; once saved, marking old pages again writes nothing.
TEST(ReadPagesTest, MarkingAPageAgainKeepsTheMarksNotYetSaved) {
    TempFolder folder;
    ReadPages pages(folder.path() / "read-pages");
    pages.Open("scenario");
    EXPECT_FALSE(pages.dirty());
    EXPECT_TRUE(pages.Mark(7));
    EXPECT_TRUE(pages.Mark(3));
    EXPECT_FALSE(pages.Mark(7));
    EXPECT_TRUE(pages.dirty());
    EXPECT_EQ(pages.Save(), std::nullopt);
    EXPECT_EQ(FileBytes(pages.file()), "tsukikage read pages 1\n3\n7\n");
    EXPECT_FALSE(pages.dirty());

    EXPECT_FALSE(pages.Mark(3));
    EXPECT_FALSE(pages.dirty());
    std::filesystem::remove(pages.file());
    EXPECT_EQ(pages.Save(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(pages.file()));  // nothing changed: nothing written
}

// A record line is read only when it is digits alone: a line with anything before or after
// them (a blank, a sign, a CR of another line end, letters) is passed over.
TEST(ReadPagesTest, OnlyLinesOfDigitsAloneAreRead) {
    TempFolder folder;
    const std::string scenario = "scenario";
    constexpr std::size_t kLast = std::numeric_limits<std::size_t>::max();
    std::ofstream(folder.path() / ReadPagesFileName(scenario), std::ios::binary)
        << "tsukikage read pages 1\n1\n2x\n3 \n 4\n+5\n6\r\n0x7\n"
        << kLast << "\n";
    ReadPages pages(folder.path());
    pages.Open(scenario);
    std::vector<std::size_t> read;
    for (std::size_t place = 0; place <= 7; ++place) {
        if (pages.Contains(place)) read.push_back(place);
    }
    EXPECT_EQ(read, std::vector<std::size_t>{1});
    EXPECT_TRUE(pages.Contains(kLast));  // the largest place still reads
    EXPECT_FALSE(pages.dirty());
}

TEST(TextHistoryTest, KeepsTheNewestThousandAndScrollsWithinThem) {
    TextHistory history;
    EXPECT_FALSE(history.Open());
    for (int i = 1; i <= 1000; ++i) history.AddPage(std::to_string(i));
    EXPECT_EQ(history.at(0).text, "1");
    history.AddPick("1001");
    EXPECT_EQ(history.size(), 1000u);
    EXPECT_EQ(history.at(0).text, "2");
    ASSERT_TRUE(history.Open());
    HistoryView view = history.View();
    EXPECT_EQ(view.entries.size(), TextHistory::kShownEntries);
    EXPECT_EQ(view.entries.back().text, "1001");
    EXPECT_TRUE(view.entries.back().pick);
    EXPECT_EQ(view.position, 1000u);
    history.Back(998);
    EXPECT_EQ(history.bottom(), 1u);
    EXPECT_EQ(history.View().entries.size(), 2u);
    history.Back(5);
    EXPECT_EQ(history.bottom(), 0u);
    history.Forward(5);
    EXPECT_EQ(history.bottom(), 5u);
    history.Forward(1000);  // to the newest, still open
    EXPECT_EQ(history.bottom(), 999u);
    EXPECT_TRUE(history.open());
    history.Forward(1);
    EXPECT_FALSE(history.open());
}

}  // namespace
}  // namespace tsukikage
