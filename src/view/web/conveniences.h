#pragma once

#include <string>
#include <vector>

#include "comfort/conveniences_menu.h"
#include "comfort/play_settings.h"

namespace tsukikage::web {

// The right button's menu of the player's conveniences and the settings dialog behind it,
// as the page shows them: the engine's items ({"name", "caption", "enabled", "checked" for
// a tick box, "items" for a submenu; a separator is named "-"}) and the settings' controls.
// The page's auto speed slider runs against the wait for each character (right is faster),
// as the desktop's does.
std::string ConveniencesJson(const std::vector<ConvenienceItem>& items,
                             const PlaySettings& settings);

// The settings from the dialog's controls, each number brought into its range: the page's
// values are untrusted.
PlaySettings SettingsFromPage(int music_volume, bool music_muted, int effects_volume,
                              bool effects_muted, bool skip_unread, int auto_speed,
                              bool self_voicing = false);

}  // namespace tsukikage::web
