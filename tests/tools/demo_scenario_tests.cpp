// The demo game's scenario: stored the way the player reads it, and played through from a
// new game back to the title (a jump to a missing label, a bad command or a page too long
// for the message area shows up here).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "demo_scenario.h"
#include "fakes/game_fixture.h"
#include "platform/text_codec.h"
#include "platform/utf8.h"

namespace tsukikage {
namespace {

// The message area: four lines of 24 px text, 26 full-width characters each.
constexpr std::size_t kPageLines = 4;
constexpr std::size_t kLineWidth = 52;  // in half-width units

bool IsCommandLine(std::string_view line) {
    return !line.empty() && line.front() == '.';
}

// Width of a displayed line in half-width units: ASCII is half, everything else full.
std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = utf8::SequenceLength(static_cast<unsigned char>(text[i]));
        width += n == 1 ? 1 : 2;
        i += n;
    }
    return width;
}

std::vector<std::string> SplitCrLf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t end = text.find("\r\n");
        lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 2);
    }
    return lines;
}

// The text lines that the jumps pass over: from each ".j X" up to the label line ".X".
std::set<std::string> TextLinesPassedOver() {
    std::set<std::string> passed;
    std::string label;  // the label line being jumped to, while passing over
    for (std::string_view line : demo::ScenarioLines()) {
        if (label.empty()) {
            if (line.starts_with(".j ")) label = "." + std::string(line.substr(3));
        } else if (line == label) {
            label.clear();
        } else if (!IsCommandLine(line) && !line.empty()) {
            passed.emplace(line);
        }
    }
    return passed;
}

TEST(DemoScenarioTest, FileIsCp932WithEveryLineEndingInCrLf) {
    const std::string file = demo::ScenarioFile();
    ASSERT_TRUE(file.ends_with("\r\n"));
    std::vector<std::string> decoded;
    for (const std::string& raw : SplitCrLf(file)) {
        EXPECT_EQ(raw.find_first_of("\r\n"), std::string::npos) << "stray line end in " << raw;
        decoded.push_back(Cp932ToUtf8(raw));
    }
    // A character that CP932 cannot hold would come back as '?'.
    const std::vector<std::string> expected(demo::ScenarioLines().begin(),
                                            demo::ScenarioLines().end());
    EXPECT_EQ(decoded, expected);
}

class DemoPlayTest : public fakes::GameTest {};

TEST_F(DemoPlayTest, PlaysFromNewGameBackToTheTitleShowingEveryPageInTheMessageArea) {
    WriteGameFile("datafile", demo::ScenarioFile());
    fakes::WriteBytes(folder.path() / demo::GamePath(demo::kWindowPicture),
                      fakes::TestPictureBytes(2, 2, 0xff203040));

    NewGame();
    std::vector<std::string> pages{Label()};
    EXPECT_TRUE(pages.front().starts_with(std::string(demo::ScenarioLines().front()) + "\r\n"))
        << "the first page shows as the game starts";
    for (int clicks = 0; engine->reader.IsOpen() && clicks < 200; ++clicks) {
        Advance();
        pages.push_back(Label());
    }
    EXPECT_FALSE(engine->reader.IsOpen()) << "the scenario never reached its end";
    EXPECT_TRUE(engine->state.TitleMode);
    for (const fakes::ShownBox& box : fakes.message_box.shown) {
        ADD_FAILURE() << box.title << ": " << box.text;
    }
    EXPECT_NE(engine->form.window_picture, nullptr);
    EXPECT_EQ(engine->state.PartNo, 2);

    std::set<std::string, std::less<>> shown;
    for (const std::string& page : pages) {
        std::vector<std::string> page_lines = SplitCrLf(page);
        EXPECT_LE(page_lines.size(), kPageLines) << page;
        for (const std::string& line : page_lines) {
            EXPECT_LE(DisplayWidth(line), kLineWidth) << line;
            shown.insert(line);
        }
    }
    const std::set<std::string> passed_over = TextLinesPassedOver();
    EXPECT_FALSE(passed_over.empty());
    for (std::string_view line : demo::ScenarioLines()) {
        if (IsCommandLine(line) || line.empty()) continue;
        if (passed_over.contains(std::string(line))) {
            EXPECT_FALSE(shown.contains(line)) << "shown although jumped over: " << line;
        } else {
            EXPECT_TRUE(shown.contains(line)) << "never shown: " << line;
        }
    }
}

}  // namespace
}  // namespace tsukikage
