#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "window/main_window.h"

namespace tsukikage {

class NewGame;
class Reader;
class Sound;

// The five save slots "\save1.dat" to "\save5.dat": each holds the number of the last part
// marker passed, in the printed form (" 12 " or "-3 ", then CR LF).
class Saves {
  public:
    Saves(MainWindow& window, Reader& reader, NewGame& new_game, Sound& sound)
        : w_(window), reader_(reader), new_game_(new_game), sound_(sound) {}

    // Claims the menu items save1 ... save5 and load1 ... load5, and the load screen: its five
    // slot images and the image back to the title.
    void ClaimEvents(EventTable& events);

    // Writes PartNo into slot 1 to 5, safely: a save that cannot be written is reported and
    // leaves the slot's old file as it was. Nothing else changes.
    void SaveSlot(int slot);
    // Resumes the game saved in slot 1 to 5: the game layout, the waiting picture, all sound
    // stopped, and the scenario read on behind the slot's part marker. A slot that was never
    // saved or cannot be read is reported, and the screen, the scenario and the sound stay
    // as they were.
    void LoadSlot(int slot);

  private:
    // The part number a slot holds, or nothing when it cannot be read.
    std::optional<std::int16_t> ReadSlot(int slot) const;

    MainWindow& w_;
    Reader& reader_;
    NewGame& new_game_;
    Sound& sound_;
};

// The file name of a slot ("\save3.dat") and the bytes it holds for a part number.
std::string SlotFileName(int slot);
std::string SlotBytes(std::int16_t part);

}  // namespace tsukikage
