// The demo game's scenario: stored the way the player reads it, restored at every part
// marker, its replay scenes bracketed by their markers, and played through from a new game
// back to the title along every branch (a jump to a missing label, a bad command, a page too
// long for the message area or an ending that is never recorded shows up here).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_codec.h"
#include "base/utf8.h"
#include "demo_files.h"
#include "demo_scenario.h"
#include "fakes/game_fixture.h"
#include "scenario/commands.h"

namespace tsukikage {
namespace {

// The message area: four lines of 24 px text, 26 full-width characters each.
constexpr std::size_t kPageLines = 4;
constexpr std::size_t kLineWidth = 52;  // in half-width units
// A choice caption: one line of 29 px text in 593 px, about 20 full-width characters.
constexpr std::size_t kCaptionWidth = 40;

// The letters of the player's command table.
std::string CommandLetters() {
    fakes::RecordingPlatform platform;
    return Engine(platform.platform, ".").commands.letters();
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

// The lines of the choice blocks, by their place in the block: the five lines after each
// ".s" are target, caption, target, caption, and a line left unread (1 to 5).
std::map<std::size_t, std::size_t> ChoiceBlockLines() {
    std::map<std::size_t, std::size_t> block;
    const auto lines = demo::ScenarioLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].starts_with(".s")) continue;
        for (std::size_t k = 1; k <= 5 && i + k < lines.size(); ++k) block[i + k] = k;
    }
    return block;
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

// The argument of a command line with the given letter ("p", "h"), or nothing.
std::optional<std::string_view> Argument(std::string_view line, char letter) {
    if (line.size() < 4 || line[0] != '.' || line[1] != letter || line[2] != ' ') return {};
    return line.substr(3);
}

// Restoring and replaying find markers by their exact text: plain decimal digits.
bool IsPlainNumber(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos &&
           (text == "0" || text.front() != '0');
}

// The line of the choice that a part marker at `part` leads to, or `part` itself when anything
// else stands between: after a load only the window and a picture may come first, or the load
// shows the loading picture or never reaches the choice.
std::size_t ChoiceAfterPart(std::span<const std::string_view> lines, std::size_t part) {
    std::size_t i = part + 1;
    bool window = false;
    bool picture = false;
    for (; i < lines.size() && !lines[i].starts_with(".s"); ++i) {
        window = window || Argument(lines[i], 'l').has_value();
        picture = picture || Argument(lines[i], 'c').has_value();
        if (!Argument(lines[i], 'l') && !Argument(lines[i], 'c')) return part;
    }
    return i < lines.size() && window && picture ? i : part;
}

TEST(DemoScenarioTest, EveryChoiceHasAPartMarkerOfItsOwnAndEveryTargetItsLabel) {
    const auto lines = demo::ScenarioLines();
    std::set<std::string> labels;
    for (std::string_view line : lines) {
        if (IsCommandLine(line)) labels.emplace(line.substr(1));
    }
    const std::map<std::size_t, std::size_t> block = ChoiceBlockLines();
    std::set<std::string_view> parts;
    std::set<std::size_t> choices_after_parts;
    int waits_before_first_choice = 0;
    bool choice_seen = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (block.contains(i)) continue;
        if (const auto part = Argument(lines[i], 'p')) {
            EXPECT_TRUE(IsPlainNumber(*part)) << lines[i];
            EXPECT_TRUE(parts.insert(*part).second) << "a second marker " << lines[i];
            const std::size_t choice = ChoiceAfterPart(lines, i);
            EXPECT_NE(choice, i) << "no window, picture and choice after " << lines[i];
            choices_after_parts.insert(choice);
        }
        if (lines[i].starts_with(".s")) {
            choice_seen = true;
            EXPECT_TRUE(choices_after_parts.contains(i)) << "a choice without a part marker";
            ASSERT_LT(i + 5, lines.size()) << "choice block cut short";
            for (std::size_t target : {i + 1, i + 3}) {
                if (lines[target] == "Skip") continue;
                EXPECT_TRUE(labels.contains(std::string(lines[target])))
                    << "no label for " << lines[target];
                EXPECT_EQ(CommandLetters().find(lines[target].front()), std::string::npos)
                    << "label starts with a command letter: " << lines[target];
            }
        }
        if (!choice_seen && lines[i] == ".") ++waits_before_first_choice;
    }
    EXPECT_TRUE(choice_seen);
    EXPECT_LE(waits_before_first_choice, 5) << "the first choice comes too late";
}

