#pragma once

#include <cstdint>
#include <optional>

#include "window/form.h"

namespace tsukikage {

// A game controller's buttons, by their place on a standard pad (A at the bottom of the
// right-hand four, as on an Xbox pad); the d-pad and the left stick come as the four
// directions.
enum class PadButton {
    A,
    B,
    X,
    Y,
    Back,
    Start,
    LeftShoulder,
    RightShoulder,
    Up,
    Down,
    Left,
    Right,
};
inline constexpr int kPadButtonCount = 12;

// What the view does itself for a button, beside the keys the engine takes.
enum class PadViewAction {
    SkipHeld,          // skip while the button is held, as Control held
    ConveniencesMenu,  // the right button's menu
    Fullscreen,        // full screen on and off
};

// What a button stands for: a key the engine takes, or an action of the view. Every view
// reads the same table, so the pad plays alike on the desktop and in the browser.
struct PadAction {
    std::optional<Key> key;
    std::optional<PadViewAction> view;
};
PadAction PadActionOf(PadButton button);

// The left stick as a direction: none inside the dead zone, otherwise the axis pushed
// farther. Axes run from -32768 to 32767, up and left negative.
inline constexpr int kStickDeadZone = 16000;
std::optional<PadButton> StickDirection(int x, int y);

// A direction held on the d-pad or the stick goes once at once, then again after a pause and
// at a steady rate, as a held key repeats.
class PadRepeat {
  public:
    static constexpr std::int64_t kFirstDelayMs = 400;
    static constexpr std::int64_t kIntervalMs = 120;

    // The direction held now (none when released) at a time in milliseconds; returns the
    // direction to press now, if any.
    std::optional<PadButton> Update(std::optional<PadButton> held, std::int64_t now_ms);
    // A direction is held: the poller must keep looking, to repeat it.
    bool holding() const { return held_.has_value(); }

  private:
    std::optional<PadButton> held_;
    std::int64_t next_ms_ = 0;
};

}  // namespace tsukikage
