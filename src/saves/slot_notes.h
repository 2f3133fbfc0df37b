#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tsukikage {

// What the player's own lists of the slots tell of each save this program made: when it was
// made and the first words of the page shown after the part marker it resumes at. The game's
// save files stay exactly as the game writes them; this is a side file of the player's, in
// the folder of the read pages, one per record folder ("slots-" and a digest of the record
// folder's path, ".txt"). It is UTF-8 text:
//
//   tsukikage slots 1
//   <slot 1-5> <digest of the save file's bytes, 16 hex digits> <seconds since 1970> <words>
//
// A note counts only while its digest matches the save file: a slot written since by
// another program (the original player) is told by its file alone. Lines that do not read
// are passed over, so a damaged file loses its notes, never a save. It is replaced whole.
class SlotNotes {
  public:
    struct Note {
        std::uint64_t fingerprint = 0;
        std::int64_t saved_at = 0;
        std::string first_words;
    };

    // `file` empty: the notes are kept in memory only.
    explicit SlotNotes(std::filesystem::path file);

    const Note* Find(int slot) const;
    // Keeps a slot's note and writes the file; the run-time error number when it could not
    // be written (the note is still kept for this run).
    std::optional<int> Set(int slot, Note note);

  private:
    std::filesystem::path file_;
    std::map<int, Note> notes_;
};

// The side file's name for a record folder.
std::string SlotNotesFileName(const std::filesystem::path& record_folder);

// The fingerprint of a save file's bytes.
std::uint64_t SaveFingerprint(std::string_view bytes);

// The start of a page as a list shows it: its lines run together, blanks at its head left
// out, at most `limit` characters and "…" when there were more. Cut between characters only.
std::string FirstWords(std::string_view page, std::size_t limit);

// A moment as the lists show it, in local time: "2026/12/09 18:05".
std::string SavedAtText(std::int64_t seconds);

}  // namespace tsukikage
