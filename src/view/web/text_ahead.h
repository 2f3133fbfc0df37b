#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tsukikage::web {

// The scenario's text from where the reader stands, as UTF-8: up to `max_bytes` of it, cut
// after its last whole line, so the page can fetch the font's pieces the next pages will draw
// while the player reads this one.
std::string TextAhead(std::string_view scenario, std::size_t position, std::size_t max_bytes);

}  // namespace tsukikage::web
