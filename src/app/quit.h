#pragma once

namespace tsukikage {

class Engine;

// Quitting: the menu item, the title image, and closing the window.
class Quit {
  public:
    explicit Quit(Engine& engine) : e_(engine) {}

    void EndMenu_Click();
    void EndImage_Click();
    void Form_Unload();
    void VerData_Click();

  private:
    [[noreturn]] void QuitNow();
    Engine& e_;
};

}  // namespace tsukikage
