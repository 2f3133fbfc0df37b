// The player's notes on the save slots: what the lists show of each slot, across runs, for
// slots written by another program, and with the side file damaged or gone.
#include <gtest/gtest.h>

#include <cctype>

#include "fakes/game_fixture.h"
#include "saves/slot_notes.h"

namespace tsukikage {
namespace {

using test_support::ReadAll;

TEST(FirstWords, CutsBetweenCharactersAtTheLimitAndRunsTheLinesTogether) {
    const std::string twenty = "一二三四五六七八九十一二三四五六七八九十";
    const struct {
        std::string page;
        std::size_t limit;
        std::string words;
    } cases[] = {
        {"", 20, ""},
        {twenty, 20, twenty},                                       // exactly the limit: no mark
        {twenty + "余", 20, twenty + "…"},                          // one more: cut, marked
        {"abcdefghijklmnopqrsあい", 20, "abcdefghijklmnopqrsあ…"},  // ASCII and wide mixed
        {"𠀋𠀋𠀋", 2, "𠀋𠀋…"},                           // four-byte characters count once
        {"　 一行目\r\n二行目\r\n", 20, "一行目二行目"},  // blanks at the head go
        {"あ", 0, "…"},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstWords(c.page, c.limit), c.words) << c.page;
}

constexpr std::int64_t kSavedAt = 1796212800;  // 2026-12-02 12:00 UTC

// The time reads as the lists show it, in the local zone: date, then hours and minutes.
TEST(SavedAtText, ShowsTheDateAndTheMinute) {
    for (const std::int64_t moment : {std::int64_t{0}, kSavedAt}) {
        const std::string text = SavedAtText(moment);
        ASSERT_EQ(text.size(), 16u) << text;
        for (std::size_t at = 0; at < text.size(); ++at) {
            const char want = at == 4 || at == 7 ? '/' : at == 10 ? ' ' : at == 13 ? ':' : '0';
            EXPECT_EQ(want == '0' ? std::isdigit(static_cast<unsigned char>(text[at])) != 0
                                  : text[at] == want,
                      true)
                << text;
        }
    }
}

class SlotNotesTest : public fakes::GameTest {
  protected:
    void SetUp() override {
        WriteScenario({"前置き", ".", ".p 12",
                       "第一部の始まりは、長い長い廊下を歩くところからでした。", ".", "続きの頁",
                       ".", ".p 13", "第二部", ".", ".E"});
        Restart();
    }
    // A new run of the program on the same game and the same player's folder.
    void Restart() {
        engine.reset();
        engine = std::make_unique<Engine>(fakes.platform, folder.path(), std::filesystem::path(),
                                          notes_folder.path());
        engine->saves.clock = [] { return kSavedAt; };
        engine->Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
        fakes.Clear();
    }
    void Play() {
        NewGame();
        engine->form.menu(MenuId::SystemMenu).enabled = true;
        Advance();  // part 12's first page
        Advance();  // and its second
    }
    std::string Caption(int slot) { return engine->saves.SlotSummary(slot).caption; }
    std::filesystem::path Slot(int n) const {
        return folder.path() / ("save" + std::to_string(n) + ".dat");
    }
    std::filesystem::path NotesFile() const {
        return notes_folder.path() / SlotNotesFileName(folder.path());
    }

    fakes::TempFolder notes_folder;
};

// The page the part's saves are told by, as the lists show it after the time.
constexpr std::string_view kPartTwelve = "　第一部の始まりは、長い長い廊下を歩くとこ…";

TEST_F(SlotNotesTest, BothEndSlotsTellTheirSaveAcrossARestartAndTheSaveKeepsItsBytes) {
    for (int slot : {1, 5})
        EXPECT_EQ(Caption(slot), "スロット" + std::to_string(slot) + "　（空き）");
    Play();
    engine->MenuCommand(MenuId::save1);
    EXPECT_TRUE(engine->ChooseConvenience("save5"));
    EXPECT_EQ(ReadAll(Slot(1)), " 12 \r\n");
    EXPECT_EQ(ReadAll(Slot(5)), " 12 \r\n");

    Restart();
    for (int slot : {1, 5}) {
        EXPECT_TRUE(engine->saves.SlotSummary(slot).used);
        EXPECT_EQ(Caption(slot), "スロット" + std::to_string(slot) + "　" + SavedAtText(kSavedAt) +
                                     std::string(kPartTwelve));
    }
    EXPECT_EQ(Caption(3), "スロット3　（空き）");
    EXPECT_FALSE(engine->saves.SlotSummary(3).used);

    // A load resumes at the marker: saving again there tells the same page.
    engine->form.menu(MenuId::SystemMenu).enabled = true;
    engine->MenuCommand(MenuId::load5);
    ASSERT_EQ(engine->state.PartNo, 12);
    engine->MenuCommand(MenuId::save3);
    EXPECT_EQ(ReadAll(Slot(3)), " 12 \r\n");
    EXPECT_EQ(Caption(3), "スロット3　" + SavedAtText(kSavedAt) + std::string(kPartTwelve));
}

TEST_F(SlotNotesTest, ASlotWrittenByAnotherProgramTellsItsPartOnly) {
    Play();
    engine->MenuCommand(MenuId::save2);
    // The original player wrote slot 2 since, and slot 4 too; slot 3 holds no number.
    fakes::WriteBytes(Slot(2), "-3 \r\n");
    fakes::WriteBytes(Slot(4), " 13 \r\n");
    fakes::WriteBytes(Slot(3), "ABC\r\n");
    Restart();
    EXPECT_EQ(Caption(2), "スロット2　第-3部");
    EXPECT_EQ(Caption(4), "スロット4　第13部");
    EXPECT_EQ(Caption(3), "スロット3　（読めないセーブ）");
    EXPECT_TRUE(engine->saves.SlotSummary(3).used);
}

TEST_F(SlotNotesTest, ADamagedOrMissingSideFileNeverLosesASave) {
    Play();
    engine->MenuCommand(MenuId::save1);
    const struct {
        std::string_view name;
        std::string bytes;  // empty: no file
    } cases[] = {
        {"missing", ""},
        {"another format", "tsukikage slots 9\n1 0000000000000000 0 x\n"},
        {"binary", std::string("\0\xff\xfe\n1 2 3\n", 10)},
        {"bad lines",
         "tsukikage slots 1\n0 0123456789abcdef 1 zero\n6 0123456789abcdef 1 six\n"
         "1 xyz 1 bad digest\n1 0123456789abcdef notanumber words\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(NotesFile());
        if (!c.bytes.empty()) fakes::WriteBytes(NotesFile(), c.bytes);
        Restart();
        EXPECT_EQ(Caption(1), "スロット1　第12部");
        EXPECT_EQ(ReadAll(Slot(1)), " 12 \r\n");
    }
    // A side file that cannot be written: the save is made all the same, and told by its part.
    std::filesystem::remove(NotesFile());
    std::filesystem::create_directories(NotesFile() / "in the way");
    Restart();
    Play();
    engine->MenuCommand(MenuId::save4);
    EXPECT_EQ(ReadAll(Slot(4)), " 12 \r\n");
    EXPECT_TRUE(fakes.message_box.shown.empty());
    Restart();
    EXPECT_EQ(Caption(4), "スロット4　第12部");
}

}  // namespace
}  // namespace tsukikage