// A replay reads from the line after the scene's start marker, shows no choices, and goes
// back to the list at the end marker: a scene must run straight from one to the other, set
// up its own screen, and have its end marker open an advance, or the list would replace its
// last page the moment it is shown.
TEST(DemoScenarioTest, EveryReplaySceneRunsStraightFromItsStartMarkerToItsEnd) {
    const auto lines = demo::ScenarioLines();
    std::map<std::string, std::vector<std::size_t>> markers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto marker = Argument(lines[i], 'h')) {
            markers[std::string(*marker)].push_back(i);
        }
    }
    const std::size_t scenes = demo::SceneTitles().size();
    ASSERT_GE(scenes, 2u);
    ASSERT_LE(scenes, 10u);
    EXPECT_EQ(markers.size(), 2 * scenes) << "markers of scenes that the list does not offer";
    for (std::size_t k = 1; k <= scenes; ++k) {
        SCOPED_TRACE(demo::SceneTitles()[k - 1]);
        const std::vector<std::size_t>& starts = markers[std::to_string(2 * k - 1)];
        const std::vector<std::size_t>& ends = markers[std::to_string(2 * k)];
        ASSERT_EQ(starts.size(), 1u) << "start marker " << 2 * k - 1;
        ASSERT_EQ(ends.size(), 1u) << "end marker " << 2 * k;
        const std::size_t start = starts.front();
        const std::size_t end = ends.front();
        ASSERT_LT(start, end);
        EXPECT_EQ(lines[end - 1], ".") << "the list replaces the scene's last page";

        bool window = false;
        bool picture = false;
        bool first_page = true;
        std::size_t text_lines = 0;
        std::size_t pages = 0;
        for (std::size_t i = start + 1; i < end; ++i) {
            const std::string_view line = lines[i];
            if (line == ".") {
                first_page = false;
                ++pages;
            }
            if (!IsCommandLine(line)) ++text_lines;
            if (line.size() < 2 || !IsCommandLine(line)) continue;
            EXPECT_EQ(std::string_view("spfEjh").find(line[1]), std::string_view::npos)
                << "a replay must not meet " << line;
            if (first_page && line[1] == 'l') window = true;
            if (first_page && std::string_view("abcd").find(line[1]) != std::string_view::npos) {
                picture = true;
            }
        }
        EXPECT_TRUE(window) << "the scene does not set the window picture before its first page";
        EXPECT_TRUE(picture) << "the scene shows the loading picture on its first page";
        EXPECT_GE(text_lines, 3u) << "hardly a scene";
        EXPECT_GE(pages, 3u) << "a scene to replay is a few pages long";
        EXPECT_LE(pages, 5u) << "a scene to replay is a few pages long";
    }
}

class DemoPlayTest : public fakes::GameTest {
  protected:
    struct Play {
        std::vector<std::string> pages;     // the message label after each step
        std::vector<std::string> captions;  // the choice captions offered
        std::size_t picks_used = 0;
        std::vector<std::vector<std::uint32_t>> screens;  // the game screen after each step
        // The game screen under each choice, by the part it saves.
        std::map<std::int16_t, std::vector<std::uint32_t>> choice_screens;
    };

    std::vector<std::uint32_t> Screen() {
        const Surface* screen = control(ControlId::Picture1).ShownImage();
        return screen ? screen->pixels : std::vector<std::uint32_t>();
    }

    void SetUp() override {
        WriteGameFile("datafile", demo::ScenarioFile());
        fakes::WriteBytes(folder.path() / demo::GamePath(demo::kWindowPicture),
                          fakes::TestPictureBytes(2, 2, 0xff203040));
        // The numbered pictures the scenario shows; a transition from N also shows N + 1.
        for (std::string_view line : demo::ScenarioLines()) {
            if (line.size() < 4 || line[0] != '.' || line[2] != ' ' ||
                std::string_view("abcd").find(line[1]) == std::string_view::npos) {
                continue;
            }
            const int number = std::stoi(std::string(line.substr(3)));
            for (int n = number; n <= number + (line[1] == 'c' ? 0 : 1); ++n) {
                const std::string digits = std::to_string(n);
                fakes::WriteBytes(folder.path() / "Data" /
                                      (std::string(3 - digits.size(), '0') + digits + ".jpg"),
                                  fakes::TestPictureBytes(1, 1, 0xff000000u + n));
            }
        }
        // The looping theme's length, as the music device reports it.
        fakes.music_device.replies["Status MIDI1 length"] = "18190";
    }

