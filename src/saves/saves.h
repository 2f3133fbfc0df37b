#pragma once

namespace tsukikage {

class Engine;

// The five save slots.
class Saves {
  public:
    explicit Saves(Engine& engine) : e_(engine) {}

    // Menu items save1 ... save5 and load1 ... load5 (slot 1 to 5).
    void SaveSlot(int slot);
    void LoadSlot(int slot);

  private:
    [[maybe_unused]] Engine& e_;
};

}  // namespace tsukikage
