#include "view/web/timer_schedule.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace tsukikage::web {

void TimerSchedule::Sync(const Form& form, double now_ms) {
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        const Timer& model = form.timer(id);
        Running& running = timers_[static_cast<std::size_t>(i)];
        if (!model.enabled || model.interval_ms <= 0 || (idle_ && idle_(id))) {
            running.on = false;
            continue;
        }
        const int period = wait_ ? std::max(wait_(id), model.interval_ms) : model.interval_ms;
        if (!running.on || running.interval_ms != period) {
            running = Running{true, period, now_ms + period};
        }
    }
}

void TimerSchedule::TickDue(const Form& form, double now_ms,
                            const std::function<void(TimerId)>& tick) {
    for (;;) {
        std::optional<std::size_t> earliest;
        for (std::size_t i = 0; i < timers_.size(); ++i) {
            const Running& running = timers_[i];
            if (!running.on || running.due_ms > now_ms) continue;
            if (!earliest || running.due_ms < timers_[*earliest].due_ms) earliest = i;
        }
        if (!earliest) return;
        Running& due = timers_[*earliest];
        due.due_ms += due.interval_ms;
        // Fallen behind (the page was busy or hidden): one tick now, the next a period on.
        if (due.due_ms <= now_ms) due.due_ms = now_ms + due.interval_ms;
        tick(static_cast<TimerId>(*earliest));
        Sync(form, now_ms);
    }
}

double TimerSchedule::NextDueIn(double now_ms) const {
    double next = -1;
    for (const Running& running : timers_) {
        if (!running.on) continue;
        const double in = std::max(0.0, running.due_ms - now_ms);
        if (next < 0 || in < next) next = in;
    }
    return next;
}

}  // namespace tsukikage::web
