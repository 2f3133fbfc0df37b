// Every event reaches the handler its subsystem claimed, inside one error guard; a second
// claim of the same event is refused.
#include <gtest/gtest.h>

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
    table.OnClick(ControlId::CGGo, [] {});
    table.OnMouseMove(ControlId::CGGo, [](int, int) {});  // another event of the control
    table.OnMenu(MenuId::save1, [] {});
    table.OnTimer(TimerId::Timer2, [] {});
    EXPECT_THROW(table.OnClick(ControlId::CGGo, [] {}), std::logic_error);
    EXPECT_THROW(table.OnMouseMove(ControlId::CGGo, [](int, int) {}), std::logic_error);
    EXPECT_THROW(table.OnMenu(MenuId::save1, [] {}), std::logic_error);
    EXPECT_THROW(table.OnTimer(TimerId::Timer2, [] {}), std::logic_error);
    // The engine's own table already holds every claim of the subsystems.
    fakes::RecordingPlatform platform;
    Engine engine(platform.platform, ".");
    EXPECT_THROW(engine.events.OnClick(ControlId::imgAhead, [] {}), std::logic_error);
    EXPECT_THROW(engine.commands.Add('c', [](std::string_view) {}), std::logic_error);
    // Every letter of the language has its procedure, and only those letters.
    EXPECT_TRUE(engine.commands.Complete());
    CommandTable table_of_letters;
    EXPECT_THROW(table_of_letters.Add('e', [](std::string_view) {}), std::logic_error);
    EXPECT_THROW(table_of_letters.Add('j', [](std::string_view) {}), std::logic_error);
    EXPECT_THROW(table_of_letters.AddJump('c', [](std::string_view) { return true; }),
                 std::logic_error);
}

class EventRoutingTest : public GameTest {};

TEST_F(EventRoutingTest, AnErrorNoHandlerCaughtShowsTheRunTimeErrorBoxAndEnds) {
    const std::function<void(Engine&)> events[] = {
        [](Engine& e) { e.Click(ControlId::Label2); },
        [](Engine& e) { e.MouseMove(ControlId::Label2, 100, 540); },
        [](Engine& e) { e.ClickAt(100, 540); },
        [](Engine& e) { e.MenuCommand(MenuId::SaveMenu); },
    };
    engine->events.OnClick(ControlId::Label2, [] { Raise(err::kFileNotFound); });
    engine->events.OnMouseMove(ControlId::Label2, [](int, int) { Raise(err::kFileNotFound); });
    engine->events.OnMenu(MenuId::SaveMenu, [] { Raise(err::kFileNotFound); });
    engine->form.Show(ControlId::Label2);
    engine->form.menu(MenuId::SystemMenu).enabled = true;
    for (std::size_t i = 0; i < std::size(events); ++i) {
        SCOPED_TRACE(i);
        fakes.message_box.shown.clear();
        fakes.process.status.reset();
        EXPECT_THROW(events[i](*engine), ProcessEnded);
        EXPECT_EQ(fakes.process.status, ExitStatus::Failed);
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(fakes.message_box.shown[0].text,
                  "実行時エラー '53':\n\nファイルが見つかりません。");
        EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(fakes.message_box.shown[0].title, "朧堂開発用プログラム");
    }
}

TEST_F(EventRoutingTest, AClickIsAPressAndAReleaseOverTheSameControl) {
    int clicks = 0;
    engine->events.OnClick(ControlId::Label2, [&] { ++clicks; });
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
    engine->events.OnMouseMove(ControlId::Label2, [&](int x, int y) { moves.emplace_back(x, y); });
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