    // Plays a new game to its end, answering the choices with the picks in turn, with the
    // mouse or with the keys that stand for its clicks.
    Play PlayThrough(const std::vector<int>& picks, bool by_keys = false) {
        Play play;
        if (by_keys) {
            engine->KeyPress(Key::Down);
            fakes.message_box.answers = {true};  // a new game by key asks first
            engine->KeyPress(Key::Return);
            std::vector<fakes::ShownBox>& shown = fakes.message_box.shown;
            EXPECT_TRUE(!shown.empty() && shown.back().icon == MessageIcon::Question);
            if (!shown.empty()) shown.pop_back();
        } else {
            NewGame();
        }
        play.pages.push_back(Label());
        for (int steps = 0; engine->reader.IsOpen() && steps < 300; ++steps) {
            if (control(ControlId::imgSel0).visible) {
                play.choice_screens.emplace(engine->state.PartNo, Screen());
                play.captions.push_back(control(ControlId::lblSel0).caption);
                play.captions.push_back(control(ControlId::lblSel1).caption);
                if (play.picks_used == picks.size()) break;
                const int pick = picks[play.picks_used++];
                if (by_keys) {
                    engine->KeyPress(pick == 0 ? Key::Digit1 : Key::Digit2);
                } else {
                    engine->Click(LblSel(pick));
                }
            } else {
                // A transition holds the advance marker back until its last frame.
                while (engine->state.EffectMode != 0) engine->Tick(TimerId::Timer1);
                if (by_keys) {
                    engine->KeyPress(Key::Return);
                } else {
                    Advance();
                }
            }
            // The end command brings back the title screen and its notice.
            if (engine->reader.IsOpen()) play.pages.push_back(Label());
            play.screens.push_back(Screen());
        }
        return play;
    }

    std::string Record() const { return FileText(folder.path() / "endlist.dat"); }

    static std::string FileText(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
};

TEST_F(DemoPlayTest, EveryBranchPlaysFromNewGameToItsEndingAndBackToTheTitle) {
    struct Route {
        std::vector<int> picks;
        int ending;
        std::int16_t last_part;
    };
    const Route routes[] = {{{0, 0, 0}, 1, 4},    {{0, 0, 1}, 1, 4},   {{0, 1, 0}, 2, 5},
                            {{0, 1, 1}, 2, 5},    {{1, 0, 0}, 3, 6},   {{1, 0, 1}, 3, 6},
                            {{1, 1, 0, 0}, 1, 4}, {{1, 1, 1, 1}, 2, 5}};
    std::set<std::string, std::less<>> shown;
    for (const Route& route : routes) {
        SCOPED_TRACE(::testing::PrintToString(route.picks));
        WriteGameFile("endlist.dat", "3\r\n0\r\n0\r\n0\r\n");
        engine->extras.LoadEndingRecord();
        const Play play = PlayThrough(route.picks);

        EXPECT_FALSE(engine->reader.IsOpen()) << "the scenario never reached its end";
        EXPECT_EQ(play.picks_used, route.picks.size());
        EXPECT_TRUE(engine->state.TitleMode);
        EXPECT_EQ(engine->state.PartNo, route.last_part);
        std::string expected_record = "3\r\n";
        for (int i = 1; i <= 3; ++i) expected_record += i == route.ending ? "1\r\n" : "0\r\n";
        EXPECT_EQ(Record(), expected_record);
        for (const fakes::ShownBox& box : fakes.message_box.shown) {
            ADD_FAILURE() << box.title << ": " << box.text;
        }
        EXPECT_NE(engine->form.window_picture, nullptr);
        EXPECT_TRUE(
            play.pages.front().starts_with(std::string(demo::ScenarioLines().front()) + "\r\n"))
            << "the first page shows as the game starts";

        for (const std::string& page : play.pages) {
            std::vector<std::string> page_lines = SplitCrLf(page);
            EXPECT_LE(page_lines.size(), kPageLines) << page;
            for (const std::string& line : page_lines) {
                EXPECT_LE(DisplayWidth(line), kLineWidth) << line;
                shown.insert(line);
            }
        }
        for (const std::string& caption : play.captions) {
            EXPECT_LE(DisplayWidth(caption), kCaptionWidth) << caption;
            shown.insert(caption);
        }
    }
    // Between them the routes show every line of the story and every caption.
    const std::map<std::size_t, std::size_t> block = ChoiceBlockLines();
    const auto lines = demo::ScenarioLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto place = block.find(i);
        const bool caption = place != block.end() && (place->second == 2 || place->second == 4);
        if (place != block.end() && !caption) continue;
        if (IsCommandLine(lines[i]) || lines[i].empty()) continue;
        EXPECT_TRUE(shown.contains(lines[i])) << "never shown: " << lines[i];
    }
}

