// Every event reaches the handler its subsystem claimed, inside one error guard; a second
// claim of the same event is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using fakes::ProcessEnded;

TEST(EventTableTest, AnEventClaimedTwiceIsRefused) {
    EventTable table;
    table.OnClick(ControlId::CGGo, "a", [] {});
    table.OnMouseMove(ControlId::CGGo, "a", [](int, int) {});  // another event of the control
    table.OnMenu(MenuId::save1, "a", [] {});
    table.OnTimer(TimerId::Timer2, "a", [] {});
    table.OnClick(
        ControlId::MusicGo, "a", [] {}, Screen::MusicRoom);
    table.OnClick(
        ControlId::MusicGo, "b", [] {}, Screen::SceneList);  // another screen
    EXPECT_THROW(table.OnClick(ControlId::CGGo, "b", [] {}), std::logic_error);
    EXPECT_THROW(table.OnClick(
                     ControlId::CGGo, "b", [] {}, Screen::Gallery),
                 std::logic_error);
    EXPECT_THROW(table.OnClick(
                     ControlId::MusicGo, "c", [] {}, Screen::SceneList),
                 std::logic_error);
    EXPECT_THROW(table.OnClick(ControlId::MusicGo, "c", [] {}), std::logic_error);
    EXPECT_THROW(table.OnMouseMove(ControlId::CGGo, "b", [](int, int) {}), std::logic_error);
    EXPECT_THROW(table.OnMenu(MenuId::save1, "b", [] {}), std::logic_error);
    EXPECT_THROW(table.OnTimer(TimerId::Timer2, "b", [] {}), std::logic_error);
    // The engine's own table already holds every claim of the subsystems.
    fakes::RecordingPlatform platform;
    Engine engine(platform.platform, ".");
    EXPECT_THROW(engine.events.OnClick(ControlId::imgAhead, "b", [] {}), std::logic_error);
    EXPECT_THROW(engine.commands.Add('c', [](std::string_view) {}), std::logic_error);
    // Every letter of the language has its procedure, and only those letters.
    EXPECT_TRUE(engine.commands.Complete());
    CommandTable table_of_letters;
    EXPECT_THROW(table_of_letters.Add('e', [](std::string_view) {}), std::logic_error);
    EXPECT_THROW(table_of_letters.Add('j', [](std::string_view) {}), std::logic_error);
    EXPECT_THROW(table_of_letters.AddJump('c', [](std::string_view) { return true; }),
                 std::logic_error);
}

// One file answers "who handles X": every claim of the engine's table. A change of it shows up
// in review; TSUKIKAGE_UPDATE_GOLDEN=1 rewrites it (scripts/update-golden).
TEST(EventTableTest, TheWholeTableStandsInItsGoldenFile) {
    fakes::RecordingPlatform platform;
    Engine engine(platform.platform, ".");
    const std::string listing = engine.events.Listing();
    const std::filesystem::path golden =
        std::filesystem::path(TSUKIKAGE_GOLDEN_DIR) / "event_table.txt";
    const char* update = std::getenv("TSUKIKAGE_UPDATE_GOLDEN");
    if (update && std::string_view(update) == "1") fakes::WriteBytes(golden, listing);
    if (test_support::ReadAll(golden) != listing) {
        fakes::WriteBytes(std::filesystem::path(golden).replace_extension("actual.txt"), listing);
        ADD_FAILURE() << "the event table differs from " << golden
                      << "; the table as it stands is in event_table.actual.txt beside it";
    }
}

// A control serving several screens answers with the handler of the screen shown, and on
// none of them with nothing.
TEST(EventTableTest, AClaimOnAScreenActsOnlyThere) {
    EventTable table;
    std::string ran;
    table.OnClick(
        ControlId::MusicGo, "room", [&] { ran += "room "; }, Screen::MusicRoom);
    table.OnClick(
        ControlId::MusicGo, "list", [&] { ran += "list "; }, Screen::SceneList);
    for (const Mode mode : {Mode::MusicRoom, Mode::SceneList, Mode::Title, Mode::Replay}) {
        WindowState state;
        SetModeFlags(state, mode);
        if (const EventTable::Action* action = table.Click(ControlId::MusicGo, state)) (*action)();
    }
    EXPECT_EQ(ran, "room list list ");  // a replay keeps the scene flag
}

