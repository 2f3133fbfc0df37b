#pragma once

#include <array>
#include <functional>

#include "window/form.h"

namespace tsukikage {

// Which handler answers which event: a click or a mouse move on a control, a menu command, a
// timer tick. Each subsystem claims the events of its own controls, menu items and timers;
// an event claimed twice is a programming error and is refused at once. Unclaimed events are
// ignored, as a control without a handler ignores them.
class EventTable {
  public:
    using Action = std::function<void()>;
    // Pointer position in client-area pixels.
    using PointerAction = std::function<void(int x, int y)>;

    void OnClick(ControlId control, Action action);
    void OnMouseMove(ControlId control, PointerAction action);
    void OnMenu(MenuId item, Action action);
    void OnTimer(TimerId timer, Action action);

    // The handler claimed for an event, or an empty function.
    const Action& Click(ControlId control) const { return clicks_[Index(control)]; }
    const PointerAction& MouseMove(ControlId control) const { return moves_[Index(control)]; }
    const Action& Menu(MenuId item) const { return menus_[Index(item)]; }
    const Action& Timer(TimerId timer) const { return timers_[Index(timer)]; }

  private:
    template <typename Id>
    static std::size_t Index(Id id) {
        return static_cast<std::size_t>(id);
    }

    std::array<Action, kControlCount> clicks_;
    std::array<PointerAction, kControlCount> moves_;
    std::array<Action, kMenuCount> menus_;
    std::array<Action, kTimerCount> timers_;
};

}  // namespace tsukikage
