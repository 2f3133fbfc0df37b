#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "window/overlay.h"

namespace tsukikage {

// The pages shown since the game started or was loaded, and the choices picked, newest last.
// The oldest entry goes when there are more than kCapacity.
//
// While it is open, the view shows the entries up to a bottom entry that the player moves:
// it opens on the newest, and moving forward from the newest closes it.
class TextHistory {
  public:
    static constexpr std::size_t kCapacity = 1000;
    // Entries handed to the view at once: more than a screen can hold.
    static constexpr std::size_t kShownEntries = 40;

    void Clear();
    void AddPage(std::string text);
    void AddPick(std::string caption);

    std::size_t size() const { return entries_.size(); }
    const HistoryEntry& at(std::size_t index) const { return entries_[index]; }

    bool open() const { return open_; }
    // Opens on the newest entry; an empty history stays closed. False when closed.
    bool Open();
    void Close() { open_ = false; }
    // Moves the bottom entry back (towards the oldest, stopping there) or forward; forward
    // from the newest closes the history.
    void Back(std::size_t entries);
    void Forward(std::size_t entries);
    // The bottom entry, 0 for the oldest.
    std::size_t bottom() const { return bottom_; }

    // What the view shows.
    HistoryView View() const;

  private:
    void Add(HistoryEntry entry);

    std::deque<HistoryEntry> entries_;
    bool open_ = false;
    std::size_t bottom_ = 0;
};

}  // namespace tsukikage
