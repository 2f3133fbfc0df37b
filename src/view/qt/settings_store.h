#pragma once

#include <QString>

#include "comfort/play_settings.h"

namespace tsukikage {

// The player's settings between runs: an ini file in the user's configuration folder, found
// the usual Qt way ($XDG_CONFIG_HOME/tsukikage/tsukikage.ini, or ~/.config/tsukikage/ without
// the variable).
//
// Reading never fails: a missing file gives the defaults, a value that is no number (or no
// truth value) gives its default, a number out of its range is brought into it.
PlaySettings LoadPlaySettings();
// Writes the settings; false when the file could not be written.
bool SavePlaySettings(const PlaySettings& settings);
// Where the settings are kept.
QString PlaySettingsFile();

}  // namespace tsukikage
