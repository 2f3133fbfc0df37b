#pragma once

#include <functional>
#include <string_view>

#include "window/main_window.h"

namespace tsukikage {

class Reader;

// Two-way choices: command "s", the caption labels lblSel and the markers imgSel.
class Choices {
  public:
    Choices(MainWindow& window, Reader& reader) : w_(window), reader_(reader) {}

    // Claims the clicks and mouse moves of lblSel and imgSel.
    void ClaimEvents(EventTable& events);

    // Reads the five-line block after the command line (target and caption of choice 0,
    // target and caption of choice 1, one line dropped) and shows the two captions in place
    // of the page; the reader then waits for a pick.
    void ShowChoices();
    // A pick by caption or by marker: jumps to the target's label, or reads on after the
    // block for the target "Skip". Ignored while a saved game is being restored.
    void lblSel_Click(int index);
    void imgSel_Click(int index);
    void lblSel_MouseMove(int index);
    void imgSel_MouseMove(int index);

    // Told of every pick taken, with the caption picked, before the reading goes on.
    std::function<void(std::string_view caption)> on_pick;

  private:
    void Pick(int index);
    void UseCustomPointer(ControlId first_member);

    MainWindow& w_;
    Reader& reader_;
};

}  // namespace tsukikage
