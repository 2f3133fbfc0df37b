// The advance operation, the command table and the jump, driven through clicks.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"
#include "title/title_texts.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using fakes::ProcessEnded;

class ReaderTest : public GameTest {};

TEST_F(ReaderTest, PageIsTheTextUpToTheWaitLine) {
    WriteScenario({".", "一行目", "", "三行目", ".", "次のページ", "."});
    NewGame();
    EXPECT_EQ(Label(), TitleCaption());  // the first line waits at once
    Advance();
    EXPECT_EQ(Label(), "一行目\r\n\r\n三行目\r\n");
    EXPECT_TRUE(control(ControlId::Label1).visible);
    EXPECT_FALSE(control(ControlId::txtTell).visible);
    Advance();
    EXPECT_EQ(Label(), "次のページ\r\n");
}

TEST_F(ReaderTest, OnlyTheFirstLetterCountsAndTheSecondCharacterIsSkipped) {
    WriteScenario({".", ".p 5", ".", ".p12", ".", ".p", ".", ".e 7", ". x", ".L x", "後", "."});
    NewGame();
    Advance();
    EXPECT_EQ(engine->state.PartNo, 5);
    Advance();
    EXPECT_EQ(engine->state.PartNo, 2);  // "12": the "1" sits where the blank should be
    // An empty argument is no number: the part marker fails.
    EXPECT_THROW(Advance(), ProcessEnded);
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].text, ErrorDescription(err::kTypeMismatch));
}

TEST_F(ReaderTest, UnknownLettersAndBlankCommandsReadOn) {
    WriteScenario({".", "消える", ".e", ". ", ".L x", ".A10", ".７ 全角", "残る", "."});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "残る\r\n");
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(ReaderTest, TextBeforeAContinuingCommandIsReplacedByTheTextAfterIt) {
    WriteScenario({".", "前", ".z", "後1", "後2", "."});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "後1\r\n後2\r\n");
}

TEST_F(ReaderTest, CommandFollowedByWaitKeepsThePreviousPage) {
    WriteScenario({".", "ページ", ".z", ".", "."});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "ページ\r\n");
    Advance();  // two waits in a row: nothing new
    EXPECT_EQ(Label(), "ページ\r\n");
    EXPECT_EQ(control(ControlId::txtTell).caption, "");
}

TEST_F(ReaderTest, EndCommandClosesTheScenarioAndShowsTheTitle) {
    WriteScenario({".", "終わり", ".End", "読まれない", "."});
    NewGame();
    fakes.wave_voice.calls.clear();
    Advance();
    // The title layout puts its notice over the last page.
    EXPECT_EQ(Label(), Notice());
    EXPECT_TRUE(control(ControlId::NewGameImage).visible);
    EXPECT_TRUE(engine->form.IsMenuAvailable(MenuId::NewGame));
    EXPECT_FALSE(control(ControlId::imgAhead).visible);
    EXPECT_TRUE(control(ControlId::imgAhead).enabled);
    EXPECT_FALSE(engine->reader.IsOpen());
    ASSERT_EQ(fakes.wave_voice.calls.size(), 1u);
    EXPECT_EQ(fakes.wave_voice.calls[0].name, "");
    EXPECT_EQ(fakes.wave_voice.calls[0].flags, snd::kAsync);
    EXPECT_TRUE(fakes.music_device.commands.empty());  // no music was opened
    EXPECT_TRUE(engine->state.TitleMode);
    EXPECT_FALSE(engine->state.GameMode);
    // The marker is hidden: a click on it does nothing.
    Advance();
    EXPECT_EQ(Label(), Notice());
}

TEST_F(ReaderTest, EndCommandStopsOpenedMusic) {
    WriteScenario({".", ".E"});
    NewGame();
    engine->state.MidiOpen = true;
    fakes.music_device.errors["Close MIDI1"] = 263;
    fakes.sound_log.clear();
    Advance();
    // The wave voice stops first, then the music.
    EXPECT_EQ(fakes.sound_log,
              (std::vector<std::string>{"wave  1", "mci Stop MIDI1", "mci Close MIDI1"}));
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].text, "error 263");
    EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(fakes.message_box.shown[0].title, "朧堂開発用プログラム");
}

TEST_F(ReaderTest, ALabelLineReachedByReadingRunsItsFirstLetter) {
    WriteScenario({".", ".label1", "続き", "."});
    NewGame();
    Advance();
    // "label1" is command "l" with the argument "bel1": no such picture.
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルロードエラー");
    EXPECT_EQ(Label(), "続き\r\n");
}

TEST_F(ReaderTest, JumpGoesToTheFirstMatchingLabelWhereverTheReaderWas) {
    WriteScenario(
        {".", ".j 行き先", "飛ばされる", ".", ".行き先", "一つ目", ".", ".行き先", "二つ目", "."});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "一つ目\r\n");
    Advance();
    Advance();
    EXPECT_EQ(Label(), "二つ目\r\n");
}

TEST_F(ReaderTest, JumpComparesTheWholeLabelExactly) {
    WriteScenario({".", ".j A", ".A ", "空白付き", ".", ".a", "小文字", ".", ".A", "本物", "."});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "本物\r\n");
}

