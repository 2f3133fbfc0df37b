// The command line: what each form does before any window opens.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/command_line.h"
#include "fakes/test_support.h"

namespace tsukikage {
namespace {

TEST(CommandLineTest, EachFormGivesItsStatusAndOneLineOnError) {
    test_support::TempFolder game;
    test_support::TempFolder empty;
    std::ofstream(game.path() / "DataFile") << ".\r\n";  // found whatever its letter case
    const std::string g = game.path().string();
    const std::string e = empty.path().string();
    const struct {
        std::vector<std::string> arguments;
        std::optional<int> status;  // nothing: the game is played
        std::string out;            // the beginning of what is printed
        std::string err;
    } cases[] = {
        {{"--help"}, 0, "usage: tsukikage [options] [game folder]", ""},
        {{g, "-h"}, 0, "usage:", ""},
        {{"--version"}, 0, "tsukikage 1.0.0.12\n", ""},
        {{"--bogus"}, 2, "", "tsukikage: unknown option --bogus (see --help)\n"},
        {{g, g}, 2, "", "tsukikage: only one game folder can be given\n"},
        {{e}, 2, "", "tsukikage: " + e + ": no game here (there is no \"datafile\")\n"},
        {{g + "/nothing"}, 2, "", "tsukikage: " + g + "/nothing: not a folder\n"},
        {{}, 2, "", "tsukikage: " + e + ": no game here (there is no \"datafile\")\n"},
        {{g}, std::nullopt, "", ""},
        {{"--check", g}, 1, "list.dat: ありません\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments[0]);
        const std::vector<std::string_view> arguments(c.arguments.begin(), c.arguments.end());
        std::string out, err;
        std::filesystem::path folder;
        // Without a folder the program's own is used: here the empty one.
        EXPECT_EQ(RunWithoutWindow(arguments, "tsukikage", empty.path(), out, err, folder),
                  c.status);
        EXPECT_EQ(out.substr(0, c.out.size()), c.out);
        EXPECT_EQ(err, c.err);
        if (!c.status) {
            EXPECT_EQ(folder, game.path());
        }
    }
}

}  // namespace
}  // namespace tsukikage
