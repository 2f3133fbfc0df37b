#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/game_folder.h"

namespace tsukikage::web {

// The scenario's text from where the reader stands, as UTF-8: up to `max_bytes` of it, cut
// after its last whole line, so the page can fetch the font's pieces the next pages will draw
// while the player reads this one.
std::string TextAhead(std::string_view scenario, std::size_t position, std::size_t max_bytes);

// The same for a game not begun: the start of the game's scenario file, what a new game shows
// first; empty when there is none or it cannot be read.
std::string TextAheadOfNewGame(const GameFolder& folder, std::size_t max_bytes);

}  // namespace tsukikage::web
