#pragma once

#include "window/main_window.h"

namespace tsukikage {

class Reader;
class Sound;

// Quitting: the menu item, the title image, and closing the window; the about box's menu item.
class Quit {
  public:
    Quit(MainWindow& window, Reader& reader, Sound& sound)
        : w_(window), reader_(reader), sound_(sound) {}

    // Claims EndImage, EndMenu and VerData.
    void ClaimEvents(EventTable& events);

    void EndMenu_Click();
    void EndImage_Click();
    void Form_Unload();
    void VerData_Click();

  private:
    [[noreturn]] void QuitNow();

    MainWindow& w_;
    Reader& reader_;
    Sound& sound_;
};

}  // namespace tsukikage
