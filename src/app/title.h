#pragma once

namespace tsukikage {

class Engine;

// The window's layouts for the screen modes, and the start-up sequence.
class Title {
  public:
    explicit Title(Engine& engine) : e_(engine) {}

    void Form_Load();
    void Timer2_Timer();
    // Lays the window out for the first true mode flag.
    void ModeSelect();

  private:
    void ReadRecords();
    Engine& e_;
};

}  // namespace tsukikage