TEST_F(ReaderTest, JumpToAMissingLabelLeavesThePageAndLaterClicksDoNothing) {
    WriteScenario({".", "ここまで", ".j どこにもない", "続き", "."});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "ここまで\r\n");
    EXPECT_TRUE(engine->reader.AtEnd());
    Advance();
    Advance();
    EXPECT_EQ(Label(), "ここまで\r\n");
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

// A jump finds the same label through the index of command texts and, in a scenario with
// more command text than the index may hold (a limit of 0 here), by searching the file.
TEST_F(ReaderTest, TheLabelIndexAndTheSearchOfTheFileFindTheSameLabel) {
    const struct {
        const char* name;
        std::vector<std::string_view> lines;
        std::string_view page;  // after one click; at the end of the file when none is found
    } cases[] = {
        {"the first of two, ahead",
         {".", ".j 行", "飛ばす", ".", ".行", "一つ目", ".", ".行", "二つ目", "."},
         "一つ目\r\n"},
        {"the first of two, behind the jump",
         {".", ".j M", ".L", "前", ".", ".M", ".j L", ".L", "後", "."},
         "前\r\n"},
        {"the whole label",
         {".", ".j A", ".A ", "空白", ".", ".a", "小文字", ".", ".AB", "長い", ".", ".A", "本物",
          "."},
         "本物\r\n"},
        {"a shorter label first",
         {".", ".j AB", ".A", "短い", ".", ".AB", "本物", "."},
         "本物\r\n"},
        // 表 and 能 share their trail byte 0x5C.
        {"Shift-JIS", {".", ".j 表", ".能", "違う", ".", ".表", "本物", "."}, "本物\r\n"},
        {"none", {".", "ここまで", ".j AB", ".A", "AB", ".ABC", "続き", "."}, ""},
    };
    for (const std::size_t limit : {std::size_t{64} << 20, std::size_t{0}}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (limit == 0 ? ", searched" : ", indexed"));
            engine->reader.set_label_index_limit(limit);
            std::string text;
            for (std::string_view line : c.lines) text += fakes::Scenario({line});
            WriteGameFile("datafile", text);
            NewGame();
            Advance();
            EXPECT_EQ(Label(), c.page.empty() ? "ここまで\r\n" : c.page);
            EXPECT_TRUE(!c.page.empty() || engine->reader.AtEnd());
        }
    }
}

TEST_F(ReaderTest, EmptyScenarioShowsNothing) {
    WriteScenario({});
    NewGame();
    Advance();
    EXPECT_EQ(Label(), TitleCaption());
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(ReaderTest, RunTimeErrorsEndTheProgramAfterTheFileErrorBox) {
    for (auto [line, number] :
         {std::pair{".p abc", err::kTypeMismatch}, std::pair{".p 99999", err::kOverflow},
          std::pair{".p -32769", err::kOverflow}}) {
        SCOPED_TRACE(line);
        fakes.message_box.shown.clear();
        WriteScenario({".", "前", line, "後", "."});
        NewGame();
        EXPECT_THROW(Advance(), ProcessEnded);
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(fakes.message_box.shown[0].text, ErrorDescription(number));
        EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルエラー");
        EXPECT_FALSE(engine->reader.IsOpen());
    }
}

// The language has no conditions: a jump that comes back to where a jump led since the last
// wait reads the same lines for ever. It ends as the original's nested advances did, out of
// stack space, through the file error box; a way back that waits, or a chain of jumps that
// goes on, plays on.
TEST_F(ReaderTest, AJumpLoopWithoutAWaitEndsOutOfStackSpace) {
    const struct {
        const char* name;
        std::vector<std::string_view> lines;
        bool ends;
        std::string_view page;  // after three clicks, when it plays on
    } cases[] = {
        {"to itself", {".", "前", ".L", ".j L"}, true, ""},
        {"through two labels", {".", ".A", ".j B", "文", ".B", ".z", ".p 3", ".j A"}, true, ""},
        {"to the empty label, the wait line above", {".", ".jL", "文"}, true, ""},
        {"back over a wait", {".", ".L", "一巡", ".", ".j L"}, false, "一巡\r\n"},
        {"forward, each label once",
         {".", ".j B", ".A", ".j C", ".B", ".j A", ".C", "終", "."},
         false,
         "終\r\n"},
        {"the same label from two waits",
         {".", ".L", "又", ".j M", ".M", ".", ".j L"},
         false,
         "又\r\n"},
        // Last: a new game leaves its choices on screen.
        {"back over a choice", {".", ".L", ".s", "L", "甲", "L", "乙", "-", ".j L"}, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fakes.Clear();
        fakes.process.status.reset();
        std::string text;
        for (std::string_view line : c.lines) text += fakes::Scenario({line});
        WriteGameFile("datafile", text);
        engine->SelectMode(Mode::Title);
        engine->Click(ControlId::NewGameImage);
        bool ended = false;
        try {
            for (int click = 0; click < 3; ++click) {
                if (engine->form.ChoicesShown()) {
                    engine->Click(ControlId::lblSel0);
                } else {
                    Advance();
                }
            }
        } catch (const ProcessEnded&) {
            ended = true;
        }
        EXPECT_EQ(ended, c.ends);
        if (c.ends) {
            ASSERT_EQ(fakes.message_box.shown.size(), 1u);
            EXPECT_EQ(fakes.message_box.shown[0].text, "スタック領域が不足しています。");
            EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルエラー");
            EXPECT_EQ(fakes.process.status, 1);
        } else {
            EXPECT_TRUE(fakes.message_box.shown.empty());
            if (!c.page.empty()) {
                EXPECT_EQ(Label(), c.page);
            }
        }
    }
}

TEST_F(ReaderTest, AMillionContinuingCommandsRunInConstantDepth) {
    std::string text = "\r\n";  // an empty first page
    text += ".\r\n";
    for (int i = 0; i < 1'000'000; ++i) text += ".z\r\n";
    text += fakes::Scenario({"最後", "."});
    WriteGameFile("datafile", text);
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "最後\r\n");
    EXPECT_EQ(engine->reader.deepest_advance(), 1);
}

TEST_F(ReaderTest, InvalidBytesAndNulsAreShownNotFatal) {
    // 0x85 0x40 is a lead and trail byte pair that CP932 leaves unassigned.
    std::string bytes =
        ".\r\nA\x81\r\n\x85\x40"
        "B\r\nC";
    bytes += '\0';
    bytes += "D\r\n\xFF\r\n.\r\n";
    WriteGameFile("datafile", bytes);
    NewGame();
    Advance();
    std::string expected =
        "A\uFFFD\r\n\uFFFD"
        "B\r\nC";
    expected += '\0';
    expected += "D\r\n\uFFFD\r\n";
    EXPECT_EQ(Label(), expected);
}

TEST_F(ReaderTest, LoneLineFeedStaysInsideTheLine) {
    WriteGameFile("datafile", ".\r\none\ntwo\rthree\r\n.\r\n");
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "one\ntwo\r\nthree\r\n");
}

