#pragma once

#include <deque>
#include <functional>
#include <optional>
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

    // A handler's name, optionally with the index of a control array or a slot after it:
    // {"Saves::LoadSlot", 2} names "Saves::LoadSlot(2)".
    struct Handler {
        Handler(const char* name_) : name(name_) {}
        Handler(std::string_view name_) : name(name_) {}
        Handler(const std::string& name_) : name(name_) {}
        Handler(std::string_view name_, int index_) : name(name_), index(index_) {}
        std::string_view name;
        std::optional<int> index;
    };

    void OnClick(ControlId control, Handler handler, Action action, Screen screen = Screen::Any);
    void OnMouseMove(ControlId control, Handler handler, PointerAction action,
                     Screen screen = Screen::Any);
    void OnMenu(MenuId item, Handler handler, Action action);
    void OnTimer(TimerId timer, Handler handler, Action action);

    // The handler of an event on the screen that the state shows, or null.
    const Action* Click(ControlId control, const WindowState& state) const;
    const PointerAction* MouseMove(ControlId control, const WindowState& state) const;
    const Action* Menu(MenuId item) const;
    const Action* Timer(TimerId timer) const;

    // Every claim, one line each: the event, what it comes from, the screen, the handler.
    std::string Listing() const;

  private:
    // The claims of one kind of event, in the order they were made, with the names of their
    // handlers kept in one string: an engine is built with a hundred claims, and a table that
    // allocated for each claim, its name and each control's list cost more than the rest of
    // the engine's construction. Claims never move once made, so an action found stays valid
    // while more are added.
    template <typename A>
    struct Claim {
        int event;  // the control, menu item or timer, as its index
        Screen screen;
        std::size_t name_at;
        std::size_t name_size;
        A action;
    };
    template <typename A>
    using Claims = std::deque<Claim<A>>;

    template <typename A>
    void Add(Claims<A>& claims, int event, Screen screen, Handler handler, A action,
             std::string_view kind, std::string_view event_name);
    template <typename A>
    static const A* Find(const Claims<A>& claims, int event, const WindowState* state);
    std::string_view Name(std::size_t at, std::size_t size) const {
        return std::string_view(names_).substr(at, size);
    }
    template <typename Id>
    static int Index(Id id) {
        return static_cast<int>(id);
    }

    Claims<Action> clicks_;
    Claims<PointerAction> moves_;
    Claims<Action> menus_;
    Claims<Action> timers_;
    std::string names_;
};

}  // namespace tsukikage
