#pragma once

#include "window/main_window.h"

namespace tsukikage {

class Extras;
class NewGame;
class Saves;

// The start-up sequence, the title screen and its images, and the window's layouts for the
// screen modes.
class Title {
  public:
    Title(MainWindow& window, NewGame& new_game, Saves& saves, Extras& extras);

    // Claims Timer2 and the clicks of the title images.
    void ClaimEvents(EventTable& events);

    void Form_Load();
    void Timer2_Timer();
    // Lays the window out for the first true mode flag.
    void ModeSelect();

    void NewGameImage_Click();

  private:
    void ReadRecords();

    MainWindow& w_;
    NewGame& new_game_;
    Saves& saves_;
    Extras& extras_;
};

}  // namespace tsukikage
