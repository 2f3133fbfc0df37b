#pragma once

#include <optional>
#include <string_view>

#include "window/form.h"

namespace tsukikage::web {

// The engine's key for a browser's KeyboardEvent.key (pressed without Control, Alt or Meta),
// or "WheelDown" / "WheelUp" for a notch of the wheel; nothing for keys the game ignores.
std::optional<Key> KeyFromBrowser(std::string_view name);

}  // namespace tsukikage::web
