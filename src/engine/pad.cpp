#include "engine/pad.h"

#include <cstdlib>

namespace tsukikage {

PadAction PadActionOf(PadButton button) {
    switch (button) {
        case PadButton::A:
            return {Key::Return, std::nullopt};
        case PadButton::B:
            return {Key::Backspace, std::nullopt};
        case PadButton::X:
            return {Key::A, std::nullopt};
        case PadButton::Y:
            return {std::nullopt, PadViewAction::SkipHeld};
        case PadButton::Back:
            return {std::nullopt, PadViewAction::Fullscreen};
        case PadButton::Start:
            return {std::nullopt, PadViewAction::ConveniencesMenu};
        case PadButton::LeftShoulder:
            return {Key::PageUp, std::nullopt};
        case PadButton::RightShoulder:
            return {Key::PageDown, std::nullopt};
        case PadButton::Up:
            return {Key::Up, std::nullopt};
        case PadButton::Down:
            return {Key::Down, std::nullopt};
        case PadButton::Left:
            return {Key::Left, std::nullopt};
        case PadButton::Right:
            return {Key::Right, std::nullopt};
    }
    return {};
}

std::optional<PadButton> StickDirection(int x, int y) {
    const int across = std::abs(x);
    const int down = std::abs(y);
    if (across < kStickDeadZone && down < kStickDeadZone) return std::nullopt;
    if (across > down) return x < 0 ? PadButton::Left : PadButton::Right;
    return y < 0 ? PadButton::Up : PadButton::Down;
}

std::optional<PadButton> PadRepeat::Update(std::optional<PadButton> held, std::int64_t now_ms) {
    if (held != held_) {
        held_ = held;
        next_ms_ = now_ms + kFirstDelayMs;
        return held;
    }
    if (!held || now_ms < next_ms_) return std::nullopt;
    // A late look repeats once, not once for every interval missed.
    next_ms_ = now_ms + kIntervalMs;
    return held;
}

}  // namespace tsukikage
