#include "window/event_table.h"

#include <algorithm>
#include <stdexcept>

namespace tsukikage {

bool IsOn(const WindowState& state, Screen screen) {
    switch (screen) {
        case Screen::Any:
            return true;
        case Screen::Title:
            return state.TitleMode;
        case Screen::Game:
            return state.GameMode;
        case Screen::Load:
            return state.LoadMode;
        case Screen::Gallery:
            return state.CGMode;
        case Screen::MusicRoom:
            return state.MusicMode;
        case Screen::SceneList:
            return state.SceneMode;
    }
    return false;
}

std::string_view ScreenName(Screen screen) {
    constexpr std::string_view kNames[] = {"any",     "title",      "game",      "load",
                                           "gallery", "music room", "scene list"};
    return kNames[static_cast<std::size_t>(screen)];
}

template <typename A>
void EventTable::Add(Claims<A>& claims, int event, Screen screen, Handler handler, A action,
                     std::string_view kind, std::string_view event_name) {
    if (names_.empty()) names_.reserve(1536);  // the engine's names, with room to spare
    // The name goes into the table's string first: a claim that is refused leaves it there.
    const std::size_t name_at = names_.size();
    names_ += handler.name;
    if (handler.index) {
        names_ += '(';
        names_ += std::to_string(*handler.index);
        names_ += ')';
    }
    const std::size_t name_size = names_.size() - name_at;
    for (const Claim<A>& claim : claims) {
        if (claim.event != event) continue;
        if (claim.screen == screen || claim.screen == Screen::Any || screen == Screen::Any) {
            throw std::logic_error(std::string(kind) + std::string(event_name) +
                                   " claimed twice: by " +
                                   std::string(Name(claim.name_at, claim.name_size)) + " and " +
                                   std::string(Name(name_at, name_size)));
        }
    }
    claims.push_back({event, screen, name_at, name_size, std::move(action)});
}

template <typename A>
const A* EventTable::Find(const Claims<A>& claims, int event, const WindowState* state) {
    for (const Claim<A>& claim : claims) {
        if (claim.event == event && (!state || IsOn(*state, claim.screen))) return &claim.action;
    }
    return nullptr;
}

void EventTable::OnClick(ControlId control, Handler handler, Action action, Screen screen) {
    Add(clicks_, Index(control), screen, handler, std::move(action), "click on ",
        ControlName(control));
}

void EventTable::OnMouseMove(ControlId control, Handler handler, PointerAction action,
                             Screen screen) {
    Add(moves_, Index(control), screen, handler, std::move(action), "mouse move on ",
        ControlName(control));
}

void EventTable::OnMenu(MenuId item, Handler handler, Action action) {
    Add(menus_, Index(item), Screen::Any, handler, std::move(action), "menu item ", MenuName(item));
}

void EventTable::OnTimer(TimerId timer, Handler handler, Action action) {
    Add(timers_, Index(timer), Screen::Any, handler, std::move(action), "timer ", TimerName(timer));
}

const EventTable::Action* EventTable::Click(ControlId control, const WindowState& state) const {
    return Find(clicks_, Index(control), &state);
}

const EventTable::PointerAction* EventTable::MouseMove(ControlId control,
                                                       const WindowState& state) const {
    return Find(moves_, Index(control), &state);
}

const EventTable::Action* EventTable::Menu(MenuId item) const {
    return Find(menus_, Index(item), nullptr);
}

const EventTable::Action* EventTable::Timer(TimerId timer) const {
    return Find(timers_, Index(timer), nullptr);
}

std::string EventTable::Listing() const {
    std::string out;
    const auto lines = [&](std::string_view event, std::string_view source, const auto& claims,
                           int index) {
        for (const auto& claim : claims) {
            if (claim.event != index) continue;
            std::string line(event);
            line.resize(6, ' ');
            line += source;
            line.resize(std::max<std::size_t>(line.size() + 1, 24), ' ');
            line += ScreenName(claim.screen);
            line.resize(std::max<std::size_t>(line.size() + 1, 36), ' ');
            out += line;
            out += Name(claim.name_at, claim.name_size);
            out += "\n";
        }
    };
    for (int i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<ControlId>(i);
        lines("click", ControlName(id), clicks_, i);
        lines("move", ControlName(id), moves_, i);
    }
    for (int i = 0; i < kMenuCount; ++i) {
        const auto id = static_cast<MenuId>(i);
        lines("menu", MenuName(id), menus_, i);
    }
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        lines("timer", TimerName(id), timers_, i);
    }
    return out;
}

}  // namespace tsukikage
