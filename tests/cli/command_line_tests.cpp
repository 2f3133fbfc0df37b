// The command line: what each form does before any window opens.
#include <gtest/gtest.h>

#include <fstream>

#include "base/text_codec.h"
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
    const std::string bad_scale = "tsukikage: --scale needs a whole number from 1 to 8";
    const struct {
        std::vector<std::string> arguments;
        std::optional<int> status;  // nothing: the game is played
        std::string out;            // the beginning of what is printed
        std::string err;
        WindowOptions window{};
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
        {{"--scale", "1", g}, std::nullopt, "", "", {1, false}},
        {{g, "--scale=8", "--fullscreen"}, std::nullopt, "", "", {8, true}},
        {{"--fullscreen", "--scale", "3", g}, std::nullopt, "", "", {3, true}},
        {{"--scale", "0", g}, 2, "", bad_scale + ", not \"0\"\n"},
        {{"--scale=9", g}, 2, "", bad_scale + ", not \"9\"\n"},
        {{"--scale", "2x", g}, 2, "", bad_scale + ", not \"2x\"\n"},
        {{"--scale", "", g}, 2, "", bad_scale + ", not \"\"\n"},
        {{"--scale=-1", g}, 2, "", bad_scale + ", not \"-1\"\n"},
        {{g, "--scale"}, 2, "", bad_scale + "\n"},
        // The word after --scale is its value, whatever it is.
        {{"--scale", g}, 2, "", bad_scale + ", not \"" + g + "\"\n"},
        {{"--check", g}, 1, "list.dat: is missing\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments[0]);
        const std::vector<std::string_view> arguments(c.arguments.begin(), c.arguments.end());
        std::string out, err;
        std::filesystem::path folder;
        WindowOptions window;
        // Without a folder the program's own is used: here the empty one.
        EXPECT_EQ(RunWithoutWindow(arguments, "tsukikage", empty.path(), out, err, folder, window,
                                   Language::English),
                  c.status);
        EXPECT_EQ(out.substr(0, c.out.size()), c.out);
        EXPECT_EQ(err, c.err);
        if (!c.status) {
            EXPECT_EQ(folder, game.path());
            EXPECT_EQ(window.scale, c.window.scale);
            EXPECT_EQ(window.fullscreen, c.window.fullscreen);
        }
    }
}

// The same forms in both languages: the Japanese texts of the checker are the game's own.
TEST(CommandLineTest, MessagesFollowTheLanguage) {
    test_support::TempFolder clean;
    test_support::TempFolder faulty;
    std::ofstream(clean.path() / "datafile") << Utf8ToCp932("ことば") << "\r\n";
    std::ofstream(clean.path() / "list.dat") << "0\r\n";
    std::ofstream(clean.path() / "Scenelist.dat") << "0\r\n";
    std::ofstream(faulty.path() / "datafile") << Utf8ToCp932(".j ない") << "\r\n";
    std::ofstream(faulty.path() / "list.dat") << "11\r\n";
    const std::string clean_path = clean.path().string();
    const std::string faulty_path = faulty.path().string();
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string english;  // the beginning of what is printed, out and err together
        std::string japanese;
    } cases[] = {
        {{"--check", clean_path}, 0, "no faults found\n", "問題は見つかりませんでした\n"},
        {{"--check", faulty_path},
         1,
         "datafile:1: there is no label \"ない\"\nlist.dat: count 11 is outside 0 to 10\n"
         "Scenelist.dat: is missing\n",
         "datafile:1: ラベル「ない」がありません\nlist.dat: 数 11 は 0 から 10 の外です\n"
         "Scenelist.dat: ありません\n"},
        {{"--help"}, 0, "usage: tsukikage [options]", "使い方: tsukikage [オプション]"},
        {{"--bogus"},
         2,
         "tsukikage: unknown option --bogus (see --help)\n",
         "tsukikage: --bogus というオプションはありません（--help を参照）\n"},
        {{"--scale=9", clean_path},
         2,
         "tsukikage: --scale needs a whole number from 1 to 8, not \"9\"\n",
         "tsukikage: --scale には 1 から 8 の整数が必要です（「9」は使えません）\n"},
        {{clean_path + "/nothing"},
         2,
         "tsukikage: " + clean_path + "/nothing: not a folder\n",
         "tsukikage: " + clean_path + "/nothing: フォルダではありません\n"},
    };
    for (const auto& c : cases) {
        for (const Language language : {Language::English, Language::Japanese}) {
            SCOPED_TRACE(c.arguments[0] + (language == Language::English ? " en" : " ja"));
            const std::vector<std::string_view> arguments(c.arguments.begin(), c.arguments.end());
            std::string out, err;
            std::filesystem::path folder;
            WindowOptions window;
            EXPECT_EQ(RunWithoutWindow(arguments, "tsukikage", clean.path(), out, err, folder,
                                       window, language),
                      c.status);
            const std::string& expected = language == Language::English ? c.english : c.japanese;
            EXPECT_EQ((out + err).substr(0, expected.size()), expected);
            // One line, and only one, for a clean game.
            if (c.status == 0 && c.arguments[0] == "--check") {
                EXPECT_EQ(out, expected);
            }
        }
    }
}

}  // namespace
}  // namespace tsukikage