// The keys stand for the clicks: a route played with them shows the same pages, captions and
// screens and leaves the same records.
TEST_F(DemoPlayTest, KeysPlayEveryRouteAsClicksDo) {
    for (const std::vector<int>& picks : {std::vector<int>{0, 1, 0}, {1, 1, 1, 1}}) {
        SCOPED_TRACE(::testing::PrintToString(picks));
        std::vector<Play> plays;
        std::vector<std::string> records;
        for (bool by_keys : {false, true}) {
            WriteGameFile("endlist.dat", "3\r\n0\r\n0\r\n0\r\n");
            std::filesystem::remove(folder.path() / "cgmode.dat");
            engine->extras.LoadEndingRecord();
            plays.push_back(PlayThrough(picks, by_keys));
            records.push_back(Record() + "|" + FileText(folder.path() / "cgmode.dat"));
        }
        EXPECT_TRUE(engine->state.TitleMode);
        EXPECT_EQ(plays[0].pages, plays[1].pages);
        EXPECT_EQ(plays[0].captions, plays[1].captions);
        EXPECT_TRUE(plays[0].screens == plays[1].screens);
        EXPECT_EQ(records[0], records[1]);
    }
}

// A saved game resumes at its part marker with the choice that follows it on screen, over the
// window and the picture that the choice had in play (not the loading picture), and a pick
// there plays on.
TEST_F(DemoPlayTest, RestoringEveryPartMarkerShowsItsChoiceAsPlayedAndPlaysOn) {
    std::map<std::int16_t, std::vector<std::uint32_t>> played;
    for (const std::vector<int>& picks : {std::vector<int>{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}) {
        played.merge(PlayThrough(picks).choice_screens);
    }
    fakes::WriteBytes(folder.path() / "Data" / "nowload.jpg",
                      fakes::TestPictureBytes(1, 1, 0xff0000ff));
    const std::vector<std::uint32_t> kLoadingScreen{0xff0000ff};
    const auto lines = demo::ScenarioLines();
    int restored = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto part = Argument(lines[i], 'p');
        if (!part) continue;
        SCOPED_TRACE(lines[i]);
        const std::size_t choice = ChoiceAfterPart(lines, i);
        ASSERT_LT(choice + 5, lines.size());
        engine->form.window_picture = nullptr;
        WriteGameFile("save1.dat", " " + std::string(*part) + " \r\n");
        engine->MenuCommand(MenuId::load1);
        ++restored;

        EXPECT_TRUE(control(ControlId::imgSel0).visible);
        EXPECT_EQ(control(ControlId::lblSel0).caption, lines[choice + 2]);
        EXPECT_EQ(control(ControlId::lblSel1).caption, lines[choice + 4]);
        EXPECT_NE(engine->form.window_picture, nullptr);
        ASSERT_TRUE(played.contains(engine->state.PartNo)) << "no route reaches this choice";
        EXPECT_NE(Screen(), kLoadingScreen) << "the loading picture stays";
        EXPECT_TRUE(Screen() == played[engine->state.PartNo]) << "not the scene of the choice";
        engine->Click(LblSel(0));
        EXPECT_TRUE(engine->reader.IsOpen());
        // Restoring hides the message label; the next text line brings it back.
        EXPECT_TRUE(control(ControlId::Label1).visible) << "the pick shows no page";
    }
    EXPECT_GE(restored, 6);
    for (const fakes::ShownBox& box : fakes.message_box.shown) {
        ADD_FAILURE() << box.title << ": " << box.text;
    }
}

}  // namespace
}  // namespace tsukikage
