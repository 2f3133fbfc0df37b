#include "view/web/modal_wait.h"

#include <emscripten.h>

namespace tsukikage::web {

void WaitWhileTicking(const std::function<bool()>& closed,
                      const std::function<void()>& tick_due_timers, int step_ms) {
    while (!closed()) {
        emscripten_sleep(static_cast<unsigned>(step_ms));
        if (closed()) break;
        tick_due_timers();
    }
}

}  // namespace tsukikage::web
