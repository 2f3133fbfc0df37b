#pragma once

#include <functional>

namespace tsukikage::web {

// The wait of a modal box in the browser. The engine's call (a message box's Show) stays on
// the WebAssembly stack, suspended by Asyncify (the program is linked with -sASYNCIFY), while
// the browser runs its own event loop: the page paints, the box's button takes its click.
// After each step of `step_ms` the timers that came due tick, as the desktop's modal loop
// keeps them ticking, so a transition runs on under a box. Returns once `closed` says so.
void WaitWhileTicking(const std::function<bool()>& closed,
                      const std::function<void()>& tick_due_timers, int step_ms);

}  // namespace tsukikage::web