// A handler named with an index carries it in the listing and in the refusal of a second
// claim; an action found stays in place while more claims are made.
TEST(EventTableTest, HandlersNamedWithAnIndexAndActionsThatStayInPlace) {
    EventTable table;
    int picked = -1;
    table.OnClick(ControlId::lblSel1, {"Choices::lblSel_Click", 1}, [&] { picked = 1; });
    const EventTable::Action* action = table.Click(ControlId::lblSel1, WindowState{});
    ASSERT_NE(action, nullptr);
    for (int i = 0; i < kTimerCount; ++i)
        table.OnTimer(static_cast<TimerId>(i), {"more", i}, [] {});
    for (int i = 0; i < kControlCount; ++i) {
        if (static_cast<ControlId>(i) != ControlId::lblSel1) {
            table.OnClick(static_cast<ControlId>(i), {"more", i}, [] {});
        }
    }
    (*action)();
    EXPECT_EQ(picked, 1);
    EXPECT_NE(
        table.Listing().find("click lblSel(1)         any         Choices::lblSel_Click(1)\n"),
        std::string::npos)
        << table.Listing();
    try {
        table.OnClick(ControlId::lblSel1, {"Other::Click", 7}, [] {});
        ADD_FAILURE() << "a second claim was taken";
    } catch (const std::logic_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "click on lblSel(1) claimed twice: by Choices::lblSel_Click(1) and "
                  "Other::Click(7)");
    }
}

class EventRoutingTest : public GameTest {};

TEST_F(EventRoutingTest, AnErrorNoHandlerCaughtShowsTheRunTimeErrorBoxAndEnds) {
    const std::function<void(Engine&)> events[] = {
        [](Engine& e) { e.Click(ControlId::Label2); },
        [](Engine& e) { e.MouseMove(ControlId::Label2, 100, 540); },
        [](Engine& e) { e.ClickAt(100, 540); },
        [](Engine& e) { e.MenuCommand(MenuId::SaveMenu); },
    };
    engine->events.OnClick(ControlId::Label2, "test", [] { Raise(err::kFileNotFound); });
    engine->events.OnMouseMove(ControlId::Label2, "test",
                               [](int, int) { Raise(err::kFileNotFound); });
    engine->events.OnMenu(MenuId::SaveMenu, "test", [] { Raise(err::kFileNotFound); });
    engine->form.Show(ControlId::Label2);
    engine->form.menu(MenuId::SystemMenu).enabled = true;
    for (std::size_t i = 0; i < std::size(events); ++i) {
        SCOPED_TRACE(i);
        fakes.message_box.shown.clear();
        fakes.process.status.reset();
        EXPECT_THROW(events[i](*engine), ProcessEnded);
        EXPECT_EQ(fakes.process.status, 1);
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(fakes.message_box.shown[0].text,
                  "実行時エラー '53':\n\nファイルが見つかりません。");
        EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(fakes.message_box.shown[0].title, "朧堂開発用プログラム");
    }
}

TEST_F(EventRoutingTest, AClickIsAPressAndAReleaseOverTheSameControl) {
    int clicks = 0;
    engine->events.OnClick(ControlId::Label2, "test", [&] { ++clicks; });
    engine->form.Show(ControlId::Label2);  // 88,536; 89 x 25, no handler of its own
    const struct {
        int down_x;
        int up_x;
        bool double_click;
        int clicks;
    } cases[] = {{88, 176, false, 1},   // both ends of the control
                 {88, 177, false, 0},   // released one pixel beside it
                 {87, 88, false, 0},    // pressed one pixel beside it
                 {100, 100, true, 0}};  // the second press of a double click
    for (const auto& c : cases) {
        SCOPED_TRACE(c.down_x);
        clicks = 0;
        engine->MouseDown(c.down_x, 545, c.double_click);
        engine->MouseUp(c.up_x, 545);
        EXPECT_EQ(clicks, c.clicks);
    }
    // Hidden or disabled: the control takes nothing.
    engine->form[ControlId::Label2].enabled = false;
    engine->ClickAt(100, 545);
    EXPECT_EQ(clicks, 0);
}

TEST_F(EventRoutingTest, ThePressedControlKeepsTheMouseMovesUntilTheRelease) {
    std::vector<std::pair<int, int>> moves;
    engine->events.OnMouseMove(ControlId::Label2, "test",
                               [&](int x, int y) { moves.emplace_back(x, y); });
    engine->form.Show(ControlId::Label2);
    engine->MouseMoveAt(100, 540);
    engine->MouseMoveAt(10, 10);  // elsewhere: not for CGGo
    engine->MouseDown(100, 540, false);
    engine->MouseMoveAt(10, 10);  // captured
    engine->MouseUp(10, 10);
    engine->MouseMoveAt(10, 10);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{100, 540}, {10, 10}}));
}

}  // namespace
}  // namespace tsukikage
