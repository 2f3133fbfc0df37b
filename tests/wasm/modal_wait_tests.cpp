// A box the engine opens waits the browser's way: the engine's call suspended by Asyncify,
// the browser's event loop running (a JavaScript timer closes the box), the window's timers
// ticking on under it as they do under the desktop's modal loop.
#include <emscripten.h>

#include "fakes/game_fixture.h"
#include "view/web/modal_wait.h"

namespace tsukikage {
namespace {

using fakes::GameTest;

int box_closed = 0;  // set from JavaScript

// Sets *flag to 1 after `ms`, from the browser's event loop.
// clang-format off
EM_JS(void, SetFlagLater, (int* flag, int ms), {
    setTimeout(function() { HEAP32[flag >> 2] = 1; }, ms);
});
// clang-format on

TEST_F(GameTest, ABoxWaitsWhileTheEventLoopRunsAndTheTimersTick) {
    WriteScenario({".", ".y a.mid", "."});
    fakes.music_device.replies["Status MIDI1 length"] = "1000";
    NewGame();
    Advance();
    fakes.music_device.errors["Status MIDI1 mode"] = 263;
    box_closed = 0;
    SetFlagLater(&box_closed, 150);
    int ticks = 0;
    fakes.message_box.while_open = [&] {
        web::WaitWhileTicking([] { return box_closed != 0; },
                              [&] {
                                  ++ticks;
                                  engine->sound.BgmLoopWatch();
                              },
                              10);
    };
    fakes.music_device.commands.clear();
    engine->sound.BgmLoopWatch();  // the watch's status fails: one box, open 150 ms

    EXPECT_EQ(box_closed, 1);
    EXPECT_GE(ticks, 3);
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].text, "error 263");
    // The ticks under the box asked the device nothing more.
    EXPECT_EQ(fakes.music_device.commands, std::vector<std::string>{"Status MIDI1 mode"});
}

}  // namespace
}  // namespace tsukikage