TEST_F(ReaderTest, TenMegabyteLineIsOnePageLine) {
    std::string line(10 * 1024 * 1024, 'x');
    WriteGameFile("datafile", ".\r\n" + line + "\r\n.\r\n");
    NewGame();
    Advance();
    EXPECT_EQ(Label().size(), line.size() + 2);
}

TEST_F(ReaderTest, SceneModeBranches) {
    WriteScenario({".", ".h 3", "後", ".", ".s", "Skip", "見出し", ".", "."});
    NewGame();
    control(ControlId::imgAhead).visible = true;
    Advance();  // outside a replay "h" does nothing and reads on
    EXPECT_EQ(Label(), "後\r\n");
    engine->state.SceneMode = true;
    Advance();  // "s" during a replay waits without reading the block
    EXPECT_EQ(Label(), "後\r\n");
    Advance();
    EXPECT_EQ(Label(), "Skip\r\n見出し\r\n");
}

TEST_F(ReaderTest, SceneMarkerShowsTheAdvanceMarkerDuringAReplay) {
    // Another scene's end marker: the replay goes on.
    WriteScenario({".", ".h 3", "次", "."});
    NewGame();
    engine->state.SceneMode = true;
    control(ControlId::imgAhead).visible = false;
    control(ControlId::imgAhead).enabled = false;
    engine->reader.imgAhead_Click();  // as the start of a replay runs it
    EXPECT_TRUE(control(ControlId::imgAhead).visible);
    EXPECT_TRUE(control(ControlId::imgAhead).enabled);
    EXPECT_EQ(Label(), "次\r\n");
}

TEST_F(ReaderTest, TheAdvanceMarkerTakesClicksOnlyWhileShownAndEnabled) {
    WriteScenario({".", "一", ".", "二", "."});
    NewGame();
    control(ControlId::imgAhead).enabled = false;
    Advance();
    EXPECT_EQ(Label(), TitleCaption());
    control(ControlId::imgAhead).enabled = true;
    Advance();
    EXPECT_EQ(Label(), "一\r\n");
}

// A modal box lets events run: a new game chosen while the box of a failing picture is open
// replaces the scenario under the running advance, which must read on safely.
TEST_F(ReaderTest, ScenarioReopenedDuringAModalBoxIsReadOnSafely) {
    WriteScenario({".", ".l missing.bmp", "古い続き", "."});
    NewGame();
    fakes.message_box.while_open = [this] {
        fakes.message_box.while_open = nullptr;
        WriteScenario({"新しい最初", ".", "新しい二頁", "."});
        NewGame();
    };
    Advance();
    EXPECT_EQ(Label(), "新しい二頁\r\n");
}

TEST_F(ReaderTest, EndDuringAModalBoxLeavesTheOuterAdvanceWithNothingToRead) {
    WriteScenario({".", ".l missing.bmp", "続き", "."});
    NewGame();
    fakes.message_box.while_open = [this] {
        fakes.message_box.while_open = nullptr;
        engine->reader.CloseScenario();
    };
    Advance();
    EXPECT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(Label(), TitleCaption());
}

}  // namespace
}  // namespace tsukikage
