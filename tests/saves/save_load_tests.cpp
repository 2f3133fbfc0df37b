// The five save slots: the bytes written, loading by image and by menu, and the slots that
// cannot be written or read.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "fakes/game_fixture.h"
#include "saves/saves.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using test_support::ReadAll;

constexpr ControlId kSlotImages[] = {ControlId::NewGameImage, ControlId::LoadGameImage,
                                     ControlId::CGImage, ControlId::SceneImage,
                                     ControlId::MusicImage};

// Two parts, each a page and then a choice; a third part after the choices.
class SaveLoadTest : public GameTest {
  protected:
    void SetUp() override {
        WriteGameFile("data/nowload.jpg", fakes::TestPictureBytes(2, 2, 0xFF0000AA));
        WriteScenario({"前置き", ".", ".p 12", "第一部", ".", ".p 13", ".s", "A", "左へ", "Skip",
                       "右へ", "-", ".A", "左の道", ".", ".p -3", "負の部", ".", ".E"});
        NewGame();
        Advance();  // part 12's page
    }
    std::filesystem::path Slot(int n) const {
        return folder.path() / ("save" + std::to_string(n) + ".dat");
    }
    // The screen, the sound and the reader as a player sees them.
    std::string Snapshot() {
        const std::string label = control(ControlId::Label1).visible ? Label() : "";
        std::string s = label + "|" + control(ControlId::lblSel0).caption + "|" +
                        control(ControlId::lblSel1).caption;
        for (ControlId id : {ControlId::imgAhead, ControlId::lblSel0, ControlId::Label1,
                             ControlId::NewGameImage}) {
            s += control(id).visible ? "v" : "-";
            s += control(id).enabled ? "e" : "-";
        }
        s += engine->state.GameMode ? "G" : "";
        s += engine->state.TitleMode ? "T" : "";
        s += engine->state.LoadMode ? "L" : "";
        s += engine->reader.IsOpen() ? "open" : "closed";
        return s + std::to_string(engine->state.PartNo);
    }
    void MenuOn() { engine->form.menu(MenuId::SystemMenu).enabled = true; }
};

