#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "saves/slot_notes.h"
#include "window/main_window.h"

namespace tsukikage {

class NewGame;
class Reader;
class Sound;

// The five save slots "\save1.dat" to "\save5.dat": each holds the number of the last part
// marker passed, in the printed form (" 12 " or "-3 ", then CR LF).
class Saves {
  public:
    static constexpr int kFirstSlot = 1;
    static constexpr int kLastSlot = 5;

    // `notes_folder`: where the player's notes on the slots live (see SlotNotes); empty
    // keeps them in memory only.
    Saves(MainWindow& window, Reader& reader, NewGame& new_game, Sound& sound,
          std::filesystem::path notes_folder = {});

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

    // A page of text on the game screen: the first after a part marker is the one its saves
    // are told by.
    void NotePage(std::string_view text);

    // A slot as the player's lists show it.
    struct Summary {
        bool used = false;
        std::string caption;
    };
    Summary SlotSummary(int slot) const;

    // The clock the notes take the time of a save from (for tests).
    std::function<std::int64_t()> clock = [] {
        return static_cast<std::int64_t>(std::time(nullptr));
    };

  private:
    // The part number a slot holds, or nothing when it cannot be read.
    std::optional<std::int16_t> ReadSlot(int slot) const;
    // The notes, read on first use: their file's name follows the record folder.
    SlotNotes& Notes() const;
    // The note of a slot while it matches the slot's file.
    const SlotNotes::Note* MatchingNote(int slot) const;
    void NoteSave(int slot, std::string_view bytes);

    MainWindow& w_;
    Reader& reader_;
    NewGame& new_game_;
    Sound& sound_;
    std::filesystem::path notes_folder_;
    mutable std::unique_ptr<SlotNotes> notes_;
    // The page noted for the part being read, and what it was noted under.
    std::string part_page_;
    std::optional<std::int16_t> noted_part_;
    int noted_open_ = -1;
};

// The menu items of a slot, 1 to 5.
MenuId SaveItem(int slot);
MenuId LoadItem(int slot);

// The file name of a slot ("\save3.dat") and the bytes it holds for a part number.
std::string SlotFileName(int slot);
std::string SlotBytes(std::int16_t part);

}  // namespace tsukikage
