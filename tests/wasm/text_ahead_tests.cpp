// The text of the next pages, for the page to fetch the font's pieces ahead.
#include <gtest/gtest.h>

#include <string>

#include "fakes/test_support.h"
#include "view/web/text_ahead.h"

namespace tsukikage::web {
namespace {

TEST(TextAhead, TakesWholeLinesFromTheReadersPlaceUpToTheLimit) {
    // 「月」 is 8C 8E in CP932; 「ソ」 83 5C has a backslash for its second byte.
    const std::string scenario = "ab\r\n\x8C\x8E\r\n.c 1\r\n\x83\x5C";
    const struct {
        const char* what;
        std::size_t position;
        std::size_t max_bytes;
        const char* expected;
    } kCases[] = {
        {"all that is left", 0, 100, "ab\r\n月\r\n.c 1\r\nソ"},
        {"the last line needs no line end", 4, 12, "月\r\n.c 1\r\nソ"},
        {"cut after the last whole line", 0, 12, "ab\r\n月\r\n"},
        {"a character cut in two is not asked for", 0, 15, "ab\r\n月\r\n.c 1\r\n"},
        {"no whole line within the limit", 4, 1, "\xEF\xBF\xBD"},
        {"at the end", 16, 100, ""},
        {"past the end", 99, 100, ""},
        {"no room", 0, 0, ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextAhead(scenario, c.position, c.max_bytes), c.expected);
    }
    EXPECT_EQ(TextAhead("", 0, 100), "");
}

TEST(TextAhead, BeforeAGameIsTheScenarioFilesStart) {
    test_support::TempFolder game;
    EXPECT_EQ(TextAheadOfNewGame(GameFolder(game.path()), 100), "");

    game.Write("DataFile", "ab\r\n\x8C\x8E\r\n");  // found whatever its letter case
    const GameFolder folder(game.path());
    EXPECT_EQ(TextAheadOfNewGame(folder, 8), "ab\r\n月\r\n");  // exactly the file
    EXPECT_EQ(TextAheadOfNewGame(folder, 7), "ab\r\n");        // one byte short of it
    EXPECT_EQ(TextAheadOfNewGame(folder, 0), "");
}

}  // namespace
}  // namespace tsukikage::web
