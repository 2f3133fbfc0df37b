#pragma once

#include "window/main_window.h"

namespace tsukikage {

class Reader;
class Sound;

// Quitting: the menu item, the title image, and closing the window.
class Quit {
  public:
    Quit(MainWindow& window, Reader& reader, Sound& sound)
        : w_(window), reader_(reader), sound_(sound) {}

    // Claims EndMenu and, on the title screen, EndImage.
    void ClaimEvents(EventTable& events);

    void EndMenu_Click();
    void EndImage_Click();
    void Form_Unload();

  private:
    [[noreturn]] void QuitNow();

    MainWindow& w_;
    Reader& reader_;
    Sound& sound_;
};

}  // namespace tsukikage
