#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/game_folder.h"

namespace tsukikage {

// Where the records (the seen pictures, the endings, the save slots) are read and written.
// Beside the game, as the original kept them, while the game folder can be written. A game
// folder that cannot be (installed read-only, on a disc) keeps them in a folder of the
// player's own instead, chosen once per run: made on first use and seeded with the game
// folder's own records, so nothing reached before is lost.
class RecordFolder {
  public:
    // The record files, as the game names them.
    static constexpr std::string_view kRecordNames[] = {
        "\\cgmode.dat", "\\endlist.dat", "\\save1.dat", "\\save2.dat",
        "\\save3.dat",  "\\save4.dat",   "\\save5.dat"};

    using WritableTest = std::function<bool(const std::filesystem::path& folder)>;

    // `user_folder` empty: the records always stay beside the game.
    RecordFolder(const GameFolder& game, std::filesystem::path user_folder,
                 WritableTest writable = CanWriteIn);

    // Replaces the test of the game folder (for tests); only before the first use.
    void SetWritableTest(WritableTest writable) { writable_ = std::move(writable); }

    // The folder the records are in, decided on first use.
    const GameFolder& Active() const;
    // The player's own folder, when it came into use in this run for the first time ever;
    // once only, so the player is told once.
    std::optional<std::filesystem::path> TakeNewUserFolder() const;

    // The folder can take new files: it exists and neither permissions nor a read-only file
    // system refuse writing.
    static bool CanWriteIn(const std::filesystem::path& folder);

  private:
    void Decide() const;

    const GameFolder& game_;
    std::filesystem::path user_path_;
    WritableTest writable_;
    mutable bool decided_ = false;
    mutable std::optional<GameFolder> user_;
    mutable bool newly_made_ = false;
};

// The player's folder for one game folder's records: under the data folder
// (XDG_DATA_HOME, or ~/.local/share), "tsukikage/", then the game folder's name and a
// digest of its full path, so two games never share one.
std::filesystem::path UserRecordFolder(const std::filesystem::path& data_home,
                                       const std::filesystem::path& game_folder);

}  // namespace tsukikage
