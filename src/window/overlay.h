#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tsukikage {

// What the player's conveniences draw over the game screen. None of it is part of the game's
// own window: with both empty the screen is exactly the game's.

// One page of the text history, or a choice caption the player picked.
struct HistoryEntry {
    std::string text;
    bool pick = false;
};

struct HistoryView {
    bool open = false;
    // The entries up to the one at the bottom of the view, oldest first; as many as can fill
    // the screen.
    std::vector<HistoryEntry> entries;
    // The bottom entry's number among all entries (1 = the oldest), and how many there are.
    std::size_t position = 0;
    std::size_t count = 0;
};

struct Overlay {
    HistoryView history;
    // A short sign in a corner while skip or auto mode is on, empty otherwise.
    std::string sign;
};

}  // namespace tsukikage
