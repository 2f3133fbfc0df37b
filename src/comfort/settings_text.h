#pragma once

#include <string>
#include <string_view>

#include "comfort/play_settings.h"

namespace tsukikage {

// The player's settings as the desktop's settings file words them: an INI text with a
// [sound] and a [play] group, so the file moves between the desktop and the browser as it is.
std::string PlaySettingsText(const PlaySettings& settings);

// Reads such a text. A key that is missing or does not read keeps its default; numbers are
// brought into their ranges.
PlaySettings ParsePlaySettings(std::string_view text);

}  // namespace tsukikage
