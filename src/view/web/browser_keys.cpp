#include "view/web/browser_keys.h"

#include <utility>

namespace tsukikage::web {

std::optional<Key> KeyFromBrowser(std::string_view name) {
    // The keys the desktop window takes (view/qt/game_window.cpp), by their browser names.
    static constexpr std::pair<std::string_view, Key> kKeys[] = {
        {"Enter", Key::Return},
        {" ", Key::Space},
        {"PageDown", Key::PageDown},
        {"PageUp", Key::PageUp},
        {"ArrowRight", Key::Right},
        {"ArrowLeft", Key::Left},
        {"ArrowUp", Key::Up},
        {"ArrowDown", Key::Down},
        {"1", Key::Digit1},
        {"2", Key::Digit2},
        {"Escape", Key::Escape},
        {"Backspace", Key::Backspace},
        {"a", Key::A},
        {"A", Key::A},
        {"v", Key::V},
        {"V", Key::V},
        {"WheelDown", Key::WheelDown},
        {"WheelUp", Key::WheelUp},
    };
    for (const auto& [browser, key] : kKeys) {
        if (browser == name) return key;
    }
    return std::nullopt;
}

}  // namespace tsukikage::web
