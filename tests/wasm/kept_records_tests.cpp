// What the page keeps of a game besides its own record files: which game a folder holds, and
// the player's settings in a file.
#include <gtest/gtest.h>

#include <fstream>

#include "comfort/read_pages.h"
#include "fakes/test_support.h"
#include "view/web/kept_records.h"

namespace tsukikage::web {
namespace {

using test_support::TempFolder;

TEST(ScenarioRecordName, NamesTheScenarioFoundAsTheGameFindsIt) {
    TempFolder folder;
    EXPECT_EQ(ScenarioRecordName(folder.path()), std::nullopt);
    EXPECT_EQ(ScenarioRecordName(folder.path() / "missing"), std::nullopt);
    folder.MakeFolder("datafile");  // a folder by the scenario's name is no scenario
    EXPECT_EQ(ScenarioRecordName(folder.path()), std::nullopt);

    TempFolder game;
    game.Write("DataFile", "scenario bytes");
    EXPECT_EQ(ScenarioRecordName(game.path()), ReadPagesFileName("scenario bytes"));
    game.Write("DataFile", "");
    EXPECT_EQ(ScenarioRecordName(game.path()), ReadPagesFileName(""));
}

TEST(KeptSettings, WritesOnlyChangesAndReadsThemBack) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "player" / "settings.ini";
    KeptSettings kept(file);
    EXPECT_EQ(kept.Load(), std::nullopt);
    kept.Keep(PlaySettings{});
    EXPECT_FALSE(std::filesystem::exists(file)) << "defaults the player never chose";

    PlaySettings quiet;
    quiet.music_volume = 0;
    kept.Keep(quiet);
    EXPECT_EQ(KeptSettings(file).Load(), quiet);

    // Back to the defaults is a change too, and stays one.
    kept.Keep(PlaySettings{});
    EXPECT_EQ(KeptSettings(file).Load(), PlaySettings{});
}

}  // namespace
}  // namespace tsukikage::web