TEST_F(SaveLoadTest, ASaveHoldsThePartNumberInThePrintedFormAndNothingElse) {
    const struct {
        std::int16_t part;
        std::string_view bytes;
    } cases[] = {{12, " 12 \r\n"},
                 {0, " 0 \r\n"},
                 {-3, "-3 \r\n"},
                 {32767, " 32767 \r\n"},
                 {-32768, "-32768 \r\n"}};
    for (const auto& c : cases) EXPECT_EQ(SlotBytes(c.part), c.bytes);

    // Saving twice leaves the second; only the chosen slot's file is written; the screen
    // stays as it was.
    const std::string before = Snapshot();
    engine->MenuCommand(MenuId::save3);
    Advance();  // part 13: the choice
    engine->MenuCommand(MenuId::save3);
    EXPECT_EQ(ReadAll(Slot(3)), " 13 \r\n");
    for (int n : {1, 2, 4, 5}) EXPECT_FALSE(std::filesystem::exists(Slot(n))) << n;
    EXPECT_NE(before, Snapshot());
    const std::string at_choice = Snapshot();
    engine->MenuCommand(MenuId::save5);
    EXPECT_EQ(Snapshot(), at_choice);
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

// Each of the ten menu items reaches its own slot, the fifth as the first.
TEST_F(SaveLoadTest, EveryMenuSlotSavesAndLoadsItsOwnFile) {
    constexpr MenuId kSave[] = {MenuId::save1, MenuId::save2, MenuId::save3, MenuId::save4,
                                MenuId::save5};
    constexpr MenuId kLoad[] = {MenuId::load1, MenuId::load2, MenuId::load3, MenuId::load4,
                                MenuId::load5};
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        engine->state.PartNo = static_cast<std::int16_t>(20 + n);
        engine->MenuCommand(kSave[n - 1]);
        EXPECT_EQ(ReadAll(Slot(n)), " " + std::to_string(20 + n) + " \r\n");
        for (int later = n + 1; later <= 5; ++later)
            EXPECT_FALSE(std::filesystem::exists(Slot(later)));
    }
    // From the last to the first, so that no slot's number is left over from the one before.
    for (int n = 5; n >= 1; --n) {
        SCOPED_TRACE(n);
        engine->state.PartNo = 0;
        engine->MenuCommand(kLoad[n - 1]);
        EXPECT_EQ(engine->state.PartNo, 20 + n);
        EXPECT_TRUE(engine->state.GameMode);
    }
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

// A slot saved for the first time in this run is found by the next load: the listing of the
// folder read before the save (by a load of the empty slot) is not used again.
TEST_F(SaveLoadTest, ASlotSavedForTheFirstTimeLoadsWithoutARestart) {
    for (const auto& [save, load] :
         {std::pair{MenuId::save5, MenuId::load5}, std::pair{MenuId::save1, MenuId::load1}}) {
        fakes.Clear();
        engine->MenuCommand(load);  // nothing saved yet: the folder is listed without it
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        engine->state.PartNo = 13;
        engine->MenuCommand(save);
        engine->state.PartNo = 0;
        engine->MenuCommand(load);
        EXPECT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(engine->state.PartNo, 13);
    }
}

TEST_F(SaveLoadTest, LoadingByImageAndByMenuGivesTheSameGame) {
    Advance();  // the choice of part 13
    engine->MenuCommand(MenuId::save2);
    engine->MenuCommand(MenuId::save4);
    const std::string saved = Snapshot();

    // By menu, in the middle of a game.
    WriteGameFile("save4.dat", " 13 \r\n");
    engine->state.MidiOpen = false;
    fakes.Clear();
    engine->MenuCommand(MenuId::load4);
    const std::string by_menu = Snapshot();
    EXPECT_EQ(by_menu, saved);
    EXPECT_EQ(fakes.sound_log, std::vector<std::string>{"wave  1"});  // no music command
    EXPECT_EQ(control(ControlId::Picture1).picture->at(0, 0), 0xFF0000AAu);
    EXPECT_FALSE(engine->state.Loading);

    // By image: through the title's load screen.
    engine->SelectMode(Mode::Title);
    engine->Click(ControlId::LoadGameImage);
    ASSERT_TRUE(engine->state.LoadMode);
    engine->Click(ControlId::LoadGameImage);  // slot 2
    EXPECT_EQ(Snapshot(), by_menu);
    for (ControlId id : kSlotImages) EXPECT_FALSE(control(id).visible);
    // Both captions pick.
    engine->Click(ControlId::lblSel0);
    EXPECT_EQ(Label(), "左の道\r\n");
}

TEST_F(SaveLoadTest, EachLoadScreenImageLoadsItsSlotWhateverTheEndings) {
    for (int n = 1; n <= 5; ++n)
        WriteGameFile("save" + std::to_string(n) + ".dat",
                      " " + std::to_string(n == 3 ? -3 : 12) + " \r\n");
    engine->state.EndFlags = {0, 0, 0, 0};
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        engine->SelectMode(Mode::Title);
        engine->Click(ControlId::LoadGameImage);
        engine->Click(kSlotImages[n - 1]);
        EXPECT_EQ(engine->state.PartNo, n == 3 ? -3 : 12);
        EXPECT_TRUE(engine->state.GameMode && !engine->state.LoadMode);
        // Not a new game: the reader stands behind the slot's marker.
        EXPECT_TRUE(engine->reader.IsOpen());
    }
}

TEST_F(SaveLoadTest, MusicIsStoppedOnlyWhenItWasOpenedAndPicksWaitForTheLoad) {
    WriteGameFile("save1.dat", " 13 \r\n");
    engine->state.MidiOpen = true;
    fakes.Clear();
    // A pick made while the load still runs (from inside a box it shows) does nothing.
    fakes.music_device.errors["Stop MIDI1"] = 263;
    int picks_tried = 0;
    fakes.message_box.while_open = [&] {
        ++picks_tried;
        EXPECT_TRUE(engine->state.Loading);
        engine->choices.lblSel_Click(0);
    };
    engine->MenuCommand(MenuId::load1);
    EXPECT_EQ(picks_tried, 1);
    EXPECT_EQ(fakes.sound_log,
              (std::vector<std::string>{"wave  1", "mci Stop MIDI1", "mci Close MIDI1"}));
    EXPECT_EQ(control(ControlId::lblSel0).caption, "左へ");  // the pick changed nothing
}

