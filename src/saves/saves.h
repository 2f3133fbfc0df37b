#pragma once

#include "window/main_window.h"

namespace tsukikage {

// The five save slots.
class Saves {
  public:
    explicit Saves(MainWindow& window) : w_(window) {}

    // Claims the menu items save1 ... save5 and load1 ... load5.
    void ClaimEvents(EventTable& events);

    // Slot 1 to 5.
    void SaveSlot(int slot);
    void LoadSlot(int slot);

  private:
    [[maybe_unused]] MainWindow& w_;
};

}  // namespace tsukikage
