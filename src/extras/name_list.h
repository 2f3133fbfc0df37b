#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/game_folder.h"

namespace tsukikage {

// The lists of the music room ("\list.dat") and the scene replay ("\Scenelist.dat"): a count,
// then that many names, as sequential fields (a quoted name may hold commas), CP932.
inline constexpr std::size_t kMaxListNames = 10;

// Reads a list, and never fails: a missing or unreadable file is an empty list; a count that
// is no number takes every name that follows; at most the first 10 names are kept, and a
// file that ends early keeps the names read before its end.
std::vector<std::string> ReadNameList(const GameFolder& folder, std::string_view name);

}  // namespace tsukikage
