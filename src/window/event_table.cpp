#include "window/event_table.h"

#include <stdexcept>
#include <string>

namespace tsukikage {
namespace {

template <typename Handler>
void Claim(Handler& slot, Handler handler, std::string_view what, std::string_view name) {
    if (slot) {
        throw std::logic_error(std::string(what) + " " + std::string(name) + " claimed twice");
    }
    slot = std::move(handler);
}

}  // namespace

void EventTable::OnClick(ControlId control, Action action) {
    Claim(clicks_[Index(control)], std::move(action), "click on", ControlName(control));
}

void EventTable::OnMouseMove(ControlId control, PointerAction action) {
    Claim(moves_[Index(control)], std::move(action), "mouse move on", ControlName(control));
}

void EventTable::OnMenu(MenuId item, Action action) {
    Claim(menus_[Index(item)], std::move(action), "menu item", MenuName(item));
}

void EventTable::OnTimer(TimerId timer, Action action) {
    Claim(timers_[Index(timer)], std::move(action), "timer",
          std::to_string(static_cast<int>(timer)));
}

}  // namespace tsukikage
