#pragma once

#include <array>
#include <functional>

#include "window/form.h"

namespace tsukikage::web {

// The form's timers on the page's clock, kept as the desktop's QTimers keep them: a timer
// starts afresh when it is enabled or given a new interval, stops when disabled, and a tick
// that came late is not made up for. One schedule serves the page's own wake-ups and the
// ticks under a message box.
class TimerSchedule {
  public:
    // `idle` tells the timers whose tick would change nothing now: they sleep, and start
    // afresh once they would. `wait` tells how long a timer may wait for its next tick (its
    // interval when not given): a timer runs at that period and starts afresh when it changes.
    explicit TimerSchedule(std::function<bool(TimerId)> idle = {},
                           std::function<int(TimerId)> wait = {})
        : idle_(std::move(idle)), wait_(std::move(wait)) {}

    // Brings the schedule in step with the form's timers at `now_ms`.
    void Sync(const Form& form, double now_ms);

    // Ticks every timer due at `now_ms`, earliest first; after each tick the schedule follows
    // the form again, so a timer the tick stopped does not tick.
    void TickDue(const Form& form, double now_ms, const std::function<void(TimerId)>& tick);

    // Milliseconds until the next tick; negative when no timer runs.
    double NextDueIn(double now_ms) const;

  private:
    struct Running {
        bool on = false;
        int interval_ms = 0;
        double due_ms = 0;
    };
    std::function<bool(TimerId)> idle_;
    std::function<int(TimerId)> wait_;
    std::array<Running, kTimerCount> timers_{};
};

}  // namespace tsukikage::web
