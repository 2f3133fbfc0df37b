// The game played when none is named.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/default_game.h"
#include "fakes/test_support.h"

namespace tsukikage {
namespace {

namespace fs = std::filesystem;

TEST(DefaultGameTest, TheProgramsOwnFolderThenTheInstalledDemo) {
    test_support::TempFolder prefix;
    const fs::path bin = prefix.path() / "bin";
    const fs::path demo = prefix.path() / "share" / "tsukikage" / "demo";
    fs::create_directories(bin);
    EXPECT_EQ(DefaultGameFolder(bin), bin);  // nothing anywhere: the program's folder
    fs::create_directories(demo);
    std::ofstream(demo / "datafile") << ".\r\n";
    EXPECT_EQ(DefaultGameFolder(bin), demo);
    std::ofstream(bin / "DATAFILE") << ".\r\n";  // a game beside the program comes first
    EXPECT_EQ(DefaultGameFolder(bin), bin);
}

}  // namespace
}  // namespace tsukikage
