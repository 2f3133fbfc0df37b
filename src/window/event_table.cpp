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
void EventTable::Add(Claims<A>& claims, Screen screen, std::string_view handler, A action,
                     std::string_view what) {
    for (const Claim<A>& claim : claims) {
        if (claim.screen == screen || claim.screen == Screen::Any || screen == Screen::Any) {
            throw std::logic_error(std::string(what) + " claimed twice: by " + claim.handler +
                                   " and " + std::string(handler));
        }
    }
    claims.push_back({screen, std::string(handler), std::move(action)});
}

template <typename A>
const A* EventTable::Find(const Claims<A>& claims, const WindowState* state) {
    for (const Claim<A>& claim : claims) {
        if (!state || IsOn(*state, claim.screen)) return &claim.action;
    }
    return nullptr;
}

void EventTable::OnClick(ControlId control, std::string_view handler, Action action,
                         Screen screen) {
    Add(clicks_[Index(control)], screen, handler, std::move(action),
        "click on " + std::string(ControlName(control)));
}

void EventTable::OnMouseMove(ControlId control, std::string_view handler, PointerAction action,
                             Screen screen) {
    Add(moves_[Index(control)], screen, handler, std::move(action),
        "mouse move on " + std::string(ControlName(control)));
}

void EventTable::OnMenu(MenuId item, std::string_view handler, Action action) {
    Add(menus_[Index(item)], Screen::Any, handler, std::move(action),
        "menu item " + std::string(MenuName(item)));
}

void EventTable::OnTimer(TimerId timer, std::string_view handler, Action action) {
    Add(timers_[Index(timer)], Screen::Any, handler, std::move(action),
        "timer " + std::string(TimerName(timer)));
}

const EventTable::Action* EventTable::Click(ControlId control, const WindowState& state) const {
    return Find(clicks_[Index(control)], &state);
}

const EventTable::PointerAction* EventTable::MouseMove(ControlId control,
                                                       const WindowState& state) const {
    return Find(moves_[Index(control)], &state);
}

const EventTable::Action* EventTable::Menu(MenuId item) const {
    return Find(menus_[Index(item)], nullptr);
}

const EventTable::Action* EventTable::Timer(TimerId timer) const {
    return Find(timers_[Index(timer)], nullptr);
}

std::string EventTable::Listing() const {
    std::string out;
    const auto lines = [&out](std::string_view event, std::string_view source, const auto& claims) {
        for (const auto& claim : claims) {
            std::string line(event);
            line.resize(6, ' ');
            line += source;
            line.resize(std::max<std::size_t>(line.size() + 1, 24), ' ');
            line += ScreenName(claim.screen);
            line.resize(std::max<std::size_t>(line.size() + 1, 36), ' ');
            out += line + claim.handler + "\n";
        }
    };
    for (int i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<ControlId>(i);
        lines("click", ControlName(id), clicks_[Index(id)]);
        lines("move", ControlName(id), moves_[Index(id)]);
    }
    for (int i = 0; i < kMenuCount; ++i) {
        const auto id = static_cast<MenuId>(i);
        lines("menu", MenuName(id), menus_[Index(id)]);
    }
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        lines("timer", TimerName(id), timers_[Index(id)]);
    }
    return out;
}

}  // namespace tsukikage
