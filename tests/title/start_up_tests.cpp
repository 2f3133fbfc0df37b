// What the program reads when its window is created.
#include <gtest/gtest.h>

#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

class StartUpTest : public fakes::GameTest {};

// The records on disk are read before any picture or ending can rewrite them.
TEST_F(StartUpTest, RecordsOnDiskSurviveTheFirstPictureAndEnding) {
    WriteGameFile("cgmode.dat", "3\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n");
    WriteGameFile("endlist.dat", "3\r\n1\r\n0\r\n0\r\n");
    WriteGameFile("data/003.jpg", fakes::TestPictureBytes(640, 480, 0xFF102030));
    WriteScenario({".c 3", ".f 2", "."});
    engine = std::make_unique<Engine>(fakes.platform, folder.path());
    engine->Form_Load();
    EXPECT_EQ(engine->state.CGCount, 3);
    EXPECT_TRUE(engine->state.CGSeen[1]);
    EXPECT_EQ(engine->state.EndFlags[1], 1);
    NewGame();
    EXPECT_TRUE(fakes.message_box.shown.empty());
    EXPECT_EQ(test_support::ReadAll(folder.path() / "cgmode.dat"),
              "3\r\n#TRUE#\r\n#FALSE#\r\n#TRUE#\r\n");
    EXPECT_EQ(test_support::ReadAll(folder.path() / "endlist.dat"), "3\r\n1\r\n1\r\n0\r\n");
}

TEST_F(StartUpTest, MissingOrDamagedRecordsCountAsNothingSeen) {
    WriteGameFile("cgmode.dat", "2\r\n#TRUE#\r\nぐちゃぐちゃ\r\n");
    engine = std::make_unique<Engine>(fakes.platform, folder.path());
    engine->Form_Load();
    EXPECT_EQ(engine->state.CGCount, 0);
    EXPECT_FALSE(engine->state.CGSeen[1]);
    EXPECT_EQ(engine->state.EndFlags[1], 0);
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

}  // namespace
}  // namespace tsukikage
