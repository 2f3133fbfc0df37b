#pragma once

#include <string_view>

namespace tsukikage {

class Engine;

// Starting the scenario from its first line, part markers, and restoring a position.
class NewGame {
  public:
    explicit NewGame(Engine& engine) : e_(engine) {}

    void NewGame_Click();
    void NewGameImage_Click();
    // Command "p": the part marker.
    void SaveDeal(std::string_view argument);
    // Reopens the scenario and reads on after the marker of part PartNo.
    void LoadPart();

  private:
    // Reads the text lines at the head of the file into the page, up to the first command.
    void FirstPage();
    void StartScenario();

    Engine& e_;
};

}  // namespace tsukikage