// A slot that cannot be read leaves everything as it was and says why; one whose marker is
// not in the scenario reads to the end and shows the captions as they last stood.
TEST_F(SaveLoadTest, BadSlotFilesLeaveTheGameAsItWas) {
    constexpr std::string_view kMissing = "にはセーブがありません。";
    constexpr std::string_view kDamaged = "のセーブが壊れているため、ロードできませんでした。";
    constexpr MenuId kLoad[] = {MenuId::load1, MenuId::load2, MenuId::load3, MenuId::load4,
                                MenuId::load5};
    const struct {
        const char* name;
        int slot;
        std::string bytes;  // empty name below: no file
        bool exists;
        std::string_view told;  // after "スロットN"
    } cases[] = {
        {"missing", 1, "", false, kMissing},
        {"missing fifth", 5, "", false, kMissing},
        {"empty", 1, "", true, kDamaged},
        {"no number", 1, " abc \r\n", true, kDamaged},
        {"out of range", 1, " 99999 \r\n", true, kDamaged},
        {"out of range fifth", 5, " 99999 \r\n", true, kDamaged},
        {"a folder", 1, "", false, kDamaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = "save" + std::to_string(c.slot) + ".dat";
        std::filesystem::remove_all(Slot(c.slot));
        if (c.exists) WriteGameFile(file, c.bytes);
        if (std::string_view(c.name) == "a folder") {
            std::filesystem::create_directory(Slot(c.slot));
        }
        engine->folder.Forget(folder.path());
        const std::string before = Snapshot();
        fakes.Clear();
        engine->MenuCommand(kLoad[c.slot - 1]);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_TRUE(fakes.sound_log.empty());
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(fakes.message_box.shown[0].title, "ロードエラー");
        EXPECT_EQ(fakes.message_box.shown[0].text,
                  "スロット" + std::to_string(c.slot) + std::string(c.told));
        EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Exclamation);
        std::filesystem::remove_all(Slot(c.slot));
    }

    // Read as written or not: no blanks, CR alone, a long tail.
    for (const std::string& bytes :
         {std::string("12"), std::string(" 12 \r"), " 12 \r\n" + std::string(1 << 20, 'x')}) {
        WriteGameFile("save2.dat", bytes);
        fakes.Clear();
        engine->MenuCommand(MenuId::load2);
        EXPECT_EQ(engine->state.PartNo, 12);
        EXPECT_TRUE(fakes.message_box.shown.empty());
    }

    // A part with no marker: read to the end, nothing shown, the captions as they stood.
    Advance();
    Advance();  // the choice
    const std::string caption = control(ControlId::lblSel1).caption;
    WriteGameFile("save2.dat", " 77 \r\n");
    engine->MenuCommand(MenuId::load2);
    EXPECT_TRUE(engine->reader.AtEnd());
    EXPECT_EQ(control(ControlId::lblSel1).caption, caption);
    EXPECT_TRUE(control(ControlId::lblSel1).visible);
    EXPECT_FALSE(control(ControlId::Label1).visible);
}

TEST_F(SaveLoadTest, ASaveOnTheFirstTitleBeforeAnyGameHoldsPartZero) {
    engine = std::make_unique<Engine>(fakes.platform, folder.path());
    engine->Form_Load();
    for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
    engine->Click(ControlId::LoadGameImage);
    engine->Click(ControlId::EndImage);  // a later title: the menu is enabled
    engine->MenuCommand(MenuId::save1);
    EXPECT_EQ(ReadAll(Slot(1)), " 0 \r\n");
}

// A save that cannot be written (a full disk, as a file-size limit simulates it) says so and
// keeps the old slot whole; the game goes on.
TEST_F(SaveLoadTest, ASaveThatCannotBeWrittenKeepsTheOldSlot) {
    WriteGameFile("save1.dat", " 5 \r\n");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{3, 3};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        engine->MenuCommand(MenuId::save1);
        const bool told = fakes.message_box.shown.size() == 1 &&
                          fakes.message_box.shown[0].title == "セーブエラー";
        _exit(told && engine->reader.IsOpen() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadAll(Slot(1)), " 5 \r\n");
}

}  // namespace
}  // namespace tsukikage
