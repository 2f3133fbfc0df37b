// Where the records live: beside a writable game, in the player's folder otherwise, seeded
// once with the game's own records and kept there across runs.
#include <gtest/gtest.h>

#include "base/record_folder.h"
#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

namespace fs = std::filesystem;
using test_support::ReadAll;

class RecordFolderTest : public fakes::GameTest {
  protected:
    fs::path user() const { return home.path() / "records"; }
    // A fresh program whose game folder cannot (or can) be written.
    void Start(bool writable) {
        fakes.Clear();
        engine = std::make_unique<Engine>(fakes.platform, folder.path(), user());
        engine->records.SetWritableTest([writable](const fs::path&) { return writable; });
        engine->Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
    }
    test_support::TempFolder home;
};

TEST_F(RecordFolderTest, AReadOnlyGameKeepsItsRecordsInThePlayersFolderAcrossRuns) {
    WriteGameFile("endlist.dat", "3\r\n1\r\n0\r\n0\r\n");
    WriteGameFile("save2.dat", " 7 \r\n");
    WriteScenario({".p 9", "."});
    Start(false);
    // Seeded with what the game folder held, and the player told once where.
    EXPECT_EQ(engine->state.EndFlags[1], 1);
    EXPECT_EQ(ReadAll(user() / "save2.dat"), " 7 \r\n");
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_NE(fakes.message_box.shown[0].text.find(user().string()), std::string::npos);
    NewGame();
    engine->MenuCommand(MenuId::save2);
    EXPECT_EQ(ReadAll(user() / "save2.dat"), " 9 \r\n");
    EXPECT_EQ(ReadAll(folder.path() / "save2.dat"), " 7 \r\n");  // the game's own untouched

    // The next run reads the player's folder, says nothing, and does not seed again.
    WriteGameFile("endlist.dat", "3\r\n0\r\n0\r\n0\r\n");
    Start(false);
    EXPECT_TRUE(fakes.message_box.shown.empty());
    EXPECT_EQ(engine->state.EndFlags[1], 1);
    engine->Click(ControlId::LoadGameImage);  // the load screen
    engine->Click(ControlId::LoadGameImage);  // slot 2
    EXPECT_EQ(engine->state.PartNo, 9);
}

TEST_F(RecordFolderTest, AWritableGameKeepsItsRecordsBesideIt) {
    WriteScenario({".p 4", "."});
    Start(true);
    NewGame();
    engine->MenuCommand(MenuId::save1);
    EXPECT_EQ(ReadAll(folder.path() / "save1.dat"), " 4 \r\n");
    EXPECT_FALSE(fs::exists(user()));
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST(UserRecordFolderTest, OneFolderPerGameUnderTheDataFolder) {
    const fs::path a = UserRecordFolder("/home/p/.local/share", "/games/月影");
    EXPECT_EQ(a.parent_path(), fs::path("/home/p/.local/share/tsukikage"));
    EXPECT_TRUE(a.filename().string().starts_with("月影-"));
    EXPECT_EQ(a, UserRecordFolder("/home/p/.local/share", "/games/月影/"));
    EXPECT_NE(a, UserRecordFolder("/home/p/.local/share", "/disc/月影"));
}

}  // namespace
}  // namespace tsukikage
