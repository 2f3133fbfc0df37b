#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "window/form.h"
#include "window/window_state.h"

namespace tsukikage {

// The screen a claim acts on: while that screen's mode flag is set, or on any screen. One
// control may serve several screens, each through the handler of that screen's subsystem
// (the list buttons: the music room's and the scene list's).
enum class Screen { Any, Title, Game, Load, Gallery, MusicRoom, SceneList };

bool IsOn(const WindowState& state, Screen screen);
std::string_view ScreenName(Screen screen);

// Which handler answers which event: a click or a mouse move on a control, a menu command, a
// timer tick. Each subsystem claims the events of its own controls, menu items and timers,
// naming the handler ("Gallery::CGGo_Click") for the table's listing. A second claim of an
// event on the same screen, or beside a claim on any screen, is a programming error and is
// refused at once. Unclaimed events are ignored, as a control without a handler ignores them.
class EventTable {
  public:
    using Action = std::function<void()>;
    // Pointer position in client-area pixels.
    using PointerAction = std::function<void(int x, int y)>;

    void OnClick(ControlId control, std::string_view handler, Action action,
                 Screen screen = Screen::Any);
    void OnMouseMove(ControlId control, std::string_view handler, PointerAction action,
                     Screen screen = Screen::Any);
    void OnMenu(MenuId item, std::string_view handler, Action action);
    void OnTimer(TimerId timer, std::string_view handler, Action action);

    // The handler of an event on the screen that the state shows, or null.
    const Action* Click(ControlId control, const WindowState& state) const;
    const PointerAction* MouseMove(ControlId control, const WindowState& state) const;
    const Action* Menu(MenuId item) const;
    const Action* Timer(TimerId timer) const;

    // Every claim, one line each: the event, what it comes from, the screen, the handler.
    std::string Listing() const;

  private:
    template <typename A>
    struct Claim {
        Screen screen;
        std::string handler;
        A action;
    };
    template <typename A>
    using Claims = std::vector<Claim<A>>;

    template <typename A>
    static void Add(Claims<A>& claims, Screen screen, std::string_view handler, A action,
                    std::string_view what);
    template <typename A>
    static const A* Find(const Claims<A>& claims, const WindowState* state);
    template <typename Id>
    static std::size_t Index(Id id) {
        return static_cast<std::size_t>(id);
    }

    std::array<Claims<Action>, kControlCount> clicks_;
    std::array<Claims<PointerAction>, kControlCount> moves_;
    std::array<Claims<Action>, kMenuCount> menus_;
    std::array<Claims<Action>, kTimerCount> timers_;
};

}  // namespace tsukikage
