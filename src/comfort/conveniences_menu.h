#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comfort/comfort.h"
#include "saves/saves.h"
#include "window/main_window.h"

namespace tsukikage {

// One line of the right button's menu of the player's conveniences. The views show the
// lines as they are and hand the chosen one's name back (Engine::ChooseConvenience), except
// the few that only the view can act on (full screen, the fit to the screen, the settings).
struct ConvenienceItem {
    std::string name;
    std::string text;
    bool enabled = true;
    // Set for an item with a tick box.
    std::optional<bool> checked;
    bool separator = false;
    // A submenu's lines; a line with none and no name is a note to read.
    std::vector<ConvenienceItem> items;
};

// What only the view knows: whether the window fills the screen, and whether the view offers
// the fit to the screen (the desktop does, the page has the browser's own).
struct ConvenienceViewState {
    bool full_screen = false;
    bool offers_fit = false;
};

// The names of the items that the view acts on itself.
inline constexpr std::string_view kFullScreenItem = "fullscreen";
inline constexpr std::string_view kFitItem = "fit";
inline constexpr std::string_view kSettingsItem = "settings";

// The items that go back to the title and that save into or load from a slot.
inline constexpr std::string_view kBackToTitleItem = "title";
inline constexpr std::string_view kSaveItemPrefix = "save";
inline constexpr std::string_view kLoadItemPrefix = "load";
// The slot a save or load item names ("save3": 3), or nothing.
std::optional<int> SlotOfItem(std::string_view name, std::string_view prefix);

// The menu as it stands now, decided from the window, the conveniences and the slots.
std::vector<ConvenienceItem> ConveniencesMenu(const MainWindow& window, const Comfort& comfort,
                                              const Saves& saves, const ConvenienceViewState& view);

}  // namespace tsukikage
