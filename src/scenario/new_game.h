#pragma once

#include <string_view>

#include "window/main_window.h"

namespace tsukikage {

class Page;
class Reader;
class Sound;

// Starting the scenario from its first line, its end, part markers, and restoring a position.
class NewGame {
  public:
    NewGame(MainWindow& window, Reader& reader, Page& page, Sound& sound)
        : w_(window), reader_(reader), page_(page), sound_(sound) {}

    // Claims the menu item NewGame.
    void ClaimEvents(EventTable& events);

    // The menu item: a new game, in the game layout.
    void NewGame_Click();
    // A new game from the title screen: the game layout first.
    void StartFromTitle();
    // Command "E": the end of the scenario, back to the title screen.
    void EndOfScenario();
    // Command "p": the part marker.
    void SaveDeal(std::string_view argument);
    // Reopens the scenario and reads on after the marker of part PartNo.
    void LoadPart();

  private:
    // Shows the advance marker, stops all sound and reads the first page.
    void StartScenario();
    void LeaveStandingChoice();
    // Reads the text lines at the head of the file into the page, up to the first command.
    void FirstPage();

    MainWindow& w_;
    Reader& reader_;
    Page& page_;
    Sound& sound_;
};

}  // namespace tsukikage
