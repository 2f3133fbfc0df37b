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

TEST(DefaultGameTest, TheInstalledDemoIsKnownHoweverItIsNamed) {
    test_support::TempFolder prefix;
    const fs::path bin = prefix.path() / "bin";
    const fs::path demo = prefix.path() / "share" / "tsukikage" / "demo";
    const fs::path other = prefix.path() / "share" / "tsukikage" / "demo2";
    fs::create_directories(bin);
    EXPECT_FALSE(IsInstalledDemo(bin, demo));  // not there
    fs::create_directories(demo);
    fs::create_directories(other);
    fs::create_directory_symlink(demo, prefix.path() / "link");
    EXPECT_TRUE(IsInstalledDemo(bin, demo));
    EXPECT_TRUE(IsInstalledDemo(bin, demo / ""));
    EXPECT_TRUE(IsInstalledDemo(bin, bin / ".." / "share" / "tsukikage" / "demo"));
    EXPECT_TRUE(IsInstalledDemo(bin, prefix.path() / "link"));
    EXPECT_FALSE(IsInstalledDemo(bin, other));  // a name the demo's is a prefix of
    EXPECT_FALSE(IsInstalledDemo(bin, demo.parent_path()));
    EXPECT_FALSE(IsInstalledDemo(bin, bin));
}

}  // namespace
}  // namespace tsukikage
