#pragma once

#include <cstddef>
#include <string>

#include "comfort/play_settings.h"

namespace tsukikage::web {

// The right button's menu of the player's conveniences and the settings dialog behind it,
// as the page shows them: which items are enabled or checked, and the settings' controls.
// The page's auto speed slider runs against the wait for each character (right is faster),
// as the desktop's does.
std::string ConveniencesJson(bool game_screen, std::size_t history_entries, bool auto_on,
                             bool full_screen, const PlaySettings& settings);

// The settings from the dialog's controls, each number brought into its range: the page's
// values are untrusted.
PlaySettings SettingsFromPage(int music_volume, bool music_muted, int effects_volume,
                              bool effects_muted, bool skip_unread, int auto_speed);

}  // namespace tsukikage::web
